// The command interpreter: the words of the character buffer applied to the
// register table as settings and components.
#pragma once

/// Cuts `data` (with `a` stored characters, a 0 cell at index `a`) into
/// words at commas and applies each. Returns 0.
int obrabotka(const int* data, int a);

/// The keyword number 0 to 12 of the word `str` (0-terminated, last
/// character at index `aj`), or kNotKeyword when it is no keyword.
int obr_str(const int* str, int aj);

/// Reads the word `str` as a number into `*cif`.
int vvod_cifr(const int* str, int aj, float* cif);

/// Applies one word: `comm` is its keyword number or kNotKeyword for a number whose
/// value is `*cifra`; `echo` is 'Y' when the previous word left a command
/// waiting for its number. Returns 100 when a number is expected next, -1
/// when a waiting command was abandoned by a keyword, 0 otherwise.
int sortirovka(int comm, const float* cifra, int echo);

/// Puts the interpreter's state between words back to program start.
void reset_interpreter();

/// How many list entries were not written because the next component slot
/// was past the register table, since the last reset.
int dropped_entries();
