// The command line: podbor [-1] [FILE], podbor -h|--help, podbor --version.
#pragma once

#include "text/output.h"

/// What the command line asks for.
enum class Request {
  kRun,      ///< A run.
  kHelp,     ///< The usage on standard output, status 0.
  kVersion,  ///< The version on standard output, status 0.
  kMisuse,   ///< An unknown option or a second file: the usage on standard error, status 2.
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
  /// The argument that could not be understood (kMisuse): an unknown option,
  /// or a second file when `data_file` is already taken.
  const char* misused = nullptr;
  bool second_file = false;
};

/// Reads the arguments. An argument beginning with -1 is the switch (only its
/// first two characters are tested); "--" ends the options; any other
/// argument beginning with '-' is an option that must be known.
CommandLine parse_command_line(int argc, const char* const* argv);

/// Answers a request other than a run on `out` (help, version) or `err` (a
/// misuse: the reason, then the usage). Returns the exit status.
int answer_request(const CommandLine& line, Output* out, Output* err);
