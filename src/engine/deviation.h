// The deviation between two pair values and the threshold that ends a report:
// what the matching, the report walk and the selection of sets all compare.
#pragma once

#include "program1/register_table.h"

/// Thresholds below this stop nothing.
inline constexpr double kNoThreshold = 0.0001;

/// The deviation in percent of the higher value `high` from the lower `low`,
/// computed in long double and rounded once.
inline float pair_deviation(float low, float high) {
  return static_cast<float>((static_cast<long double>(high) / low - 1) * kPercent);
}

/// Whether a deviation ends the report. The threshold is compared as the
/// float it is, and in double against kNoThreshold, so a threshold typed as
/// 0.0001 (a float just below) is none. A deviation that is not a number
/// never stops.
inline bool deviation_stops(float f_de, float threshold) {
  return f_de >= threshold && static_cast<double>(threshold) >= kNoThreshold;
}
