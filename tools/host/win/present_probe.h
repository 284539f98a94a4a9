// Watches how a loaded plug-in puts its pictures on the screen: the host replaces the
// plug-in library's imports of BitBlt and StretchBlt with counting, timing wrappers, so a
// test can tell an exact copy of an update area from a stretch of a whole bitmap (and its
// stretch mode) without reading the plug-in's source.
#pragma once

namespace corvalen::host {

struct PresentRecord {
    int copies = 0;             // BitBlt calls
    int halftoneStretches = 0;  // StretchBlt with stretch mode HALFTONE
    int plainStretches = 0;     // StretchBlt with any other mode
    // The widest and the narrowest copied area, and the last stretch's source and target.
    int widestCopy = 0;
    int narrowestCopy = 0;
    int stretchSourceWidth = 0;
    int stretchSourceHeight = 0;
    int stretchTargetWidth = 0;
    int stretchTargetHeight = 0;
    double seconds = 0.0;  // spent inside the calls
};

// Patches the import table of `module` (an HMODULE); true when both calls were found.
// Process-wide and for the module's life: call it once after loading the plug-in.
bool WatchPresents(void* module);
// What the watched module did since the last reset.
PresentRecord Presents();
void ResetPresents();

}  // namespace corvalen::host
