// The product with stand-ins for the editor's controls plugged in where the editor plugs its
// own: the texts, the file button and the graph record what the change handler does to them.
#pragma once

#include <string>

#include "engine/correction_plugin.h"
#include "engine/editor_links.h"
#include "open_plugin.h"

namespace corvalen::testing_support {

class FakeText : public TextLink {
public:
    const char* text() const override { return text_.c_str(); }
    void setText(const char* text) override {
        if (text_ == text) return;
        text_ = text;
        ++redraws;
    }
    void markDirty(bool push) override {
        ++redraws;
        if (push) ++pushes;
    }
    std::string text_;
    int redraws = 0;
    int pushes = 0;
};

class FakeVisibility : public VisibilityLink {
public:
    void setHidden(bool on) override { hidden = on ? 1 : 0; }
    int hidden = -1;
};

class FakeFileButton : public FileButtonLink {
public:
    explicit FakeFileButton(std::string& path) : path_(path) {}
    std::string& path() override { return path_; }
    void bindPath(std::string& path) override { bound = &path; }
    std::string& path_;
    std::string* bound = nullptr;
};

class CountingGraph : public RedrawLink {
public:
    void markDirty(bool) override { ++redraws; }
    int redraws = 0;
};

// The plug-in with stand-ins for the editor's controls plugged in where the editor will.
class LinkedPlugin : public CorrectionPlugin {
public:
    LinkedPlugin() : CorrectionPlugin(&SilentHost), button_(measurementPath_) {
        EditorLinks links;
        links.graph = &graph_;
        for (int i = 0; i < kBandReadoutCount; ++i) links.bandReadouts[i] = &bandTexts[i];
        links.outputReadout = &output;
        links.statusText = &status;
        links.sampleRateReadout = &sampleRate;
        links.fileButton = &button_;
        links.splashImage = &splash;
        ConnectEditorControls(links);
    }
    CountingGraph& graph() { return graph_; }
    std::string& path() { return measurementPath_; }

    FakeText bandTexts[kBandReadoutCount], output, status, sampleRate;
    FakeVisibility splash;

private:
    CountingGraph graph_;
    FakeFileButton button_;
};

}  // namespace corvalen::testing_support
