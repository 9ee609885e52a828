// A result file on its way (Rezalts.txt, the CSV and HTML files): written
// beside its final name and put in place only once it is complete, so that
// a run in trouble never leaves a torn file nor replaces an earlier one.
#pragma once

#include <string>

#include "text/output.h"

struct NewFile {
  const char* name = nullptr;  ///< The final name.
  std::string tmp;             ///< The file being written.
  Output out;                  ///< Where the text goes.
};

/// Creates the new file for `name`, its text in Windows-1251 when `cp1251`.
/// false when it cannot be created: the run is then in trouble and says why.
bool open_new_file(const char* name, bool cp1251, NewFile* file);

/// Closes the file and puts it in place of `name`. On a failed write, close
/// or replacement the new file is removed, an earlier file of that name is
/// left as it was, the run is in trouble and says why, and the result is false.
bool close_new_file(NewFile* file);

/// open_new_file, `bytes` written as they are, close_new_file.
bool write_new_file(const char* name, const std::string& bytes);
