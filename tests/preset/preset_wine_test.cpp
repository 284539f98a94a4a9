// Presets of corvalen-preset in the real DLL, loaded as a DAW loads a preset file: the chunk of
// a program file the tool made, handed over with effSetChunk, must show every expected display
// text and filter an impulse as the cookbook cascade computed from the text alone (golden data
// from data/make_preset_response.py); a program the DLL saved through the host must show and
// export as the DLL holds it.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/file_access.h"
#include "engine/parameter_table.h"
#include "fit_golden.h"
#include "shell/parameter.h"
#include "tool_run.h"
#include "tools/host/plugin_library.h"
#include "tools/host/vst_host.h"
#include "tools/preset/band_layout.h"

namespace corvalen::preset {
namespace {

#include "data/preset_response.inc"

using testing_support::ReadBytes;
using testing_support::RunTool;
using testing_support::ScratchPath;
using testing_support::WriteText;

constexpr int kBlock = 512;
// 2.7 s at 48 kHz: the slowest band of the case (Q 12 at 7 kHz, or the 41 Hz peak) has died
// away far below what 0.01 dB could see.
constexpr int kImpulseFrames = 1 << 17;

std::string DataFile(const char* name) {
    return host::ToWindowsPath(std::string(CORVALEN_PRESET_DATA) + "/" + name);
}

std::uint32_t BigEndian(const Bytes& bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
}

std::string ReadTextFile(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

PresetProgram LaidOut(const std::string& text) {
    const ParseOutcome parsed = ParseParametricText(text);
    EXPECT_TRUE(parsed.ok) << parsed.error;
    const LayoutOutcome laid = LayOutCorrection(parsed.correction);
    EXPECT_TRUE(laid.ok) << laid.error;
    return laid.program;
}

class PresetInTheDllTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load(CORVALEN_DLL_PATH)) << host.LastError();
        host.Dispatch(vst2::effOpen);
        host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kResponseRate));
        host.Dispatch(vst2::effSetBlockSize, 0, kBlock);
        host.Dispatch(vst2::effMainsChanged, 0, 1);
    }

    // What a DAW does with a program file: check the header, hand the chunk over.
    void LoadProgramFile(const std::string& path) {
        Bytes file = ReadBytes(path);
        ASSERT_GE(file.size(), 60u);
        ASSERT_EQ(std::string(file.begin(), file.begin() + 4), "CcnK");
        ASSERT_EQ(BigEndian(file, 4), file.size() - 8);
        ASSERT_EQ(std::string(file.begin() + 8, file.begin() + 12), "FPCh");
        ASSERT_EQ(static_cast<std::int32_t>(BigEndian(file, 16)), host.Effect()->uniqueID);
        ASSERT_EQ(static_cast<std::int32_t>(BigEndian(file, 20)), host.Effect()->version);
        ASSERT_EQ(BigEndian(file, 56), file.size() - 60);
        ASSERT_EQ(host.Dispatch(vst2::effSetChunk, 1, static_cast<intptr_t>(file.size() - 60),
                                file.data() + 60),
                  1);
    }

    // The left channel's response to a unit impulse on both channels, through processReplacing.
    std::vector<double> ImpulseResponse() {
        std::vector<double> response;
        response.reserve(kImpulseFrames);
        std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
        for (int start = 0; start < kImpulseFrames; start += kBlock) {
            std::fill(left.begin(), left.end(), 0.0f);
            std::fill(right.begin(), right.end(), 0.0f);
            if (start == 0) left[0] = right[0] = 1.0f;
            float* inputs[2] = {left.data(), right.data()};
            float* outputs[2] = {outLeft.data(), outRight.data()};
            host.ProcessReplacing(inputs, outputs, kBlock);
            for (int n = 0; n < kBlock; ++n) {
                const std::size_t i = static_cast<std::size_t>(n);
                EXPECT_EQ(outLeft[i], outRight[i]);
                response.push_back(outLeft[i]);
            }
        }
        return response;
    }

    host::VstHost host;
};

