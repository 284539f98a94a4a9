// The points of one measurement file while it is being loaded.
#pragma once

#include <vector>

namespace corvalen {

struct FrequencyPoint {
    double hz;
    double levelDb;
};

// In file order: no sorting, no de-duplication.
using FrequencyResponse = std::vector<FrequencyPoint>;

}  // namespace corvalen
