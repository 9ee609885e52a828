#include "selection/candidate_sets.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>

#include "engine/deviation.h"
#include "selection/side_pairing.h"

namespace {

/// Positions in the sides of the sides of one kind, in value order.
using SideList = std::vector<int>;

/// The sides of a set come from these two lists: the lower side from `low`,
/// the higher from `high`.
struct Pairing {
  const SideList* low;
  const SideList* high;
};

/// A side keeps at least this many partners of each kind when the windows
/// hold more than the cap.
constexpr size_t kFewestPartners = 8;
/// The sets of two single sides are all listed past the cap while they
/// take at most this part of it.
constexpr size_t kWholePairsShare = 4;
/// A cut list keeps this many sets of spare parts from the same
/// components: past the matching they serve alike.
constexpr int kSameComponents = 2;
/// The sets of spare parts are looked for among at most this many pairs of
/// sides.
constexpr size_t kSpareScan = 4000000;
constexpr int kNoSide = -1;

std::vector<Pairing> AllowedPairings(const SideList& singles, const SideList& pairs, char v1,
                                     char v2) {
  std::vector<Pairing> out;
  if (kind_counts(kSetOfPairs, v1, v2)) out.push_back({&pairs, &pairs});
  if (kind_counts(kSetWithImaginary, v1, v2)) {
    out.push_back({&singles, &singles});
    out.push_back({&singles, &pairs});
    out.push_back({&pairs, &singles});
  }
  return out;
}

/// For each side of `p.low`, the range [first, end) of `p.high` it can be
/// the lower side with. The deviation rises with the higher value when the
/// lower one is not negative, so the window ends at the first failure, and
/// these ends rise with the lower side; a negative lower value meets
/// everything above it.
struct Window {
  size_t first;
  size_t end;
};
std::vector<Window> Windows(const std::vector<Side>& sides, const Pairing& p, float threshold) {
  const SideList& low = *p.low;
  const SideList& high = *p.high;
  std::vector<Window> w(low.size());
  size_t first = 0;
  size_t end = 0;
  for (size_t i = 0; i < low.size(); ++i) {
    const int a = low[i];
    while (first < high.size() && high[first] <= a)
      ++first;
    if (sides[a].fc < 0) {
      w[i] = {first, high.size()};
      continue;
    }
    end = std::max(end, first);
    while (end < high.size() && within_threshold(sides[a], sides[high[end]], threshold))
      ++end;
    w[i] = {first, end};
  }
  return w;
}

/// The sides that some window pairs with another, as the lower side or
/// the higher.
std::vector<bool> PairedSides(size_t count, const std::vector<Pairing>& pairings,
                              const std::vector<std::vector<Window>>& windows) {
  std::vector<bool> paired(count, false);
  for (size_t k = 0; k < pairings.size(); ++k) {
    const SideList& high = *pairings[k].high;
    // Where the windows open and close along the higher list.
    std::vector<int> opened(high.size() + 1, 0);
    for (size_t i = 0; i < windows[k].size(); ++i) {
      const Window& w = windows[k][i];
      if (w.first >= w.end) continue;
      paired[(*pairings[k].low)[i]] = true;
      ++opened[w.first];
      --opened[w.end];
    }
    int open = 0;
    for (size_t j = 0; j < high.size(); ++j) {
      open += opened[j];
      if (open > 0) paired[high[j]] = true;
    }
  }
  return paired;
}

/// What a candidate's parts give the sets that cost a largest matching of
/// the sets of two single sides little (Candidate::spares and
/// Candidate::spends_matching).
struct SpareNames {
  uint32_t key = 0;
  bool spends_matching = false;
};

void Add(const std::vector<Side>& sides, int low, int high, SpareNames spares,
         std::vector<Candidate>* out) {
  const Side& a = sides[low];
  const Side& b = sides[high];
  Candidate c;
  c.low = low;
  c.high = high;
  c.f_de = pair_deviation(a.fc, b.fc);
  c.kind = set_kind(a, b);
  c.spares = spares.key;
  c.spends_matching = spares.spends_matching;
  for (Part q : {a.parts[0], a.parts[1], b.parts[0], b.parts[1]}) {
    if (q != kNoPart) c.parts[c.size++] = q;
  }
  out->push_back(c);
}

/// The nearest side of `list` below position `a` that makes a set with it,
/// or -1. Going down, values not below zero fail from the first failure on;
/// negative values, at the bottom of the list, always pass.
int NearestBelow(const std::vector<Side>& sides, const SideList& list, size_t first, int a,
                 float threshold) {
  const size_t negatives = static_cast<size_t>(
      std::partition_point(list.begin(), list.end(), [&](int s) { return sides[s].fc < 0; }) -
      list.begin());
  for (size_t j = first; j-- > 0;) {
    const Side& b = sides[list[j]];
    if (b.fc >= 0 && !within_threshold(b, sides[a], threshold)) {
      j = std::min(j, negatives);
      continue;
    }
    if (sides_disjoint(b, sides[a])) return list[j];
  }
  return -1;
}

/// Rising deviation, one that is not a number last; then by the sides.
void SortByDeviation(std::vector<Candidate>* sets) {
  constexpr int kIndexBits = 32;
  std::vector<uint64_t> keys(sets->size());
  for (size_t k = 0; k < sets->size(); ++k) {
    float v = (*sets)[k].f_de;
    uint32_t bits = std::isnan(v) ? UINT32_MAX : std::bit_cast<uint32_t>(v == 0.0f ? 0.0f : v);
    if (!std::isnan(v)) bits = (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
    keys[k] = (uint64_t{bits} << kIndexBits) | k;
  }
  std::sort(keys.begin(), keys.end());
  std::vector<Candidate> sorted(sets->size());
  for (size_t k = 0; k < keys.size(); ++k)
    sorted[k] = (*sets)[keys[k] & UINT32_MAX];
  sets->swap(sorted);
}

/// A value for each part, -1 for none.
using PerPart = std::array<int, kNoPart + 1>;
constexpr PerPart kNoneForAny = [] {
  PerPart none{};
  none.fill(-1);
  return none;
}();

/// What each part may give the sets that cost a largest matching of the
/// sets of two single sides little.
struct Spares {
  /// The component of each spare part (by its lowest part), -1 for others.
  PerPart component = kNoneForAny;
  /// For each part of a component the matching covers whole, its partner
  /// in the matching; -1 for others.
  PerPart mate = kNoneForAny;
};

/// For each part a largest matching of the sets of two single sides can
/// leave out, the component of that graph it lies in; and the matching's
/// partners in the components it covers whole. `order` holds the parts of
/// the single sides in the order of values. A set whose parts are all
/// spare, in distinct components, costs the matching nothing (the
/// components share no set of two); any other set costs it a set of two at
/// least, but two sets that each take one end of a set of the matching
/// cost it that one set between them. Where the sets of two are many, the
/// best selections are a largest matching and a few of those sets.
Spares SpareParts(const std::vector<Side>& sides, const SideList& singles,
                  const std::vector<Window>& w, const std::vector<Part>& order) {
  std::array<int, kNoPart + 1> up{};
  std::iota(up.begin(), up.end(), 0);
  auto root = [&](int p) {
    while (up[p] != p)
      p = up[p] = up[up[p]];
    return p;
  };
  std::vector<bool> linked(static_cast<size_t>(kNoPart) * kNoPart, false);
  for (size_t i = 0; i < singles.size(); ++i) {
    const Part a = sides[singles[i]].parts[0];
    for (size_t j = w[i].first; j < w[i].end; ++j) {
      const Part b = sides[singles[j]].parts[0];
      linked[a * kNoPart + b] = linked[b * kNoPart + a] = true;
      up[std::max(root(a), root(b))] = std::min(root(a), root(b));
    }
  }
  Spares spare;
  // The greedy matching in the order of values, without one part.
  auto matching = [&](int without, bool record) {
    int made = 0;
    int pending = -1;
    for (Part p : order) {
      if (p == without) continue;
      if (pending >= 0 && linked[pending * kNoPart + p]) {
        ++made;
        if (record) {
          spare.mate[p] = pending;
          spare.mate[pending] = p;
        }
        pending = -1;
      } else {
        pending = p;
      }
    }
    return made;
  };
  const int largest = matching(-1, true);
  std::vector<bool> has_spares(kNoPart, false);
  for (Part p : order) {
    if (matching(p, false) == largest) {
      spare.component[p] = root(p);
      has_spares[root(p)] = true;
    }
  }
  for (Part p : order)
    if (has_spares[root(p)]) spare.mate[p] = -1;
  return spare;
}

/// Whether side a holds spare parts of distinct components only.
bool SpareSide(const Side& a, const Spares& spare) {
  const PerPart& c = spare.component;
  return c[a.parts[0]] >= 0 &&
         (a.single() || (c[a.parts[1]] >= 0 && c[a.parts[1]] != c[a.parts[0]]));
}

/// The names of what the parts of sides a and b give, in rising order, a
/// byte each: a spare part's component (by its lowest part), a part of a
/// component the matching covers whole by itself (one such part at most);
/// or none where a part gives neither or two name the same. A set of two is
/// named only where it is a set of the matching in such a component.
SpareNames SpareKey(const Side& a, const Side& b, const Spares& spare) {
  // Names are parts plus one; no name is 0.
  std::array<uint32_t, kMaxSetParts> c{};
  int n = 0;
  SpareNames out;
  if (a.single() && b.single()) {
    if (spare.mate[a.parts[0]] != b.parts[0]) return {};
    c[n++] = a.parts[0] + 1u;
    c[n++] = b.parts[0] + 1u;
    out.spends_matching = true;
  } else {
    for (Part q : {a.parts[0], a.parts[1], b.parts[0], b.parts[1]}) {
      if (q == kNoPart) continue;
      auto named = static_cast<uint32_t>(spare.component[q] + 1);
      if (named == 0 && spare.mate[q] >= 0 && !out.spends_matching) {
        named = q + 1u;
        out.spends_matching = true;
      }
      if (named == 0 || std::find(c.begin(), c.end(), named) != c.end()) return {};
      c[n++] = named;
    }
  }
  std::sort(c.begin(), c.end());
  for (uint32_t k : c)
    out.key = (out.key << kSpareComponentBits) | k;
  return out;
}

void SplitByKind(const std::vector<Side>& sides, SideList* singles, SideList* pairs) {
  for (size_t i = 0; i < sides.size(); ++i)
    (sides[i].single() ? singles : pairs)->push_back(static_cast<int>(i));
}

}  // namespace

CandidateSets candidate_sets(const std::vector<Side>& sides, float threshold, char v1, char v2,
                             size_t cap) {
  SideList singles;
  SideList pairs;
  SplitByKind(sides, &singles, &pairs);
  const std::vector<Pairing> pairings = AllowedPairings(singles, pairs, v1, v2);
  std::vector<std::vector<Window>> windows;
  std::vector<size_t> totals;
  size_t total = 0;
  size_t lows = 0;
  for (const Pairing& p : pairings) {
    windows.push_back(Windows(sides, p, threshold));
    totals.push_back(0);
    for (const Window& w : windows.back())
      totals.back() += w.end - w.first;
    total += totals.back();
    lows += p.low->size();
  }
  CandidateSets out;
  std::vector<bool> seen(kNoPart, false);
  for (int i : singles) {
    const Part p = sides[i].parts[0];
    if (!seen[p]) out.singles.push_back(p);
    seen[p] = true;
  }
  out.complete = total <= cap;
  out.window_pairs = total;
  const std::vector<bool> paired = PairedSides(sides.size(), pairings, windows);
  out.cover = side_cover(sides, paired);
  const size_t partners =
      out.complete ? SIZE_MAX : std::max(kFewestPartners, cap / std::max<size_t>(lows, 1));
  // The sets of two single sides bound the count through a matching, which
  // needs all of them.
  auto whole = [&](size_t k) {
    return pairings[k].low == &singles && pairings[k].high == &singles &&
           totals[k] <= cap / kWholePairsShare;
  };
  out.pairs_complete = out.complete;
  // The sets that cost a largest matching of sets of two nothing are
  // marked, and a cut list keeps them past the nearest partners: where the
  // sets of two are many, the best selections are such a matching and a
  // few of these; where most components stand alone (values over decades),
  // such a matching and as many of these as the components allow.
  Spares spare;
  for (size_t k = 0; k < pairings.size(); ++k)
    if (whole(k)) spare = SpareParts(sides, singles, windows[k], out.singles);
  std::unordered_map<uint32_t, int> same_components;
  size_t extra = 0;
  size_t scan = 0;
  // The places in each list of its sides of spare parts.
  auto spare_places = [&](const SideList& list) {
    std::vector<size_t> places;
    for (size_t j = 0; j < list.size(); ++j)
      if (SpareSide(sides[list[j]], spare)) places.push_back(j);
    return places;
  };
  const std::vector<size_t> spare_singles = spare_places(singles);
  const std::vector<size_t> spare_pairs = spare_places(pairs);
  out.sets.reserve(std::min(total, cap) + 2 * sides.size());
  for (size_t k = 0; k < pairings.size(); ++k) {
    const SideList& low = *pairings[k].low;
    const SideList& high = *pairings[k].high;
    const size_t most = whole(k) ? SIZE_MAX : partners;
    if (whole(k)) out.pairs_complete = true;
    for (size_t i = 0; i < low.size(); ++i) {
      const int a = low[i];
      size_t taken = 0;
      size_t j = windows[k][i].first;
      for (; j < windows[k][i].end && taken < most; ++j) {
        if (sides_disjoint(sides[a], sides[high[j]])) {
          Add(sides, a, high[j], SpareKey(sides[a], sides[high[j]], spare), &out.sets);
          ++taken;
        }
      }
      if (!whole(k) && SpareSide(sides[a], spare)) {
        // Past the nearest partners, the sets of spare parts, from the
        // sides of spare parts only.
        const std::vector<size_t>& on = &high == &singles ? spare_singles : spare_pairs;
        for (auto at = std::lower_bound(on.begin(), on.end(), j);
             at != on.end() && *at < windows[k][i].end && extra < cap && scan < kSpareScan;
             ++at, ++scan) {
          const SpareNames names = SpareKey(sides[a], sides[high[*at]], spare);
          if (names.key != 0 && same_components[names.key]++ < kSameComponents) {
            Add(sides, a, high[*at], names, &out.sets);
            ++extra;
          }
        }
      }
      if (!out.complete) {
        // The same side as the higher one, with its nearest partner of the
        // other list below it: so no part loses the smallest set it has.
        const size_t first =
            static_cast<size_t>(std::lower_bound(high.begin(), high.end(), a) - high.begin());
        const int b = NearestBelow(sides, high, first, a, threshold);
        if (b >= 0) Add(sides, b, a, SpareKey(sides[b], sides[a], spare), &out.sets);
      }
    }
  }
  // The sets of the sides' pairing, marked as a start, listed where a cut
  // list left them out.
  if (kind_counts(kSetOfPairs, v1, v2)) {
    const std::vector<std::pair<int, int>> pairing = side_pairing(sides, paired, threshold);
    std::vector<int> partner(sides.size(), kNoSide);
    for (auto [a, b] : pairing)
      partner[a] = b;
    for (Candidate& c : out.sets) {
      if (partner[c.low] != c.high) continue;
      c.side_paired = true;
      partner[c.low] = kNoSide;
    }
    for (auto [a, b] : pairing) {
      if (partner[a] != b) continue;
      Add(sides, a, b, SpareKey(sides[a], sides[b], spare), &out.sets);
      out.sets.back().side_paired = true;
    }
  }
  SortByDeviation(&out.sets);
  return out;
}

bool SetFinder::add(const Side& b) {
  for (Recent* r : {&singles_, &pairs_}) {
    const bool single_partner = r == &singles_;
    const char kind = single_partner || b.single() ? kSetWithImaginary : kSetOfPairs;
    if (!kind_counts(kind, v1_, v2_)) continue;
    // A lower side not below zero that is too far from b is too far from
    // every later side as well.
    while (r->head < r->sides.size() && r->sides[r->head].fc >= 0 &&
           !within_threshold(r->sides[r->head], b, threshold_))
      ++r->head;
    for (size_t i = r->head; i < r->sides.size(); ++i) {
      const Side& a = r->sides[i];
      if (within_threshold(a, b, threshold_) && sides_disjoint(a, b)) return true;
    }
  }
  Recent& own = b.single() ? singles_ : pairs_;
  if (own.head > own.sides.size() / 2) {
    own.sides.erase(own.sides.begin(), own.sides.begin() + static_cast<long>(own.head));
    own.head = 0;
  }
  own.sides.push_back(b);
  return false;
}

std::vector<int> greedy_sets(const std::vector<Candidate>& sets, const std::vector<int>& order) {
  std::array<bool, kNoPart + 1> used{};
  std::vector<int> out;
  for (int c : order) {
    const Candidate& s = sets[c];
    bool free = true;
    for (int k = 0; k < s.size; ++k)
      free = free && !used[s.parts[k]];
    if (!free) continue;
    for (int k = 0; k < s.size; ++k)
      used[s.parts[k]] = true;
    out.push_back(c);
  }
  return out;
}
