// What the program needs of the operating system beyond standard C++: the
// key wait, whether a stream is a terminal, opening a data file without
// blocking, replacing the result file in one step, and ending cleanly on a
// signal. One implementation file per platform.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

/// The reason open_regular gives for a name that opens but is no regular
/// file; errno values are all positive.
inline constexpr int kNotRegularFile = -1;

/// The reason replace_file gives on Windows when another program holds the
/// file open (kNotRegularFile - 1 is the data file reader's own).
inline constexpr int kFileInUse = kNotRegularFile - 2;

/// From here on a signal that would end the process from outside (an
/// interrupt, a quit, a termination request, a hang-up, a timer, a user
/// signal, a CPU limit) first removes an unfinished result file and puts the
/// terminal back as it was, then ends the process as the signal would have.
/// A stop during the key wait gives the terminal back as it was, and a
/// continue takes the wait up again. A reader that closes the console pipe
/// or a file size limit no longer kills the process: the write fails
/// instead. A signal the program was started to ignore stays ignored.
void handle_signals();

/// The program's arguments, `argv` of `argc` as main received them. On
/// Windows they come from the wide command line in UTF-8, as a name typed in
/// a console window does, so that a name in any script arrives whole.
std::vector<std::string> program_arguments(int argc, char** argv);

/// Waits for one new key press, showing nothing, when `in` is a terminal;
/// with a pipe or a file it takes one character or the end of input.
void wait_key(FILE* in);

/// True when `f` is a terminal (a console window on Windows) rather than a
/// pipe, a file or a device (NUL included).
bool is_terminal(FILE* f);

/// How a standard stream takes the program's texts.
enum class TextSink {
  kLocale,         ///< Bytes in the code page the locale variables name.
  kCp1251,         ///< Windows-1251 bytes, a line break one LF: a file or a pipe on Windows.
  kConsoleWindow,  ///< A Windows console window: UTF-16 through write_console.
};

/// Readies the standard stream `f` (stdout or stderr) for the program's
/// texts and says how they go there. On Windows a console window shows
/// UTF-16 correctly whatever its code page; anything else gets
/// Windows-1251, as the system has always written there, in binary mode so
/// that the text is byte for byte the one of other systems.
TextSink prepare_text_sink(FILE* f);

/// Writes the UTF-8 text `s` (`n` bytes, whole characters) to the console
/// window `f` as UTF-16; false when that failed.
bool write_console(FILE* f, const char* s, size_t n);

/// One byte of input from `in`, or EOF. A console window is read a typed
/// line at a time as UTF-16 and handed out as UTF-8, so that a name in any
/// script arrives whole; anything else gives its bytes as they come.
int read_input_byte(FILE* in);

/// Opens `name` (UTF-8 from a console window, else the bytes typed) for
/// reading in binary mode when it names a readable regular file; otherwise returns nullptr at once
/// and sets `*err` to the errno of the failure or to kNotRegularFile. A named pipe, a device or a
/// directory is no regular file and is never opened for reading, so it can neither block nor stream
/// forever.
FILE* open_regular(const char* name, int* err);

/// Creates a new, empty file beside `final_name` (same directory) for
/// writing, with the permission bits of an earlier regular file of that name
/// (never set-user-ID, set-group-ID or sticky) or else those a plain fopen
/// would give; `*tmp_name` receives its name, which a signal removes until
/// replace_file or discard_file. `*mode_err` is 0, or the errno of the look
/// at the earlier file or of the change of permissions that failed: the file
/// is made all the same. nullptr when it cannot be created; errno then says
/// why.
FILE* create_beside(const char* final_name, std::string* tmp_name, int* mode_err);

/// Flushes `f` to the disk and closes it; false when any of that failed
/// (a full disk shows here at the latest); errno then says why.
bool close_durably(FILE* f);

/// Puts the finished file `tmp_name` in the place of `final_name`, replacing
/// any earlier file of that name in one step, and makes the change durable.
/// false on failure; errno (or kFileInUse) then says why and `tmp_name` is
/// still there.
bool replace_file(const char* tmp_name, const char* final_name);

/// Removes the unfinished file `tmp_name` made by create_beside.
void discard_file(const char* tmp_name);

/// Where this system's users find the manual, in Russian and in English.
struct ManualPlace {
  const char* ru;
  const char* en;
};
ManualPlace manual_place();

/// Whether "/?" asks for the help, as it does for every program on Windows.
bool slash_question_is_help();

/// Creates the file `name` for writing only when no file of that name
/// exists (checked and created in one step, so that nothing is ever
/// overwritten); in text mode on Windows. nullptr when it cannot; errno then
/// says why (EEXIST: the file is there).
FILE* create_new_file(const char* name);
