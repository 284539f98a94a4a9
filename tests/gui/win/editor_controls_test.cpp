// The complete editor of the real DLL under Wine, used as a person would: presses, drags,
// the wheel and typed values reach the host as gestures and automation, and the picture
// shows each state exactly as the native snapshot tool draws it (pictures.txt), text drawn
// by GDI instead of FreeType allowed for (picture_check.h).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "editor/graph/graph_scale.h"
#include "editor/graph/graph_style.h"
#include "editor/layout/control_table.h"
#include "engine/frequency_grid.h"
#include "engine/parameter_table.h"
#include "picture_check.h"
#include "temp_folder.h"
#include "tools/host/project_state.h"

namespace corvalen {
namespace {

namespace row = editor::layout_row;
using gui::NativePictures;
using gui::PixelRect;

// A whole picture: at most this share of the pixels near text may differ after smoothing.
// Measured (the first test prints them): 0.6 % for most states, 5.3 % with the large bold
// "BYPASSED"; against a native picture with text an eighth too large 18.5 %, and with no
// text at all 37 %.
constexpr double kPictureTextShare = 0.10;
// One read-out: at most this many smoothed pixels may differ. The same text measures 0;
// one changed glyph ("0.0 dB" against "0.5 dB") 22 or more.
constexpr int kReadoutTextPixels = 6;
// Band 6 (795 Hz) sits in the middle of the graph, where its curve and marker are seen.
constexpr int kBand = 5;
constexpr int kGain = param::BandGain(kBand);

// A control's place in window pixels: at 100 % layout units are halved (shift 1), at 200 %
// they are pixels.
PixelRect Pixels(int tableRow, int shift = 1) {
    const editor::ControlRow& control = editor::kControlTable[static_cast<std::size_t>(tableRow)];
    const editor::LayoutRect& r =
        control.kind == editor::ControlKind::ToggleArea ? control.target : control.rect;
    const int round = (1 << shift) - 1;
    return PixelRect{r.left >> shift, r.top >> shift, (r.right + round) >> shift,
                     (r.bottom + round) >> shift};
}
POINT Centre(int tableRow, int shift = 1) {
    const PixelRect r = Pixels(tableRow, shift);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

const NativePictures& Pictures() {
    static const std::unique_ptr<NativePictures> pictures = [] {
        auto loaded = std::make_unique<NativePictures>();
        if (!loaded->Load()) ADD_FAILURE() << loaded->LastError();
        return loaded;
    }();
    return *pictures;
}

// One plug-in instance with its editor open in a frame of its own, at 48 kHz.
struct Instance {
    host::VstHost host;
    host::EditorFrame frame{host};
    int shift = 1;  // 0 at 200 %

    ::testing::AssertionResult Open(const std::string& state = "default") {
        if (!host.Load(CORVALEN_DLL_PATH)) return ::testing::AssertionFailure() << host.LastError();
        host.Dispatch(vst2::effOpen);
        std::string error;
        if (!Pictures().Apply(host, state, error)) return ::testing::AssertionFailure() << error;
        if (!frame.Open()) return ::testing::AssertionFailure() << frame.LastError();
        frame.Pump(0.1);
        host.ClearCalls();
        return ::testing::AssertionSuccess();
    }
    HWND Editor() const { return static_cast<HWND>(frame.Editor()); }
    void Send(UINT message, WPARAM keys, POINT at) {
        SendMessageW(Editor(), message, keys, MAKELPARAM(at.x, at.y));
    }
    void Click(int tableRow) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, Centre(tableRow, shift));
        Send(WM_LBUTTONUP, 0, Centre(tableRow, shift));
    }
    // A left-button drag from the control's centre, `up` layout units upwards in four moves.
    void DragUp(int tableRow, int up, WPARAM extraKeys = 0) {
        POINT at = Centre(tableRow, shift);
        up >>= shift;
        Send(WM_LBUTTONDOWN, MK_LBUTTON | extraKeys, at);
        for (int step = 0; step < 4; ++step) {
            at.y -= up / 4;
            Send(WM_MOUSEMOVE, MK_LBUTTON | extraKeys, at);
        }
        Send(WM_LBUTTONUP, extraKeys, at);
    }
    void Wheel(int tableRow, int delta, WPARAM keys) {
        RECT window{};
        GetWindowRect(Editor(), &window);
        const POINT at = Centre(tableRow, shift);
        SendMessageW(Editor(), WM_MOUSEWHEEL, MAKEWPARAM(keys, delta),
                     MAKELPARAM(window.left + at.x, window.top + at.y));
    }
    std::vector<host::HostCall> CallsFor(int index) const {
        std::vector<host::HostCall> calls;
        for (const host::HostCall& call : host.Calls()) {
            const bool edit = call.opcode == vst2::audioMasterAutomate ||
                              call.opcode == vst2::audioMasterBeginEdit ||
                              call.opcode == vst2::audioMasterEndEdit;
            if (edit && call.index == index) calls.push_back(call);
        }
        return calls;
    }
    host::Screenshot Capture() {
        frame.Pump(0.1);  // a couple of editor ticks paint what changed
        host::Screenshot shot;
        EXPECT_TRUE(frame.Capture(shot));
        return shot;
    }
};

// The capture shows the state's native picture inside region: equal away from text, text
// within the share given (or, with readoutPixels >= 0, within that many pixels).
::testing::AssertionResult ShowsState(const host::Screenshot& shot, const std::string& state,
                                      PixelRect region = {0, 0, 1 << 20, 1 << 20},
                                      int readoutPixels = -1) {
    const gui::PictureDifference d = Pictures().Compare(shot, state, region);
    const bool textOk = readoutPixels >= 0 ? d.nearTextDiffering <= readoutPixels
                                           : d.NearTextShare() <= kPictureTextShare;
    if (d.awayFromText == 0 && textOk) return ::testing::AssertionSuccess();
    std::string error;
    host::EditorFrame::SavePng(
        shot, host::ToWindowsPath(CORVALEN_NATIVE_PICTURES) + "\\wine-" + state + ".png", error);
    return ::testing::AssertionFailure()
           << "not the picture of " << state << " in (" << region.left << ", " << region.top
           << ")-(" << region.right << ", " << region.bottom << "): " << d.awayFromText
           << " pixels away from text differ, " << d.nearTextDiffering << " of " << d.nearText
           << " near text";
}

float LastAutomated(const std::vector<host::HostCall>& calls) {
    for (auto call = calls.rbegin(); call != calls.rend(); ++call) {
        if (call->opcode == vst2::audioMasterAutomate) return call->opt;
    }
    return -1.0f;
}

::testing::AssertionResult OneGesture(const std::vector<host::HostCall>& calls, float last) {
    if (calls.size() < 3 || calls.front().opcode != vst2::audioMasterBeginEdit ||
        calls.back().opcode != vst2::audioMasterEndEdit)
        return ::testing::AssertionFailure()
               << calls.size() << " calls, not begin, automation, end";
    for (std::size_t i = 1; i + 1 < calls.size(); ++i) {
        if (calls[i].opcode != vst2::audioMasterAutomate)
            return ::testing::AssertionFailure() << "call " << i;
    }
    const float value = LastAutomated(calls);
    if (value < last - 1e-5f || value > last + 1e-5f)
        return ::testing::AssertionFailure()
               << "last automated value " << value << ", expected " << last;
    return ::testing::AssertionSuccess();
}

// Each of red, green and blue within tolerance.
bool SameColour(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int channel = 0; channel < 24; channel += 8) {
        const int difference =
            static_cast<int>((a >> channel) & 0xFF) - static_cast<int>((b >> channel) & 0xFF);
        if (std::abs(difference) > tolerance) return false;
    }
    return true;
}

