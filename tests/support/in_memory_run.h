// A whole run inside this process, on data file bytes in memory: for tests
// and the fuzzer, which run the program thousands of times in one process.
#pragma once

#include <string>

/// Resets every table and setting, then runs the program's stages with the
/// console in memory: `answers` is what the user types (the file name line
/// first; the name itself is not looked at), the data file holds `bytes`.
/// The result file goes to `result_file` (nullptr: "Rezalts.txt" in the working
/// directory). Returns the exit status; `*console_text` receives the console
/// output and `*error_text` what went to the error stream (both UTF-8).
int in_memory_run(const std::string& bytes, const std::string& answers, std::string* console_text,
                  const char* arg = nullptr, const char* result_file = nullptr,
                  std::string* error_text = nullptr);
