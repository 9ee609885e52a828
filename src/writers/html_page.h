// The run as one self-contained HTML page in Russian: the settings and
// counts, the stock as a histogram with every component marked by its set,
// the sets with their sides and deviations, and the unused components.
//
// The page holds no script and refers to nothing outside itself (inline CSS
// and SVG), so that it opens offline anywhere and prints on A4; every text
// from outside (file name, path, labels) is escaped.
#pragma once

#include <string>

#include "writers/run_results.h"

/// Sets whose deviation reaches this share of the threshold stand out: they
/// barely made it, and a new measurement may move them out.
inline constexpr long double kNearThreshold = 0.9L;

/// The HTML page, whole, UTF-8.
std::string html_page(const RunResults& r);
