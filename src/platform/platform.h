// What the program needs of the operating system beyond standard C++: the
// key wait, whether a stream is a terminal, opening a data file without
// blocking, and replacing the result file in one step. One implementation
// file per platform.
#pragma once

#include <cstdio>
#include <string>

/// Waits for one new key press, showing nothing, when `in` is a terminal;
/// with a pipe or a file it takes one character or the end of input.
void wait_key(FILE* in);

/// True when `f` is a terminal (a console window on Windows) rather than a
/// pipe, a file or a device.
bool is_terminal(FILE* f);

/// Opens `name` for reading in binary mode when it names a readable regular
/// file; otherwise returns nullptr at once. A named pipe, a device or a
/// directory is no regular file and is never opened for reading, so it can
/// neither block nor stream forever.
FILE* open_regular(const char* name);

/// Creates a new, empty file beside `final_name` (same directory) for
/// writing; `*tmp_name` receives its name. nullptr when it cannot be created.
FILE* create_beside(const char* final_name, std::string* tmp_name);

/// Flushes `f` to the disk and closes it; false when any of that failed
/// (a full disk shows here at the latest).
bool close_durably(FILE* f);

/// Puts the finished file `tmp_name` in the place of `final_name`, replacing
/// any earlier file of that name in one step. false on failure.
bool replace_file(const char* tmp_name, const char* final_name);
