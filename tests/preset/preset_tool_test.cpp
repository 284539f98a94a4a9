// corvalen-preset end to end on files: the program and bank files it writes (the plug-in's
// chunk read at the offsets of the published layout, the header at the offsets of the VST 2.4
// file format), what export and show print, a fit of our sample measurement, and the refusals,
// after which no file exists.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "fit_golden.h"
#include "tool_run.h"

namespace corvalen::preset {
namespace {

using testing_support::FileExists;
using testing_support::ReadBytes;
using testing_support::RunTool;
using testing_support::ScratchPath;
using testing_support::WriteText;

constexpr const char* kCorrection =
    "Preamp: -6.1 dB\r\n"
    "Filter 1: ON LSC Fc 105 Hz Gain 6.4 dB Q 0.70\r\n"
    "Filter 2: ON PK Fc 8865 Hz Gain 4.9 dB Q 1.30\r\n"
    "Filter 3: OFF PK Fc 121 Hz Gain -3.1 dB Q 0.50\r\n"
    "Filter 4: ON PK Fc 37 Hz Gain 0.7 dB BW Oct 2\r\n"
    "Filter 5: ON HSC Fc 10000 Hz Gain -2.1 dB Q 0.70\r\n";

// Offsets in the plug-in's program chunk, from its published layout.
constexpr std::size_t kFileHeader = 60;  // then the chunk
constexpr std::size_t kBandSwitches = 8;
constexpr std::size_t kBand1Type = 24;
constexpr std::size_t kBand12Type = 25;
constexpr std::size_t kBandValues = 26;  // frequency, gain, Q of each band, 24 bytes a band
constexpr std::size_t kOut = 339;
constexpr std::size_t kPathLength = 349;

double LittleEndianDouble(const Bytes& bytes, std::size_t at) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | bytes[at + static_cast<std::size_t>(i)];
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

class PresetToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        text_ = ScratchPath("hd.txt");
        WriteText(text_, kCorrection);
        std::remove(Output("fxp").c_str());
        std::remove(Output("fxb").c_str());
    }
    std::string Output(const char* extension) {
        return ScratchPath(std::string("out.") + extension);
    }

    std::string text_;
};

TEST_F(PresetToolTest, ImportWritesTheStandardProgramFileAroundThePluginsOwnChunk) {
    const std::string fxp = Output("fxp");
    const auto run = RunTool(
        {"import", text_, "-o", fxp, "--name", "HD 650", "--measurement", "C:\\eq\\HD 650.csv"});
    ASSERT_EQ(run.status, kSucceeded) << run.errors;
    EXPECT_EQ(run.out, fxp + ": \"HD 650\", 5 filters, output -6.1 dB\n");

    const Bytes file = ReadBytes(fxp);
    const std::string path = "C:\\eq\\HD 650.csv";
    const std::size_t chunkSize = 353 + path.size();
    ASSERT_EQ(file.size(), kFileHeader + chunkSize);
    const auto text = [&file](std::size_t at, std::size_t n) {
        return std::string(file.begin() + static_cast<std::ptrdiff_t>(at),
                           file.begin() + static_cast<std::ptrdiff_t>(at + n));
    };
    EXPECT_EQ(text(0, 4), "CcnK");
    EXPECT_EQ(text(4, 4), std::string("\0\0\x01", 3) + static_cast<char>(file.size() - 8 - 256));
    EXPECT_EQ(text(8, 20), std::string("FPCh\0\0\0\x01Kv4m\0\0\x03\xE8\0\0\0\x3D", 20));
    EXPECT_EQ(text(28, 28), std::string("HD 650") + std::string(22, '\0'));
    EXPECT_EQ(text(56, 4), std::string("\0\0\x01", 3) + static_cast<char>(chunkSize - 256));

    const Bytes chunk(file.begin() + kFileHeader, file.end());
    EXPECT_EQ(std::string(chunk.begin(), chunk.begin() + 8), std::string("tffp\0\0\x01\0", 8));
    // Band 1 the low shelf, then the peaks by frequency (37 Hz, the switched-off 121 Hz,
    // 8865 Hz), bands 5 to 11 off, band 12 the high shelf.
    const int switches[12] = {1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1};
    for (std::size_t k = 0; k < 12; ++k) EXPECT_EQ(chunk[kBandSwitches + k], switches[k]) << k;
    EXPECT_EQ(chunk[kBand1Type], 1);   // LowShelf
    EXPECT_EQ(chunk[kBand12Type], 0);  // band 12 filters as a high shelf at 0
    const double bands[5][3] = {{105, 6.4, 0.70},
                                {37, 0.7, 2.0 / 3.0},
                                {121, -3.1, 0.5},
                                {8865, 4.9, 1.3},
                                {462.128, 0, 0.71}};
    for (std::size_t k = 0; k < 5; ++k) {
        for (std::size_t role = 0; role < 3; ++role) {
            const double stored = LittleEndianDouble(chunk, kBandValues + 24 * k + 8 * role);
            if (k == 1 && role == 2) {
                EXPECT_NEAR(stored, bands[k][role], 1e-15);  // sqrt(4) / (4 - 1) in doubles
            } else {
                EXPECT_EQ(stored, bands[k][role]) << "band " << k + 1 << " value " << role;
            }
        }
    }
    EXPECT_EQ(LittleEndianDouble(chunk, kBandValues + 24 * 11), 10000.0);
    EXPECT_EQ(LittleEndianDouble(chunk, kBandValues + 24 * 11 + 8), -2.1);
    EXPECT_EQ(LittleEndianDouble(chunk, kOut), -6.1);
    EXPECT_EQ(chunk[kPathLength], path.size());
    EXPECT_EQ(std::string(chunk.begin() + kPathLength + 4, chunk.end()), path);
}