// The share of the FR+EQ curve's pixels from 20 Hz to 10 kHz (the legend aside) that lie
// within 2 dB of the target line, at 100 %: what a person reads off the graph as "on target".
double CorrectedCurveShareNearTarget(const host::Screenshot& shot) {
    constexpr int kShift = 1;
    constexpr double kNearDb = 2.0;
    const editor::LayoutRect legend = editor::kLegendRect;
    const int centre = editor::LevelY(0.0, editor::kGraphRect.bottom) >> kShift;
    const int reach = static_cast<int>(kNearDb * editor::kPixelsPerDb) >> kShift;
    int onTarget = 0;
    int all = 0;
    for (int i = 0; i < kGridPoints && GridFrequency(i, kGridPoints) <= 10000.0; ++i) {
        const int x = editor::PointX(i, editor::kGraphRect.right) >> kShift;
        for (int y = 0; y < editor::kGraphRect.bottom >> kShift; ++y) {
            const bool inLegend = (x << kShift) >= legend.left && (x << kShift) < legend.right &&
                                  (y << kShift) >= legend.top && (y << kShift) < legend.bottom;
            if (inLegend || !SameColour(shot.at(x, y), editor::kCorrectedColour, 24)) continue;
            ++all;
            onTarget += std::abs(y - centre) <= reach;
        }
    }
    return all > 0 ? static_cast<double>(onTarget) / all : 0.0;
}

