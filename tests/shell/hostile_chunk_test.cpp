// Hostile state chunks with the product linked into the test.
#include "tests/shell/hostile_chunk_cases.h"
