// The three filter shapes the equaliser's bands have, and every name the preset tool gives
// them.
#pragma once

namespace corvalen::preset {

enum class FilterShape { Peak, LowShelf, HighShelf };

struct FilterShapeNames {
    const char* fileWord;     // in a parametric text: PK, LSC, HSC
    const char* bandType;     // as the plug-in names its band types
    const char* description;  // in messages
};

inline const FilterShapeNames& NamesOf(FilterShape shape) {
    static constexpr FilterShapeNames kNames[] = {
        {"PK", "Peak", "peak"},
        {"LSC", "LowShelf", "low shelf"},
        {"HSC", "HighShelf", "high shelf"},
    };
    return kNames[static_cast<int>(shape)];
}

}  // namespace corvalen::preset
