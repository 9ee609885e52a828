// The executable at a keyboard: a pseudo-terminal of its own that the tests
// type at and read, with every wait bounded. POSIX only.
#pragma once

#ifndef _WIN32

#include <string>

#include "support/test_util.h"

/// podbor started as `how` says on a new pseudo-terminal, its controlling
/// terminal; standard output on `how.out` when given, else the terminal.
/// The object closes both sides and ends a run still going.
struct PseudoTerminal {
  PseudoTerminal(const std::string& dir, const Invocation& how = {});
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  /// Types `keys`; false when they could not all be written.
  bool type(const std::string& keys);
  /// Reads the screen until `what` has appeared since the start; false when
  /// it does not within a generous while (a hang, not a measurement).
  bool read_until(const std::string& what);
  /// Reads the screen until the run has ended; with `press_key`, presses a
  /// key once the terminal leaves line mode (the final key wait).
  void read_to_end(bool press_key);
  /// Waits until the terminal's echo is `on`; false when it does not within
  /// a generous while.
  bool wait_for_echo(bool on);
  /// Sends `sig` (0: none) and waits for the run; its wait status.
  int end_with(int sig = 0);

  int master = -1;     ///< The keyboard and screen side.
  int slave = -1;      ///< The run's side, for its terminal modes.
  int pid = -1;        ///< The run; -1 when it could not start.
  std::string screen;  ///< What the terminal has shown so far.

 private:
  /// Reads what is there within `ms` milliseconds; false when nothing came.
  bool ReadSome(int ms);
  /// Whether the run has ended (waited for without blocking).
  bool Ended();
  bool ended_ = false;
  int status_ = 0;
};

#endif  // _WIN32
