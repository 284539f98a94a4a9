#include "tools/host/project_state.h"

#include <cstdint>
#include <cstring>

namespace corvalen::host {

namespace {

// A program chunk ends with its custom data: a 32-bit little-endian length and that many
// bytes. Without a measurement the length is 0 and nothing follows.
constexpr std::size_t kLengthBytes = 4;

void AppendLength(std::vector<char>& bytes, std::size_t length) {
    for (int byte = 0; byte < 4; ++byte) {
        bytes.push_back(static_cast<char>((length >> (8 * byte)) & 0xFF));
    }
}

}  // namespace

bool RestoreProgramWithMeasurement(VstHost& host, const std::vector<ParameterSetting>& settings,
                                   const std::string& measurementPath, std::string& error) {
    for (const ParameterSetting& setting : settings)
        host.SetParameter(setting.first, setting.second);
    void* data = nullptr;
    const intptr_t size = host.Dispatch(vst2::effGetChunk, 1, 0, &data);
    if (data == nullptr || size < static_cast<intptr_t>(kLengthBytes)) {
        error = "the plug-in gave no program chunk";
        return false;
    }
    std::vector<char> chunk(static_cast<const char*>(data), static_cast<const char*>(data) + size);
    const char* tail = chunk.data() + chunk.size() - kLengthBytes;
    if (std::memcmp(tail, "\0\0\0\0", kLengthBytes) != 0) {
        error = "the program chunk already carries a measurement";
        return false;
    }
    chunk.resize(chunk.size() - kLengthBytes);
    AppendLength(chunk, measurementPath.size());
    chunk.insert(chunk.end(), measurementPath.begin(), measurementPath.end());
    if (host.Dispatch(vst2::effSetChunk, 1, static_cast<intptr_t>(chunk.size()), chunk.data()) ==
        0) {
        error = "the plug-in refused the program chunk";
        return false;
    }
    return true;
}

}  // namespace corvalen::host
