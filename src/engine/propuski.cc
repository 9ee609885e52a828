#include "engine/propuski.h"

#include <algorithm>

#include "engine/rank_index.h"

Propuski propuski;

namespace {

/// A record the walk would reject: its rank and its two component numbers.
struct Propusk {
  int r, j, x, y;
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
  // Mostly t is only a step or two past the entry the walk stands at.
  for (int shag = 0; *k >= 0 && *k < end && p.rang[*k] < t; ++shag) {
    if (shag == 4) {
      *k = -1;
      break;
    }
    ++*k;
  }
  if (*k < 0) {
    *k = static_cast<int>(std::lower_bound(p.rang.data() + p.start[c], p.rang.data() + end, t) -
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
      zapisi[m++] = Propusk{r, j, Mb[j].x, Mb[j].y};
      ++start[Mb[j].x + 1];
      ++start[Mb[j].y + 1];
    }
  }
  for (int c = 0; c < kNomera; ++c)
    start[c + 1] += start[c];
  std::array<int, kNomera> next;
  std::copy(start.begin(), start.begin() + kNomera, next.begin());
  std::fill(p->mesto_x.begin(), p->mesto_x.begin() + nn + 1, -1);
  std::fill(p->mesto_y.begin(), p->mesto_y.begin() + nn + 1, -1);
  for (int k = 0; k < m; ++k) {
    const Propusk& z = zapisi[k];
    p->mesto_x[z.j] = next[z.x];
    p->rang[next[z.x]++] = z.r;
    p->mesto_y[z.j] = next[z.y];
    p->rang[next[z.y]++] = z.r;
  }
  for (int c = 0; c < kNomera; ++c) {
    for (int k = start[c + 1] - 1; k >= start[c]; --k) {
      bool dalshe = k + 1 < start[c + 1] && p->rang[k + 1] == p->rang[k] + 1;
      p->konec[k] = dalshe ? p->konec[k + 1] : k;
    }
  }
}

int mimo(const Propuski& p, Khod* h, int t) {
  if (h->ka < 0 && h->kb < 0 && h->j >= 0) {  // first use: start after the start pair
    h->ka = p.mesto_x[h->j] >= 0 ? p.mesto_x[h->j] + 1 : -1;
    h->kb = p.mesto_y[h->j] >= 0 ? p.mesto_y[h->j] + 1 : -1;
  }
  // Runs of the two lists may follow one another: jump until neither holds t.
  for (;;) {
    const int t0 = t;
    t = ZaSeriei(p, h->b, &h->kb, ZaSeriei(p, h->a, &h->ka, t));
    if (t == t0) return t;
  }
}
