// The button that loads a measurement: its release asks the user for a csv or txt file and
// keeps the chosen path; the path is the plug-in's measurement path, which the change handler,
// the state chunks and the graph read.
#pragma once

#include <string>

#include "editor/controls/momentary_button.h"
#include "engine/editor_links.h"

namespace corvalen::editor {

class FileButton : public MomentaryButton, public FileButtonLink {
public:
    // The extensions the file chooser offers.
    static constexpr const char* kExtensions = "csv txt";

    FileButton(int x, int parameterIndex, const BitmapRef& image);

    // Editor thread: value 0, the file chooser (no lock held while it is open), then under
    // the instance lock the chosen path replaces the old one (a cancelled chooser keeps it)
    // and 0 is pushed, so the handler reloads whatever the path now names.
    void mouseUp(int x, int y, int modifiers) override;

    // Instance lock held: the measurement path (UTF-8, empty when none).
    std::string& path() override { return *path_; }
    void bindPath(std::string& path) override { path_ = &path; }

private:
    // A button not yet connected to a plug-in (tests) edits a string of its own.
    std::string unboundPath_;
    std::string* path_ = &unboundPath_;
};

}  // namespace corvalen::editor
