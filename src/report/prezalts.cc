#include "report/prezalts.h"

int PRezalts(int, const float*, int, const char*, const char*, int, int) { return 0; }
