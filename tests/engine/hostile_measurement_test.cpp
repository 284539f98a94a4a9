// Measurement files nobody should choose, chosen the way the file button chooses one: each is
// either refused with a message naming the path or read for what it holds, the curve stays
// finite, a load holds little memory and ends in bounded time whatever the file's size, and
// nothing the user set up is lost (the band settings, the path itself, the saved program).
// Runs natively and, in the Windows build, under Wine (paths past 260 characters, names outside
// the code page).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/parameter_table.h"
#include "linked_plugin.h"
#include "peak_allocation.h"
#include "reference_reader.h"
#include "shell/parameter.h"
#include "shell/reentrant_lock.h"
#include "temp_folder.h"

namespace corvalen {
namespace {

using testing_support::LinkedPlugin;

constexpr std::size_t kHugeFileBytes = 100u << 20;
// What a load may hold at once whatever the file: the grid's sums and one line of at most
// kLongestMeasurementLine bytes, with room for the line's growth and the path's copies.
constexpr std::size_t kLoadMemoryBound = 512u << 10;
// A hang, not a slow machine: the 100 MB files take a few seconds even under the sanitizers.
constexpr double kLoadSecondsBound = 90.0;

// Rows whose curve is known: 75 dB from 1 kHz on (index 391 is about 1000.4 Hz), 80 dB below.
constexpr const char* kRows = "20,80\n1000,75\n20000,75\n";
constexpr int kIndexAt1kHz = 391;

std::filesystem::path Temp(const std::string& utf8Name) {
    return testing::TestTempFolder() / std::filesystem::u8path(utf8Name);
}

// Through a stream opened by the path itself (wide characters on Windows), so names outside
// the code page work.
std::string WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.u8string();
}

// head, then `copies` times `fill`, then tail; written in pieces of about a megabyte.
std::string WriteLargeFile(const std::string& name, const std::string& head,
                           const std::string& fill, std::size_t copies, const std::string& tail) {
    const std::filesystem::path path = Temp(name);
    std::ofstream out(path, std::ios::binary);
    out << head;
    const std::size_t perBlock = std::max<std::size_t>(1, (1u << 20) / fill.size());
    std::string block;
    for (std::size_t i = 0; i < perBlock; ++i) block += fill;
    for (std::size_t written = 0; written < copies; written += perBlock) {
        const std::size_t now = std::min(perBlock, copies - written);
        out.write(block.data(), static_cast<std::streamsize>(now * fill.size()));
    }
    out << tail;
    return path.u8string();
}

// The points a plain reading of the file gives with the comma setting.
std::size_t ReferencePoints(const std::string& bytes) {
    return reference::ReadPoints(bytes, ',').size();
}

std::string GarbageBytes() {
    std::mt19937 random(20240611);
    std::string bytes(64 << 10, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

// A folder nested deep enough that a file in it has a path of more than 300 characters, named
// through "." and ".." on the way (which a long path on Windows must have resolved).
std::string LongPath() {
    std::filesystem::path folder = testing::TestTempFolder();
    std::error_code ignored;
    for (int level = 0; level < 6; ++level) {
        folder /= "corvalen_deeply_nested_measurement_folder_" + std::to_string(level);
        std::filesystem::create_directory(folder, ignored);
    }
    std::filesystem::create_directory(folder / "x", ignored);
    WriteFile(folder / "headphone.csv", kRows);
    return (folder / "." / "x" / ".." / "headphone.csv").u8string();
}

struct HostileFile {
    const char* what;
    std::function<std::string()> make;  // makes it in the temp folder; its UTF-8 path
    const char* status;                 // the status text's start; the path follows unless ""
    std::function<std::size_t()> points;
    double levelAt1kHz;  // NaN: not checked (only finite)
};

const double kAny = std::nan("");

TEST(HostileMeasurement, EachFileIsRefusedOrReadAndNothingIsLost) {
    const std::string garbage = GarbageBytes();
    const std::string nonFinite = "20,nan\n1000,75\n5000,inf\nnan,3\ninf,4\n-inf,5\n20000,-1e400\n";
    const std::string row = "1000,75.5\n";
    const std::size_t hugeRows = kHugeFileBytes / row.size();
    const HostileFile cases[] = {
        {"100 MB of rows", [&] { return WriteLargeFile("rows.csv", "", row, hugeRows, ""); }, "",
         [&] { return hugeRows; }, 75.5},
        {"100 MB in one line between rows",
         [] {
             return WriteLargeFile("one_line.csv", "20,80\n1000,75\n", "x", kHugeFileBytes,
                                   "\n20000,75\n");
         },
         "", [] { return std::size_t{3}; }, 75.0},
        {"binary garbage", [&] { return WriteFile(Temp("garbage.csv"), garbage); }, "",
         [&] { return ReferencePoints(garbage); }, kAny},
        {"a folder",
         [] {
             std::error_code ignored;
             std::filesystem::create_directory(Temp("a_folder.csv"), ignored);
             return Temp("a_folder.csv").u8string();
         },
         "NO DATA IN FILE: ", [] { return std::size_t{0}; }, 0.0},
        {"a name outside any code page",
         [] {
             return WriteFile(Temp("Kopfh\xC3\xB6rer \xD0\xBD\xD0\xB0 \xE8\x80\xB3.csv"), kRows);
         },
         "", [] { return std::size_t{3}; }, 75.0},
        {"a path of more than 260 characters", [] { return LongPath(); }, "",
         [] { return std::size_t{3}; }, 75.0},
        {"NaN and infinities", [&] { return WriteFile(Temp("non_finite.csv"), nonFinite); }, "",
         [&] { return ReferencePoints(nonFinite); }, 75.0},
        {"an empty file", [] { return WriteFile(Temp("empty.csv"), ""); },
         "NO DATA IN FILE: ", [] { return std::size_t{0}; }, 0.0},
        {"a missing file", [] { return Temp("missing.csv").u8string(); },
         "FILE NOT FOUND: ", [] { return std::size_t{0}; }, 0.0},
    };

    for (const HostileFile& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = c.make();
        LinkedPlugin plugin;
        plugin.Dispatch(vst2::effOpen, 0, 0, nullptr, 0.0f);
        // What the user had set up before choosing the file.
        ParamSpec& gain = *plugin.Param(param::BandGain(3));
        gain.SetValue(-4.5);
        plugin.OnParamChange(param::BandGain(3));

        plugin.path() = path;
        testing_support::StartMeasuringAllocations();
        const auto start = std::chrono::steady_clock::now();
        {
            // What the file button's push does: the change under the instance lock, the file
            // read as the lock is left.
            LockScope hold(plugin.Lock());
            plugin.OnParamChange(param::kFrFile);
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::size_t peak = testing_support::StopMeasuringAllocations();

        EXPECT_LT(seconds, kLoadSecondsBound);
        EXPECT_LT(peak, kLoadMemoryBound) << "bytes held at once";
        EXPECT_EQ(plugin.status.text(), std::string(c.status) + (*c.status != '\0' ? path : ""));
        const double* curve = plugin.Model()->frCurve();
        bool flat = true;
        for (int i = 0; i < kGridPoints; ++i) {
            ASSERT_TRUE(std::isfinite(curve[i])) << i;
            flat = flat && curve[i] == 0.0;
        }
        if (c.points() == 0) {
            EXPECT_TRUE(flat);
        }
        if (!std::isnan(c.levelAt1kHz)) {
            EXPECT_EQ(curve[kIndexAt1kHz], c.levelAt1kHz);
        }
        // The same points again, counted by the loader itself.
        EXPECT_EQ(LoadMeasurement(*plugin.Model(), path), c.points());

        // Nothing lost: the band, the chosen path, and a saved program that carries both.
        EXPECT_EQ(gain.Value(), -4.5);
        EXPECT_EQ(plugin.path(), path);
        void* data = nullptr;
        const intptr_t length = plugin.Dispatch(vst2::effGetChunk, 1, 0, &data, 0.0f);
        ASSERT_GT(length, 0);
        const std::string saved(static_cast<const char*>(data), static_cast<std::size_t>(length));
        EXPECT_EQ(saved.substr(saved.size() - path.size()), path);

        std::error_code ignored;  // the large files go at once, not when the process ends
        std::filesystem::remove(std::filesystem::u8path(path), ignored);
    }
}

}  // namespace
}  // namespace corvalen
