// A control for tests: records its paints into a shared log and can be marked dirty.
#pragma once

#include <string>
#include <vector>

#include "editor/editor_control.h"
#include "editor/editor_graphics.h"

namespace corvalen::editor::testing {

class RecordingControl : public EditorControl {
public:
    RecordingControl(const LayoutRect& rect, std::string name, std::vector<std::string>* log)
        : EditorControl(rect), name_(std::move(name)), log_(log) {}

    void paint(EditorGraphics& graphics) override {
        log_->push_back(name_);
        sawPaintRegion_ = graphics.paintRegion() != nullptr;
    }

    bool sawPaintRegion() const { return sawPaintRegion_; }

private:
    std::string name_;
    std::vector<std::string>* log_;
    bool sawPaintRegion_ = false;
};

}  // namespace corvalen::editor::testing
