// The data file reader: the file-name dialogue, and the data file read
// through the comment and character filters into the character buffer.
#pragma once

#include <array>
#include <cstdio>

/// At most this many characters of a data file are stored.
inline constexpr int kDataCells = 3000;

/// The character buffer: the stored characters, one per cell, then a 0 cell.
/// One cell more than the limit, so that a file whose last byte is its
/// 3000th stored character still has room for the terminator.
extern std::array<int, kDataCells + 1> data;

/// Empties the character buffer, as at program start.
void reset_data();

/// A file name is read up to this many bytes; a name that long is refused,
/// so that any console input costs bounded memory.
inline constexpr int kNameMax = 4096;

/// Asks for the data file's name, reads the file into `data` and has the
/// interpreter apply it to the register table. A name given on the command
/// line (`named`) is taken instead of one typed: the prompt still shows, and
/// nothing is read from the console. Returns 1 when the file cannot be opened
/// or is too large (the register table is then untouched), 0 otherwise. A
/// file that cannot be used puts the run in trouble.
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
