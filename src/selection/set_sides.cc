#include "selection/set_sides.h"

#include <algorithm>
#include <cmath>

#include "engine/deviation.h"
#include "engine/pair_table.h"
#include "engine/rank_index.h"
#include "program1/register_table.h"

namespace {

/// The part of component number u, or false for an imaginary occurrence;
/// `*bad` is set when u names no slot a component can have.
bool PartOf(int u, int rs, Part* part, bool* bad) {
  if (u < 0) return false;
  const long k = static_cast<long>(u) - 1 - rs;
  if (k < 0 || k >= kFlagSlots) {
    *bad = true;
    return false;
  }
  *part = static_cast<Part>(k);
  return true;
}

}  // namespace

bool side_of_record(int j, int rs, Side* side) {
  const bibl& r = Mb[j];
  if (std::isnan(r.fc)) return false;
  bool bad = false;
  Part first = kNoPart;
  Part second = kNoPart;
  const bool has_first = PartOf(r.y, rs, &first, &bad);
  const bool has_second = PartOf(r.x, rs, &second, &bad);
  if (bad || (!has_first && !has_second) || (has_first && has_second && first == second)) {
    return false;
  }
  side->fc = r.fc;
  side->record = j;
  side->parts = has_first ? std::array<Part, 2>{first, second} : std::array<Part, 2>{second, first};
  return true;
}

std::vector<Side> collect_sides(int nn, int Ns, bool (*keep)(const Side&)) {
  std::vector<Side> sides;
  nn = std::min(nn, kMbSize - 1);
  if (nn < 0) return sides;
  const int rs = number_shift(Ns);
  auto add = [&](int j) {
    Side s;
    if (side_of_record(j, rs, &s) && (keep == nullptr || keep(s))) sides.push_back(s);
  };
  auto by_value = [](const Side& a, const Side& b) { return a.fc < b.fc; };
  if (by_sort.n == nn) {
    for (int k = 0; k < by_sort.start[nn + 1]; ++k)
      add(by_sort.order[k]);
    // The index may be stale (a table changed after Sort): then sort here.
    if (std::is_sorted(sides.begin(), sides.end(), by_value)) return sides;
  } else {
    for (int j = 0; j <= nn; ++j)
      add(j);
  }
  std::sort(sides.begin(), sides.end(), [](const Side& a, const Side& b) {
    return a.fc < b.fc || (a.fc == b.fc && a.record < b.record);
  });
  return sides;
}

bool sides_disjoint(const Side& a, const Side& b) {
  for (Part p : a.parts) {
    if (p != kNoPart && (p == b.parts[0] || p == b.parts[1])) return false;
  }
  return true;
}

bool within_threshold(const Side& low, const Side& high, float threshold) {
  return !deviation_stops(pair_deviation(low.fc, high.fc), threshold);
}
