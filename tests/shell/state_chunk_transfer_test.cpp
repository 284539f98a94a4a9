// Presets and state chunks with the product linked into the test.
#include "tests/shell/state_chunk_transfer_cases.h"
