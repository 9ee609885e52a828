// The Windows-1251 code page, in which the program's texts are written to
// "Rezalts.txt" and to consoles that use it.
#pragma once

#include <cstddef>

/// Letters by their Windows-1251 bytes.
inline constexpr unsigned char kCp1251SmallShortI = 0xE9;    ///< й
inline constexpr unsigned char kCp1251CapitalShortI = 0xC9;  ///< Й

/// Reads one character of UTF-8 text at `*p` (before `end`), advances `*p`
/// past it and returns its Windows-1251 byte. A byte that does not start a
/// valid UTF-8 sequence passes unchanged and alone: it is taken to be
/// Windows-1251 already (a file name typed on such a console). A character
/// the code page lacks becomes '?'.
unsigned char next_cp1251(const char** p, const char* end);

/// The Unicode code point of the Windows-1251 byte `b`; 0xFFFD for the one
/// byte the code page leaves unassigned (0x98).
unsigned cp1251_code_point(unsigned char b);
