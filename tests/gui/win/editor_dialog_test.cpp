// The measurement file button opens the real open-file dialog; a helper thread plays the
// user: it finds the dialog, reads its filter, types a file name and presses OK (or
// Cancel), while the editor's thread sits in the dialog's own message loop. What the user
// then sees is probed in the editor's pixels: the status line and the curves.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include "editor_places.h"
#include "temp_folder.h"
#include "tools/host/win/editor_frame.h"

namespace corvalen {
namespace {

using gui::kBand6Gain;
using gui::kFileButtonAt;
using gui::kReferenceLevel;
// Window pixels at 96 dpi: the status line (layout 14..420 x 8..30) and the graph left of
// its legend (0..1340 x 0..640).
constexpr RECT kStatusLine{7, 4, 210, 15};
constexpr RECT kGraph{0, 0, 670, 320};
constexpr std::uint32_t kMeasuredColour = 0x704455;
constexpr std::uint32_t kCorrectedColour = 0xA4A88A;
// The dialog's file-type list and file-name field, by the control ids the system gives them.
constexpr int kFileTypeList = 0x470;
constexpr int kFileNameBox = 0x47c;

struct DialogSearch {
    DWORD process;
    HWND other = nullptr;  // a dialog that is not this one
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window) &&
        window != search->other) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialog(HWND other = nullptr, int tries = 200) {
    for (int i = 0; i < tries; ++i) {
        DialogSearch search{GetCurrentProcessId(), other};
        EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(50);
    }
    return nullptr;
}

BOOL CALLBACK FindEdit(HWND window, LPARAM data) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpiW(name, L"Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

// The edit field inside the file-name box (a combo box, itself inside an extended one).
HWND FileNameField(HWND dialog) {
    HWND edit = nullptr;
    if (HWND box = GetDlgItem(dialog, kFileNameBox))
        EnumChildWindows(box, &FindEdit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

// What the user did in the dialog, seen from the helper thread.
struct DialogVisit {
    bool found = false;
    std::wstring filter;
    std::wstring typed;
    std::wstring complaint;  // the text of a message box the dialog showed instead of closing
};

BOOL CALLBACK CollectText(HWND window, LPARAM data) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    *reinterpret_cast<std::wstring*>(data) += std::wstring(text) + L" | ";
    return TRUE;
}

// The dialog should close by itself; a message box it shows instead is read and dismissed
// with the dialog, so a refusal fails the test rather than hanging it.
void WaitForClose(HWND dialog, DialogVisit& visit) {
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) {
        if (HWND box = WaitForDialog(dialog, 1)) {
            EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&visit.complaint));
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            Sleep(200);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        Sleep(50);
    }
    if (IsWindow(dialog)) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Plays the user in the next open-file dialog: types `name` and presses OK, or presses
// Cancel when name is empty.
std::thread UseDialog(const std::wstring& name, DialogVisit& visit) {
    return std::thread([name, &visit] {
        HWND dialog = WaitForDialog();
        if (dialog == nullptr) return;
        visit.found = true;
        wchar_t filter[128] = {};
        if (HWND types = GetDlgItem(dialog, kFileTypeList))
            SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(filter));
        visit.filter = filter;
        if (name.empty()) {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
            return;
        }
        HWND field = FileNameField(dialog);
        if (field == nullptr) {
            visit.complaint = L"no file name field";
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        for (wchar_t c : name) SendMessageW(field, WM_CHAR, c, 1);
        wchar_t typed[MAX_PATH] = {};
        GetWindowTextW(field, typed, MAX_PATH);
        visit.typed = typed;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        WaitForClose(dialog, visit);
    });
}

bool Near(std::uint32_t pixel, std::uint32_t colour) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((pixel >> shift) & 0xFF);
        const int b = static_cast<int>((colour >> shift) & 0xFF);
        if (std::abs(a - b) > 10) return false;
    }
    return true;
}

