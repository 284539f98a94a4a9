// The editor's size setting end to end: corvalen-host.exe runs as a child process with an
// application-data folder of the test's own (Wine replaces an APPDATA set from outside; an
// environment block handed to CreateProcess arrives as it is), opens the real DLL's editor
// and says how big it came out, what the plug-in asked the host for and how every picture
// reached the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "tools/host/plugin_library.h"

namespace corvalen {
namespace {

namespace fs = std::filesystem;

// The environment of this process with APPDATA replaced, as CreateProcess takes it.
std::wstring EnvironmentWithAppData(const fs::path& appData) {
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        if (_wcsnicmp(entry, L"APPDATA=", 8) == 0) continue;
        block += entry;
        block += L'\0';
    }
    FreeEnvironmentStringsW(strings);
    block += L"APPDATA=" + appData.wstring();
    block += L'\0';
    block += L'\0';
    return block;
}

// Runs `corvalen-host.exe editor DLL ARGS` with appData as its APPDATA; what it printed.
std::string RunEditorHost(const fs::path& appData, const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "no pipe";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const std::string command = "\"" + host::ToWindowsPath(CORVALEN_HOST_PATH) + "\" editor \"" +
                                host::ToWindowsPath(CORVALEN_DLL_PATH) + "\" " + arguments;
    std::wstring wideCommand(command.begin(), command.end());
    std::wstring environment = EnvironmentWithAppData(appData);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, wideCommand.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
            output.append(buffer, read);
        WaitForSingleObject(process.hProcess, 60000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        output = "cannot start " + command;
    }
    CloseHandle(readEnd);
    return output;
}

// What the host printed, one fact a line.
struct HostReport {
    int width = 0, height = 0;
    int toldWidth = 0, toldHeight = 0;  // 0 x 0: the host was not told
    int copies = -1, widestCopy = 0, narrowestCopy = 0;
    int halftone = -1, plain = -1, sourceWidth = 0, sourceHeight = 0, targetWidth = 0,
        targetHeight = 0;
    double idleTick = -1, messageAlone = -1, dragTick = -1, dragPresent = -1, repaint = -1,
           repaintPresent = -1, smallTick = -1, smallPresent = -1;
};

HostReport Parse(const std::string& output) {
    HostReport r;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const char* text = line.c_str();
        std::sscanf(text, "editor %d x %d", &r.width, &r.height);
        std::sscanf(text, "host told %d x %d", &r.toldWidth, &r.toldHeight);
        std::sscanf(text, "copies %d widest %d narrowest %d", &r.copies, &r.widestCopy,
                    &r.narrowestCopy);
        std::sscanf(text, "stretches halftone %d plain %d from %d x %d to %d x %d", &r.halftone,
                    &r.plain, &r.sourceWidth, &r.sourceHeight, &r.targetWidth, &r.targetHeight);
        std::sscanf(text, "idle tick %lf ms, the message alone %lf ms", &r.idleTick,
                    &r.messageAlone);
        std::sscanf(text, "drag tick %lf ms, present %lf ms", &r.dragTick, &r.dragPresent);
        std::sscanf(text, "full repaint %lf ms, present %lf ms", &r.repaint, &r.repaintPresent);
        std::sscanf(text, "output level tick %lf ms, present %lf ms", &r.smallTick,
                    &r.smallPresent);
    }
    return r;
}

class ScaleFolder {
public:
    // An application-data folder whose settings file holds `text`; none: no settings folder.
    explicit ScaleFolder(const std::optional<std::string>& text) {
        if (!text) return;
        fs::create_directories(settings());
        std::ofstream(file(), std::ios::binary) << *text;
    }
    const fs::path& appData() const { return folder_.path(); }
    fs::path settings() const { return appData() / "Corvalen"; }
    fs::path file() const { return settings() / "guiSizePercentage.txt"; }

private:
    testing::TempFolder folder_;
};

enum class Present { Copies, Halftone, Plain };

