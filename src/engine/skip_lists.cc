#include "engine/skip_lists.h"

#include <algorithm>

#include "engine/rank_index.h"

namespace {

/// A record the walk would reject: its rank and its two component numbers.
struct Skip {
  int r, j, x, y;
};

bool Real(int u) {
  return u >= 0 && u < kListedNumbers;
}

/// t itself when the list of c does not hold it, else the rank after the
/// run of consecutive ranks that holds it. `*k` is where the walk stands in
/// that list: the first entry not below the last t asked, -1 at the start.
/// A walk only goes up, so mostly no search is needed.
int AfterSeries(const SkipLists& p, int c, int* k, int t) {
  if (!Real(c)) return t;
  const int end = p.start[c + 1];
  // Mostly t is only a step or two past the entry the walk stands at.
  for (int step = 0; *k >= 0 && *k < end && p.ranks[*k] < t; ++step) {
    if (step == 4) {
      *k = -1;
      break;
    }
    ++*k;
  }
  if (*k < 0) {
    *k = static_cast<int>(std::lower_bound(p.ranks.data() + p.start[c], p.ranks.data() + end, t) -
                          p.ranks.data());
  }
  if (*k >= end || p.ranks[*k] != t) return t;
  const int last = p.run_end[*k];
  *k = last + 1;
  return p.ranks[last] + 1;
}

}  // namespace

void build_skip_lists(SkipLists* p, int nn) {
  auto& start = p->start;
  start.fill(0);
  if (nn < 0 || by_sort.n != nn) return;

  // A record of a rank qualifies when it is that rank's only record: ranks
  // from 1 on always are, rank 0 is shared by the records that are no number.
  auto record = [&](int r) {
    if (by_sort.start[r + 1] - by_sort.start[r] != 1) return -1;
    const int j = by_sort.order[by_sort.start[r]];
    const bibl& b = Mb[j];
    bool in_walk = b.flag == kPairOrdinary || b.flag == kPairExcluded;
    return (in_walk && Real(b.x) && Real(b.y) && b.x != b.y) ? j : -1;
  };

  // One pass over the ranks in order collects the qualifying records; a
  // counting sort by component number then fills every list ascending.
  static std::array<Skip, kMbSize> records;
  int m = 0;
  for (int r = 0; r <= nn; ++r) {
    const int j = record(r);
    if (j >= 0) {
      records[m++] = Skip{r, j, Mb[j].x, Mb[j].y};
      ++start[Mb[j].x + 1];
      ++start[Mb[j].y + 1];
    }
  }
  for (int c = 0; c < kListedNumbers; ++c)
    start[c + 1] += start[c];
  std::array<int, kListedNumbers> next;
  std::copy(start.begin(), start.begin() + kListedNumbers, next.begin());
  std::fill(p->own_x.begin(), p->own_x.begin() + nn + 1, -1);
  std::fill(p->own_y.begin(), p->own_y.begin() + nn + 1, -1);
  for (int k = 0; k < m; ++k) {
    const Skip& z = records[k];
    p->own_x[z.j] = next[z.x];
    p->ranks[next[z.x]++] = z.r;
    p->own_y[z.j] = next[z.y];
    p->ranks[next[z.y]++] = z.r;
  }
  for (int c = 0; c < kListedNumbers; ++c) {
    for (int k = start[c + 1] - 1; k >= start[c]; --k) {
      bool further = k + 1 < start[c + 1] && p->ranks[k + 1] == p->ranks[k] + 1;
      p->run_end[k] = further ? p->run_end[k + 1] : k;
    }
  }
}

int next_unskipped(const SkipLists& p, Walk* h, int t) {
  if (h->ka < 0 && h->kb < 0 && h->j >= 0) {  // first use: start after the start pair
    h->ka = p.own_x[h->j] >= 0 ? p.own_x[h->j] + 1 : -1;
    h->kb = p.own_y[h->j] >= 0 ? p.own_y[h->j] + 1 : -1;
  }
  // Runs of the two lists may follow one another: jump until neither holds t.
  for (;;) {
    const int t0 = t;
    t = AfterSeries(p, h->b, &h->kb, AfterSeries(p, h->a, &h->ka, t));
    if (t == t0) return t;
  }
}
