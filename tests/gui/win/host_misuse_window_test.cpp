// The host's misuse of the editor window, one row each, with the real DLL in the test host's
// window under Xvfb: what is left afterwards (editor windows, the window class, timers that
// still fire) and that the editor then opens and closes as usual. Misuse without a window is
// in tests/shell/host_misuse_cases.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "tools/host/win/editor_frame.h"
#include "tools/host/win/window_census.h"

namespace corvalen {
namespace {

using host::GdiSlotProbe;
using host::WindowsOfClass;

constexpr const wchar_t* kEditorClass = L"CorvalenEditorWindow";

struct WindowMisuse {
    const char* what;
    std::function<void(host::VstHost&, host::EditorFrame&)> run;
    int editorWindowsAfter;
    bool effectClosed;
};

bool ClassRegistered(HMODULE plugin) {
    WNDCLASSW info{};
    return GetClassInfoW(plugin, kEditorClass, &info) != 0;
}

TEST(HostMisuseWindow, EveryMisuseLeavesTheEditorWhole) {
    const WindowMisuse rows[] = {
        {"effEditOpen twice",
         [](host::VstHost&, host::EditorFrame& frame) {
             ASSERT_TRUE(frame.Open()) << frame.LastError();
             ASSERT_TRUE(frame.Reopen()) << frame.LastError();
         },
         1, false},
        {"effEditClose without effEditOpen",
         [](host::VstHost& host, host::EditorFrame&) {
             EXPECT_EQ(host.Dispatch(vst2::effEditClose), 1);
             host.Dispatch(vst2::effEditClose);
         },
         0, false},
        {"effEditOpen with a null parent window",
         [](host::VstHost& host, host::EditorFrame&) {
             EXPECT_EQ(host.Dispatch(vst2::effEditOpen, 0, 0, nullptr), 0);
         },
         0, false},
        {"the host destroys its window without effEditClose",
         [](host::VstHost& host, host::EditorFrame& frame) {
             ASSERT_TRUE(frame.Open()) << frame.LastError();
             DestroyWindow(static_cast<HWND>(frame.Frame()));
             frame.Pump(0.1);
             host.Dispatch(vst2::effEditClose);
         },
         0, false},
        {"effClose with the editor open",
         [](host::VstHost& host, host::EditorFrame& frame) {
             ASSERT_TRUE(frame.Open()) << frame.LastError();
             frame.Pump(0.1);
             host.Close();  // effClose, then the library is unloaded
         },
         0, true},
    };

    const GdiSlotProbe gdi;
    for (const WindowMisuse& row : rows) {
        SCOPED_TRACE(row.what);
        host::VstHost host;
        ASSERT_TRUE(host.Load(CORVALEN_DLL_PATH)) << host.LastError();
        host.Dispatch(vst2::effOpen);
        HMODULE plugin = GetModuleHandleA("Corvalen.dll");
        ASSERT_NE(plugin, nullptr);
        {
            host::EditorFrame frame{host};
            row.run(host, frame);
            // Ticks keep coming for a live editor, and must not reach a dead one.
            frame.Pump(0.2);
            EXPECT_EQ(WindowsOfClass(kEditorClass), row.editorWindowsAfter);
            EXPECT_EQ(ClassRegistered(plugin), row.editorWindowsAfter > 0);
            if (!row.effectClosed) {
                // Afterwards the editor opens and closes as usual.
                ASSERT_TRUE(frame.Open()) << frame.LastError();
                frame.Pump(0.1);
                EXPECT_EQ(WindowsOfClass(kEditorClass), 1);
                frame.Close();
            }
        }
        EXPECT_EQ(WindowsOfClass(kEditorClass), 0);
        EXPECT_EQ(WindowsOfClass(L"tooltips_class32"), 0);
        EXPECT_FALSE(ClassRegistered(plugin));
    }
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_LT(gdi.SlotsMovedOn(), 100);
}

}  // namespace
}  // namespace corvalen