TEST(EditorPicture, WineShowsTheNativePictureOfEachState) {
    // Every state of pictures.txt that is reached without input, each in a fresh instance.
    for (const char* state : {"default", "measured", "missing", "bypassed", "splash", "mixed"}) {
        SCOPED_TRACE(state);
        Instance instance;
        ASSERT_TRUE(instance.Open(state));
        const host::Screenshot shot = instance.Capture();
        EXPECT_TRUE(ShowsState(shot, state));
        const gui::PictureDifference d = Pictures().Compare(shot, state);
        std::printf("%-9s near text %d of %d differ (%.1f %%)\n", state, d.nearTextDiffering,
                    d.nearText, 100.0 * d.NearTextShare());
    }
}

TEST(EditorPicture, DefaultReadoutsSampleRateAndLegendReadAsNatively) {
    Instance instance;
    ASSERT_TRUE(instance.Open());
    // The sample-rate read-out follows the host: another rate is not "Fs: 48.0 kHz", and
    // 48 kHz again is.
    instance.host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    EXPECT_FALSE(ShowsState(instance.Capture(), "default", Pixels(row::kSampleRateReadout),
                            kReadoutTextPixels));
    instance.host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    const host::Screenshot shot = instance.Capture();
    // "20", "0.0 dB", "0.71" under band 1; "Fs: 48.0 kHz"; the legend's four rows; the
    // knobs at their default frames and the band switches lit.
    const int readouts[] = {row::BandReadout(0, 0), row::BandReadout(0, 1), row::BandReadout(0, 2),
                            row::kSampleRateReadout, row::kLegend};
    for (int readout : readouts)
        EXPECT_TRUE(ShowsState(shot, "default", Pixels(readout), kReadoutTextPixels)) << readout;
    // The comparison tells states apart: band 6's gain read-out and knob here are not those
    // of 2.4 dB, nor the status line that of a missing file.
    EXPECT_FALSE(
        ShowsState(shot, "gain_fine", Pixels(row::BandReadout(kBand, 1)), kReadoutTextPixels));
    EXPECT_FALSE(ShowsState(shot, "gain_fine", Pixels(row::BandControl(kBand, 1)), 1 << 20));
    EXPECT_FALSE(ShowsState(shot, "missing", Pixels(row::kStatusText), kReadoutTextPixels));
    // (The band numbers over the switches are left to the whole-picture comparison.)
    for (int band = 0; band < kBandCount; ++band) {
        for (int part = 0; part < 4; ++part) {
            EXPECT_TRUE(ShowsState(shot, "default", Pixels(row::BandControl(band, part)), 1 << 20))
                << band << " " << part;
        }
    }
}

TEST(EditorPicture, AtTwoHundredPercentTheFullSizePicture) {
    // The scale file of a private application-data folder asks for 200 %: the instance made
    // while the process's APPDATA names it draws the full-size images in a 1600 x 1054
    // window. (The plug-in reads the variable through the C runtime it shares with us.)
    const std::filesystem::path appData = testing::TestTempFolder() / "full_size";
    std::filesystem::create_directories(appData / "Corvalen");
    std::ofstream(appData / "Corvalen" / "guiSizePercentage.txt") << "200";
    const wchar_t* previous = _wgetenv(L"APPDATA");
    const std::wstring saved = previous != nullptr ? previous : L"";
    ASSERT_EQ(_wputenv_s(L"APPDATA", appData.wstring().c_str()), 0);
    Instance instance;
    const ::testing::AssertionResult opened = instance.Open("full_size");
    _wputenv_s(L"APPDATA", saved.c_str());
    ASSERT_TRUE(opened);
    EXPECT_EQ(instance.frame.EditorWidth(), 1600);
    EXPECT_EQ(instance.frame.EditorHeight(), 1054);
    const host::Screenshot shot = instance.Capture();
    EXPECT_TRUE(ShowsState(shot, "full_size"));
    for (int readout :
         {row::BandReadout(0, 0), row::BandReadout(kBand, 1), row::kSampleRateReadout}) {
        EXPECT_TRUE(ShowsState(shot, "full_size", Pixels(readout, 0), kReadoutTextPixels))
            << readout;
    }
    const gui::PictureDifference d = Pictures().Compare(shot, "full_size");
    std::printf("full size near text %d of %d differ (%.1f %%)\n", d.nearTextDiffering, d.nearText,
                100.0 * d.NearTextShare());
    // Pixels are layout units here: a drag of 216 pixels is still half the range.
    instance.shift = 0;
    instance.DragUp(row::BandControl(kBand, 1), 216);
    EXPECT_TRUE(OneGesture(instance.CallsFor(kGain), 1.0f));
}

