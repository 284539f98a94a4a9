// The headphone measurement: a text file of frequency and level pairs, resampled onto the
// frequency grid of the response model. Only the resampled curve is kept.
#pragma once

#include <cstdio>
#include <string>

#include "engine/frequency_response.h"
#include "engine/grid_resampler.h"
#include "engine/response_model.h"

namespace corvalen {

// The separator character for the engine's choice: 0 comma, anything else tab.
char SeparatorCharacter(int separatorChoice);

// Reads one line (without its LF and without a CR right before the LF). False when the line is
// skipped: empty, or its first field is exactly "frequency". line is modified (the separator is
// overwritten to end the first field).
bool ParseMeasurementLine(std::string& line, char separator, FrequencyPoint& point);

// Reads the file in two passes: count the data lines, allocate, rewind, parse at most that many.
// False when the points cannot be allocated (the count does not fit a 32-bit signed count, or
// memory runs out) or a line is too long for memory; points is then empty.
bool ReadFrequencyResponse(std::FILE* file, char separator, FrequencyResponse& points);

// Loads the file at path (UTF-8; empty means none) with the separator the engine state chooses
// and rewrites the model's FR curve. A path that cannot be opened, or a file that cannot be held
// in memory, leaves a flat 0 dB curve. Never throws.
// Thread of the parameter change, instance lock held.
void LoadMeasurement(ResponseModel& model, const std::string& path) noexcept;

}  // namespace corvalen
