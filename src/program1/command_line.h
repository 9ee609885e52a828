// The command line: podbor [-1] [-m] [--csv FILE] [--html FILE] [FILE],
// podbor --import LIST [-o DATAFILE] ..., podbor -h|--help, podbor --version.
#pragma once

#include "text/output.h"
#include "writers/csv_writer.h"

/// What the command line asks for.
enum class Request {
  kRun,      ///< A run.
  kImport,   ///< A list of measured values made into a data file; no run.
  kHelp,     ///< The usage on standard output, status 0.
  kVersion,  ///< The version on standard output, status 0.
  kMisuse,   ///< An unknown option, a missing value or a second file: status 2.
};

/// What --import takes besides the list (each nullptr when not given).
struct ImportRequest {
  const char* list = nullptr;    ///< The list of measured values.
  const char* output = nullptr;  ///< -o: the new data file; nullptr: standard output.
  const char* column = nullptr;  ///< --column N|NAME.
  const char* unit = nullptr;    ///< --unit: the unit of the values written.
  const char* tch = nullptr;     ///< --tch, --znach, --otcl: the settings written.
  const char* znach = nullptr;
  const char* otcl = nullptr;
  bool parallel = false;  ///< --parallel: TIP, 2.
};

struct CommandLine {
  Request request = Request::kRun;
  /// The switch -1: components may serve in several matches.
  bool repeat = false;
  /// The switch given alone: the run first shows the argument count and the
  /// argument's first character, as it always has; nullptr otherwise.
  const char* echoed = nullptr;
  int argc = 0;  ///< The argument count, as the echo shows it.
  /// The data file named on the command line; nullptr: the user is asked.
  const char* data_file = nullptr;
  /// -m, --most: the sets are chosen so that there are as many as can be.
  bool most = false;
  const char* csv = nullptr;  ///< --csv: the sets for a spreadsheet.
  CsvFormat csv_format = CsvFormat::kSpreadsheet;
  const char* html = nullptr;  ///< --html: a picture of the stock and the sets.
  ImportRequest import;
  /// The argument that could not be understood (kMisuse), and why.
  const char* misused = nullptr;
  const char* why = nullptr;
};

/// Reads the arguments. An argument beginning with -1 is the switch (only its
/// first two characters are tested); "--" ends the options; any other
/// argument beginning with '-' is an option that must be known. An option
/// that takes a value takes the next argument, or the part after '='.
CommandLine parse_command_line(int argc, const char* const* argv);

/// Answers a request other than a run or an import on `out` (help, version)
/// or `err` (a misuse: the reason, then the usage). Returns the exit status.
int answer_request(const CommandLine& line, Output* out, Output* err);
