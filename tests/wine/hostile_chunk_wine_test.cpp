// Hostile state chunks through the real DLL, loaded as a DAW loads it.
#include "tests/shell/hostile_chunk_cases.h"
