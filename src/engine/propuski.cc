#include "engine/propuski.h"

#include <algorithm>

#include "engine/rank_index.h"

Propuski propuski;

namespace {

/// A record the walk would reject: its rank and its two component numbers.
struct Propusk {
  int r, x, y;
};

bool Realnyi(int u) {
  return u >= 0 && u < kNomera;
}

/// t itself when the list of c does not hold it, else the rank after the
/// run of consecutive ranks that holds it. `*k` is where the walk stands in
/// that list: the first entry not below the last t asked, -1 at the start.
/// A walk only goes up, so mostly no search is needed.
int ZaSeriei(const Propuski& p, int c, int* k, int t) {
  if (!Realnyi(c)) return t;
  const int end = p.start[c + 1];
  if (*k < 0 || (*k < end && p.rang[*k] < t)) {
    const int from = *k < 0 ? p.start[c] : *k;
    *k = static_cast<int>(std::lower_bound(p.rang.data() + from, p.rang.data() + end, t) -
                          p.rang.data());
  }
  if (*k >= end || p.rang[*k] != t) return t;
  const int last = p.konec[*k];
  *k = last + 1;
  return p.rang[last] + 1;
}

}  // namespace

void build_propuski(Propuski* p, int nn) {
  auto& start = p->start;
  start.fill(0);
  if (nn < 0 || po_sort.n != nn) return;

  // A record of a rank qualifies when it is that rank's only record: ranks
  // from 1 on always are, rank 0 is shared by the records that are no number.
  auto zapis = [&](int r) {
    if (po_sort.start[r + 1] - po_sort.start[r] != 1) return -1;
    const int j = po_sort.order[po_sort.start[r]];
    const bibl& b = Mb[j];
    bool v_khod = b.flag == 'Y' || b.flag == 'N';
    return (v_khod && Realnyi(b.x) && Realnyi(b.y) && b.x != b.y) ? j : -1;
  };

  // One pass over the ranks in order collects the qualifying records; a
  // counting sort by component number then fills every list ascending.
  static std::array<Propusk, kMbSize> zapisi;
  int m = 0;
  for (int r = 0; r <= nn; ++r) {
    const int j = zapis(r);
    if (j >= 0) {
      zapisi[m++] = Propusk{r, Mb[j].x, Mb[j].y};
      ++start[Mb[j].x + 1];
      ++start[Mb[j].y + 1];
    }
  }
  for (int c = 0; c < kNomera; ++c)
    start[c + 1] += start[c];
  std::array<int, kNomera> next;
  std::copy(start.begin(), start.begin() + kNomera, next.begin());
  for (int k = 0; k < m; ++k) {
    p->rang[next[zapisi[k].x]++] = zapisi[k].r;
    p->rang[next[zapisi[k].y]++] = zapisi[k].r;
  }
  for (int c = 0; c < kNomera; ++c) {
    for (int k = start[c + 1] - 1; k >= start[c]; --k) {
      bool dalshe = k + 1 < start[c + 1] && p->rang[k + 1] == p->rang[k] + 1;
      p->konec[k] = dalshe ? p->konec[k + 1] : k;
    }
  }
}

int mimo(const Propuski& p, Khod* h, int t) {
  // Runs of the two lists may follow one another: jump until neither holds t.
  for (;;) {
    const int t0 = t;
    t = ZaSeriei(p, h->b, &h->kb, ZaSeriei(p, h->a, &h->ka, t));
    if (t == t0) return t;
  }
}
