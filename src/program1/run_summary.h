// The closing summary of a run, on standard error: what was found and where
// it was written, and whether the data file drew warnings, which at a
// terminal have scrolled away by the end of the listing.
#pragma once

#include <string>
#include <vector>

struct RunSummary {
  int sets = 0;                    ///< Matches the result file holds.
  int used = 0;                    ///< Components in them.
  int unused = 0;                  ///< Components left over.
  std::vector<std::string> files;  ///< Absolute paths of the files written.
  int warnings = 0;                ///< Warnings about the data file.
  /// The components left over still hold a set, which --most would take.
  bool more_sets = false;
  /// --most: how many sets it chose, and whether more could be.
  std::string most;
};

/// Tells the summary: at a terminal always, elsewhere only when the data
/// file drew warnings or the run is in trouble; that --most would find more
/// sets, always (then only the files it
/// wrote before the trouble, such as a result file before a console that
/// could not be written).
void tell_summary(const RunSummary& summary);
