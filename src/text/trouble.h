// A run in trouble: its data file is unusable, or its results or its console
// could not be written. Such a run says why on standard error, leaves an
// earlier result file as it was and ends with its own exit status.
#pragma once

/// Puts the run in trouble and says why: printf-like, one line on the
/// console's error stream. Only the first trouble of a run is told; what
/// follows from it would only repeat it.
void trouble(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/// Whether trouble() was called since the last reset_trouble().
bool in_trouble();

/// A new run starts without trouble.
void reset_trouble();

/// Why a system call failed, for errno `err`, kNotRegularFile or kFileInUse, in Russian
/// for the common reasons and in the system's own words for the rest.
const char* system_reason(int err);
