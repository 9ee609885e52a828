// The console report: the matches by rising deviation, paged.
#pragma once

#include "report/report_walk.h"

/// Prints the matches of records 0 to n on the console, pausing every ten
/// matches when fpause is nonzero, then the used and unused components;
/// `plan` as report_walk takes it.
int PRezalts(int n, const float* ttch, int N, const char* flag1, const char* flag2, int Ns,
             int fpause, const WalkPlan& plan = {});
