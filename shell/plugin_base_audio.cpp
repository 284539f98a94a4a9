// The processing frame: host buffers in, 64-bit channel buffers to ProcessBlock, host
// buffers out. Runs on the host's audio thread under the instance lock; it never
// allocates, and no piece handed to ProcessBlock is longer than the scratch buffers.
#include <algorithm>
#include <cstring>

#include "shell/block_pieces.h"
#include "shell/plugin_base.h"

namespace corvalen {
namespace {

// Zeros the host buffer of every connected output (each consumes one host pointer).
template <typename Sample>
void SilenceConnected(const std::vector<OutputChannel>& channels, Sample** outputs,
                      int32_t frames) {
    if (outputs == nullptr) return;
    int hostIndex = 0;
    for (const OutputChannel& channel : channels) {
        if (!channel.connected) continue;
        Sample* out = outputs[hostIndex++];
        if (out != nullptr) std::memset(out, 0, static_cast<std::size_t>(frames) * sizeof(Sample));
    }
}

}  // namespace

void PluginBase::SilenceHostOutputs(float** outputs, int32_t frames) const {
    SilenceConnected(outputs_, outputs, frames);
}

void PluginBase::SilenceHostOutputs(double** outputs, int32_t frames) const {
    SilenceConnected(outputs_, outputs, frames);
}

void PluginBase::ProcessBlock(double** inputs, double** outputs, int32_t frames) {
    PassThrough(inputs, outputs, frames);
}

void PluginBase::PassThrough(double** inputs, double** outputs, int32_t frames) const {
    if (frames <= 0 || outputs == nullptr) return;
    const std::size_t bytes = static_cast<std::size_t>(frames) * sizeof(double);
    const int pairs = std::min(InputCount(), OutputCount());
    for (int i = 0; i < OutputCount(); ++i) {
        double* out = outputs[i];
        if (out == nullptr) continue;
        const double* in = (i < pairs && inputs != nullptr) ? inputs[i] : nullptr;
        if (in == nullptr) {
            std::memset(out, 0, bytes);
        } else if (in != out) {
            std::memmove(out, in, bytes);  // the host may hand overlapping buffers
        }
    }
}

void PluginBase::ProcessFloatBlock(float** inputs, float** outputs, int32_t frames,
                                   bool accumulate) {
    if (frames <= 0) return;
    if (scratchFrames_ <= 0) {
        // No scratch buffers (the allocation failed): nothing can be processed. A replacing
        // call must not leave stale samples in the host's outputs.
        if (!accumulate) SilenceHostOutputs(outputs, frames);
        return;
    }
    // Hosts may send a block longer than they announced (and announce more than the scratch
    // buffers hold); process it in pieces.
    ForEachPiece(frames, scratchFrames_, [&](int32_t offset, int32_t count) {
        ProcessFloatPiece(inputs, outputs, offset, count, accumulate);
    });
}

void PluginBase::ProcessFloatPiece(float** inputs, float** outputs, int32_t offset, int32_t frames,
                                   bool accumulate) {
    int hostIndex = 0;
    for (InputChannel& channel : inputs_) {
        if (!channel.connected) continue;  // keeps reading its scratch buffer
        const float* source = inputs != nullptr ? inputs[hostIndex] : nullptr;
        ++hostIndex;
        double* scratch = channel.scratch.data();
        *channel.slot = scratch;
        if (source == nullptr) {
            std::fill(scratch, scratch + frames, 0.0);
            continue;
        }
        source += offset;
        for (int32_t i = 0; i < frames; ++i) scratch[i] = static_cast<double>(source[i]);
    }

    hostIndex = 0;
    for (OutputChannel& channel : outputs_) {
        if (!channel.connected) continue;
        *channel.slot = channel.scratch.data();
        float* destination = outputs != nullptr ? outputs[hostIndex] : nullptr;
        ++hostIndex;
        channel.destination = destination != nullptr ? destination + offset : nullptr;
    }

    ProcessBlock(inputSlots_.data(), outputSlots_.data(), frames);

    for (OutputChannel& channel : outputs_) {
        if (!channel.connected || channel.destination == nullptr) continue;
        const double* scratch = channel.scratch.data();
        float* destination = channel.destination;
        if (accumulate) {
            for (int32_t i = 0; i < frames; ++i) destination[i] += static_cast<float>(scratch[i]);
        } else {
            for (int32_t i = 0; i < frames; ++i) destination[i] = static_cast<float>(scratch[i]);
        }
        channel.destination = nullptr;
    }
}

void PluginBase::ProcessDoubleBlock(double** inputs, double** outputs, int32_t frames) {
    if (frames <= 0) return;
    if (scratchFrames_ <= 0) {
        SilenceHostOutputs(outputs, frames);
        return;
    }
    // Disconnected channels work in their scratch buffers, which hold one announced block at
    // most: a longer host block is processed in pieces here too.
    ForEachPiece(frames, scratchFrames_, [&](int32_t offset, int32_t count) {
        ProcessDoublePiece(inputs, outputs, offset, count);
    });
}

void PluginBase::ProcessDoublePiece(double** inputs, double** outputs, int32_t offset,
                                    int32_t frames) {
    int hostIndex = 0;
    for (InputChannel& channel : inputs_) {
        if (!channel.connected) continue;
        double* source = inputs != nullptr ? inputs[hostIndex] : nullptr;
        ++hostIndex;
        if (source != nullptr) {
            *channel.slot = source + offset;
        } else {
            double* scratch = channel.scratch.data();
            std::fill(scratch, scratch + frames, 0.0);
            *channel.slot = scratch;
        }
    }
    hostIndex = 0;
    for (OutputChannel& channel : outputs_) {
        if (!channel.connected) continue;
        double* destination = outputs != nullptr ? outputs[hostIndex] : nullptr;
        ++hostIndex;
        *channel.slot = destination != nullptr ? destination + offset : channel.scratch.data();
    }
    ProcessBlock(inputSlots_.data(), outputSlots_.data(), frames);
}

}  // namespace corvalen
