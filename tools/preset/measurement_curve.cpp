#include "tools/preset/measurement_curve.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "engine/file_access.h"
#include "engine/grid_resampler.h"
#include "engine/measurement_reader.h"
#include "engine/parameter_table.h"

namespace corvalen::preset {

bool ReadGridCurve(const std::string& path, GridCurve& curve, std::string& error) {
    for (int i = 0; i < kGridPoints; ++i) {
        curve.hz[static_cast<std::size_t>(i)] = GridFrequency(i, kGridPoints);
    }
    std::FILE* file = OpenFileForReading(path);
    if (file == nullptr) {
        error = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    FrequencyResponse points;
    // The plug-in's default column separator (a new instance's); lines with the other one, or
    // with blanks, are read as well.
    const int separator = static_cast<int>(kParameterTable[param::kSeparator].defaultValue);
    const bool held = ReadFrequencyResponse(file, SeparatorCharacter(separator), points);
    std::fclose(file);
    if (!held) {
        error = "too large to read";
        return false;
    }
    if (points.empty()) {
        error = "holds no frequency and level pairs";
        return false;
    }
    try {
        ResampleOntoGrid(points.data(), points.size(), curve.hz.data(), kGridPoints,
                         curve.levelDb.data());
    } catch (const std::bad_alloc&) {
        error = "too large to read";
        return false;
    }
    curve.pointsRead = points.size();
    return true;
}

}  // namespace corvalen::preset
