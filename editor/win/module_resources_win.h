// Windows: resources of a given module, for tools and tests that inspect a loaded library.
#pragma once

#include <string>

#include "editor/module_resources.h"

namespace corvalen::editor {

// The module this code is linked into (an HMODULE): the plug-in library inside a host, the
// executable in tests. Its handle owns the editor's window class.
void* ownModuleHandle();

// Any thread. Like findModuleResource, in the module whose handle is given (an HMODULE).
ResourceBytes findResourceInModule(void* module, ResourceType type, int id);

// Any thread. Maps a library for reading its resources only (none of its code runs); null
// when it cannot be loaded. Release it with releaseResourceModule.
void* loadResourceModule(const char* path);
void releaseResourceModule(void* module);

// Any thread. The face the platform really uses when asked for faceName (empty on failure):
// tells whether a private font took.
std::string platformFaceFor(const char* faceName);

}  // namespace corvalen::editor
