// Band 12's type switch through the real DLL, loaded as a DAW loads it.
#include "tests/shell/band12_type_cases.h"
