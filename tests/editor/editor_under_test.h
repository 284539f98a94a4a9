// The product with a small editor of real controls, attached the way the composition root
// attaches the real one: the controls are built, the engine's links connected, the editor
// handed to the plug-in (which gives every control its parameter's value), then the host opens
// the effect. The host records the automation it receives; the drawing host answers file and
// value prompts from a script.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor_graphics.h"
#include "engine/correction_plugin.h"
#include "shell/plugin_editor.h"
#include "shell/vst2_abi.h"

namespace corvalen::editor::testing {

struct Automation {
    int index;
    double value;
};

// An edit call as the host heard it: audioMasterBeginEdit, audioMasterAutomate or
// audioMasterEndEdit, for the parameter at index.
struct EditCall {
    int opcode;
    int index;
};

// What the host heard, shared by every plug-in the test makes (host callbacks carry no
// context of their own).
class HostLog {
public:
    static HostLog& instance() {
        static HostLog log;
        return log;
    }
    void record(int index, double value) {
        count_.fetch_add(1, std::memory_order_relaxed);
        if (!keep_.load(std::memory_order_relaxed)) return;
        std::lock_guard<std::mutex> hold(lock_);
        entries_.push_back({index, value});
    }
    void recordEdit(int opcode, int index) {
        if (!keep_.load(std::memory_order_relaxed)) return;
        std::lock_guard<std::mutex> hold(lock_);
        edits_.push_back({opcode, index});
    }
    // Starts a fresh record; keep = false only counts (the stress test).
    void reset(bool keep = true) {
        std::lock_guard<std::mutex> hold(lock_);
        entries_.clear();
        edits_.clear();
        keep_.store(keep);
        count_.store(0);
    }
    std::vector<Automation> entries() const {
        std::lock_guard<std::mutex> hold(lock_);
        return entries_;
    }
    // Gestures and automation in the order they came.
    std::vector<EditCall> edits() const {
        std::lock_guard<std::mutex> hold(lock_);
        return edits_;
    }
    int count() const { return count_.load(); }

private:
    mutable std::mutex lock_;
    std::vector<Automation> entries_;
    std::vector<EditCall> edits_;
    std::atomic<bool> keep_{true};
    std::atomic<int> count_{0};
};

inline intptr_t RecordingHost(EffectRecord*, int32_t opcode, int32_t index, intptr_t, void*,
                              float value) {
    if (opcode == vst2::audioMasterAutomate) HostLog::instance().record(index, value);
    if (opcode == vst2::audioMasterAutomate || opcode == vst2::audioMasterBeginEdit ||
        opcode == vst2::audioMasterEndEdit)
        HostLog::instance().recordEdit(opcode, index);
    return 0;
}

// A drawing host whose file chooser and value prompt follow the test.
class ScriptedGraphics : public EditorGraphics {
public:
    struct PromptRequest {
        EditorControl* control;
        int parameterIndex;
        bool hasRect;
        LayoutRect rect;
    };

    // Each call takes the next answer; an empty answer is a cancelled chooser.
    std::deque<std::string> fileAnswers;
    std::vector<std::pair<int, std::string>> fileRequests;  // mode, extensions
    std::vector<PromptRequest> prompts;

    bool promptForFile(std::string& path, int mode, const char*, const char* extensions) override {
        fileRequests.emplace_back(mode, extensions != nullptr ? extensions : "");
        path.clear();
        if (fileAnswers.empty()) return false;
        path = fileAnswers.front();
        fileAnswers.pop_front();
        return !path.empty();
    }
    bool openTextEntry(EditorControl& control, int parameterIndex, const LayoutRect* rect, int,
                       const TextStyle*, std::uint32_t, int, int, int) override {
        prompts.push_back(
            {&control, parameterIndex, rect != nullptr, rect != nullptr ? *rect : LayoutRect{}});
        return true;
    }
};

// The shell's view of the editor: parameter values reach every control bound to them.
class GraphicsEditor : public PluginEditor {
public:
    explicit GraphicsEditor(std::unique_ptr<ScriptedGraphics> graphics)
        : graphics_(std::move(graphics)) {}
    int Width() const override {
        return EditorGraphics::kLayoutWidth >> graphics_->effectiveShift();
    }
    int Height() const override {
        return EditorGraphics::kLayoutHeight >> graphics_->effectiveShift();
    }
    bool OpenWindow(void*) override { return false; }
    void CloseWindow() override {}
    void SetControlsForParameter(int index, double normalised) override {
        for (const auto& control : graphics_->controls()) {
            if (control->parameterIndex() == index) control->applyValueFromPlugin(normalised);
        }
    }
    int KeyControlIndex() const override { return -1; }
    int OnKey(int, int, bool) override { return 0; }
    int OnHostWheel(float) override { return 0; }
    void StopWheelGestureCountdown() override {}
    void SetScale(int shift) override { graphics_->applyScale(shift); }

private:
    std::unique_ptr<ScriptedGraphics> graphics_;
};

// Build with add(), then finish(links) once every control is attached.
class EditorUnderTest {
public:
    EditorUnderTest() : plugin(std::make_unique<CorrectionPlugin>(&RecordingHost)) {
        auto owned = std::make_unique<ScriptedGraphics>();
        graphics = owned.get();
        graphics->setPlugin(plugin.get());
        graphics->applyScale(1);
        pending_ = std::move(owned);
    }

    template <class Control, class... Args>
    Control* add(Args&&... args) {
        auto control = std::make_unique<Control>(std::forward<Args>(args)...);
        return static_cast<Control*>(graphics->attach(std::move(control)));
    }

    // Connects the links, hands the editor over, opens the effect at 48 kHz.
    void finish(const EditorLinks& links) {
        plugin->ConnectEditorControls(links);
        plugin->AttachEditor(std::make_unique<GraphicsEditor>(std::move(pending_)));
        dispatch(vst2::effOpen, 0, 0);
        dispatch(vst2::effSetSampleRate, 0, 0, 48000.0f);
        dispatch(vst2::effSetBlockSize, 0, 256);
        HostLog::instance().reset();
    }

    // Through the record, as a host calls: the callbacks take the instance lock.
    intptr_t dispatch(int32_t opcode, int32_t index, intptr_t value, float opt = 0.0f,
                      void* ptr = nullptr) {
        EffectRecord* record = plugin->Record();
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }
    void setParameter(int index, float normalised) {
        EffectRecord* record = plugin->Record();
        record->setParameter(record, index, normalised);
    }
    // A parameter given its exact natural value, then the change handler, under the lock.
    void setNatural(int index, double value) {
        LockScope hold(plugin->Lock());
        plugin->Param(index)->SetValue(value);
        plugin->OnParamChange(index);
    }

    std::unique_ptr<CorrectionPlugin> plugin;
    ScriptedGraphics* graphics = nullptr;

private:
    std::unique_ptr<ScriptedGraphics> pending_;
};

}  // namespace corvalen::editor::testing
