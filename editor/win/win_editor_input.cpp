// WinEditorGraphics: mouse, wheel and key messages in layout units, keys the editor does not
// take handed to the host, and the tooltip.
#include <windows.h>

#include <commctrl.h>

#include <iterator>

#include "editor/input_modifiers.h"
#include "editor/win/win_editor_graphics.h"
#include "editor/window_scale.h"

namespace corvalen::editor {
namespace {

constexpr float kWheelNotch = 1.0f / 120.0f;
constexpr DWORD kInitTooltipClasses = 8;
constexpr DWORD kTooltipStyle = WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP;    // 0x80000003
constexpr UINT kToolFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;  // 0x111
// The tool record as every common-controls version reads it (without the trailing
// reserved pointer of the newest).
constexpr UINT kToolRecordSize = 64;
static_assert(kToolRecordSize <= sizeof(TTTOOLINFOW), "the tool record holds 64 bytes");

}  // namespace

int WinEditorGraphics::toLayout(int pixel) const { return pixelToLayout(pixel, dpi_); }

int WinEditorGraphics::mouseModifiers(WPARAM keyState) {
    // The low four bits of the key-state word are the editor's button, Shift and Ctrl bits.
    int modifiers = static_cast<int>(keyState & 0xF);
    if (GetKeyState(VK_MENU) < 0) modifiers |= kModifierAlt;
    return modifiers;
}

int WinEditorGraphics::keyboardModifiers() {
    int modifiers = 0;
    if (GetKeyState(VK_SHIFT) < 0) modifiers |= kModifierShift;
    if (GetKeyState(VK_CONTROL) < 0) modifiers |= kModifierControl;
    if (GetKeyState(VK_MENU) < 0) modifiers |= kModifierAlt;
    return modifiers;
}

void WinEditorGraphics::onMouseMove(WPARAM keyState, int x, int y) {
    if (GetCursor() == nullptr) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    const bool buttonHeld = (keyState & (MK_LBUTTON | MK_RBUTTON)) != 0;
    mouseMovedTo(toLayout(x), toLayout(y), mouseModifiers(keyState), buttonHeld,
                 GetCapture() == window_);
    if (buttonHeld) return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, HOVER_DEFAULT};
    TrackMouseEvent(&track);
    if (tooltipsEnabled() && mouseOverControl() != tooltipControl_)
        updateTooltipFor(mouseOverControl());
}

void WinEditorGraphics::onButtonDown(WPARAM keyState, int x, int y) {
    hideTooltip();
    if (textBox_ != nullptr) commitTextEntry(true);  // a click elsewhere commits the entry
    SetCapture(window_);
    buttonPressedAt(toLayout(x), toLayout(y), mouseModifiers(keyState));
}

void WinEditorGraphics::onButtonUp(WPARAM keyState, int x, int y) {
    ReleaseCapture();
    buttonReleasedAt(toLayout(x), toLayout(y), mouseModifiers(keyState));
}

void WinEditorGraphics::onDoubleClick(WPARAM keyState, int x, int y) {
    if (doubleClickedAt(toLayout(x), toLayout(y), mouseModifiers(keyState))) SetCapture(window_);
}

void WinEditorGraphics::onWheel(WPARAM wParam, int screenX, int screenY) {
    if (wheelMode() == 0) return;
    hideTooltip();
    const int modifiers =
        wheelModifiers(static_cast<int>(LOWORD(wParam) & 0xF), GetKeyState(VK_MENU) < 0);
    if (modifiers < 0) return;
    const float delta = static_cast<float>(static_cast<short>(HIWORD(wParam))) * kWheelNotch;
    wheelAtScreenPoint(screenX, screenY, modifiers, delta);
}

bool WinEditorGraphics::wheelAtScreenPoint(int screenX, int screenY, int modifiers, float delta) {
    if (textBox_ != nullptr) return false;  // the wheel leaves an open entry alone
    RECT frame{};
    GetWindowRect(window_, &frame);
    return wheelAt(toLayout(screenX - frame.left), toLayout(screenY - frame.top), modifiers, delta);
}

