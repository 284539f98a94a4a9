// Presets and state chunks through the real DLL, loaded as a DAW loads it.
#include "tests/shell/state_chunk_transfer_cases.h"