TEST_F(PresetToolTest, ExportAndShowReadTheProgramBackAndExportImportsToTheSameFile) {
    const std::string fxp = Output("fxp");
    ASSERT_EQ(RunTool({"import", text_, "-o", fxp, "--name", "HD 650"}).status, kSucceeded);
    const auto exported = RunTool({"export", fxp});
    ASSERT_EQ(exported.status, kSucceeded) << exported.errors;
    EXPECT_EQ(exported.out,
              "# Corvalen program \"HD 650\"\n"
              "Preamp: -6.1 dB\n"
              "Filter 1: ON LSC Fc 105 Hz Gain 6.4 dB Q 0.7\n"
              "Filter 2: ON PK Fc 37 Hz Gain 0.7 dB Q 0.6666666666666666\n"
              "Filter 3: OFF PK Fc 121 Hz Gain -3.1 dB Q 0.5\n"
              "Filter 4: ON PK Fc 8865 Hz Gain 4.9 dB Q 1.3\n"
              "Filter 5: ON HSC Fc 10000 Hz Gain -2.1 dB Q 0.7\n");

    const std::string again = ScratchPath("again.txt");
    const std::string againFxp = ScratchPath("again.fxp");
    WriteText(again, exported.out);
    ASSERT_EQ(RunTool({"import", again, "-o", againFxp, "--name", "HD 650"}).status, kSucceeded);
    EXPECT_EQ(ReadBytes(againFxp), ReadBytes(fxp));

    const auto shown = RunTool({"show", fxp});
    ASSERT_EQ(shown.status, kSucceeded) << shown.errors;
    EXPECT_EQ(shown.out,
              "Program       HD 650\n"
              "Measurement   (none)\n"
              "Output level  -6.1 dB\n"
              "Reference     0.0 dB\n"
              "EQ bypass     OFF\n"
              "\n"
              "band  switch  type       frequency     gain      Q\n"
              "   1  ON      LowShelf      105.00 Hz  +6.4 dB   0.70\n"
              "   2  ON      Peak           37.00 Hz  +0.7 dB   0.67\n"
              "   3  OFF     Peak          121.00 Hz  -3.1 dB   0.50\n"
              "   4  ON      Peak         8865.00 Hz  +4.9 dB   1.30\n"
              "   5  OFF     Peak          462.13 Hz  0.0 dB    0.71\n"
              "   6  OFF     Peak          794.98 Hz  0.0 dB    0.71\n"
              "   7  OFF     Peak         1352.78 Hz  0.0 dB    0.71\n"
              "   8  OFF     Peak         2289.41 Hz  0.0 dB    0.71\n"
              "   9  OFF     Peak         3866.88 Hz  0.0 dB    0.71\n"
              "  10  OFF     Peak         6534.13 Hz  0.0 dB    0.71\n"
              "  11  OFF     Peak        11065.50 Hz  0.0 dB    0.71\n"
              "  12  ON      HighShelf   10000.00 Hz  -2.1 dB   0.70\n");
}

