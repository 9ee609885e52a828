// The file report: the same walk written to "Rezalts.txt".
#pragma once

#include "report/report_walk.h"

/// The result file, in the working directory.
inline constexpr const char* kResultFile = "Rezalts.txt";

/// Writes the matches of records 0 to n and the component lists to
/// "Rezalts.txt", replacing an earlier file only once the new one is
/// complete. Returns 0; -1 when the file could not be written (the run is
/// then in trouble, and an earlier file is left as it was).
/// `plan` as report_walk takes it.
int fPRezalts(int n, const float* ttch, int N, const char* flag1, const char* flag2, int Ns,
              const WalkPlan& plan = {});
