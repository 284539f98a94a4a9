// What the editor's window costs under this system: a tick with nothing to repaint, a tick
// while a knob is dragged, and a repaint of the whole window, each with the time spent
// putting pixels on the screen.
#pragma once

#include <cstdio>

#include "tools/host/vst_host.h"
#include "tools/host/win/editor_frame.h"

namespace corvalen::host {

// The editor is open in frame; prints one figure a line (milliseconds). Leaves the present
// record (present_probe.h) holding the drag's and the repaints' presents.
void MeasureEditor(VstHost& host, EditorFrame& frame, std::FILE* out);

}  // namespace corvalen::host
