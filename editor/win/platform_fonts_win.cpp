// Windows: embedded fonts become private fonts of the process, known to GDI by their own
// family names.
#include <windows.h>

#include "editor/platform_fonts.h"

namespace corvalen::editor {

bool installPrivateFont(int, ResourceBytes bytes) {
    if (bytes.empty() || bytes.size > MAXDWORD) return false;
    DWORD installed = 0;
    // The resource bytes stay mapped with the module; the platform copies what it needs.
    HANDLE handle = AddFontMemResourceEx(const_cast<unsigned char*>(bytes.data),
                                         static_cast<DWORD>(bytes.size), nullptr, &installed);
    return handle != nullptr && installed > 0;
}

void ensureSystemFaces() {}

}  // namespace corvalen::editor
