// The picture of the stock: a histogram of the component values and, on
// the same axis beneath it, every component as a mark of its set.
#pragma once

#include <string>
#include <vector>

#include "writers/run_results.h"

/// Bounds on the number of histogram bins, whatever the rule says: fewer
/// hide the shape of the stock, more leave most bins empty.
inline constexpr int kMinBins = 8;
inline constexpr int kMaxBins = 40;

/// The number of histogram bins for `values`: the Freedman-Diaconis rule,
/// or the square-root rule when the quartiles coincide, kept within
/// kMinBins to kMaxBins.
int bin_count(std::vector<float> values);

/// The stock as inline SVG (no script, no outside reference); empty when
/// there are no components.
std::string stock_chart(const RunResults& r);
