// The file report: the same walk written to "Rezalts.txt".
#pragma once

/// The result file, in the working directory.
inline constexpr const char* kResultFile = "Rezalts.txt";

/// Writes the matches of records 0 to n and the component lists to
/// "Rezalts.txt", replacing an earlier file only once the new one is
/// complete. Returns 0; -1 when the file could not be written (the run is
/// then in trouble, and an earlier file is left as it was).
int fPRezalts(int n, const float* ttch, int N, const char* fv1, const char* fv2, int Ns);
