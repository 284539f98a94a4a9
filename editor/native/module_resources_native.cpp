// Native build: the resources are embedded in the program by corvalen_resources.
#include "editor/module_resources.h"
#include "resources/embedded_resources.h"

namespace corvalen::editor {

ResourceBytes findModuleResource(ResourceType type, int id) {
    const char* typeName = type == ResourceType::Png ? "PNG" : "TTF";
    const resources::EmbeddedResource found = resources::embeddedResource(typeName, id);
    return {found.data, found.size};
}

}  // namespace corvalen::editor
