// The command `podbor --import LIST [OUT]`: reads the list, says what it
// left out, and writes the data file.
#pragma once

#include "import/import_list.h"

/// A list is read up to this many bytes; a larger one is refused, so that
/// any file costs bounded memory and time.
inline constexpr int kMaxListMebibytes = 16;
inline constexpr long kMaxListBytes = kMaxListMebibytes * 1024L * 1024;

/// The whole command: reads LIST, writes the data file to standard output
/// or to `out_path` (a new file only: an existing one is never replaced),
/// prints each warning as "LIST:LINE:COL: предупреждение: ..." on standard
/// error; returns the exit status: 0, or kTroubleStatus when the list cannot
/// be read or holds no value, an option makes no sense, or the output
/// exists or cannot be written (the reason then on standard error).
/// The console must be set up (console_init_std) before.
int import_stage(const char* list_path, const char* out_path, const ImportOptions& options);