TEST_F(PresetToolTest, BanksHoldOneProgramPerFileNamedAfterIt) {
    const std::string second = ScratchPath("Other Phone ParametricEQ.txt");
    WriteText(
        second,
        "Filter 1: ON PK Fc 1000 Hz Gain -3 dB Q 2\nFilter 2: ON PK Fc 20 Hz Gain 1 dB Q 1\n");
    const std::string fxb = Output("fxb");
    const auto made = RunTool({"import", text_, second, "-o", fxb, "--measurement", "D:/hp.csv"});
    ASSERT_EQ(made.status, kSucceeded) << made.errors;
    EXPECT_EQ(made.out, fxb + ": program 1 \"hd\", 5 filters, output -6.1 dB\n" + fxb +
                            ": program 2 \"Other Phone\", 2 filters, output 0 dB\n");
    const Bytes file = ReadBytes(fxb);
    ASSERT_GT(file.size(), 160u);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "FBCh");
    EXPECT_EQ(Bytes(file.begin() + 28, file.begin() + 156), Bytes(128, 0));

    const auto exported = RunTool({"export", fxb, "--program", "2"});
    ASSERT_EQ(exported.status, kSucceeded) << exported.errors;
    EXPECT_EQ(exported.out,
              "# Corvalen program \"Other Phone\", program 2 of a bank\n"
              "# measurement: D:/hp.csv\n"
              "Preamp: 0 dB\n"
              "Filter 1: ON PK Fc 20 Hz Gain 1 dB Q 1\n"
              "Filter 2: ON PK Fc 1000 Hz Gain -3 dB Q 2\n");
    const auto shown = RunTool({"show", fxb});
    ASSERT_EQ(shown.status, kSucceeded) << shown.errors;
    EXPECT_EQ(shown.out.rfind("Bank program  1 of 16\nProgram       hd\n"
                              "Measurement   D:/hp.csv\n",
                              0),
              0u)
        << shown.out;
    EXPECT_NE(shown.out.find("\nPrograms in the bank\n   1  hd\n"
                             "   2  Other Phone\n   3  - 3 -\n"),
              std::string::npos);
    EXPECT_NE(shown.out.find("  16  - 16 -\n"), std::string::npos);
}

std::uint32_t BigEndian(const Bytes& file, std::size_t at) {
    return static_cast<std::uint32_t>(file[at]) << 24 |
           static_cast<std::uint32_t>(file[at + 1]) << 16 |
           static_cast<std::uint32_t>(file[at + 2]) << 8 | file[at + 3];
}

