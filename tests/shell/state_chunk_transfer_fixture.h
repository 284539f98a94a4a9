#pragma once
// An instance of the real product behind the test host: natively the plug-in linked into the
// test, in the Windows build the DLL loaded as a DAW loads it (CORVALEN_DLL_PATH).

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "shell/vst2_abi.h"
#include "tools/host/vst_host.h"

#ifndef CORVALEN_DLL_PATH
#include "shell/plugin_entry.h"
#endif

namespace corvalen::testing {

inline constexpr double kTwoPi = 6.283185307179586;

// Creates an instance of the product in host; false with the host's LastError on failure.
inline bool OpenCorvalen(host::VstHost& host) {
#ifdef CORVALEN_DLL_PATH
    return host.Load(CORVALEN_DLL_PATH);
#else
    return host.Open(
        [](vst2::HostCallback callback) { return CreateEffect(callback, &CreatePluginObject); });
#endif
}

class CorvalenInstance : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(OpenCorvalen(host_)) << host_.LastError(); }

    std::vector<unsigned char> GetChunk(bool bank) {
        void* data = nullptr;
        const intptr_t length = host_.Dispatch(vst2::effGetChunk, bank ? 0 : 1, 0, &data);
        if (length <= 0 || data == nullptr) return {};
        const auto* bytes = static_cast<const unsigned char*>(data);
        return std::vector<unsigned char>(bytes, bytes + length);
    }

    intptr_t SetChunk(bool bank, const std::vector<unsigned char>& bytes) {
        // A copy of the host's own, so that the plug-in cannot rely on the caller's buffer.
        std::vector<unsigned char> copy = bytes;
        return host_.Dispatch(vst2::effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(copy.size()),
                              copy.empty() ? static_cast<void*>(&copy) : copy.data());
    }

    std::vector<float> AllParameters() {
        std::vector<float> values;
        for (int i = 0; i < 61; ++i) values.push_back(host_.GetParameter(i));
        return values;
    }

    std::string Display(int index) { return host_.DispatchText(vst2::effGetParamDisplay, index); }

    std::string ProgramName(int index) {
        return host_.DispatchText(vst2::effGetProgramNameIndexed, index);
    }

    // Starts processing at 48 kHz in blocks of kBlock frames.
    void StartAudio() {
        host_.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
        host_.Dispatch(vst2::effSetBlockSize, 0, kBlock);
        host_.Dispatch(vst2::effMainsChanged, 0, 1);
    }

    // Runs the next block of a two-tone signal; true when every output sample is finite (twelve
    // bands at +24 dB may legitimately make it very loud).
    bool NextBlockIsFinite() {
        float* inputs[2] = {left_, right_};
        float* outputs[2] = {outLeft_, outRight_};
        for (int i = 0; i < kBlock; ++i) {
            const double t = static_cast<double>(frame_++) / 48000.0;
            left_[i] = static_cast<float>(0.5 * std::sin(kTwoPi * 100.0 * t));
            right_[i] = static_cast<float>(0.5 * std::sin(kTwoPi * 5000.0 * t));
        }
        host_.ProcessReplacing(inputs, outputs, kBlock);
        for (int i = 0; i < kBlock; ++i) {
            if (!std::isfinite(outLeft_[i]) || !std::isfinite(outRight_[i])) return false;
        }
        return true;
    }

    static constexpr int kBlock = 64;
    float left_[kBlock] = {};
    float right_[kBlock] = {};
    float outLeft_[kBlock] = {};
    float outRight_[kBlock] = {};
    long frame_ = 0;
    host::VstHost host_;
};

// Little-endian field access on chunk bytes.
inline void PutDouble(std::vector<unsigned char>& bytes, std::size_t offset, double value) {
    std::memcpy(bytes.data() + offset, &value, 8);
}
inline void PutInt32(std::vector<unsigned char>& bytes, std::size_t offset, int32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}
inline int32_t GetInt32(const std::vector<unsigned char>& bytes, std::size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

template <std::size_t N>
std::vector<unsigned char> Bytes(const unsigned char (&data)[N]) {
    return std::vector<unsigned char>(data, data + N);
}

// Offsets in a program chunk.
inline constexpr std::size_t kBandOffset = 26;  // band n: frequency 26 + 24 n, gain + 8, Q + 16
inline constexpr std::size_t kOutOffset = 339;
inline constexpr std::size_t kLengthOffset = 349;
inline constexpr std::size_t kPathOffset = 353;

// The program chunk with its custom data replaced: the length field and the path's bytes.
inline std::vector<unsigned char> WithPath(std::vector<unsigned char> chunk,
                                           const std::string& path, int32_t storedLength) {
    chunk.resize(kPathOffset);
    PutInt32(chunk, kLengthOffset, storedLength);
    chunk.insert(chunk.end(), path.begin(), path.end());
    return chunk;
}

}  // namespace corvalen::testing
