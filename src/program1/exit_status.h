// The exit statuses of podbor, which scripts tell runs apart by.
#pragma once

/// A complete run, or a request (--help, --version) answered.
inline constexpr int kStatusComplete = 0;
/// The pairs could not be matched: no report, no result file.
inline constexpr int kStatusNoMatching = 1;
/// A run in trouble: a bad command line, an unusable data file, or results or
/// a console that could not be written. An earlier result file stays as it was.
inline constexpr int kTroubleStatus = 2;
/// A complete run whose data file drew warnings: the results may not match
/// the file as its author meant it.
inline constexpr int kStatusWarned = 3;
