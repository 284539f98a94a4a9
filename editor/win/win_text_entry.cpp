// WinEditorGraphics: the value prompt, an edit box placed over the control in which the
// user types a value.
#include <cstring>
#include <iterator>

#include "editor/win/win_editor_graphics.h"
#include "editor/window_scale.h"
#include "shell/parameter.h"
#include "shell/plugin_base.h"

namespace corvalen::editor {
namespace {

constexpr int kTextBufferBytes = 1024;
constexpr int kTextBoxCharacters = 1024;
constexpr int kDefaultBoxWidth = 80;  // layout units
constexpr int kDefaultBoxHeight = 32;
constexpr int kDefaultFontHeight = 28;
constexpr int kTextBoxId = 99;
constexpr DWORD kTextBoxStyle =
    WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL;  // 0x50000084
constexpr UINT_PTR kCommitTimer = 1;
// Marks the box's window pointer as ours.
constexpr LONG_PTR kTextBoxMarker = static_cast<LONG_PTR>(0xDEADF00B);

// Placement flags of openTextEntry.
constexpr int kFullWidth = 1;
constexpr int kFullHeight = 2;
constexpr int kNoMargins = 4;
constexpr int kCaretAtClick = 8;

// The box's font height for a style of size 0 between 100 and 191 dpi: the heights that
// read like the system's own at that scale.
struct FontStep {
    int lastDpi;
    int height;
};
constexpr FontStep kPromptFontHeights[] = {
    {104, 14}, {109, 15}, {125, 16}, {135, 17}, {145, 18},
    {157, 20}, {171, 21}, {176, 22}, {190, 23}, {191, 24},
};
constexpr int kFirstTableDpi = 100;
constexpr int kFontHeightDivisor = 8;  // dpi 192 and above: dpi / 8

int promptFontHeight(int dpi, int styleSize) {
    const int height = styleSize != 0 ? styleSize : kDefaultFontHeight;
    if (styleSize != 0 || dpi < kFirstTableDpi) {
        return dpi == kFullSizeDpi ? height : mulDiv(height, dpi, kFullSizeDpi);
    }
    if (dpi >= kFullSizeDpi) return dpi / kFontHeightDivisor;
    for (const FontStep& step : kPromptFontHeights) {
        if (dpi <= step.lastDpi) return step.height;
    }
    return dpi / kFontHeightDivisor;
}

COLORREF platformColour(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

TextStyle defaultPromptStyle() {
    TextStyle style;
    style.faceName = "Arial";
    style.size = 0;
    style.colour = 0;
    style.alignment = kAlignCentre;
    return style;
}

}  // namespace

bool WinEditorGraphics::openTextEntry(EditorControl& control, int parameterIndex,
                                      const LayoutRect* rect, int flags, const TextStyle* style,
                                      std::uint32_t background, int commitDelayMs, int clickX,
                                      int clickY) {
    if (textBox_ != nullptr || window_ == nullptr) return false;

    char text[kTextBufferBytes] = {};
    const ParamSpec* param =
        plugin() != nullptr && parameterIndex >= 0 ? plugin()->Param(parameterIndex) : nullptr;
    if (param != nullptr) {
        param->DisplayText(text, static_cast<int>(sizeof text));
    } else if (const char* own = control.promptText()) {
        std::strncpy(text, own, sizeof text - 1);
    }
    wchar_t wide[kTextBufferBytes] = {};
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, wide,
                            static_cast<int>(std::size(wide))) == 0)
        wide[0] = L'\0';

    const LayoutRect target = rect != nullptr ? *rect : control.targetRect();
    int left = target.left;
    int width = target.right - target.left;
    if ((flags & kFullWidth) == 0) {
        left = (target.left + target.right - kDefaultBoxWidth) / 2;
        width = kDefaultBoxWidth;
    }
    int top = target.top;
    int height = target.bottom - target.top;
    if ((flags & kFullHeight) == 0) {
        top = (target.top + target.bottom - kDefaultBoxHeight) / 2;
        height = kDefaultBoxHeight;
    }
    const TextStyle fallback = defaultPromptStyle();
    const TextStyle& used = style != nullptr ? *style : fallback;
    const int fontHeight = promptFontHeight(dpi_, used.size);
    if (dpi_ != kFullSizeDpi) {
        left = mulDiv(left, dpi_, kFullSizeDpi);
        top = mulDiv(top, dpi_, kFullSizeDpi);
        width = mulDiv(width, dpi_, kFullSizeDpi);
        height = mulDiv(height, dpi_, kFullSizeDpi);
        if ((flags & kCaretAtClick) != 0) {
            clickX = mulDiv(clickX, dpi_, kFullSizeDpi);
            clickY = mulDiv(clickY, dpi_, kFullSizeDpi);
        }
    }

