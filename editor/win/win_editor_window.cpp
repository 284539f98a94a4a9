// WinEditorGraphics: opening and closing the child window, the window procedure, the tick,
// paint and present.
#include <windows.h>

#include <commctrl.h>

#include "editor/win/module_resources_win.h"
#include "editor/win/win_editor_graphics.h"
#include "editor/window_scale.h"
#include "shell/plugin_base.h"

namespace corvalen::editor {
namespace {

constexpr UINT_PTR kTickTimer = 2;
constexpr DWORD kChildVisibleStyle = WS_CHILD | WS_VISIBLE;  // 0x50000000
// The host code of the one host that expects the editor to take the keyboard focus itself.
constexpr int kHostTakingNoFocus = 25;
constexpr const char* kUserLibrary = "USER32.dll";
constexpr const char* kDpiQuery = "GetDpiForWindow";

// Module-wide, touched only on the host's user-interface thread.
int openWindows = 0;

bool registerWindowClass(HINSTANCE module, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WinEditorGraphics::windowClassName();
    if (RegisterClassW(&windowClass) != 0) return true;
    // A window the host destroyed without closing the editor keeps the class alive until it
    // is gone; it is still ours.
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void unregisterIfUnused(HINSTANCE module) {
    if (openWindows == 0) UnregisterClassW(WinEditorGraphics::windowClassName(), module);
}

void releaseWindowClass(HINSTANCE module) {
    if (openWindows > 0) --openWindows;
    unregisterIfUnused(module);
}

}  // namespace

const wchar_t* WinEditorGraphics::windowClassName() { return L"CorvalenEditorWindow"; }

int WinEditorGraphics::openWindowCount() { return openWindows; }

WinEditorGraphics::WinEditorGraphics() : module_(static_cast<HINSTANCE>(ownModuleHandle())) {
    // Older systems have no per-window dpi; looked up rather than imported so the library
    // still loads there.
    userLibrary_ = LoadLibraryA(kUserLibrary);
    if (userLibrary_ != nullptr) {
        dpiForWindow_ = reinterpret_cast<DpiForWindow>(
            reinterpret_cast<void*>(GetProcAddress(userLibrary_, kDpiQuery)));
    }
}

WinEditorGraphics::~WinEditorGraphics() {
    closeWindow();
    if (userLibrary_ != nullptr) FreeLibrary(userLibrary_);
    if (comInitialised_) CoUninitialize();
}

void* WinEditorGraphics::openWindow(void* parent) {
    parent_ = static_cast<HWND>(parent);
    const int systemDpi = dpiForWindow_ != nullptr && parent_ != nullptr
                              ? static_cast<int>(dpiForWindow_(parent_))
                              : 0;
    dpi_ = chooseWindowDpi(dpiValue(), systemDpi);

    const int shift = shiftForDpi(dpi_);
    if (shift != forcedShift() && applyScale(shift)) {
        for (const auto& control : controls()) control->rescale(*this);
    }
    if (!drawBitmap().hasPixels()) return nullptr;

    const WindowSize size = windowSizeForDpi(dpi_);
    if (plugin() != nullptr) plugin()->ResizeEditor(size.width, size.height);

    // A host that opens the editor again without closing it keeps the window where it was.
    POINT position{0, 0};
    if (window_ != nullptr) {
        RECT old{};
        GetWindowRect(window_, &old);
        position = POINT{old.left, old.top};
        MapWindowPoints(nullptr, GetParent(window_), &position, 1);
        closeWindow();
    }

    if (openWindows == 0 && !registerWindowClass(module_, &WinEditorGraphics::windowProcedure))
        return nullptr;
    ++openWindows;
    classReleasePending_ = false;  // in use again: released with this window
    HWND created =
        CreateWindowExW(0, windowClassName(), L"Corvalen", kChildVisibleStyle, position.x,
                        position.y, size.width, size.height, parent_, nullptr, module_, this);
    if (created == nullptr) {
        releaseWindowClass(module_);
        return nullptr;
    }
    window_ = created;
    for (const auto& control : controls()) control->markDirty(false);
    if (tooltipsEnabled()) createTooltip();
    return window_;
}

void WinEditorGraphics::closeWindow() {
    if (window_ == nullptr) {
        // Left registered, the class would outlive the library it points into: a later load at
        // another address would create its windows with a procedure that is gone.
        if (classReleasePending_) unregisterIfUnused(module_);
        classReleasePending_ = false;
        return;
    }
    endInputForClose();
    HFONT boxFont = textBox_ != nullptr
                        ? reinterpret_cast<HFONT>(SendMessageW(textBox_, WM_GETFONT, 0, 0))
                        : nullptr;
    HWND closing = window_;
    window_ = nullptr;  // messages sent while it goes are no longer the editor's
    // The tooltip goes first, while the window it subclasses is still whole, so it can
    // release what it holds.
    if (tooltip_ != nullptr) DestroyWindow(tooltip_);
    DestroyWindow(closing);  // the box and the tooltip go with it
    if (boxFont != nullptr) DeleteObject(boxFont);
    textBox_ = nullptr;
    tooltip_ = nullptr;
    tooltipControl_ = -1;
    tooltipText_[0] = L'\0';
    forgetTextEntry();
    releaseWindowClass(module_);
}

LRESULT CALLBACK WinEditorGraphics::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* creation = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<WinEditorGraphics*>(creation->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
        SetTimer(window, kTickTimer, static_cast<UINT>(1000.0 / self->frameRate()), nullptr);
        if (self->keyCatcher() >= 0 ||
            (self->plugin() != nullptr && self->plugin()->GetHost() == kHostTakingNoFocus))
            SetFocus(window);
        return 0;
    }
    auto* self = reinterpret_cast<WinEditorGraphics*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window) {
        if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The host destroyed its window (and ours with it) without closing the editor.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->endInputForClose();
        self->window_ = nullptr;
        self->textBox_ = nullptr;
        self->tooltip_ = nullptr;
        self->tooltipControl_ = -1;
        self->tooltipText_[0] = L'\0';
        self->forgetTextEntry();
        if (openWindows > 0) --openWindows;
        self->classReleasePending_ = true;  // the class goes with the next close
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

LRESULT WinEditorGraphics::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_;
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
        case WM_PAINT: paintUpdate(); return 0;
        case WM_CLOSE: closeWindow(); return 0;
        case WM_MOUSEACTIVATE:
            if (keyCatcher() >= 0 ||
                (plugin() != nullptr && plugin()->GetHost() == kHostTakingNoFocus))
                SetFocus(window);
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_GETDLGCODE: return keyCatcher() >= 0 ? DLGC_WANTALLKEYS : 0;
        case WM_KEYDOWN:
        case WM_KEYUP: onKey(message, wParam, lParam); return 0;
        case WM_TIMER:
            if (wParam == kTickTimer) tick();
            return 0;
        case WM_CTLCOLOREDIT:
            if (textBoxBrush_ != nullptr && reinterpret_cast<HWND>(lParam) == textBox_) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, textBoxTextColour_);
                SetBkColor(dc, textBoxBackground_);
                return reinterpret_cast<LRESULT>(textBoxBrush_);
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_MOUSEMOVE: onMouseMove(wParam, x, y); return 0;
        case WM_LBUTTONDOWN: onButtonDown(wParam, x, y); return 0;
        case WM_RBUTTONDOWN:
            if (textBox_ != nullptr) {
                closeTextEntry();  // a right click cancels the entry
                return 0;
            }
            onButtonDown(wParam, x, y);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: onButtonUp(wParam, x, y); return 0;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK: onDoubleClick(wParam, x, y); return 0;
        case WM_MOUSEWHEEL: onWheel(wParam, x, y); return 0;
        case WM_MOUSEHOVER: setTooltipText(tooltipText_); return 0;
        case WM_MOUSELEAVE:
            hideTooltip();
            tooltipControl_ = -1;
            mouseLeft();
            return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

SIZE WinEditorGraphics::clientArea() const {
    RECT client{};
    GetClientRect(window_, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

void WinEditorGraphics::paintUpdate() {
    RECT update{};
    if (!GetUpdateRect(window_, &update, FALSE)) return;
    const SIZE clientSize = clientArea();
    const int clientWidth = static_cast<int>(clientSize.cx);
    const int clientHeight = static_cast<int>(clientSize.cy);
    LayoutRect area{update.left, update.top, update.right, update.bottom};
    if ((clientWidth != kLayoutWidth || clientHeight != kLayoutHeight) && clientWidth > 0 &&
        clientHeight > 0) {
        area.left = mulDiv(update.left, kLayoutWidth, clientWidth);
        area.top = mulDiv(update.top, kLayoutHeight, clientHeight);
        area.right = area.left + mulDiv(update.right - update.left, kLayoutWidth, clientWidth);
        area.bottom = area.top + mulDiv(update.bottom - update.top, kLayoutHeight, clientHeight);
    }
    // After a tick the dirty areas are already drawn; anything else (the window uncovered,
    // a change of size) is painted here.
    if (!tickPainted_.contains(area)) paint(area);
    tickPainted_ = LayoutRect{};
    present(area);
}

void WinEditorGraphics::present(const LayoutRect& update) {
    PAINTSTRUCT paintInfo{};
    HDC target = BeginPaint(window_, &paintInfo);
    const SIZE clientSize = clientArea();
    const int clientWidth = static_cast<int>(clientSize.cx);
    const int clientHeight = static_cast<int>(clientSize.cy);
    HDC source = static_cast<HDC>(drawBitmap().deviceContext());
    const int shift = effectiveShift();
    const int bitmapWidth = kLayoutWidth >> shift;
    const int bitmapHeight = kLayoutHeight >> shift;
    if (target != nullptr && source != nullptr) {
        if (clientWidth == bitmapWidth && clientHeight == bitmapHeight) {
            const int left = update.left >> shift;
            const int top = update.top >> shift;
            BitBlt(target, left, top, (update.right >> shift) - left,
                   (update.bottom >> shift) - top, source, left, top, SRCCOPY);
        } else if (clientWidth > 0 && clientHeight > 0) {
            // Whole multiples repeat pixels; any other ratio is filtered so it stays smooth.
            const bool wholeMultiple =
                clientWidth % bitmapWidth == 0 && clientHeight % bitmapHeight == 0;
            if (wholeMultiple) {
                SetStretchBltMode(target, COLORONCOLOR);
            } else {
                SetStretchBltMode(target, HALFTONE);
                SetBrushOrgEx(target, 0, 0, nullptr);
            }
            StretchBlt(target, 0, 0, clientWidth, clientHeight, source, 0, 0, bitmapWidth,
                       bitmapHeight, SRCCOPY);
        }
    }
    EndPaint(window_, &paintInfo);
}

void WinEditorGraphics::tick() {
    LayoutRect dirty;
    if (isDirty(dirty)) {
        // Only what changed is drawn (a knob and the graph, not everything between them);
        // the union is presented.
        paintDirtyAreas();
        tickPainted_ = dirty;
        const SIZE clientSize = clientArea();
        const int clientWidth = static_cast<int>(clientSize.cx);
        const int clientHeight = static_cast<int>(clientSize.cy);
        const int shift = effectiveShift();
        RECT invalid{};
        if (clientWidth == kLayoutWidth >> shift && clientHeight == kLayoutHeight >> shift) {
            invalid = RECT{dirty.left >> shift, dirty.top >> shift, dirty.right >> shift,
                           dirty.bottom >> shift};
        } else {
            const int x = mulDiv(dirty.left, clientWidth, kLayoutWidth);
            const int y = mulDiv(dirty.top, clientHeight, kLayoutHeight);
            const int w = mulDiv(dirty.right - dirty.left, clientWidth, kLayoutWidth);
            const int h = mulDiv(dirty.bottom - dirty.top, clientHeight, kLayoutHeight);
            // One pixel more on every side: the filtered stretch reaches across the edge.
            const RECT grown{x - 1, y - 1, x + w + 1, y + h + 1};
            const RECT client{0, 0, clientWidth, clientHeight};
            IntersectRect(&invalid, &grown, &client);
        }
        InvalidateRect(window_, &invalid, FALSE);
        if (textBox_ != nullptr) {
            RECT box{};
            GetClientRect(textBox_, &box);
            MapWindowPoints(textBox_, window_, reinterpret_cast<POINT*>(&box), 2);
            ValidateRect(window_, &box);
        }
        UpdateWindow(window_);  // the paint message comes now, or not at all
        tickPainted_ = LayoutRect{};
    }
    tickWheelGesture();
}

}  // namespace corvalen::editor
