// Streams over memory for runs inside the process: the data file, the typed
// answers and the console output. Windows has no memory streams; temporary
// files stand in for them there.
#pragma once

#include <cstdio>
#include <string>

/// A new, empty temporary file open for reading and writing in binary mode,
/// removed when closed; nullptr when none can be made.
FILE* temporary_file();

/// A stream that reads `bytes`, which must outlive it.
FILE* open_reading(const std::string& bytes);

/// A stream whose text is collected in memory until close_collected.
struct Collected {
  FILE* f = nullptr;
  char* buf = nullptr;
  size_t len = 0;
};

/// Opens `c->f` for writing.
void open_collected(Collected* c);

/// Closes `c->f` and returns everything written to it.
std::string close_collected(Collected* c);
