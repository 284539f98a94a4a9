#include "tools/host/soak_command.h"

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "editor/editor_graphics.h"
#include "tools/host/plugin_library.h"
#include "tools/host/win/editor_frame.h"
#include "tools/host/win/window_census.h"
#include "tools/soak/soak_threads.h"

namespace corvalen::host {
namespace {

constexpr int kInstances = 2;
constexpr int kFrameGap = 20;           // pixels between the two editors' frames
constexpr int kDragSteps = 6;           // mouse moves per drag
constexpr double kSettleSeconds = 0.8;  // ticks to paint, wheel gestures to end
constexpr const wchar_t* kEditorClass = L"CorvalenEditorWindow";
constexpr const char* kMissingMeasurement = "C:\\corvalen soak\\no such measurement.csv";
// Freed GDI slots are reused: a leak moves new handles far up the table.
constexpr long kGdiSlotsAllowed = 100;

double ParseSeconds(const char* text, double scale) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value > 0.0)) return -1.0;
    return value * scale;
}

// A file of bytes that are no measurement, in the temporary folder.
std::string WriteGarbageMeasurement() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"corvalen_soak_garbage.csv";
    std::ofstream out(path.c_str(), std::ios::binary);
    std::mt19937 random(1201);
    for (int i = 0; i < 20000; ++i) out.put(static_cast<char>(random() & 0xFF));
    char narrow[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

bool OpenInstance(VstHost& host, const std::string& pluginPath, const soak::SoakPlan& plan) {
    if (!host.Load(pluginPath)) return false;
    host.Dispatch(vst2::effOpen);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(plan.sampleRate));
    host.Dispatch(vst2::effSetBlockSize, 0, plan.blockFrames);
    host.Dispatch(vst2::effMainsChanged, 0, 1);
    return true;
}

// The editors side by side, so neither covers the other when their pixels are read.
void PlaceFrame(EditorFrame& frame, int index) {
    RECT outer{};
    GetWindowRect(static_cast<HWND>(frame.Frame()), &outer);
    SetWindowPos(static_cast<HWND>(frame.Frame()), nullptr,
                 index * (outer.right - outer.left + kFrameGap), 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A gesture as a user makes it, posted to the editor's window (positions in its pixels).
void PostGesture(EditorFrame& frame, const soak::SoakGesture& gesture) {
    HWND editor = static_cast<HWND>(frame.Editor());
    if (editor == nullptr) return;
    const int width = frame.EditorWidth();
    const int height = frame.EditorHeight();
    const int x = gesture.x * width / editor::EditorGraphics::kLayoutWidth;
    const int y = gesture.y * height / editor::EditorGraphics::kLayoutHeight;
    if (gesture.drag) {
        const int travel = gesture.distance * height / editor::EditorGraphics::kLayoutHeight;
        PostMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        for (int step = 1; step <= kDragSteps; ++step) {
            PostMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON,
                         MAKELPARAM(x, y + travel * step / kDragSteps));
        }
        PostMessageW(editor, WM_LBUTTONUP, 0, MAKELPARAM(x, y + travel));
        return;
    }
    POINT screen{x, y};
    ClientToScreen(editor, &screen);
    const int notches = gesture.distance < 0 ? -gesture.distance : gesture.distance;
    const int delta = gesture.distance < 0 ? -WHEEL_DELTA : WHEEL_DELTA;
    for (int notch = 0; notch < notches; ++notch) {
        PostMessageW(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(screen.x, screen.y));
    }
}

long DifferingPixels(const Screenshot& a, const Screenshot& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    long differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        if (a.pixels[i] != b.pixels[i]) ++differing;
    }
    return differing;
}

// What a fresh instance given `program` shows in a frame at the same place.
bool FreshPicture(const std::string& pluginPath, const soak::SoakPlan& plan, int index,
                  std::vector<unsigned char> program, Screenshot& shot) {
    VstHost host;
    if (!OpenInstance(host, pluginPath, plan)) return false;
    if (host.Dispatch(vst2::effSetChunk, 1, static_cast<intptr_t>(program.size()),
                      program.data()) != 1) {
        return false;
    }
    EditorFrame frame{host};
    if (!frame.Open()) return false;
    PlaceFrame(frame, index);
    frame.Pump(kSettleSeconds);
    return frame.Capture(shot);
}

}  // namespace

bool ParseSoakCommand(int argc, char** argv, SoakCommandOptions& options) {
    if (argc < 1) return false;
    options.pluginPath = argv[0];
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            options.seconds = ParseSeconds(argv[++i], 1.0);
        } else if (std::strcmp(argv[i], "--minutes") == 0 && i + 1 < argc) {
            options.seconds = ParseSeconds(argv[++i], 60.0);
        } else if (std::strcmp(argv[i], "--measurement") == 0 && i + 1 < argc) {
            options.measurementPath = ToWindowsPath(argv[++i]);
        } else {
            return false;
        }
        if (options.seconds <= 0.0) return false;
    }
    return true;
}