// The header fields of the VST 2.4 program file (fxProgram with opaque chunk: chunkMagic,
// byteSize, fxMagic "FPCh", version, fxID, fxVersion, numParams, prgName[28], size) and bank
// file (fxBank: the same to numPrograms, then 128 reserved bytes, size), with the values the
// format asks for; the chunk fills the rest of the file.
TEST_F(PresetToolTest, ProgramAndBankFilesCarryTheFormatsHeaderFields) {
    const std::string fxp = Output("fxp");
    const std::string fxb = Output("fxb");
    ASSERT_EQ(RunTool({"import", text_, "-o", fxp}).status, kSucceeded);
    ASSERT_EQ(RunTool({"import", text_, text_, "-o", fxb}).status, kSucceeded);
    const Bytes program = ReadBytes(fxp);
    const Bytes bank = ReadBytes(fxb);
    ASSERT_GT(program.size(), 60u);
    ASSERT_GT(bank.size(), 160u);
    constexpr std::uint32_t kKv4m = 0x4B76346D;
    const struct {
        const char* field;
        const Bytes& file;
        std::size_t offset;
        std::uint32_t expected;
    } fields[] = {
        {"program chunkMagic CcnK", program, 0, 0x43636E4B},
        {"program byteSize", program, 4, static_cast<std::uint32_t>(program.size() - 8)},
        {"program fxMagic FPCh", program, 8, 0x46504368},
        {"program version", program, 12, 1},
        {"program fxID", program, 16, kKv4m},
        {"program fxVersion", program, 20, 1000},
        {"program numParams", program, 24, 61},
        {"program chunk size", program, 56, static_cast<std::uint32_t>(program.size() - 60)},
        {"bank chunkMagic CcnK", bank, 0, 0x43636E4B},
        {"bank byteSize", bank, 4, static_cast<std::uint32_t>(bank.size() - 8)},
        {"bank fxMagic FBCh", bank, 8, 0x46424368},
        {"bank version", bank, 12, 1},
        {"bank fxID", bank, 16, kKv4m},
        {"bank fxVersion", bank, 20, 1000},
        {"bank numPrograms", bank, 24, 16},
        {"bank chunk size", bank, 156, static_cast<std::uint32_t>(bank.size() - 160)},
    };
    for (const auto& f : fields) EXPECT_EQ(BigEndian(f.file, f.offset), f.expected) << f.field;

    // Files written before the count was mended, and other hosts' files, still load.
    for (std::uint32_t count : {16u, 0u, 0xFFFFFFFFu}) {
        Bytes older = program;
        for (int i = 0; i < 4; ++i)
            older[24 + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(count >> (24 - 8 * i));
        const std::string olderPath = ScratchPath("older.fxp");
        WriteText(olderPath, std::string(older.begin(), older.end()));
        const auto shown = RunTool({"show", olderPath});
        EXPECT_EQ(shown.status, kSucceeded) << shown.errors;
        EXPECT_NE(shown.out.find("Output level  -6.1 dB"), std::string::npos) << count;
    }
}

// The fit's error line: before and after, RMS and largest, in dB.
struct PrintedError {
    double beforeRms = -1.0, beforeLargest = -1.0, afterRms = -1.0, afterLargest = -1.0;
};
PrintedError ErrorLine(const std::string& text) {
    PrintedError error;
    const std::size_t at = text.find("# error over 20 Hz to 10000 Hz: ");
    if (at == std::string::npos) return error;
    std::sscanf(text.c_str() + at,
                "# error over 20 Hz to 10000 Hz: before %lf dB RMS (largest %lf dB), after %lf "
                "dB RMS (largest %lf dB)",
                &error.beforeRms, &error.beforeLargest, &error.afterRms, &error.afterLargest);
    return error;
}

TEST_F(PresetToolTest, FitWritesTheFittedProgramAndPrintsItAsTextThatImportsBack) {
    const std::string fxp = Output("fxp");
    const std::string sample = CORVALEN_SAMPLE_MEASUREMENT;
    const auto run =
        RunTool({"fit", sample, "--reference", "auto", "-o", fxp, "--name", "Sample phone"});
    ASSERT_EQ(run.status, kSucceeded) << run.errors;
    EXPECT_EQ(run.out.rfind("# Corvalen program \"Sample phone\" written to " + fxp + "\n", 0), 0u)
        << run.out;
    // The sample sits near 75 dB between 200 Hz and 2 kHz; its correction needs a few dB of
    // boost at most.
    EXPECT_NE(run.out.find("# fitted to " + sample + ", reference 75."), std::string::npos)
        << run.out;
    const PrintedError error = ErrorLine(run.out);
    EXPECT_GT(error.beforeRms, 3.0);
    EXPECT_LT(error.afterRms, 0.25 * error.beforeRms);
    EXPECT_LT(error.afterLargest, error.beforeLargest);

    // The printed correction is the program: imported again (with the same measurement), it
    // exports as the fitted file does.
    const std::string text = ScratchPath("fitted.txt");
    const std::string again = ScratchPath("again.fxp");
    WriteText(text, run.out);
    const auto shown = RunTool({"show", fxp});
    ASSERT_EQ(shown.status, kSucceeded);
    const std::size_t pathAt = shown.out.find("Measurement   ") + 14;
    const std::string path = shown.out.substr(pathAt, shown.out.find('\n', pathAt) - pathAt);
    EXPECT_EQ(path, std::filesystem::absolute(sample).lexically_normal().string());
    ASSERT_EQ(
        RunTool({"import", text, "-o", again, "--name", "Sample phone", "--measurement", path})
            .status,
        kSucceeded);
    EXPECT_EQ(RunTool({"export", again}).out, RunTool({"export", fxp}).out);
    EXPECT_NE(shown.out.find("Reference     75."), std::string::npos) << shown.out;
    EXPECT_EQ(BigEndian(ReadBytes(fxp), 24), 61u);

    // Fitted against itself as the target, the curve is flat: nothing to correct.
    const auto flat = RunTool({"fit", sample, "--target", sample, "-o", fxp});
    ASSERT_EQ(flat.status, kSucceeded) << flat.errors;
    EXPECT_NE(flat.out.find("after 0.00 dB RMS (largest 0.00 dB)\nPreamp: 0 dB\n"),
              std::string::npos)
        << flat.out;
    EXPECT_EQ(flat.out.find("Filter"), std::string::npos) << flat.out;
}

// The fit prints what the native build printed when the golden data was made; the Windows build
// must print the same bytes (preset_wine_test.cpp).
TEST_F(PresetToolTest, FitsOfTheSampleMatchTheGoldenOutput) {
    const Bytes golden = ReadBytes(std::string(CORVALEN_PRESET_DATA) + "/sample_fit.txt");
    EXPECT_EQ(testing_support::GoldenFitText(CORVALEN_SAMPLE_MEASUREMENT, Output("fxp")),
              std::string(golden.begin(), golden.end()));
}

TEST_F(PresetToolTest, RefusalsExitNonZeroAndWriteNothing) {
    const std::string broken = ScratchPath("broken.txt");
    WriteText(broken, "Preamp: -1 dB\nFilter 1: ON LPQ Fc 100 Hz Q 0.7\n");
    const std::string notPreset = ScratchPath("not.fxp");
    WriteText(notPreset, "Preamp: -1 dB\n");
    const std::string fxp = Output("fxp");
    ASSERT_EQ(RunTool({"import", text_, "-o", fxp}).status, kSucceeded);
    Bytes foreign = ReadBytes(fxp);
    foreign[18] = 'X';
    const std::string foreignPath = ScratchPath("foreign.fxp");
    WriteText(foreignPath, std::string(foreign.begin(), foreign.end()));
    std::remove(fxp.c_str());
    const std::string sample = CORVALEN_SAMPLE_MEASUREMENT;
    const std::string noPairs = ScratchPath("no pairs.csv");
    WriteText(noPairs, "frequency,raw\n\n");

    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string error;
    } cases[] = {
        {{"import", broken, "-o", fxp},
         kFailed,
         broken + ": line 2: filter type 'LPQ' has no band in the equaliser (PK, LSC and HSC do); "
                  "nothing written"},
        {{"import", ScratchPath("missing.txt"), "-o", fxp}, kFailed, "missing.txt: cannot open"},
        {{"import", text_, "-o", fxp, "--measurement", std::string(1025, 'p')},
         kFailed,
         "the measurement path is longer than the 1024 bytes a preset holds"},
        {{"import", text_, text_, "-o", fxp}, kBadUsage, "a program file holds one correction"},
        {{"import", text_, "-o", Output("fxb"), "--name", "x", text_},
         kBadUsage,
         "--name names one program"},
        {{"import", text_, "-o", ScratchPath("out.txt")}, kBadUsage, "must end in .fxp"},
        {{"import", text_}, kBadUsage, "no output file given"},
        {{"import", text_, "-o"}, kBadUsage, "-o needs a value"},
        {{"import", text_, "-o", fxp, "--gain"}, kBadUsage, "unknown option --gain"},
        {{"export", notPreset}, kFailed, "not a VST2 preset file"},
        {{"show", foreignPath},
         kFailed,
         "a preset of another plug-in (id 'KvXm', this one is 'Kv4m')"},
        {{"show", foreignPath, "--program", "0"}, kBadUsage, "--program needs a program number"},
        {{"export"}, kBadUsage, "export: no preset file given"},
        {{"transmogrify"}, kBadUsage, "unknown command transmogrify"},
        {{"fit", ScratchPath("missing.csv"), "-o", fxp}, kFailed, "missing.csv: cannot open"},
        {{"fit", noPairs, "-o", fxp}, kFailed, "holds no frequency and level pairs"},
        {{"fit", sample, "--target", ScratchPath("missing.csv"), "-o", fxp},
         kFailed,
         "missing.csv: cannot open"},
        {{"fit", sample, "-o", Output("fxb")}, kBadUsage, "a fit makes one program"},
        {{"fit", sample, "-o", fxp, "--reference", "121"},
         kBadUsage,
         "--reference needs a level from 0 to 120 dB, or auto"},
        {{"fit", sample, "-o", fxp, "--reference", "loud"}, kBadUsage, "--reference needs"},
        {{"fit", sample, "-o", fxp, "--rate", "0"}, kBadUsage, "--rate needs a sample rate"},
        {{"fit", sample, sample, "-o", fxp}, kBadUsage, "fit takes one measurement file"},
        {{"fit", sample}, kBadUsage, "fit: no output file given"},
        {{"fit", "-o", fxp}, kBadUsage, "fit: no measurement file given"},
    };
    for (const auto& c : cases) {
        const auto run = RunTool(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.errors;
        EXPECT_NE(run.errors.find(c.error), std::string::npos) << run.errors;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_FALSE(FileExists(fxp));
        EXPECT_FALSE(FileExists(Output("fxb")));
    }
    const auto help = RunTool({"--help"});
    EXPECT_EQ(help.status, kSucceeded);
    EXPECT_NE(help.out.find("import FILE.txt -o OUT.fxp"), std::string::npos);
    EXPECT_NE(help.out.find("fit MEASUREMENT -o OUT.fxp"), std::string::npos);
}

}  // namespace
}  // namespace corvalen::preset
