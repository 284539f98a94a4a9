#include "tools/host/win/editor_frame.h"

#include <windows.h>

#include <chrono>

#include "png_writer.h"
#include "raster/memory_bitmap.h"

namespace corvalen::host {
namespace {

constexpr const wchar_t* kFrameClass = L"CorvalenHostFrame";
constexpr const wchar_t* kEditorClass = L"CorvalenEditorWindow";
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX);

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* frame = reinterpret_cast<EditorFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE: {
            auto* creation = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
            break;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            // A DAW's shortcuts live here: record what reaches the frame.
            if (frame != nullptr) frame->RecordFrameKey(FrameMessage{message, wParam, lParam});
            return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterFrameClass() {
    static const bool registered = [] {
        WNDCLASSW frameClass{};
        frameClass.lpfnWndProc = &FrameProcedure;
        frameClass.hInstance = GetModuleHandleW(nullptr);
        frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        frameClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        frameClass.lpszClassName = kFrameClass;
        return RegisterClassW(&frameClass) != 0;
    }();
    return registered;
}

RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

EditorFrame::EditorFrame(VstHost& host) : host_(host) {
    host_.SetSizeWindowHandler(
        [this](int width, int height) { return ResizeFrame(width, height); });
}

EditorFrame::~EditorFrame() {
    Close();
    host_.SetSizeWindowHandler(nullptr);
    if (frame_ != nullptr) DestroyWindow(static_cast<HWND>(frame_));
    Pump(0);
}

bool EditorFrame::Open() {
    if (host_.Effect() == nullptr) {
        lastError_ = "no plug-in loaded";
        return false;
    }
    if ((host_.Effect()->flags & vst2::effFlagsHasEditor) == 0) {
        lastError_ = "the plug-in has no editor";
        return false;
    }
    vst2::ERect* rect = nullptr;
    if (host_.Dispatch(vst2::effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
        lastError_ = "effEditGetRect gave no rectangle";
        return false;
    }
    if (frame_ == nullptr) {
        if (!RegisterFrameClass()) {
            lastError_ = "cannot register the frame class";
            return false;
        }
        RECT outer{0, 0, rect->right - rect->left, rect->bottom - rect->top};
        AdjustWindowRect(&outer, kFrameStyle, FALSE);
        HWND frame = CreateWindowW(kFrameClass, L"Corvalen", kFrameStyle, 0, 0,
                                   outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), this);
        if (frame == nullptr) {
            lastError_ = "cannot create the frame window";
            return false;
        }
        frame_ = frame;
        ShowWindow(frame, SW_SHOWNORMAL);
        UpdateWindow(frame);
    }
    return Reopen();
}

bool EditorFrame::Reopen() {
    if (host_.Dispatch(vst2::effEditOpen, 0, 0, frame_) == 0 || Editor() == nullptr) {
        lastError_ = "effEditOpen made no editor window";
        return false;
    }
    return true;
}

void EditorFrame::Close() {
    if (host_.Effect() != nullptr) host_.Dispatch(vst2::effEditClose);
}

bool EditorFrame::ResizeFrame(int width, int height) {
    if (frame_ == nullptr || width <= 0 || height <= 0) return false;
    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, kFrameStyle, FALSE);
    return SetWindowPos(static_cast<HWND>(frame_), nullptr, 0, 0, outer.right - outer.left,
                        outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

void* EditorFrame::Editor() const {
    if (frame_ == nullptr) return nullptr;
    return FindWindowExW(static_cast<HWND>(frame_), nullptr, kEditorClass, nullptr);
}

int EditorFrame::EditorWidth() const {
    RECT client{};
    if (Editor() == nullptr || !GetClientRect(static_cast<HWND>(Editor()), &client)) return 0;
    return client.right;
}

int EditorFrame::EditorHeight() const {
    RECT client{};
    if (Editor() == nullptr || !GetClientRect(static_cast<HWND>(Editor()), &client)) return 0;
    return client.bottom;
}

int EditorFrame::EditorLeft() const {
    return Editor() != nullptr ? ChildRect(static_cast<HWND>(Editor())).left : 0;
}

int EditorFrame::EditorTop() const {
    return Editor() != nullptr ? ChildRect(static_cast<HWND>(Editor())).top : 0;
}

int EditorFrame::FrameClientWidth() const {
    RECT client{};
    if (frame_ == nullptr || !GetClientRect(static_cast<HWND>(frame_), &client)) return 0;
    return client.right;
}

int EditorFrame::FrameClientHeight() const {
    RECT client{};
    if (frame_ == nullptr || !GetClientRect(static_cast<HWND>(frame_), &client)) return 0;
    return client.bottom;
}

void EditorFrame::Pump(double seconds) {
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::microseconds(static_cast<long long>(seconds * 1e6));
    for (;;) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (frame_ != nullptr && !IsWindow(static_cast<HWND>(frame_))) frame_ = nullptr;
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) return;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left + 1), QS_ALLINPUT);
    }
}

bool EditorFrame::Capture(Screenshot& shot) {
    HWND editor = static_cast<HWND>(Editor());
    if (editor == nullptr) return false;
    UpdateWindow(editor);
    const int width = EditorWidth();
    const int height = EditorHeight();
    if (width <= 0 || height <= 0) return false;
    HDC source = GetDC(editor);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (section != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, section);
        copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        if (copied) {
            shot.width = width;
            shot.height = height;
            const auto* pixels = static_cast<const std::uint32_t*>(bits);
            shot.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) *
                                                    static_cast<std::size_t>(height));
            for (std::uint32_t& pixel : shot.pixels) pixel |= 0xFF000000u;  // GDI leaves alpha 0
        }
        SelectObject(memory, previous);
        DeleteObject(section);
    }
    DeleteDC(memory);
    ReleaseDC(editor, source);
    return copied;
}

bool EditorFrame::SavePng(const Screenshot& shot, const std::string& path, std::string& error) {
    raster::MemoryBitmap bitmap;
    if (!bitmap.resize(shot.width, shot.height)) {
        error = "no memory for the picture";
        return false;
    }
    for (int y = 0; y < shot.height; ++y) {
        std::uint32_t* row = bitmap.bits() + static_cast<std::ptrdiff_t>(y) * bitmap.rowSpan();
        for (int x = 0; x < shot.width; ++x) row[x] = shot.at(x, y);
    }
    return tools::writePng(bitmap, path, error);
}

}  // namespace corvalen::host
