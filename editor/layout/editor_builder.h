// Builds the editor's controls from the layout table: one control per row, attached in the
// table's order, and the links through which the engine writes read-outs, the status text,
// the splash panel and the measurement path.
#pragma once

#include "editor/editor_graphics.h"
#include "editor/layout/control_table.h"
#include "engine/editor_links.h"
#include "engine/response_model.h"

namespace corvalen::editor {

// Editor building (the plug-in constructor, host thread). The graph views model, which must
// outlive graphics. Every control starts without its parameter's value; the plug-in gives
// the values when it takes the editor.
EditorLinks BuildLayoutControls(EditorGraphics& graphics, const ResponseModel& model,
                                const ControlTable& table = kControlTable);

// Makes the fonts the layout's text styles name available to the process.
void RegisterLayoutFonts(EditorGraphics& graphics);

}  // namespace corvalen::editor
