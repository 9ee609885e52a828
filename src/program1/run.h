// One whole run of the program, from the switch to the key wait.
#pragma once

/// Runs the stages in their fixed order on the console of `console`.
/// Returns the exit status: 0 after a complete run, 1 when the pairs could
/// not be matched.
int run(int argc, const char* const* argv);

/// Puts every program-wide table and setting back as at program start, so
/// that run() can be called again in the same process.
void reset_run();
