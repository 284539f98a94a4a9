// A text in a rectangle, drawn in its style: band numbers, the value read-outs, the status line.
// The engine writes the read-outs from any host thread, the audio thread included, so the text
// lives in a fixed buffer: setting it never allocates, and the editor paints from a copy taken
// under the instance lock.
#pragma once

#include <cstddef>

#include "editor/editor_control.h"
#include "editor/text_style.h"
#include "engine/editor_links.h"

namespace corvalen::editor {

class TextControl : public EditorControl, public TextLink {
public:
    // Bytes of text kept, the terminating zero included; longer texts are cut at a character
    // boundary.
    static constexpr std::size_t kCapacity = kLinkTextCapacity;

    TextControl(const LayoutRect& rect, const TextStyle& style, const char* text = "");

    // Editor thread: copies the text under the instance lock, then draws it (an empty text
    // draws nothing).
    void paint(EditorGraphics& graphics) override;
    // Editor thread: the rect together with the text's extent, both the one drawn last and
    // the one the current text will take (a read-out may be wider than its box).
    LayoutRect drawnArea(EditorGraphics& graphics) override;
    // The cached font belongs to the old scale.
    void rescale(EditorGraphics& graphics) override;

    // Instance lock held (or no other thread yet): the text as stored.
    const char* text() const override { return text_; }
    // Instance lock held (or no other thread yet): stores the text and marks the control for
    // drawing, only when it differs from the stored one.
    void setText(const char* text) override;
    void markDirty(bool push) override { EditorControl::markDirty(push); }

    // Editor thread: a copy of the text taken under the instance lock.
    void copyText(char (&out)[kCapacity]) const;
    const TextStyle& style() const { return style_; }

private:
    TextStyle style_;
    char text_[kCapacity] = {};
    LayoutRect drawn_;  // the extent of the last text drawn; empty when none
};

// Copies text into out (capacity bytes, zero included), cut at a UTF-8 character boundary;
// returns the bytes copied before the zero.
std::size_t CopyTextCut(char* out, std::size_t capacity, const char* text);

}  // namespace corvalen::editor
