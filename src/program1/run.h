// One whole run of the program, from the switch to the key wait.
#pragma once

/// Runs the stages in their fixed order on the console of `console`, or
/// answers --help, --version or a bad command line. Returns the exit status:
/// 0 after a complete run (or an answer), 1 when the pairs could not be
/// matched, kTroubleStatus (2) for a bad command line, an unusable data file,
/// or results or a console that could not be written.
int run(int argc, const char* const* argv);

/// Puts every program-wide table and setting back as at program start, so
/// that run() can be called again in the same process.
void reset_run();
