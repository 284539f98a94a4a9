// The headphone measurement: a text file of frequency and level pairs, resampled onto the
// frequency grid of the response model. Only the resampled curve is kept.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "engine/frequency_response.h"
#include "engine/grid_resampler.h"
#include "engine/response_model.h"

namespace corvalen {

// Longer lines are no measurement rows (those are a few dozen characters): each is skipped
// whole and gives no point, so no line can make a load hold more than this many bytes.
inline constexpr std::size_t kLongestMeasurementLine = 65536;

// The separator character for the engine's choice: 0 comma, anything else tab.
char SeparatorCharacter(int separatorChoice);

// Reads one line (without its LF and without a CR right before the LF); false when it gives no
// point. A line holding the separator splits at the first one and is a point unless it is
// empty or its first field is exactly "frequency"; a field without a number reads 0. A line
// without it splits at the other separator (comma or tab), or else at the first blanks or tabs
// after the first field (a leading byte-order mark skipped), and is a point only when both
// fields start with a number. line is modified (the split is overwritten to end the first
// field).
bool ParseMeasurementLine(std::string& line, char separator, FrequencyPoint& point);

// Reads the file in two passes: count the data lines, allocate, rewind, parse at most that many.
// False when the points cannot be allocated (the count does not fit a 32-bit signed count, or
// memory runs out); points is then empty. Lines longer than kLongestMeasurementLine give no
// point.
bool ReadFrequencyResponse(std::FILE* file, char separator, FrequencyResponse& points);

// Reads the file in one pass, handing each point to the resampler as it is parsed (nothing is
// kept per line). The same points as ReadFrequencyResponse, in the same order. False when
// memory runs out.
bool ReadIntoResampler(std::FILE* file, char separator, GridResampler& resampler);

// Reads the file at path (UTF-8; empty means none) with the separator choice (0 comma, else
// tab) and resamples it onto gridHz[0..n-1] into curve, in one pass: the memory is the grid's
// sums and one line, whatever the file's size. A path that cannot be opened, or running out of
// memory, gives a flat 0 dB curve. The result is the number of points the file gave: 0 for a
// file that gave no usable line (and for anything that could not be read). Never throws. Any
// thread, no lock needed: it touches nothing but its arguments.
std::size_t ReadMeasurementCurve(const std::string& path, int separatorChoice, const double* gridHz,
                                 int n, double* curve) noexcept;

// Loads the file at path (UTF-8; empty means none) with the separator the engine state chooses
// and rewrites the model's FR curve, as ReadMeasurementCurve does. The result is the number of
// points the file gave. Never throws.
// For tools and tests that own the model; the plug-in reads with no lock held and installs the
// curve under it.
std::size_t LoadMeasurement(ResponseModel& model, const std::string& path) noexcept;

}  // namespace corvalen
