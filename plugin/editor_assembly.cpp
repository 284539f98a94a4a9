#include "plugin/editor_assembly.h"

#include "engine/correction_plugin.h"

namespace corvalen {

void AssembleEditor(CorrectionPlugin& /*plugin*/) {}

}  // namespace corvalen
