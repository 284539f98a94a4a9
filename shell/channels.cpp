#include "shell/channels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace corvalen {

ChannelIoLayout ParseChannelIo(const char* text) {
    ChannelIoLayout layout;
    if (text == nullptr) return layout;
    const char* cursor = text;
    for (;;) {
        int inputs = 0;
        int outputs = 0;
        // What cannot be read stays 0; the pair is listed all the same.
        static_cast<void>(std::sscanf(cursor, "%d-%d", &inputs, &outputs));
        // Negative counts would size nothing sensible; a pair is never below (0, 0).
        inputs = std::max(inputs, 0);
        outputs = std::max(outputs, 0);
        layout.configs.push_back(ChannelIoConfig{inputs, outputs});
        layout.maxInputs = std::max(layout.maxInputs, inputs);
        layout.maxOutputs = std::max(layout.maxOutputs, outputs);
        const char* space = std::strchr(cursor, ' ');
        if (space == nullptr) break;
        cursor = space + 1;
    }
    return layout;
}

bool ResizeScratch(std::vector<double>& scratch, int frames) noexcept {
    try {
        scratch.assign(static_cast<std::size_t>(std::max(frames, 0)), 0.0);
        return true;
    } catch (...) {
        scratch.clear();
        scratch.shrink_to_fit();
        return false;
    }
}

}  // namespace corvalen
