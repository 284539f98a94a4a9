// The frequency grid every curve is evaluated on: log10 f grows exponentially with the square
// root of the point index, from 19.95 Hz at i = 0 towards 19952.6 Hz at i = N.
#pragma once

namespace corvalen {

inline constexpr int kGridPoints = 800;

// f(i) = 10^(1.3 * (43/13)^sqrt(i / n)) in doubles; for n = kGridPoints the same bits on every
// build (engine/frequency_grid_table.inc, made by engine/make_frequency_grid.py).
double GridFrequency(int i, int n);

}  // namespace corvalen