    if (used.colour != 0 || background != 0) {
        textBoxTextColour_ =
            used.colour != 0 ? platformColour(used.colour) : GetSysColor(COLOR_WINDOWTEXT);
        textBoxBackground_ =
            background != 0 ? platformColour(background) : GetSysColor(COLOR_WINDOW);
        textBoxBrush_ = CreateSolidBrush(textBoxBackground_);
    }
    textBoxCommitDelay_ = commitDelayMs;
    savedKeyCatcher_ = keyCatcher();
    setKeyCatcher(-1);

    const DWORD alignment = used.alignment == kAlignCentre  ? ES_CENTER
                            : used.alignment == kAlignRight ? ES_RIGHT
                                                            : ES_LEFT;
    textBox_ = CreateWindowExW(
        0, L"EDIT", wide, kTextBoxStyle | alignment, left, top, width, height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextBoxId)), module_, nullptr);
    if (textBox_ == nullptr) {
        EditorGraphics::setKeyCatcher(savedKeyCatcher_);
        forgetTextEntry();
        return false;
    }
    SetFocus(textBox_);
    textBoxOwnProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(textBox_, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(&WinEditorGraphics::textEntryProcedure)));
    SetWindowLongPtrW(textBox_, GWLP_USERDATA, kTextBoxMarker);

    HFONT font = CreateFontA(fontHeight, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, used.faceName);
    SendMessageW(textBox_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if ((flags & kNoMargins) != 0)
        SendMessageW(textBox_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    if ((flags & kCaretAtClick) != 0) {
        // The press that opened the box lands in it, so the caret goes where the user clicked.
        ReleaseCapture();
        SendMessageW(textBox_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(clickX - left, clickY - top));
    } else {
        SendMessageW(textBox_, EM_SETSEL, 0, -1);
    }
    promptedControl_ = &control;
    promptedParameter_ = parameterIndex;
    return true;
}

LRESULT CALLBACK WinEditorGraphics::textEntryProcedure(HWND box, UINT message, WPARAM wParam,
                                                       LPARAM lParam) {
    HWND editor = GetParent(box);
    auto* self =
        editor != nullptr
            ? reinterpret_cast<WinEditorGraphics*>(GetWindowLongPtrW(editor, GWLP_USERDATA))
            : nullptr;
    if (self == nullptr || self->textBox_ != box || self->textBoxOwnProcedure_ == nullptr)
        return DefWindowProcW(box, message, wParam, lParam);
    return self->textEntryMessage(box, message, wParam, lParam);
}

LRESULT WinEditorGraphics::textEntryMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    hideTooltip();
    WNDPROC own = textBoxOwnProcedure_;
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        CallWindowProcW(own, box, EM_SETSEL, static_cast<WPARAM>(-1), 0);
        commitTextEntry(true);
        return 0;
    }
    if (message == WM_KEYDOWN && textBoxCommitDelay_ > 0) {
        SetTimer(box, kCommitTimer, static_cast<UINT>(textBoxCommitDelay_), nullptr);
    } else if (message == WM_TIMER && wParam == kCommitTimer) {
        KillTimer(box, kCommitTimer);
        commitTextEntry(false);
    }
    return CallWindowProcW(own, box, message, wParam, lParam);
}

void WinEditorGraphics::commitTextEntry(bool close) {
    if (textBox_ == nullptr) return;
    wchar_t wide[kTextBoxCharacters + 1] = {};
    GetWindowTextW(textBox_, wide, static_cast<int>(std::size(wide)));
    char text[kTextBoxCharacters * 3 + 1] = {};
    const bool converted =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, text,
                            static_cast<int>(sizeof text), nullptr, nullptr) != 0;
    EditorControl* control = promptedControl_;
    if (converted && control != nullptr) applyEnteredText(*control, promptedParameter_, text);
    if (close) closeTextEntry();
}

void WinEditorGraphics::closeTextEntry() {
    if (textBox_ != nullptr) {
        HWND box = textBox_;
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
        if (textBoxOwnProcedure_ != nullptr)
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(textBoxOwnProcedure_));
        textBox_ = nullptr;
        DestroyWindow(box);
        if (font != nullptr) DeleteObject(font);
    }
    forgetTextEntry();
}

void WinEditorGraphics::forgetTextEntry() {
    if (textBoxBrush_ != nullptr) DeleteObject(textBoxBrush_);
    textBoxBrush_ = nullptr;
    textBoxOwnProcedure_ = nullptr;
    textBoxCommitDelay_ = 0;
    const bool wasOpen = promptedControl_ != nullptr;
    promptedControl_ = nullptr;
    promptedParameter_ = -1;
    // The key catcher the box took over returns, also when the window closes under the box.
    if (wasOpen) EditorGraphics::setKeyCatcher(savedKeyCatcher_);
    savedKeyCatcher_ = -1;
}

}  // namespace corvalen::editor
