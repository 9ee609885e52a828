// Warnings about a data file: wherever the file is read otherwise than it
// looks (a decimal comma, a misspelt keyword, a list without END, ...),
// podbor says so on the error stream. The reading itself stays as it is.
#pragma once

/// At most this many warnings are printed; one more line counts the rest.
inline constexpr int kMaxWarnings = 40;

/// Looks at the data file `name` as the reader stored it (`data`,
/// `data_origin`, `file_notes`, `a` stored characters) and as the
/// interpreter applied it (its word notes and the register table, before
/// count() rewrites the flags), and prints one line
/// "NAME:LINE:COL: предупреждение: ..." for each trap. Returns the number of
/// warnings found. `repeat_switch`: the command line asked for repeated use
/// (-1), which a FALL of the file may take back.
int data_file_warnings(const char* name, int a, bool repeat_switch = false);
