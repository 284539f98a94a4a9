// Host misuse through the real DLL, loaded as a DAW loads it.
#include "tests/shell/host_misuse_cases.h"