TEST(EditorInput, GainKnobDragsDoubleClicksAndWheelNotches) {
    Instance instance;
    ASSERT_TRUE(instance.Open());
    const int knob = row::BandControl(kBand, 1);
    const PixelRect changed[] = {Pixels(knob), Pixels(row::BandReadout(kBand, 1)),
                                 Pixels(row::kGraph)};
    // 216 layout units up: half the range, a tenth of that with Ctrl; each
    // drag is one gesture, and a double-click takes the knob back to 0 dB.
    struct Drag {
        WPARAM keys;
        float value;
        const char* state;
    };
    for (const Drag& drag : {Drag{0, 1.0f, "gain_top"}, Drag{MK_CONTROL, 0.55f, "gain_fine"}}) {
        SCOPED_TRACE(drag.state);
        instance.host.ClearCalls();
        instance.DragUp(knob, 216, drag.keys);
        EXPECT_TRUE(OneGesture(instance.CallsFor(kGain), drag.value));
        const host::Screenshot shot = instance.Capture();
        for (const PixelRect& region : changed) EXPECT_TRUE(ShowsState(shot, drag.state, region));
        EXPECT_TRUE(ShowsState(shot, drag.state, changed[1], kReadoutTextPixels));

        instance.host.ClearCalls();
        instance.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Centre(knob));
        instance.Send(WM_LBUTTONUP, 0, Centre(knob));
        EXPECT_TRUE(OneGesture(instance.CallsFor(kGain), 0.5f));
        const host::Screenshot reset = instance.Capture();
        for (const PixelRect& region : changed) EXPECT_TRUE(ShowsState(reset, "default", region));
    }
    // At its default already, a double-click pushes nothing.
    instance.host.ClearCalls();
    instance.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Centre(knob));
    instance.Send(WM_LBUTTONUP, 0, Centre(knob));
    EXPECT_EQ(instance.host.CountCalls(vst2::audioMasterAutomate), 0);

    // Wheel notches: 0.01 of the range each, 0.001 with Ctrl.
    struct Notch {
        int delta;
        WPARAM keys;
        float value;
    };
    for (const Notch& notch :
         {Notch{WHEEL_DELTA, 0, 0.51f}, Notch{WHEEL_DELTA, MK_CONTROL, 0.511f},
          Notch{-WHEEL_DELTA, MK_CONTROL, 0.510f}, Notch{-2 * WHEEL_DELTA, 0, 0.49f}}) {
        instance.host.ClearCalls();
        instance.Wheel(knob, notch.delta, notch.keys);
        const std::vector<host::HostCall> calls = instance.CallsFor(kGain);
        EXPECT_NEAR(LastAutomated(calls), notch.value, 1e-5f) << notch.delta << " " << notch.keys;
    }
}