int RunSoak(const SoakCommandOptions& options, std::FILE* out) {
    const soak::SoakPlan plan = soak::SoakPlan::ForSeconds(options.seconds);
    const GdiSlotProbe gdi;
    std::vector<std::unique_ptr<VstHost>> hosts;
    std::vector<VstHost*> instances;
    for (int n = 0; n < kInstances; ++n) {
        hosts.push_back(std::make_unique<VstHost>());
        if (!OpenInstance(*hosts.back(), options.pluginPath, plan)) {
            std::fprintf(out, "cannot load %s: %s\n", options.pluginPath.c_str(),
                         hosts.back()->LastError().c_str());
            return 1;
        }
        instances.push_back(hosts.back().get());
    }
    VstHost checker;
    if (!OpenInstance(checker, options.pluginPath, plan)) return 1;
    std::vector<std::unique_ptr<EditorFrame>> frames;
    for (int n = 0; n < kInstances; ++n) {
        frames.push_back(std::make_unique<EditorFrame>(*instances[static_cast<std::size_t>(n)]));
        if (!frames.back()->Open()) {
            std::fprintf(out, "editor %d did not open: %s\n", n,
                         frames.back()->LastError().c_str());
            return 1;
        }
        PlaceFrame(*frames.back(), n);
    }
    std::vector<std::string> measurements = {kMissingMeasurement, WriteGarbageMeasurement()};
    if (!options.measurementPath.empty()) measurements.push_back(options.measurementPath);

    const auto start = std::chrono::steady_clock::now();
    soak::SoakTally tally;
    std::thread audio([&] { soak::RunAudio(instances, plan, tally); });
    std::thread worker([&] { soak::RunWorker(instances, checker, measurements, plan, tally); });
    // This thread is the user's: a gesture on the editors in turn, the windows pumped between.
    for (int g = 0; g < plan.gestures; ++g) {
        PostGesture(*frames[static_cast<std::size_t>(g % kInstances)], soak::GestureNumber(g));
        const double next = plan.seconds * (g + 1) / plan.gestures;
        const double now =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        frames[0]->Pump(next > now ? next - now : 0.0);
    }
    audio.join();
    worker.join();
    int editorValues = 0;  // the host's own setParameter calls are not echoed back to it
    for (VstHost* instance : instances)
        editorValues += instance->CountCalls(vst2::audioMasterAutomate);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // The last requests handled (a load the audio thread asked for runs when a host thread
    // leaves the lock), the pointer gone, the ticks done; then the editors' pictures.
    std::vector<Screenshot> shots(kInstances);
    std::vector<std::vector<unsigned char>> programs;
    bool captured = true;
    for (int n = 0; n < kInstances; ++n) {
        instances[static_cast<std::size_t>(n)]->Dispatch(vst2::effGetProgram);
        PostMessageW(static_cast<HWND>(frames[static_cast<std::size_t>(n)]->Editor()),
                     WM_MOUSELEAVE, 0, 0);
    }
    frames[0]->Pump(kSettleSeconds);
    for (int n = 0; n < kInstances; ++n) {
        captured =
            frames[static_cast<std::size_t>(n)]->Capture(shots[static_cast<std::size_t>(n)]) &&
            captured;
        programs.push_back(soak::SavedChunk(*instances[static_cast<std::size_t>(n)], false));
    }
    frames.clear();  // effEditClose
    for (auto& host : hosts) host->Close();
    checker.Close();
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(150);  // a timer left running would have fired by now
    const bool timerLeft = PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE) != 0;
    const int windowsLeft = WindowsOfClass(kEditorClass) + WindowsOfClass(L"tooltips_class32") +
                            WindowsOfClass(L"EDIT");
    const long gdiMoved = gdi.SlotsMovedOn();

    long differing = 0;
    for (int n = 0; n < kInstances; ++n) {
        Screenshot fresh;
        if (!FreshPicture(options.pluginPath, plan, n, programs[static_cast<std::size_t>(n)],
                          fresh)) {
            captured = false;
            continue;
        }
        const long here = DifferingPixels(shots[static_cast<std::size_t>(n)], fresh);
        differing += here < 0 ? 1 : here;
    }

    std::fprintf(out, "seconds %.1f (planned %.1f)\n", elapsed, plan.seconds);
    std::fprintf(out, "audio blocks %ld per instance, %ld values automated\n", tally.blocks.load(),
                 tally.automatedValues.load());
    std::fprintf(out, "non-finite samples %ld\n", tally.nonFiniteSamples.load());
    std::fprintf(out, "chunks saved and checked %ld, not reloaded to the same bytes %ld\n",
                 tally.chunksChecked.load(), tally.chunksNotReloaded.load());
    std::fprintf(out, "program changes %ld, measurement loads %ld\n", tally.programChanges.load(),
                 tally.measurementLoads.load());
    std::fprintf(out, "gestures %d, values the editors sent the host %d\n", plan.gestures,
                 editorValues);
    std::fprintf(out, "pixels differing from a fresh paint %ld%s\n", differing,
                 captured ? "" : " (a picture could not be taken)");
    std::fprintf(out, "windows left %d, timer left %s, GDI slots moved %ld\n", windowsLeft,
                 timerLeft ? "yes" : "no", gdiMoved);
    const bool held = tally.nonFiniteSamples == 0 && tally.chunksNotReloaded == 0 &&
                      tally.chunksChecked > 0 && editorValues > 0 && captured && differing == 0 &&
                      windowsLeft == 0 && !timerLeft && gdiMoved < kGdiSlotsAllowed;
    std::fprintf(out, "%s\n", held ? "soak: everything held" : "soak: FAILED");
    return held ? 0 : 1;
}

}  // namespace corvalen::host
