// Band 12's type switch with the product linked into the test.
#include "tests/shell/band12_type_cases.h"
