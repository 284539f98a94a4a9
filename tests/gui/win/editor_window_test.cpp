// The editor of the real DLL in a host window, driven with window messages as a user's mouse
// and keyboard would (positions are window pixels; the layout is 1600 x 1054 units).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "editor_places.h"
#include "tools/host/win/editor_frame.h"
#include "tools/host/win/window_census.h"

namespace corvalen {
namespace {

using namespace gui;
using host::GdiSlotProbe;
using host::WindowsOfClass;

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
    void send(UINT message, WPARAM wParam, POINT at) { send(message, wParam, at.x, at.y); }
    // A wheel notch up over a window pixel (the message carries screen coordinates).
    void wheelAt(POINT at) {
        RECT placed{};
        GetWindowRect(editor(), &placed);
        SendMessageW(editor(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                     MAKELPARAM(placed.left + at.x, placed.top + at.y));
    }
    HWND valueBox() const { return FindWindowExW(editor(), nullptr, L"EDIT", nullptr); }
    // The editor's pixels in a square of 2 r + 1 around a window pixel.
    std::vector<std::uint32_t> pixelsAround(POINT at, int r = 14) {
        host::Screenshot shot;
        EXPECT_TRUE(frame.Capture(shot));
        std::vector<std::uint32_t> square;
        for (int y = at.y - r; y <= at.y + r; ++y)
            for (int x = at.x - r; x <= at.x + r; ++x) square.push_back(shot.at(x, y));
        return square;
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
    const GdiSlotProbe gdi;
    for (int i = 0; i < 500; ++i) {
        frame.Close();
        ASSERT_TRUE(frame.Reopen());
        frame.Pump(0);
    }
    frame.Close();
    EXPECT_EQ(frame.Editor(), nullptr);
    EXPECT_FALSE(GetClassInfoW(plugin, L"CorvalenEditorWindow", &info));
    EXPECT_LT(gdi.SlotsMovedOn(), 100);
}

TEST_F(EditorWindowTest, DoubleClickIsASecondPressOnASwitchAndAResetOnAKnob) {
    // Band 1's switch: the double-click of a quick press-press is a second press, so the
    // switch goes off and on again, each in a gesture of its own.
    send(WM_LBUTTONDOWN, MK_LBUTTON, kBand1SwitchAt);
    send(WM_LBUTTONUP, 0, kBand1SwitchAt);
    send(WM_LBUTTONDBLCLK, MK_LBUTTON, kBand1SwitchAt);
    send(WM_LBUTTONUP, 0, kBand1SwitchAt);
    EXPECT_EQ(countFor(vst2::audioMasterAutomate, kBand1Switch), 2);
    EXPECT_EQ(countFor(vst2::audioMasterBeginEdit, kBand1Switch), 2);
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand1Switch), 2);
    EXPECT_EQ(host.GetParameter(kBand1Switch), 1.0f);

    // Band 1's gain knob, turned by the host to +9.6 dB: a double-click returns it to 0 dB
    // (normalised 0.5) in one gesture, and the knob looks as it did at first.
    const std::vector<std::uint32_t> atDefault = pixelsAround(kBand1GainAt);
    host.SetParameter(kBand1Gain, 0.7f);
    frame.Pump(0.1);
    EXPECT_NE(pixelsAround(kBand1GainAt), atDefault);
    host.ClearCalls();
    send(WM_LBUTTONDBLCLK, MK_LBUTTON, kBand1GainAt);
    send(WM_LBUTTONUP, 0, kBand1GainAt);
    ASSERT_EQ(countFor(vst2::audioMasterAutomate, kBand1Gain), 1);
    EXPECT_EQ(host.CallsOf(vst2::audioMasterAutomate)[0].opt, 0.5f);
    EXPECT_EQ(countFor(vst2::audioMasterBeginEdit, kBand1Gain), 1);
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand1Gain), 1);
    frame.Pump(0.1);
    EXPECT_EQ(pixelsAround(kBand1GainAt), atDefault);
    // At its default already, the knob pushes nothing.
    send(WM_LBUTTONDBLCLK, MK_LBUTTON, kBand1GainAt);
    send(WM_LBUTTONUP, 0, kBand1GainAt);
    EXPECT_EQ(countFor(vst2::audioMasterAutomate, kBand1Gain), 1);
}

