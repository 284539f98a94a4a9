// The real plug-in DLL in our test host, as a DAW would hold it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tools/host/vst_host.h"

namespace corvalen::wine_testing {

inline constexpr const char* kPluginPath = CORVALEN_DLL_PATH;

// Parameter indices the tests use.
inline constexpr int kBand1Switch = 0;
inline constexpr int kTargetGraph = 15;
inline constexpr int kBand1Frequency = 18;
inline constexpr int kBand1Gain = 19;
inline constexpr int kOutputGain = 58;
inline constexpr int kParamCount = 61;

class LoadedPluginTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Load(kPluginPath)) << host.LastError(); }

    intptr_t CanDo(const char* capability) {
        return host.Dispatch(vst2::effCanDo, 0, 0, const_cast<char*>(capability));
    }

    host::VstHost host;
};

}  // namespace corvalen::wine_testing
