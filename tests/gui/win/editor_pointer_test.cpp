// The real pointer: xdotool moves the X server's pointer over the editor and clicks, so the
// click takes the whole way a user's mouse does (X server, Wine's input, the window
// procedure) instead of a message posted to the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "editor_places.h"
#include "tools/host/win/editor_frame.h"

namespace corvalen {
namespace {

using gui::kBand1Switch;
using gui::kBand1SwitchAt;
constexpr const char* kXdotool = "/usr/bin/xdotool";  // installed by scripts/setup

// Runs xdotool with `arguments` on this process's X display, pumping the editor's messages
// until it has finished (the click must be dispatched while it runs).
bool Xdotool(host::EditorFrame& frame, const std::string& arguments) {
    char display[64] = {};
    if (GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0) return false;
    // Wine does not hand DISPLAY to the Unix programs it starts: name it on the command line.
    std::string command =
        std::string("/usr/bin/env DISPLAY=") + display + " " + kXdotool + " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    for (int i = 0; i < 200 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; ++i)
        frame.Pump(0.05);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    frame.Pump(0.3);
    return true;
}

TEST(EditorPointer, ARealClickOnBandOnesSwitchTurnsItOff) {
    ASSERT_EQ(GetFileAttributesA(("Z:" + std::string(kXdotool)).c_str()) != INVALID_FILE_ATTRIBUTES,
              true)
        << "xdotool is missing: scripts/setup installs it";
    host::VstHost host;
    ASSERT_TRUE(host.Load(CORVALEN_DLL_PATH)) << host.LastError();
    host.Dispatch(vst2::effOpen);
    host::EditorFrame frame{host};
    ASSERT_TRUE(frame.Open()) << frame.LastError();
    frame.Pump(0.2);
    host::Screenshot before;
    ASSERT_TRUE(frame.Capture(before));
    host.ClearCalls();

    RECT placed{};
    GetWindowRect(static_cast<HWND>(frame.Editor()), &placed);
    const int x = placed.left + kBand1SwitchAt.x;
    const int y = placed.top + kBand1SwitchAt.y;
    ASSERT_TRUE(
        Xdotool(frame, "mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1"));
    POINT pointer{};
    GetCursorPos(&pointer);
    EXPECT_EQ(pointer.x, x);
    EXPECT_EQ(pointer.y, y);

    // One press and release: one gesture around one automation, the switch now off.
    EXPECT_EQ(host.CountCalls(vst2::audioMasterBeginEdit), 1);
    EXPECT_EQ(host.CountCalls(vst2::audioMasterAutomate), 1);
    EXPECT_EQ(host.CountCalls(vst2::audioMasterEndEdit), 1);
    EXPECT_EQ(host.GetParameter(kBand1Switch), 0.0f);
    host::Screenshot after;
    ASSERT_TRUE(frame.Capture(after));
    EXPECT_NE(after.at(kBand1SwitchAt.x - 20, kBand1SwitchAt.y),
              before.at(kBand1SwitchAt.x - 20, kBand1SwitchAt.y));
    // The graph's marker 1 dims with its band.
    EXPECT_NE(after.pixels, before.pixels);
}

}  // namespace
}  // namespace corvalen
