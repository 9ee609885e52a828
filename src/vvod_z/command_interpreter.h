// The command interpreter: the words of the character buffer applied to the
// register table as settings and components.
#pragma once

/// What sortirovka returns for a command that waits for its number.
inline constexpr int kExpectsNumber = 100;

/// Cuts `data` (with `a` stored characters, a 0 cell at index `a`) into
/// words at commas and applies each. Returns 0.
int obrabotka(const int* data, int a);

/// The keyword number 0 to 12 of the word `str` (0-terminated, last
/// character at index `aj`), or kNotKeyword when it is no keyword.
int obr_str(const int* str, int aj);

/// The keyword of number `n` (0 to 12) as the data file spells it.
const char* keyword_name(int n);

/// Reads the word `str` as a number into `*cif`.
int vvod_cifr(const int* str, int aj, float* cif);

/// Applies one word: `comm` is its keyword number or kNotKeyword for a number whose
/// value is `*cifra`; `echo` is 'Y' when the previous word left a command
/// waiting for its number. Returns 100 when a number is expected next, -1
/// when a waiting command was abandoned by a keyword, 0 otherwise.
int sortirovka(int comm, const float* cifra, int echo);

/// Puts the interpreter's state between words back to program start.
void reset_interpreter();

/// What the interpreter made of one word, for the warnings about the file.
struct WordNote {
  int first = 0;          ///< Index in the buffer of its first character.
  int comma = 0;          ///< Index of the comma that ended it (first == comma: empty).
  int command = 0;        ///< Its keyword number, or kNotKeyword.
  bool argument = false;  ///< It came while a command waited for its number.
  int result = 0;         ///< What sortirovka returned.
  /// The list slot it was appended at; kNoSlot when it was none, kSlots
  /// when it came after the last slot of the table.
  int slot = 0;
};
inline constexpr int kNoSlot = -1;

/// The words of the last obrabotka in order (at most kDataCells): sets
/// `*notes` and returns their number.
int word_notes(const WordNote** notes);
