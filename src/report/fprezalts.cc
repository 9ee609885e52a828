#include "report/fprezalts.h"

int fPRezalts(int, const float*, int, const char*, const char*, int) { return 0; }