bool WinEditorGraphics::hostWheel(float delta) {
    if (window_ == nullptr || wheelMode() == 0) return false;
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return false;
    HWND under = WindowFromPoint(cursor);
    if (under != window_ && !IsChild(window_, under)) return false;
    const int modifiers = wheelModifiers(keyboardModifiers() & ~kModifierAlt,
                                         (keyboardModifiers() & kModifierAlt) != 0);
    if (modifiers < 0) return false;
    hideTooltip();
    return wheelAtScreenPoint(cursor.x, cursor.y, modifiers, delta);
}

void WinEditorGraphics::onKey(UINT message, WPARAM wParam, LPARAM lParam) {
    const int virtualKey = static_cast<int>(wParam);
    if (isEditorKey(virtualKey) && keyCatcher() >= 0) {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(window_, &cursor);
        if (dispatchKey(message == WM_KEYDOWN, toLayout(cursor.x), toLayout(cursor.y),
                        keyboardModifiers(), virtualKey, true))
            return;
    }
    // The host keeps its shortcuts: whatever the editor does not take goes to its window,
    // without waiting for it.
    HWND root = GetAncestor(window_, GA_ROOT);
    if (root != nullptr && root != window_) SendNotifyMessageW(root, message, wParam, lParam);
}

bool WinEditorGraphics::hostKey(bool down, int modifiers, int virtualKey) {
    int x = -1;
    int y = -1;
    POINT cursor{};
    if (window_ != nullptr && GetCursorPos(&cursor) && ScreenToClient(window_, &cursor)) {
        x = toLayout(cursor.x);
        y = toLayout(cursor.y);
    }
    return dispatchKey(down, x, y, modifiers, virtualKey, false);
}

void WinEditorGraphics::setKeyCatcher(int index) {
    EditorGraphics::setKeyCatcher(index);
    if (index >= 0 && window_ != nullptr) SetFocus(window_);
}

void WinEditorGraphics::createTooltip() {
    INITCOMMONCONTROLSEX classes{sizeof classes, kInitTooltipClasses};
    bool made = InitCommonControlsEx(&classes) != FALSE;
    if (made) {
        tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, kTooltipStyle, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                   module_, nullptr);
        made = tooltip_ != nullptr;
    }
    if (made) {
        SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        TTTOOLINFOW tool{};
        tool.cbSize = kToolRecordSize;
        tool.uFlags = kToolFlags;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(window_);
        tool.lpszText = tooltipText_;
        made = SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    }
    if (!made) {
        if (tooltip_ != nullptr) DestroyWindow(tooltip_);
        tooltip_ = nullptr;
        disableTooltips();
    }
}

void WinEditorGraphics::setTooltipText(const wchar_t* text) {
    if (tooltip_ == nullptr) return;
    if (text != tooltipText_)
        lstrcpynW(tooltipText_, text, static_cast<int>(std::size(tooltipText_)));
    TTTOOLINFOW tool{};
    tool.cbSize = kToolRecordSize;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(window_);
    tool.lpszText = tooltipText_;
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void WinEditorGraphics::hideTooltip() {
    if (tooltipText_[0] == L'\0') return;
    setTooltipText(L"");
}

void WinEditorGraphics::updateTooltipFor(int controlIndex) {
    tooltipControl_ = controlIndex;
    const char* text = nullptr;
    if (controlIndex >= 0 && controlIndex < static_cast<int>(controls().size()))
        text = controls()[static_cast<std::size_t>(controlIndex)]->tooltip();
    wchar_t converted[sizeof tooltipText_ / sizeof tooltipText_[0]] = {};
    if (text != nullptr && text[0] != '\0' &&
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, converted,
                            static_cast<int>(std::size(converted))) == 0)
        converted[0] = L'\0';  // a text that does not convert shows nothing
    const bool visible = tooltipText_[0] != L'\0';
    if (converted[0] != L'\0') {
        if (visible) {
            setTooltipText(converted);
        } else {
            lstrcpynW(tooltipText_, converted, static_cast<int>(std::size(tooltipText_)));
            TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, window_, HOVER_DEFAULT};
            TrackMouseEvent(&track);  // shown when the pointer rests
        }
    } else if (visible) {
        setTooltipText(L"");
    }
}

}  // namespace corvalen::editor
