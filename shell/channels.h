// The channel objects through which audio reaches ProcessBlock. Each channel owns a scratch
// buffer of 64-bit samples the size of the announced block and refers to its slot in the
// pointer array that ProcessBlock receives. A channel the host does not feed (disconnected)
// keeps its slot on the scratch buffer, so ProcessBlock always sees valid memory.
#pragma once

#include <cstdint>
#include <vector>

namespace corvalen {

struct ChannelIoConfig {
    int32_t inputs = 0;
    int32_t outputs = 0;
};

// The legal (inputs-outputs) pairs of a channel-I/O string such as "1-1 2-2", with the
// largest input and output counts among them.
struct ChannelIoLayout {
    std::vector<ChannelIoConfig> configs;
    int32_t maxInputs = 0;
    int32_t maxOutputs = 0;
};

ChannelIoLayout ParseChannelIo(const char* text);

// The most frames a scratch buffer holds. A host may announce any block size (10^9 has been
// seen from a misbehaving one); longer blocks are processed in pieces of this size, so the
// scratch memory stays at 128 KiB per channel whatever the host says.
inline constexpr int kLargestScratchFrames = 16384;

// Sizes a scratch buffer to `frames` zeroed samples; false when memory runs out (the buffer
// is then empty). Never called on the audio thread.
bool ResizeScratch(std::vector<double>& scratch, int frames) noexcept;

struct InputChannel {
    bool connected = false;
    double** slot = nullptr;  // this channel's entry in the input pointer array
    std::vector<double> scratch;
};

struct OutputChannel {
    bool connected = false;
    double** slot = nullptr;       // this channel's entry in the output pointer array
    float* destination = nullptr;  // the host's float buffer for the current piece
    std::vector<double> scratch;
};

}  // namespace corvalen