TEST(EditorScale, TheSettingsFileSizesTheWindowAndChoosesItsPresent) {
    struct Case {
        std::optional<std::string> text;
        int width, height;  // MulDiv(1600, dpi, 192) x MulDiv(1054, dpi, 192)
        bool hostTold;      // the size differs from 800 x 527, the rectangle before opening
        Present present;
        int bitmapWidth;  // 1600: full-size images, 800: half-size
    };
    const Case cases[] = {
        {"100", 800, 527, false, Present::Copies, 800},
        {"150", 1200, 791, true, Present::Halftone, 1600},  // 144 dpi; 790.5 rounds up
        {"200", 1600, 1054, true, Present::Copies, 1600},
        {"75", 600, 395, true, Present::Halftone, 800},  // DPI value 72, half-size images
        {"abc", 800, 527, false, Present::Copies, 800},  // no number: 100 %
        {"0", 800, 527, false, Present::Copies, 800},
        {std::nullopt, 800, 527, false, Present::Copies, 800},  // created, holding "100"
        // Settings that make no sense still open a window one can use: a negative one counts
        // as none (the system's 96 dpi here), the rest is held to 48 .. 384 dpi.
        {"-50", 800, 527, false, Present::Copies, 800},
        {"1", 800, 527, false, Present::Copies, 800},        // 96 / 100 is a DPI value of 0
        {"10", 400, 264, true, Present::Halftone, 800},      // 9 dpi held at 48
        {"100000", 3200, 2108, true, Present::Plain, 1600},  // held at 384: twice 1600 x 1054
        {"99999999999999999999999", 3200, 2108, true, Present::Plain, 1600},
    };
    for (const Case& c : cases) {
        const std::string name = c.text ? "\"" + *c.text + "\"" : "no settings folder";
        SCOPED_TRACE(name);
        const ScaleFolder folder(c.text);
        const std::string output = RunEditorHost(folder.appData(), "--seconds 0.3");
        const HostReport r = Parse(output);
        EXPECT_EQ(r.width, c.width) << output;
        EXPECT_EQ(r.height, c.height);
        EXPECT_EQ(r.toldWidth, c.hostTold ? c.width : 0);
        EXPECT_EQ(r.toldHeight, c.hostTold ? c.height : 0);
        ASSERT_GE(r.copies + r.halftone + r.plain, 1) << output;
        EXPECT_EQ(r.copies > 0, c.present == Present::Copies);
        EXPECT_EQ(r.halftone > 0, c.present == Present::Halftone);
        EXPECT_EQ(r.plain > 0, c.present == Present::Plain);
        if (c.present == Present::Copies) {
            EXPECT_EQ(r.widestCopy, c.bitmapWidth);  // the first paint: all of it
        } else {
            // Every stretch takes the whole draw bitmap onto the whole window.
            EXPECT_EQ(r.sourceWidth, c.bitmapWidth);
            EXPECT_EQ(r.sourceHeight, c.bitmapWidth == 1600 ? 1054 : 527);
            EXPECT_EQ(r.targetWidth, c.width);
            EXPECT_EQ(r.targetHeight, c.height);
        }
        if (!c.text) {
            std::ifstream created(folder.file(), std::ios::binary);
            const std::string held((std::istreambuf_iterator<char>(created)), {});
            EXPECT_EQ(held, "100");
        }
    }
}

// The figures go to the test's output; the checks are what must hold however fast the
// machine is: at 100 % and 200 % a small change is copied alone, at 150 % every present
// stretches the whole bitmap.
TEST(EditorScale, PresentCostPerTick) {
    struct Case {
        const char* percent;
        int width;
    };
    for (const Case& c : {Case{"100", 800}, Case{"150", 1200}, Case{"200", 1600}}) {
        SCOPED_TRACE(c.percent);
        const ScaleFolder folder(std::string(c.percent));
        const std::string output = RunEditorHost(folder.appData(), "--measure --seconds 0");
        const HostReport r = Parse(output);
        std::cout << c.percent << " %:\n" << output;
        ASSERT_EQ(r.width, c.width) << output;
        ASSERT_GE(r.smallTick, 0.0) << output;
        EXPECT_GT(r.dragPresent, 0.0);
        EXPECT_GT(r.repaintPresent, 0.0);
        if (c.width == 1200) {
            EXPECT_EQ(r.copies, 0);
            EXPECT_GT(r.halftone, 0);
            EXPECT_EQ(r.sourceWidth, 1600);
        } else {
            EXPECT_EQ(r.halftone + r.plain, 0);
            EXPECT_EQ(r.widestCopy, c.width);
            // The output level's slider and read-out: 168 layout units wide.
            EXPECT_LE(r.narrowestCopy, c.width / 8);
        }
    }
}

}  // namespace
}  // namespace corvalen
