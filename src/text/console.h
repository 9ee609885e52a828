// The console: where the user types the file name and the paging answers,
// and where every message of a run appears; with it, the few other places
// where a run meets the outside world (the data file, the result file).
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

#include "text/output.h"

/// How the user answers a paging prompt.
enum class Answers {
  kCharacter,  ///< One character per prompt: input from a pipe or a file.
  kLine,       ///< The whole line typed at a terminal.
  kNone,       ///< No wait: the keyboard is a terminal but nobody sees the prompts.
};

struct Console {
  FILE* in = stdin;
  Output out{stdout, false, false};
  /// Where podbor's own messages go (warnings, failure reasons), in the
  /// console's code page, so that `out` carries the console report and
  /// nothing else. Runs driven in-process send it to memory or nowhere.
  Output err{stderr, false, false};
  /// Whether the end of a run waits for a key; off for runs driven in-process
  /// and when the output does not reach the terminal the keys come from.
  bool pause = true;
  Answers answers = Answers::kCharacter;
  /// The error stream is a terminal: the user reads what podbor says there
  /// at the end of a run (a closing summary, the hint at the key wait).
  bool err_terminal = false;
};

/// The console of this process. main sets it up from the real streams;
/// tests and the fuzzer point it at memory.
extern Console console;

/// Points the console at standard input and output, in the code page the
/// locale variables name; how it waits depends on which of them are
/// terminals.
void console_init_std();

/// True when the first set of LC_ALL, LC_CTYPE and LANG names the
/// Windows-1251 code page; such a terminal gets raw Windows-1251 bytes.
bool locale_is_cp1251(const char* lc_all, const char* lc_ctype, const char* lang);

/// printf to the console, decimal comma, console code page.
void console_print(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/// One line on the error stream, in the console's code page: printf-like,
/// the line break added. What the console showed so far comes first, also
/// when both go to the same place. Every message of a run beyond the console
/// report (warnings, trouble, the closing summary) goes through here.
void tell(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void vtell(const char* fmt, va_list ap) __attribute__((format(printf, 1, 0)));

/// Like puts: the text and a line break.
void console_puts(const char* s);

/// One character of console input, or EOF. Whatever was printed is on the
/// screen before it waits.
int console_getc();

/// An answer line is kept up to this many bytes; the rest of it is read and
/// dropped, so that any input costs bounded memory.
inline constexpr size_t kAnswerMax = 4096;

/// The answer to a paging prompt: the line typed at a terminal, without its
/// line break, cut to kAnswerMax bytes. Whatever was printed is on the screen
/// before it waits.
std::string console_line();

/// The first character of `line`, typed in the console's code page, as its
/// Windows-1251 byte; 0 for an empty line.
unsigned char first_letter_cp1251(const std::string& line);

/// The final pause: waits for one new key press when the console is a
/// terminal, otherwise takes one character or the end of input. At a
/// terminal a hint on the error stream says so, and its line ends after the
/// key, so that the shell's prompt starts on a line of its own.
void console_pause();
