// The console report: the matches by rising deviation, paged.
#pragma once

/// Prints the matches of records 0 to n on the console, pausing every ten
/// matches when fpause is nonzero, then the used and unused components.
int PRezalts(int n, const float* ttch, int N, const char* fv1, const char* fv2, int Ns, int fpause);
