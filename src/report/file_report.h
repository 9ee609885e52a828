// The file report: the same walk written to "Rezalts.txt".
#pragma once

#include <cstdio>
#include <string>

/// The result file, in the working directory.
inline constexpr const char* kResultFile = "Rezalts.txt";

/// Where the result file goes: kResultFile, as always for the program
/// itself; runs driven in-process put it elsewhere.
extern const char* result_file_name;

/// Writes the matches of records 0 to n and the component lists to
/// "Rezalts.txt", replacing an earlier file only once the new one is
/// complete. Returns 0; -1 when the file could not be written (the run is
/// then in trouble, and an earlier file is left as it was).
int fPRezalts(int n, const float* ttch, int N, const char* fv1, const char* fv2, int Ns);

/// fPRezalts once the new file `f`, named `tmp_name`, is open beside
/// "Rezalts.txt": writes the report into it, closes it and puts it in place
/// of "Rezalts.txt". On a failed write, close or replacement removes the new
/// file, puts the run in trouble and returns -1. Separate so that the tests can
/// hand it a file that fails (a full disk).
int write_result_file(FILE* f, const std::string& tmp_name, int n, const float* ttch, int N,
                      const char* fv1, const char* fv2, int Ns);
