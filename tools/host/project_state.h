// The state a DAW hands back when it reopens a project that used the plug-in: the program
// chunk the instance saved, carrying the measurement file's path, restored with effSetChunk.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/host/vst_host.h"

namespace corvalen::host {

// Parameter index and normalised value.
using ParameterSetting = std::pair<int, float>;

// Sets the parameters, takes the instance's program chunk (which holds no measurement yet),
// writes measurementPath into it as the chunk's custom data and restores it, as a project
// reopening with that measurement does. False with a reason when the instance's chunk does
// not have the expected shape or the restore is refused.
bool RestoreProgramWithMeasurement(VstHost& host, const std::vector<ParameterSetting>& settings,
                                   const std::string& measurementPath, std::string& error);

}  // namespace corvalen::host
