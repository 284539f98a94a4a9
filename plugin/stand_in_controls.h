// Plain controls that stand in for the editor's real ones until the layout is built: flat
// rectangles at the layout's places, bound to the same parameters and answering the mouse,
// wheel and value prompt the way the real kinds do, so the window can be driven end to end.
#pragma once

#include <string>

#include "editor/editor_control.h"
#include "engine/editor_links.h"

namespace corvalen::stand_in {

// A control with a normalised value, drawn as a flat rectangle that brightens with it.
class ValueControl : public editor::EditorControl {
public:
    ValueControl(const editor::LayoutRect& rect, int parameterIndex, std::uint32_t colour);
    void paint(editor::EditorGraphics& graphics) override;
    void storeValue(double value) override { value_ = value; }
    double readValue() const override { return value_; }

protected:
    double value_ = 0.0;
    std::uint32_t colour_;
};

// The whole layout plane in one colour.
class Background final : public editor::EditorControl {
public:
    Background();
    void paint(editor::EditorGraphics& graphics) override;
};

// A knob: vertical drag, double-click back to the value it started with, wheel steps of
// 0.01 (0.001 with Ctrl), a value prompt on the right button, arrow keys when it catches them.
class Knob final : public ValueControl {
public:
    Knob(const editor::LayoutRect& rect, int parameterIndex);
    void applyValueFromPlugin(double value) override;
    void mouseDown(int x, int y, int modifiers) override;
    void mouseDrag(int x, int y, int dx, int dy, int modifiers) override;
    void mouseDoubleClick(int x, int y, int modifiers) override;
    void mouseWheel(int x, int y, int modifiers, float delta) override;
    bool keyDown(int x, int y, int modifiers, int virtualKey) override;

private:
    void change(double value);
    double default_ = -1.0;
};

// A two-state switch: every left press flips it; a double-click is a second press.
class Switch final : public ValueControl {
public:
    Switch(const editor::LayoutRect& rect, int parameterIndex);
    void mouseDown(int x, int y, int modifiers) override;
};

// The measurement-file button: a left press asks for a csv or txt file and, when one is
// chosen, pushes its parameter so the plug-in loads it.
class FileButton final : public ValueControl, public FileButtonLink {
public:
    FileButton(const editor::LayoutRect& rect, int parameterIndex);
    void mouseDown(int x, int y, int modifiers) override;
    std::string& path() override { return path_; }

private:
    std::string path_;
};

}  // namespace corvalen::stand_in
