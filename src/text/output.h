// Text output in a chosen code page.
#pragma once

#include <cstdarg>
#include <cstdio>

/// An output stream: the console or "Rezalts.txt". The program's texts are
/// written in UTF-8 in the sources; a stream in Windows-1251 gets them
/// converted on the way out.
struct Output {
  FILE* f = nullptr;    ///< nullptr: the text goes nowhere, unformatted.
  bool cp1251 = false;  ///< Write Windows-1251 bytes instead of UTF-8.
  bool failed = false;  ///< A write to `f` failed; later writes still go on.
  int error = 0;        ///< errno of the first failed write.
  /// A Windows console window: the text goes as UTF-16 through write_console.
  bool console_window = false;
};

/// Writes out what `v` holds buffered, noting a failure like a failed write.
void flush_output(Output* out);

/// Whether a write to `v` failed for another reason than a reader that
/// closed the pipe early (after which the output just ends).
bool output_lost(const Output& out);

/// printf-like output with a decimal comma in every floating-point field.
void vprint(Output* out, const char* fmt, va_list ap) __attribute__((format(printf, 2, 0)));
void print(Output* out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

/// Writes `s` as it stands (no conversions), converted to the stream's code page.
void put_text(Output* out, const char* s);
