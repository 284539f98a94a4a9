// The faces registered by name for the FreeType glyph source. Internal to raster/ft.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace corvalen::raster::ft {

struct RegisteredFace {
    std::string name;
    int weight = 400;
    bool italic = false;
    std::shared_ptr<const std::vector<unsigned char>> bytes;  // kept alive by every font using it
};

// The best face for the request (name ignoring case, then closest weight and slant; the
// first registered family when no name matches), or an empty result.
RegisteredFace findFace(const char* name, int weight, bool italic);

}  // namespace corvalen::raster::ft