TEST(EditorInput, MeasurementStatusUnloadAndProgramRoundTrip) {
    // A restored program naming a file that is not there: the status says so, with the path.
    Instance missing;
    ASSERT_TRUE(missing.Open("missing"));
    EXPECT_TRUE(
        ShowsState(missing.Capture(), "missing", Pixels(row::kStatusText), kReadoutTextPixels));

    // A sample measurement: the FR and FR+EQ curves, no status.
    Instance measured;
    ASSERT_TRUE(measured.Open("measured"));
    host::Screenshot shot = measured.Capture();
    EXPECT_TRUE(ShowsState(shot, "measured", Pixels(row::kGraph)));
    EXPECT_TRUE(ShowsState(shot, "measured", Pixels(row::kStatusText), 0));

    // The program keeps the path: another instance restoring it shows the same curves.
    void* data = nullptr;
    const intptr_t size = measured.host.Dispatch(vst2::effGetChunk, 1, 0, &data);
    ASSERT_GT(size, 0);
    const std::string chunk(static_cast<const char*>(data), static_cast<std::size_t>(size));
    const std::string path = host::ToWindowsPath(CORVALEN_SAMPLE_MEASUREMENT);
    EXPECT_EQ(chunk.substr(chunk.size() - path.size()), path);
    Instance restored;
    ASSERT_TRUE(restored.Open());
    std::string copy = chunk;
    ASSERT_EQ(restored.host.Dispatch(vst2::effSetChunk, 1, size, copy.data()), 1);
    EXPECT_TRUE(ShowsState(restored.Capture(), "measured", Pixels(row::kGraph)));

    // The unload button pushes 1 then 0 and the curves are flat again.
    measured.host.ClearCalls();
    measured.Click(row::kUnloadButton);
    const std::vector<host::HostCall> calls = measured.CallsFor(param::kUnloadFr);
    EXPECT_TRUE(OneGesture(calls, 0.0f));
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const host::HostCall& c) { return c.opt == 1.0f; }),
              1);
    EXPECT_TRUE(ShowsState(measured.Capture(), "default", Pixels(row::kGraph)));
}

TEST(EditorInput, BypassSignAndSplashPanel) {
    Instance instance;
    ASSERT_TRUE(instance.Open());
    const host::Screenshot before = instance.Capture();
    // The bypass switch shows the sign over the graph and leaves every curve as it was:
    // outside the sign's box (400, 192)-(1212, 460) the graph is unchanged.
    instance.Click(row::kBypassSwitch);
    const host::Screenshot bypassed = instance.Capture();
    EXPECT_TRUE(ShowsState(bypassed, "bypassed"));
    int changedOutsideSign = 0;
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 800; ++x) {
            const bool inSign = x >= 200 && x < 606 && y >= 96 && y < 230;
            changedOutsideSign += !inSign && bypassed.at(x, y) != before.at(x, y);
        }
    }
    EXPECT_EQ(changedOutsideSign, 0);
    instance.Click(row::kBypassSwitch);

    // The splash panel covers the knobs below it and takes their presses, until its toggle
    // area is clicked.
    instance.Click(row::kSplashToggle);
    EXPECT_TRUE(ShowsState(instance.Capture(), "splash"));
    instance.host.ClearCalls();
    instance.DragUp(row::BandControl(kBand, 1), 216);
    EXPECT_TRUE(instance.CallsFor(kGain).empty());
    instance.Click(row::kSplashToggle);
    EXPECT_TRUE(ShowsState(instance.Capture(), "default"));
    instance.DragUp(row::BandControl(kBand, 1), 216);
    EXPECT_TRUE(OneGesture(instance.CallsFor(kGain), 1.0f));
}

TEST(EditorInput, TypedValuesApplyAndHostValuesComeBackWithoutAutomation) {
    Instance instance;
    ASSERT_TRUE(instance.Open());
    const int knob = row::BandControl(kBand, 1);
    const PixelRect shown[] = {Pixels(knob), Pixels(row::BandReadout(kBand, 1)),
                               Pixels(row::kGraph)};
    // A right click opens the value prompt on the knob; Enter applies the typed gain.
    instance.Send(WM_RBUTTONDOWN, MK_RBUTTON, Centre(knob));
    instance.Send(WM_RBUTTONUP, 0, Centre(knob));
    HWND box = FindWindowExW(instance.Editor(), nullptr, L"EDIT", nullptr);
    ASSERT_NE(box, nullptr);
    SetWindowTextW(box, L"6");
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FLOAT_EQ(LastAutomated(instance.CallsFor(kGain)), 0.625f);  // (6 + 24) / 48
    host::Screenshot shot = instance.Capture();
    for (const PixelRect& region : shown) EXPECT_TRUE(ShowsState(shot, "gain_typed", region));
    EXPECT_TRUE(ShowsState(shot, "gain_typed", shown[1], kReadoutTextPixels));

    // The host's own value moves the knob, its read-out and the curve, and nothing is sent
    // back to it.
    instance.host.ClearCalls();
    instance.host.SetParameter(kGain, 1.0f);
    shot = instance.Capture();
    for (const PixelRect& region : shown) EXPECT_TRUE(ShowsState(shot, "gain_top", region));
    EXPECT_TRUE(instance.CallsFor(kGain).empty());
}

