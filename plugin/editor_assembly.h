// Builds the editor around a newly constructed product: the platform's drawing host, every
// control of the layout, the links the engine writes through, and the controls given their
// parameters' values. The editor lives as long as the instance; only its window comes and
// goes.
#pragma once

namespace corvalen {

class CorrectionPlugin;
class PluginBase;

namespace editor {
class EditorGraphics;
}

// Host thread, under the creation lock, once per instance.
void AssembleEditor(CorrectionPlugin& plugin);

// The drawing host of an editor AssembleEditor made, or null (tools and tests draw with it).
editor::EditorGraphics* AssembledEditorGraphics(const PluginBase& plugin);

}  // namespace corvalen
