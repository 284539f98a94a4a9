#include <cstdlib>

#include "editor/settings_files.h"

namespace corvalen::editor {

char PathSeparator() { return '/'; }

bool EnvironmentFolder(const char* name, std::string& folder) {
    const char* value = std::getenv(name);
    folder = value != nullptr ? value : "";
    return !folder.empty();
}

}  // namespace corvalen::editor
