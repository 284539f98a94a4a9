// The face names the layout asks for and the embedded fonts that stand in for them, so the
// editor looks the same on every machine. The faces are resources/fonts.txt's rows.
#pragma once

#include "resources/font_table.h"  // kEmbeddedFontFaces, written from resources/fonts.txt

namespace corvalen::editor {

// The face to ask the platform for: the embedded family for a layout face that has one,
// otherwise the name unchanged ("Arial" comes from the system). Never null.
const char* platformFaceName(const char* layoutFace);

// The embedded face carried by a font resource, or null.
const EmbeddedFontFace* embeddedFontFace(int resourceId);

}  // namespace corvalen::editor
