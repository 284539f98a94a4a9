// The editor of the real DLL in a host window, driven with window messages as a user's mouse
// and keyboard would (positions are window pixels; the layout is 1600 x 1054 units).
#include <windows.h>

#include <gtest/gtest.h>

#include "tools/host/win/editor_frame.h"

namespace corvalen {
namespace {

constexpr int kBand1Switch = 0;
constexpr int kBand1Gain = 19;

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load(CORVALEN_DLL_PATH)) << host.LastError();
        host.Dispatch(vst2::effOpen);
        ASSERT_TRUE(frame.Open()) << frame.LastError();
        frame.Pump(0.1);
        host.ClearCalls();
    }
    HWND editor() const { return static_cast<HWND>(frame.Editor()); }
    void send(UINT message, WPARAM wParam, int x, int y) {
        SendMessageW(editor(), message, wParam, MAKELPARAM(x, y));
    }
    int countFor(int32_t opcode, int index) {
        int n = 0;
        for (const auto& call : host.CallsOf(opcode)) n += call.index == index ? 1 : 0;
        return n;
    }

    host::VstHost host;
    host::EditorFrame frame{host};
};

TEST_F(EditorWindowTest, OpensAtHalfSizeAndTellsTheHost) {
    EXPECT_EQ(frame.EditorWidth(), 800);
    EXPECT_EQ(frame.EditorHeight(), 527);
    EXPECT_EQ(frame.FrameClientWidth(), 800);
    EXPECT_EQ(frame.FrameClientHeight(), 527);
    host::Screenshot shot;
    ASSERT_TRUE(frame.Capture(shot));
    // Band 1's switch (layout 54..142, 646..682) is painted green at half size.
    EXPECT_NE(shot.at(49, 332), shot.at(49, 200));
}

TEST_F(EditorWindowTest, PressMapsWindowPixelsToLayoutUnits) {
    // Pixel 27 is layout 54, the switch's first column; pixel 26 is layout 52, outside it.
    // The band number drawn over the switch leaves the press to it.
    send(WM_LBUTTONDOWN, MK_LBUTTON, 26, 332);
    send(WM_LBUTTONUP, 0, 26, 332);
    EXPECT_EQ(countFor(vst2::audioMasterAutomate, kBand1Switch), 0);
    send(WM_LBUTTONDOWN, MK_LBUTTON, 27, 332);
    send(WM_LBUTTONUP, 0, 27, 332);
    EXPECT_EQ(countFor(vst2::audioMasterAutomate, kBand1Switch), 1);
    EXPECT_EQ(countFor(vst2::audioMasterBeginEdit, kBand1Switch), 1);
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand1Switch), 1);
}

TEST_F(EditorWindowTest, ThreeWheelNotchesAreOneGestureEndingHalfASecondLater) {
    RECT frameRect{};
    GetWindowRect(editor(), &frameRect);
    // Band 1's gain knob: layout (62, 790)-(134, 862), window (31, 395)-(67, 431).
    const int x = frameRect.left + 49;
    const int y = frameRect.top + 413;
    for (int i = 0; i < 3; ++i) {
        SendMessageW(editor(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(x, y));
        frame.Pump(0.1);
    }
    EXPECT_EQ(countFor(vst2::audioMasterBeginEdit, kBand1Gain), 1);
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand1Gain), 0);
    EXPECT_EQ(countFor(vst2::audioMasterAutomate, kBand1Gain), 3);
    frame.Pump(0.8);
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand1Gain), 1);
    // Closing the window with a gesture open ends it.
    SendMessageW(editor(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(x, y));
    frame.Close();
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand1Gain), 2);
}

