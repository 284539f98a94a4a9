// Measurement files from outside: any bytes must load without a crash, leak or undefined
// behaviour, with either separator, and leave a finite curve equal, bit for bit, to the one the
// plain two-scan resampling gives.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <cstring>

#include "engine/frequency_grid.h"
#include "engine/measurement_reader.h"
#include "reference_resampler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static double grid[corvalen::kGridPoints];
  static bool gridReady = false;
  if (!gridReady) {
    for (int i = 0; i < corvalen::kGridPoints; ++i) {
      grid[i] = corvalen::GridFrequency(i, corvalen::kGridPoints);
    }
    gridReady = true;
  }
  for (char separator : {',', '\t'}) {
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file == nullptr) return 0;  // fmemopen refuses an empty buffer on some libcs
    corvalen::FrequencyResponse points;
    if (corvalen::ReadFrequencyResponse(file, separator, points)) {
      double curve[corvalen::kGridPoints];
      double scans[corvalen::kGridPoints];
      corvalen::ResampleOntoGrid(points.data(), points.size(), grid, corvalen::kGridPoints, curve);
      corvalen::reference::ResampleOntoGrid(points.data(), points.size(), grid,
                                            corvalen::kGridPoints, scans);
      for (double level : curve) {
        if (!std::isfinite(level)) std::abort();
      }
      if (std::memcmp(curve, scans, sizeof curve) != 0) std::abort();
    }
    std::fclose(file);
  }
  return 0;
}
