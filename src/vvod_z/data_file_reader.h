// The data file reader: the file-name dialogue, and the data file read
// through the comment and character filters into the character buffer.
#pragma once

#include <array>
#include <cstdio>

#include "vvod_z/data_cells.h"

/// The character buffer: the stored characters, one per cell, then a 0 cell.
/// One cell more than the limit, so that a file whose last byte is its
/// 3000th stored character still has room for the terminator.
extern std::array<int, kDataCells + 1> data;

/// What the filters dropped between a stored character and the stored
/// character before it (bits of CharOrigin::gap).
inline constexpr unsigned char kGapBlank = 1;      ///< Spaces, tabs, form feeds.
inline constexpr unsigned char kGapLineBreak = 2;  ///< A line feed.
/// Bytes the character filter drops that are no layout: signs,
/// punctuation, letters of other alphabets.
inline constexpr unsigned char kGapDropped = 4;
inline constexpr unsigned char kGapComment = 8;
/// Text that a lone '/' took out of the file.
inline constexpr unsigned char kGapSwallowed = 16;
/// A carriage return: with a line feed the end of a line, alone a line
/// break that editors show and the reader does not count.
inline constexpr unsigned char kGapCarriageReturn = 32;

/// Where a stored character stands in the file, and what the filters
/// dropped right before it: what the warnings point at.
struct CharOrigin {
  int line = 0;  ///< From 1.
  int col = 0;   ///< From 1, in characters (a UTF-8 sequence counts once).
  unsigned char gap = 0;
  /// The last byte of the gap that counts as kGapDropped; 0 for none.
  unsigned char dropped = 0;
};

/// The origin of every cell of `data`; the terminator's entry is the end of
/// the file, with the gap after the last stored character.
extern std::array<CharOrigin, kDataCells + 1> data_origin;

/// At most this many stretches taken out by a lone '/' are noted.
inline constexpr int kSwallowNotes = 16;

/// What the reader saw of the file beyond the characters it stored.
struct FileNotes {
  long bytes = 0;
  long nul_bytes = 0;
  /// The file begins with a UTF-16 byte order mark (Notepad's "Unicode").
  bool utf16 = false;
  /// A stretch that a lone '/' took out: where the slash stands, and the
  /// line where the reading went on (0: never, up to the end of the file).
  struct Swallow {
    int line = 0;
    int col = 0;
    int end_line = 0;
  };
  std::array<Swallow, kSwallowNotes> swallows;
  int swallow_count = 0;  ///< All of them, also those beyond kSwallowNotes.
};
extern FileNotes file_notes;

/// Empties the character buffer and what the reader noted, as at program
/// start.
void reset_data();

/// A file name is read up to this many bytes; a name that long is refused,
/// so that any console input costs bounded memory.
inline constexpr int kNameMax = 4096;

/// Asks for the data file's name, reads the file into `data` and has the
/// interpreter apply it to the register table. A name given on the command
/// line (`named`) is taken instead of one typed: the prompt still shows, and
/// nothing is read from the console. Returns the number of characters stored
/// (the interpreter's words end at it); -1 when the file cannot be opened or
/// is too large (the register table is then untouched). A file that cannot be
/// used puts the run in trouble.
int vvodz(const char* named = nullptr);

/// The name of the data file as the user gave it, once vvodz has read it.
const char* data_file_name();

/// Reads the open data file `in` to its end through the comment filter and
/// the character filter into `data`, and puts the terminator after the last
/// stored character. Returns the number of stored characters and sets
/// `*words` to the word count (stored commas plus one). Returns -1 as soon as
/// a byte arrives while kDataCells characters are stored: the file is too
/// large, nothing after that byte is read and no terminator is put.
int read_data_file(FILE* in, int* words);
