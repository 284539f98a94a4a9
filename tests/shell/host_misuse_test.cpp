// Host misuse with the product linked into the test.
#include "tests/shell/host_misuse_cases.h"
