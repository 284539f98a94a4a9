#include "engine/response_model.h"

namespace corvalen {

ResponseModel::ResponseModel(const EngineState& state, const std::string& measurementPath)
    : state_(state), measurementPath_(measurementPath) {
    for (int i = 0; i < kGridPoints; ++i) gridHz_[i] = GridFrequency(i, kGridPoints);
}

}  // namespace corvalen
