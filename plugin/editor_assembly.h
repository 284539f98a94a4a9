// Builds the editor around a newly constructed product: the platform's drawing host, every
// control of the layout, the links the engine writes through, and the controls given their
// parameters' values. The editor lives as long as the instance; only its window comes and
// goes.
#pragma once

namespace corvalen {

class CorrectionPlugin;

// Host thread, under the creation lock, once per instance.
void AssembleEditor(CorrectionPlugin& plugin);

}  // namespace corvalen