TEST_F(EditorWindowTest, KeysReachTheHostWindow) {
    // No control of this editor catches keys: keys outside the editor's set and inside it
    // both go on to the host's window, so its shortcuts keep working.
    frame.ClearFrameKeys();
    SendMessageW(editor(), WM_KEYDOWN, VK_F1, 0);
    SendMessageW(editor(), WM_KEYDOWN, VK_UP, 0);
    frame.Pump(0.1);
    ASSERT_EQ(frame.FrameKeys().size(), 2u);
    EXPECT_EQ(frame.FrameKeys()[0].wParam, static_cast<std::uintptr_t>(VK_F1));
    EXPECT_EQ(frame.FrameKeys()[1].wParam, static_cast<std::uintptr_t>(VK_UP));
}

TEST_F(EditorWindowTest, ValuePromptBoxCommitsOnEnterAndCancelsOnRightClick) {
    // Band 1's frequency knob, layout (62, 686)-(134, 758): the box is 80 x 32 units centred on
    // it, 40 x 16 pixels at 96 dpi, with a 14-pixel font.
    send(WM_RBUTTONDOWN, MK_RBUTTON, 49, 361);
    send(WM_RBUTTONUP, 0, 49, 361);
    HWND box = FindWindowExW(editor(), nullptr, L"EDIT", nullptr);
    ASSERT_NE(box, nullptr);
    RECT rect{};
    GetClientRect(box, &rect);
    RECT placed{};
    GetWindowRect(box, &placed);
    MapWindowPoints(nullptr, editor(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.right - placed.left, 40);
    EXPECT_EQ(placed.bottom - placed.top, 16);
    EXPECT_EQ(placed.left, (62 + 134 - 80) / 2 / 2);
    EXPECT_EQ(placed.top, (686 + 758 - 32) / 2 / 2);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, 14);
    // A right click cancels: nothing is applied.
    send(WM_RBUTTONDOWN, MK_RBUTTON, 300, 100);
    EXPECT_EQ(FindWindowExW(editor(), nullptr, L"EDIT", nullptr), nullptr);
    EXPECT_EQ(countFor(vst2::audioMasterAutomate, 18), 0);
    // Enter commits the typed frequency.
    send(WM_RBUTTONDOWN, MK_RBUTTON, 49, 361);
    send(WM_RBUTTONUP, 0, 49, 361);
    box = FindWindowExW(editor(), nullptr, L"EDIT", nullptr);
    ASSERT_NE(box, nullptr);
    SetWindowTextW(box, L"1000");
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(FindWindowExW(editor(), nullptr, L"EDIT", nullptr), nullptr);
    EXPECT_EQ(countFor(vst2::audioMasterAutomate, 18), 1);
    EXPECT_EQ(host.DispatchText(vst2::effGetParamDisplay, 18).substr(0, 4), "1000");
}

TEST_F(EditorWindowTest, ManyOpenCloseCyclesLeaveNoWindowOrClassBehind) {
    HMODULE plugin = GetModuleHandleA("Corvalen.dll");
    ASSERT_NE(plugin, nullptr);
    WNDCLASSW info{};
    EXPECT_TRUE(GetClassInfoW(plugin, L"CorvalenEditorWindow", &info));
    HBRUSH probeBefore = CreateSolidBrush(0);
    DeleteObject(probeBefore);
    for (int i = 0; i < 500; ++i) {
        frame.Close();
        ASSERT_TRUE(frame.Reopen());
        frame.Pump(0);
    }
    frame.Close();
    EXPECT_EQ(frame.Editor(), nullptr);
    EXPECT_FALSE(GetClassInfoW(plugin, L"CorvalenEditorWindow", &info));
    // Freed GDI slots are reused: a leak would push new handles far up the table.
    HBRUSH probeAfter = CreateSolidBrush(0);
    DeleteObject(probeAfter);
    const auto slot = [](HBRUSH h) { return static_cast<long>(reinterpret_cast<std::uintptr_t>(h) & 0xFFFF); };
    EXPECT_LT(slot(probeAfter) - slot(probeBefore), 100);
}

}  // namespace
}  // namespace corvalen
