// Making fonts available to the platform's text rendering for this process only.
#pragma once

#include "editor/module_resources.h"

namespace corvalen::editor {

// Any thread; the caller holds the font lock. Hands the bytes of TrueType resource id to
// the platform as a private font of this process (Windows: AddFontMemResourceEx; natively
// the FreeType registry, under the family editor/font_faces.h names). The bytes must
// outlive the process's use of the font. False when the platform refuses them.
bool installPrivateFont(int resourceId, ResourceBytes bytes);

// Any thread, idempotent. Makes the faces the platform normally supplies available: a
// no-op on Windows; natively registers "Arial" from Liberation Sans.
void ensureSystemFaces();

}  // namespace corvalen::editor
