#include <algorithm>

#include "tools/host/plugin_library.h"

namespace corvalen::host {

std::string ToWindowsPath(const std::string& path) {
    std::string result = (!path.empty() && path[0] == '/') ? "Z:" + path : path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

}  // namespace corvalen::host
