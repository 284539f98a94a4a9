// What the change handler needs from the editor's controls, as small interfaces the editor's
// control classes implement. The plug-in holds one pointer per control; each is null until the
// editor has been built, and every step that uses one is skipped while it is null.
#pragma once

#include <cstddef>
#include <string>

#include "engine/engine_state.h"

namespace corvalen {

// Bytes a linked text holds, its terminating zero included. Longer texts are cut at a
// character boundary (the status line shows a path, which may be long).
inline constexpr std::size_t kLinkTextCapacity = 512;

// A text control the engine writes: a read-out or the status text. The engine writes it from
// any host thread, the audio thread included, always under the instance lock: nothing here
// allocates, and the editor paints from a copy it takes under the same lock.
class TextLink {
public:
    virtual ~TextLink() = default;
    // Instance lock held: the stored text (UTF-8), never null.
    virtual const char* text() const = 0;
    // Instance lock held: stores the text (cut to kLinkTextCapacity) and marks the control for
    // redraw, only when it differs from the stored one.
    virtual void setText(const char* text) = 0;
    virtual void markDirty(bool push) = 0;
};

// A control the engine only asks to redraw: the response graph, after a change to anything it
// shows (bands, band switches, layers, reference level, measurement, bypass).
class RedrawLink {
public:
    virtual ~RedrawLink() = default;
    // Any thread, instance lock held.
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
    // Instance lock held: the string the button edits.
    virtual std::string& path() = 0;
    // Once, when the engine connects the editor: from here the button edits the plug-in's own
    // string and keeps no copy, so a chosen file outlives the editor and no reader goes stale.
    virtual void bindPath(std::string& path) = 0;
};

inline constexpr int kBandReadoutCount = kValuesPerBand * kBandCount;

// Every editor control the engine talks to. The editor fills this in once it has built its
// controls and hands it to CorrectionPlugin::ConnectEditorControls; a null entry is skipped.
struct EditorLinks {
    RedrawLink* graph = nullptr;  // the response graph, which views the plug-in's ResponseModel
    TextLink* bandReadouts[kBandReadoutCount] = {};  // frequency, gain, Q of band 1, band 2, ...
    TextLink* outputReadout = nullptr;
    TextLink* statusText = nullptr;
    TextLink* sampleRateReadout = nullptr;
    FileButtonLink* fileButton = nullptr;
    VisibilityLink* splashImage = nullptr;
};

}  // namespace corvalen
