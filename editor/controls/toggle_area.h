// An invisible area that flips its parameter between 0 and 1 on a left press (the splash
// panel's switch). It draws nothing.
#pragma once

#include <atomic>

#include "editor/editor_control.h"

namespace corvalen::editor {

class ToggleArea : public EditorControl {
public:
    ToggleArea(int parameterIndex, const LayoutRect& target);

    // Editor thread.
    void mouseDown(int x, int y, int modifiers) override;

    void storeValue(double value) override { value_.store(value, std::memory_order_release); }
    double readValue() const override { return value_.load(std::memory_order_acquire); }
    void clampValue(double lo, double hi) override;
    LayoutRect targetRect() const override { return target_; }
    void setTargetRect(const LayoutRect& rect) override { target_ = rect; }

private:
    LayoutRect target_;
    std::atomic<double> value_{0.0};
};

}  // namespace corvalen::editor
