#include "editor/controls/text_control.h"

#include <cstring>

#include "editor/editor_graphics.h"
#include "shell/plugin_base.h"

namespace corvalen::editor {
namespace {

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

std::size_t CopyTextCut(char* out, std::size_t capacity, const char* text) {
    if (capacity == 0) return 0;
    std::size_t length = text != nullptr ? std::strlen(text) : 0;
    if (length >= capacity) {
        length = capacity - 1;
        // Never leave half a character at the end.
        while (length > 0 && IsContinuationByte(text[length])) --length;
    }
    if (length > 0) std::memcpy(out, text, length);
    out[length] = '\0';
    return length;
}

TextControl::TextControl(const LayoutRect& rect, const TextStyle& style, const char* text)
    : EditorControl(rect), style_(style) {
    style_.cachedFont = nullptr;
    CopyTextCut(text_, kCapacity, text);
    // A text takes no input, and band numbers lie over their on/off switches, attached after
    // them: left in the hit search they would take every press meant for the switch.
    setFlagBits(kControlNoMouse);
}

void TextControl::setText(const char* text) {
    char cut[kCapacity];
    CopyTextCut(cut, kCapacity, text);
    if (std::strcmp(cut, text_) == 0) return;
    // Stored first, then marked: a paint that sees the mark finds the new text.
    std::memcpy(text_, cut, std::strlen(cut) + 1);
    markDirty(false);
}

void TextControl::copyText(char (&out)[kCapacity]) const {
    PluginBase* source = plugin();
    LockScope scope(source != nullptr ? source->Lock() : nullptr);
    std::memcpy(out, text_, std::strlen(text_) + 1);
}

void TextControl::paint(EditorGraphics& graphics) {
    char shown[kCapacity];
    copyText(shown);
    drawn_ = graphics.textExtent(style_, shown, rect());
    if (shown[0] == '\0') return;
    graphics.drawText(style_, shown, rect());
}

LayoutRect TextControl::drawnArea(EditorGraphics& graphics) {
    char shown[kCapacity];
    copyText(shown);
    return Enclosing(Enclosing(rect(), drawn_), graphics.textExtent(style_, shown, rect()));
}

void TextControl::rescale(EditorGraphics&) {
    style_.cachedFont = nullptr;
    drawn_ = LayoutRect{};  // a rescale repaints everything
}

}  // namespace corvalen::editor