TEST_F(PresetInTheDllTest, AToolMadeProgramShowsAndSoundsAsTheTextSays) {
    const std::string text = DataFile("response_case.txt");
    const std::string fxp = ScratchPath("response.fxp");
    const auto made = RunTool({"import", text, "-o", fxp});
    ASSERT_EQ(made.status, kSucceeded) << made.errors;
    EXPECT_NE(made.errors.find("line 8: Q 14 is outside"), std::string::npos) << made.errors;
    EXPECT_NE(made.errors.find("line 12: Gain 27 dB is outside"), std::string::npos) << made.errors;
    LoadProgramFile(fxp);

    for (int index = 0; index < param::kCount; ++index) {
        if (kExpectedDisplay[index][0] == '\0') continue;
        EXPECT_EQ(host.DispatchText(vst2::effGetParamDisplay, index), kExpectedDisplay[index])
            << "parameter " << index;
    }
    EXPECT_EQ(host.GetParameter(param::kTypeBand12), 0.0f);  // the position that filters as a shelf

    const std::vector<double> response = ImpulseResponse();
    double largest = 0.0;
    for (int i = 0; i < 30; ++i) {
        const double w = 2.0 * 3.141592653589793 * kResponseFrequencies[i] / kResponseRate;
        std::complex<double> sum = 0.0;
        for (std::size_t n = 0; n < response.size(); ++n) {
            sum += response[n] * std::polar(1.0, -w * static_cast<double>(n));
        }
        const double db = 20.0 * std::log10(std::abs(sum));
        EXPECT_NEAR(db, kResponseDb[i], 0.01) << kResponseFrequencies[i] << " Hz";
        largest = std::max(largest, std::fabs(db - kResponseDb[i]));
    }
    std::printf("largest difference from the cookbook cascade: %.2g dB\n", largest);

    // Exported and imported again, the text gives the same filters.
    const auto exported = RunTool({"export", fxp});
    ASSERT_EQ(exported.status, kSucceeded) << exported.errors;
    EXPECT_EQ(LaidOut(exported.out), LaidOut(ReadTextFile(text)));
}

TEST_F(PresetInTheDllTest, AProgramTheDllSavedShowsAndExportsAsItHoldsIt) {
    // A user's edits, as the host sends them.
    const struct {
        int index;
        float normalised;
    } edits[] = {
        {param::kTypeBand1, 1.0f},    {param::kTypeBand12, 1.0f},
        {param::BandGain(0), 0.6f},   {param::BandFrequency(2), 0.3f},
        {param::BandGain(2), 0.25f},  {param::BandQuality(2), 0.7f},
        {param::BandSwitch(4), 0.0f}, {param::BandGain(4), 0.9f},
        {param::BandGain(11), 0.4f},  {param::BandFrequency(11), 0.85f},
        {param::kOut, 0.3f},
    };
    std::vector<std::unique_ptr<ParamSpec>> expected;
    AppendParameters(expected);
    for (const auto& edit : edits) {
        host.SetParameter(edit.index, edit.normalised);
        expected[static_cast<std::size_t>(edit.index)]->SetNormalised(edit.normalised);
    }
    void* chunk = nullptr;
    const intptr_t length = host.Dispatch(vst2::effGetChunk, 1, 0, &chunk);
    ASSERT_GT(length, 0);
    PresetFile file;
    file.pluginId = host.Effect()->uniqueID;
    file.pluginVersion = host.Effect()->version;
    file.parameterCount = host.Effect()->numParams;
    file.name = "Saved by the DAW";
    file.chunk.assign(static_cast<const std::uint8_t*>(chunk),
                      static_cast<const std::uint8_t*>(chunk) + length);
    const std::string fxp = ScratchPath("saved.fxp");
    const Bytes bytes = WritePresetFile(file);
    WriteText(fxp, std::string(bytes.begin(), bytes.end()));

    const auto shown = RunTool({"show", fxp});
    ASSERT_EQ(shown.status, kSucceeded) << shown.errors;
    EXPECT_EQ(shown.out.rfind("Program       Saved by the DAW\n", 0), 0u) << shown.out;
    EXPECT_NE(shown.out.find("Output level  " +
                             host.DispatchText(vst2::effGetParamDisplay, param::kOut) + " dB\n"),
              std::string::npos)
        << shown.out;
    for (int band = 0; band < kBandCount; ++band) {
        const std::string number = (band < 9 ? "   " : "  ") + std::to_string(band + 1) + "  ";
        const std::size_t start = shown.out.find("\n" + number);
        ASSERT_NE(start, std::string::npos) << number;
        const std::string line =
            shown.out.substr(start + 1, shown.out.find('\n', start + 1) - start - 1);
        const char* type =
            band == 0 ? "LowShelf" : "Peak";  // band 12's switch at 1 filters as a peak
        EXPECT_NE(line.find(type), std::string::npos) << line;
        for (int index : {param::BandSwitch(band), param::BandFrequency(band),
                          param::BandGain(band), param::BandQuality(band)}) {
            // The host's texts are cut to 7 characters, the tool's are whole.
            EXPECT_NE(line.find(host.DispatchText(vst2::effGetParamDisplay, index)),
                      std::string::npos)
                << line << " parameter " << index;
        }
    }

    const auto exported = RunTool({"export", fxp});
    ASSERT_EQ(exported.status, kSucceeded) << exported.errors;
    const ParseOutcome parsed = ParseParametricText(exported.out);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.correction.filters.size(), 12u)
        << exported.out;  // every band is on or has gain
    const auto value = [&expected](int index) {
        return expected[static_cast<std::size_t>(index)]->Value();
    };
    EXPECT_EQ(*parsed.correction.preampDb, value(param::kOut));
    for (int band = 0; band < kBandCount; ++band) {
        const ParametricFilter& filter = parsed.correction.filters[static_cast<std::size_t>(band)];
        EXPECT_EQ(filter.on, value(param::BandSwitch(band)) != 0.0) << band;
        EXPECT_EQ(filter.shape, band == 0 ? FilterShape::LowShelf : FilterShape::Peak) << band;
        EXPECT_EQ(filter.frequencyHz, value(param::BandFrequency(band))) << band;
        EXPECT_EQ(filter.gainDb, value(param::BandGain(band))) << band;
        EXPECT_EQ(filter.q, value(param::BandQuality(band))) << band;
    }
}

