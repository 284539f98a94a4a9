// Windows: resources of a given module, for tools and tests that inspect a loaded library.
#pragma once

#include <string>

#include "editor/module_resources.h"

namespace corvalen::editor {

// Any thread. Like findModuleResource, in the module whose handle is given (an HMODULE).
ResourceBytes findResourceInModule(void* module, ResourceType type, int id);

// Any thread. The face the platform really uses when asked for faceName (empty on failure):
// tells whether a private font took.
std::string platformFaceFor(const char* faceName);

}  // namespace corvalen::editor