// How many rows of the area hold a pixel of the colour: a flat line covers two or three.
int RowsWith(const host::Screenshot& shot, const RECT& area, std::uint32_t colour) {
    std::set<int> rows;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (Near(shot.at(x, y), colour)) rows.insert(y);
    return static_cast<int>(rows.size());
}

// Pixels of the area brighter than the editor's dark background: drawn text.
int LitPixels(const host::Screenshot& shot, const RECT& area) {
    int lit = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            lit += ((shot.at(x, y) >> 8) & 0xFF) > 0x50 ? 1 : 0;
    return lit;
}

class EditorDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load(CORVALEN_DLL_PATH)) << host.LastError();
        host.Dispatch(vst2::effOpen);
        // Band 6 at +12 dB, so the measurement with the equaliser leaves the measurement.
        host.SetParameter(kBand6Gain, 0.75f);
        // The measurement's own level (about 75 dB) counts as on target, so its curves lie
        // across the middle of the graph; without one they are far below it.
        host.SetParameter(kReferenceLevel, 75.0f / 120.0f);
        ASSERT_TRUE(frame.Open()) << frame.LastError();
        frame.Pump(0.2);
        host.ClearCalls();
        std::filesystem::copy_file(CORVALEN_SAMPLE_MEASUREMENT, measurement,
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(noData) << "measured with the wrong microphone\n";
    }
    // Presses and releases the file button while `name` is typed into the dialog (or the
    // dialog is cancelled); the release returns when the dialog has closed.
    DialogVisit pressFileButton(const std::wstring& name) {
        DialogVisit visit;
        std::thread user = UseDialog(name, visit);
        HWND editor = static_cast<HWND>(frame.Editor());
        SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(kFileButtonAt.x, kFileButtonAt.y));
        SendMessageW(editor, WM_LBUTTONUP, 0, MAKELPARAM(kFileButtonAt.x, kFileButtonAt.y));
        user.join();
        frame.Pump(0.2);
        return visit;
    }
    host::Screenshot look() {
        host::Screenshot shot;
        EXPECT_TRUE(frame.Capture(shot));
        return shot;
    }

    testing::TempFolder folder;
    std::filesystem::path measurement = folder.path() / "headphone.csv";
    std::filesystem::path noData = folder.path() / "notes.txt";
    host::VstHost host;
    host::EditorFrame frame{host};
};

TEST_F(EditorDialogTest, LoadingAMeasurementThroughTheDialogDrawsItsCurves) {
    const host::Screenshot before = look();
    EXPECT_EQ(LitPixels(before, kStatusLine), 0);
    EXPECT_EQ(RowsWith(before, kGraph, kMeasuredColour), 0);
    EXPECT_EQ(RowsWith(before, kGraph, kCorrectedColour), 0);

    // Cancelled: nothing changes.
    DialogVisit visit = pressFileButton(L"");
    ASSERT_TRUE(visit.found);
    EXPECT_EQ(visit.filter, L"*.csv;*.txt");
    EXPECT_EQ(look().pixels, before.pixels);

    // A file without a single frequency and level: the status line says so.
    visit = pressFileButton(noData.wstring());
    ASSERT_TRUE(visit.found);
    EXPECT_EQ(visit.typed, noData.wstring());
    EXPECT_EQ(visit.complaint, L"");
    EXPECT_GT(LitPixels(look(), kStatusLine), 20);

    // The measurement: both curves rise and fall across the graph; the status line clears.
    visit = pressFileButton(measurement.wstring());
    ASSERT_TRUE(visit.found);
    EXPECT_EQ(visit.complaint, L"");
    const host::Screenshot loaded = look();
    EXPECT_EQ(LitPixels(loaded, kStatusLine), 0);
    EXPECT_GT(RowsWith(loaded, kGraph, kMeasuredColour), 20);
    EXPECT_GT(RowsWith(loaded, kGraph, kCorrectedColour), 20);
}

}  // namespace
}  // namespace corvalen