// Windows keeps names outside the ANSI code page ("Kopfhörer" under a Japanese code page, or
// any name with characters no code page has): the tool reads and writes its files by the
// UTF-8 path through the wide-character calls.
TEST(PresetToolFiles, NamesOutsideTheCodePageAreReadAndWritten) {
    const std::string folder = ScratchPath("Kopfh\xC3\xB6rer \xE8\x80\xB3");  // "Kopfhörer 耳"
    ASSERT_TRUE(CreateFolder(folder));
    const std::string text = folder + "\\HD 650 ParametricEQ.txt";
    const std::string program = folder + "\\HD 650.fxp";
    std::FILE* file = OpenFileForWriting(text);
    ASSERT_NE(file, nullptr);
    const std::string correction =
        "Preamp: -6.0 dB\nFilter 1: ON PK Fc 1000 Hz Gain -3.0 dB Q 1.41\n";
    std::fwrite(correction.data(), 1, correction.size(), file);
    std::fclose(file);

    const auto imported = RunTool({"import", text, "-o", program});
    EXPECT_EQ(imported.status, kSucceeded) << imported.errors;
    const auto shown = RunTool({"show", program});
    EXPECT_EQ(shown.status, kSucceeded) << shown.errors;
    EXPECT_NE(shown.out.find("1000"), std::string::npos) << shown.out;
    EXPECT_TRUE(RemoveFile(program));
    EXPECT_TRUE(RemoveFile(text));
}

// The fit in the Windows build, under Wine's C runtime, prints the bytes the native build printed
// (the golden data): the same bands, levels and errors on every build.
TEST(PresetFitInWindows, FitsOfTheSampleMatchTheNativeOutput) {
    const Bytes golden = ReadBytes(DataFile("sample_fit.txt"));
    EXPECT_EQ(testing_support::GoldenFitText(host::ToWindowsPath(CORVALEN_SAMPLE_MEASUREMENT),
                                             ScratchPath("golden.fxp")),
              std::string(golden.begin(), golden.end()));
}

}  // namespace
}  // namespace corvalen::preset
