#include "engine/pair_matching.h"

#include <algorithm>

#include "engine/deviation.h"
#include "engine/pair_table.h"
#include "engine/rank_index.h"
#include "engine/skip_lists.h"

namespace {

/// After this many rejected candidates a walk passes over the rest of the
/// rejected ones in runs (built on first need, once per matching).
constexpr int kLongSearch = 2;
bool skip_lists_ready = false;
/// Built on first need, once per matching; large, so not on the stack.
SkipLists skip_lists;

/// How many of a pair's two component numbers are imaginary occurrences.
int Imaginaries(const bibl& p) {
  return (p.x < 0 ? 1 : 0) + (p.y < 0 ? 1 : 0);
}

bool Disjoint(const bibl& a, const bibl& b) {
  return a.x != b.x && a.x != b.y && a.y != b.x && a.y != b.y;
}

/// The imaginary-element rule does not compare the two pairs' numbers: a
/// single component may meet a pair that holds the same component.
bool ByImaginary(const bibl& a, const bibl& b) {
  const int fusl1 = Imaginaries(a);
  const int fusl2 = Imaginaries(b);
  return fusl1 + fusl2 >= 1 && fusl1 <= 1 && fusl2 <= 1;
}

/// Settles the start pair of rank jm, record si: the first usable record of
/// a higher rank that either rule accepts becomes its partner, else it is
/// flagged kPairNoPartner. -1 when a candidate rank has no usable record.
int Partner(int nn, int jm, int si) {
  bibl& a = Mb[si];
  const bool real = Imaginaries(a) == 0;
  int refusals = 0;
  Walk walk{si, a.x, a.y};
  for (int t = jm + 1; t <= nn; ++t) {
    int ci = 0;
    const int r = poisk1(nn, t, &ci);
    if (r == -1) {
      return -1;
    }
    if (r == 1) {
      continue;
    }
    const bibl& b = Mb[ci];
    const bool imaginary = ByImaginary(a, b);
    if (imaginary) {
      a.flag = kPairByImaginary;
    }
    if (imaginary || Disjoint(a, b)) {
      a.f_de = pair_deviation(a.fc, b.fc);
      a.N_de = ci;
      return 0;
    }
    if (real && ++refusals >= kLongSearch) {
      // Rejected for a shared component: so is every candidate of two real
      // components that shares one, and with many equal values those stand
      // in long runs. Short walks are cheaper one rank at a time.
      if (!skip_lists_ready) {
        build_skip_lists(&skip_lists, nn);
        skip_lists_ready = true;
      }
      t = std::max(t, next_unskipped(skip_lists, &walk, t) - 1);
    }
  }
  a.flag = kPairNoPartner;
  return 0;
}

}  // namespace

int poisk1(int nn, int poz, int* i) {
  if (poz < 0 || poz > by_sort.n) {
    return -1;
  }
  // Flags change while matching goes on, so they are read at every call;
  // a record found but of another flag still leaves its index in *i.
  for (int k = by_sort.start[poz]; k < by_sort.start[poz + 1]; ++k) {
    const int j = by_sort.order[k];
    if (j > nn) {
      break;
    }
    *i = j;
    if (Mb[j].flag == kPairExcluded) {
      return 1;
    }
    if (Mb[j].flag == kPairOrdinary) {
      return 0;
    }
  }
  return -1;
}

int raschet_de(int nn) {
  skip_lists_ready = false;
  for (int s = 0; s <= nn; ++s) {
    int si = 0;
    const int r = poisk1(nn, s, &si);
    if (r == -1) {
      return -1;
    }
    if (r == 0 && Partner(nn, s, si) == -1) {
      return -1;
    }
  }
  return 0;
}