TEST_F(EditorWindowTest, WheelOnAnotherControlEndsTheFirstGestureAtOnce) {
    wheelAt(kBand1GainAt);
    wheelAt(kBand2GainAt);
    // No tick has run: the first gesture ended because the second control was turned.
    EXPECT_EQ(countFor(vst2::audioMasterBeginEdit, kBand1Gain), 1);
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand1Gain), 1);
    EXPECT_EQ(countFor(vst2::audioMasterBeginEdit, kBand2Gain), 1);
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand2Gain), 0);
    frame.Pump(0.8);
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand2Gain), 1);
    // The host saw the begins and ends in order: 1 begins, 1 ends, 2 begins, 2 ends.
    std::vector<int> order;
    for (const auto& call : host.Calls()) {
        if (call.opcode == vst2::audioMasterBeginEdit) order.push_back(call.index + 100);
        if (call.opcode == vst2::audioMasterEndEdit) order.push_back(call.index + 200);
    }
    EXPECT_EQ(order, (std::vector<int>{100 + kBand1Gain, 200 + kBand1Gain, 100 + kBand2Gain,
                                       200 + kBand2Gain}));
}

TEST_F(EditorWindowTest, ValuePromptIgnoresTheWheelAndCommitsOnALeftClickElsewhere) {
    send(WM_RBUTTONDOWN, MK_RBUTTON, kBand1FrequencyAt);
    send(WM_RBUTTONUP, 0, kBand1FrequencyAt);
    HWND box = valueBox();
    ASSERT_NE(box, nullptr);
    SetWindowTextW(box, L"250");
    host.ClearCalls();  // the right click's own gesture
    wheelAt(kBand1GainAt);
    frame.Pump(0.1);
    EXPECT_EQ(host.CountCalls(vst2::audioMasterAutomate), 0);
    EXPECT_EQ(host.CountCalls(vst2::audioMasterBeginEdit), 0);
    EXPECT_EQ(valueBox(), box);
    // A click on the graph commits what was typed and closes the box.
    send(WM_LBUTTONDOWN, MK_LBUTTON, kGraphAt);
    send(WM_LBUTTONUP, 0, kGraphAt);
    EXPECT_EQ(valueBox(), nullptr);
    EXPECT_EQ(countFor(vst2::audioMasterAutomate, kBand1Frequency), 1);
    EXPECT_EQ(countFor(vst2::audioMasterBeginEdit, kBand1Frequency), 1);
    EXPECT_EQ(countFor(vst2::audioMasterEndEdit, kBand1Frequency), 1);
    EXPECT_EQ(host.DispatchText(vst2::effGetParamDisplay, kBand1Frequency).substr(0, 3), "250");
}

TEST_F(EditorWindowTest, OpeningAgainKeepsTheWindowWhereItWas) {
    HWND first = editor();
    SetWindowPos(first, nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(frame.Reopen());  // effEditOpen while the editor is open
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(frame.EditorLeft(), 30);
    EXPECT_EQ(frame.EditorTop(), 20);
    EXPECT_EQ(frame.EditorWidth(), 800);
    EXPECT_EQ(
        FindWindowExW(static_cast<HWND>(frame.Frame()), editor(), L"CorvalenEditorWindow", nullptr),
        nullptr);  // one editor window only
    frame.Close();
    ASSERT_TRUE(frame.Reopen());
    EXPECT_EQ(frame.EditorLeft(), 0);  // after a close the host's frame decides: its corner
}

TEST_F(EditorWindowTest, TwoInstancesOpenAtOnceLeaveNothingBehind) {
    HMODULE plugin = GetModuleHandleA("Corvalen.dll");
    ASSERT_NE(plugin, nullptr);
    host::VstHost second;
    ASSERT_TRUE(second.Load(CORVALEN_DLL_PATH)) << second.LastError();
    second.Dispatch(vst2::effOpen);
    host::EditorFrame secondFrame{second};
    const GdiSlotProbe gdi;
    WNDCLASSW info{};
    for (int round = 0; round < 50; ++round) {
        ASSERT_TRUE(round == 0 ? secondFrame.Open() : secondFrame.Reopen());
        if (round > 0) {
            ASSERT_TRUE(frame.Reopen());
        }
        frame.Pump(0);
        ASSERT_EQ(WindowsOfClass(L"CorvalenEditorWindow"), 2);
        // The first to close leaves the class to the other.
        frame.Close();
        EXPECT_TRUE(GetClassInfoW(plugin, L"CorvalenEditorWindow", &info));
        EXPECT_EQ(WindowsOfClass(L"CorvalenEditorWindow"), 1);
        secondFrame.Close();
        ASSERT_FALSE(GetClassInfoW(plugin, L"CorvalenEditorWindow", &info)) << round;
    }
    EXPECT_EQ(WindowsOfClass(L"CorvalenEditorWindow"), 0);
    EXPECT_EQ(WindowsOfClass(L"tooltips_class32"), 0);
    EXPECT_EQ(WindowsOfClass(L"EDIT"), 0);
    // No timer outlives its window: nothing comes for this thread once the ticks are due.
    Sleep(150);
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_LT(gdi.SlotsMovedOn(), 100);
}

}  // namespace
}  // namespace corvalen