TEST(EditorInput, FitPutsTheMeasurementOnTheTargetOrSaysThereIsNone) {
    // The sample measurement at its 75 dB: FR+EQ wanders off the target before the click.
    Instance instance;
    ASSERT_TRUE(instance.Open("fitted"));
    const double before = CorrectedCurveShareNearTarget(instance.Capture());
    instance.Click(row::kFitButton);
    // Every parameter the fit changed, in a gesture of its own: begin, automate, end.
    std::vector<host::HostCall> edits;
    for (const host::HostCall& call : instance.host.Calls()) {
        if (call.opcode == vst2::audioMasterAutomate || call.opcode == vst2::audioMasterBeginEdit ||
            call.opcode == vst2::audioMasterEndEdit)
            edits.push_back(call);
    }
    ASSERT_GE(edits.size(), 30u);
    ASSERT_EQ(edits.size() % 3, 0u);
    for (std::size_t at = 0; at < edits.size(); at += 3) {
        const std::vector<host::HostCall> gesture(edits.begin() + static_cast<long>(at),
                                                  edits.begin() + static_cast<long>(at) + 3);
        EXPECT_TRUE(OneGesture(gesture, gesture[1].opt)) << "gesture " << at / 3;
        EXPECT_EQ(gesture[0].index, gesture[2].index);
    }
    // The picture: FR+EQ on the target, no status text, the button up again; and the whole
    // picture the native build draws after its own fit, since both builds fit the same bands.
    const host::Screenshot shot = instance.Capture();
    const double after = CorrectedCurveShareNearTarget(shot);
    std::printf("FR+EQ pixels within 2 dB of the target: %.0f %% before the fit, %.0f %% after\n",
                100.0 * before, 100.0 * after);
    EXPECT_LT(before, 0.7);
    EXPECT_GT(after, 0.9);
    EXPECT_TRUE(ShowsState(shot, "fitted", Pixels(row::kStatusText), 0));
    EXPECT_TRUE(ShowsState(shot, "fitted", Pixels(row::kFitButton)));
    EXPECT_TRUE(ShowsState(shot, "fitted"));

    // Nothing loaded: the click changes nothing and the status line says so.
    Instance empty;
    ASSERT_TRUE(empty.Open());
    empty.Click(row::kFitButton);
    EXPECT_EQ(empty.host.CountCalls(vst2::audioMasterBeginEdit), 0);
    EXPECT_EQ(empty.host.CountCalls(vst2::audioMasterAutomate), 0);
    const host::Screenshot said = empty.Capture();
    EXPECT_TRUE(ShowsState(said, "no_fit"));
    EXPECT_TRUE(ShowsState(said, "no_fit", Pixels(row::kStatusText), kReadoutTextPixels));
    EXPECT_FALSE(ShowsState(said, "default", Pixels(row::kStatusText), kReadoutTextPixels));
}

TEST(EditorInput, TwoOpenInstancesShowTheirOwnStates) {
    Instance first;
    Instance second;
    ASSERT_TRUE(first.Open());
    ASSERT_TRUE(second.Open("measured"));
    second.DragUp(row::BandControl(kBand, 1), 216);
    const host::Screenshot secondShot = second.Capture();
    EXPECT_TRUE(ShowsState(first.Capture(), "default"));
    EXPECT_TRUE(
        ShowsState(secondShot, "gain_top", Pixels(row::BandReadout(kBand, 1)), kReadoutTextPixels));
    EXPECT_TRUE(first.CallsFor(kGain).empty());
    // The controls outlive the window: reopened, it shows the same state.
    second.frame.Close();
    ASSERT_TRUE(second.frame.Reopen());
    EXPECT_TRUE(ShowsState(second.Capture(), "gain_top", Pixels(row::BandReadout(kBand, 1)),
                           kReadoutTextPixels));
}

}  // namespace
}  // namespace corvalen
