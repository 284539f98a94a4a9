// What the change handler needs from the editor's controls, as small interfaces the editor's
// control classes implement. The plug-in holds one pointer per control; each is null until the
// editor has been built, and every step that uses one is skipped while it is null.
#pragma once

#include <string>

#include "engine/engine_state.h"

namespace corvalen {

class ResponseModel;

// A text control the engine writes: a read-out or the status text.
class TextLink {
 public:
  virtual ~TextLink() = default;
  virtual const std::string& text() const = 0;
  // Stores the text and marks the control for redraw, only when it differs from the shown one.
  virtual void setText(const std::string& text) = 0;
  virtual void markDirty(bool push) = 0;
};

// A control the engine shows or hides (the splash panel).
class VisibilityLink {
 public:
  virtual ~VisibilityLink() = default;
  virtual void setHidden(bool hidden) = 0;
};

// The file button. Its path string is the plug-in's measurement path (the button edits that
// string in place), so the state chunks, the model and the handler all see one text.
class FileButtonLink {
 public:
  virtual ~FileButtonLink() = default;
  virtual std::string& path() = 0;
};

inline constexpr int kBandReadoutCount = 3 * kBandCount;  // frequency, gain and Q of each

// Every editor control the engine talks to. The editor fills this in once it has built its
// controls and hands it to CorrectionPlugin::ConnectEditorControls; a null entry is skipped.
struct EditorLinks {
  ResponseModel* graph = nullptr;  // the ResponseGraph, which is also the response model
  TextLink* bandReadouts[kBandReadoutCount] = {};  // frequency, gain, Q of band 1, band 2, ...
  TextLink* outputReadout = nullptr;
  TextLink* statusText = nullptr;
  TextLink* sampleRateReadout = nullptr;
  FileButtonLink* fileButton = nullptr;
  VisibilityLink* splashImage = nullptr;
};

}  // namespace corvalen
