// Feeds arbitrary bytes to effSetChunk as a program chunk (first byte even) or a bank chunk
// (odd), through the real plug-in object. Whatever the bytes, nothing may crash, every
// parameter must stay finite and inside its range, and what the plug-in then saves must read
// back successfully. Reading a chunk runs the change handling, which may change the state once
// (a set unloadFR empties the path), so the saved bytes must be stable from the second round.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/plugin_entry.h"
#include "shell/vst2_abi.h"
#include "tools/host/vst_host.h"

namespace {

corvalen::host::VstHost& Host() {
    static corvalen::host::VstHost* host = [] {
        auto* made = new corvalen::host::VstHost();
        if (!made->Open([](corvalen::vst2::HostCallback callback) {
                return corvalen::CreateEffect(callback, &corvalen::CreatePluginObject);
            })) {
            std::abort();
        }
        return made;
    }();
    return *host;
}

std::vector<unsigned char> Saved(corvalen::host::VstHost& host, int32_t index) {
    void* data = nullptr;
    const intptr_t length = host.Dispatch(corvalen::vst2::effGetChunk, index, 0, &data);
    if (length <= 0 || data == nullptr) std::abort();  // the plug-in can always save itself
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    corvalen::host::VstHost& host = Host();
    const int32_t index = (data[0] & 1) != 0 ? 0 : 1;  // 0 asks for the bank
    std::vector<unsigned char> chunk(data + 1, data + size);
    host.Dispatch(corvalen::vst2::effSetChunk, index, static_cast<intptr_t>(chunk.size()),
                  chunk.empty() ? static_cast<void*>(&chunk) : chunk.data());

    // Every parameter the plug-in announces, as a host sees them.
    for (int32_t i = 0; i < host.Effect()->numParams; ++i) {
        const float value = host.GetParameter(i);
        if (!(value >= 0.0f && value <= 1.0f)) std::abort();
    }
    for (int round = 0; round < 2; ++round) {
        std::vector<unsigned char> saved = Saved(host, index);
        std::vector<unsigned char> copy = saved;
        if (host.Dispatch(corvalen::vst2::effSetChunk, index, static_cast<intptr_t>(copy.size()),
                          copy.data()) != 1) {
            std::abort();
        }
        if (round == 1 && Saved(host, index) != saved) std::abort();
    }
    return 0;
}
