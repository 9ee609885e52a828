#include "engine/raschet_de.h"

#include <algorithm>

#include "engine/bibl.h"
#include "engine/propuski.h"
#include "engine/rank_index.h"

namespace {

/// After this many rejected candidates a walk passes over the rest of the
/// rejected ones in runs (built on first need, once per matching).
constexpr int kDlinnyiPoisk = 2;
bool propuski_gotovy = false;

/// How many of a pair's two component numbers are imaginary occurrences.
int Mnimykh(const bibl& p) {
  return (p.x < 0 ? 1 : 0) + (p.y < 0 ? 1 : 0);
}

bool Neperesekayutsya(const bibl& a, const bibl& b) {
  return a.x != b.x && a.x != b.y && a.y != b.x && a.y != b.y;
}

/// The imaginary-element rule does not compare the two pairs' numbers: a
/// single component may meet a pair that holds the same component.
bool PoMnimomu(const bibl& a, const bibl& b) {
  const int fusl1 = Mnimykh(a);
  const int fusl2 = Mnimykh(b);
  return fusl1 + fusl2 >= 1 && fusl1 <= 1 && fusl2 <= 1;
}

/// Settles the start pair of rank jm, record si: the first usable record of
/// a higher rank that either rule accepts becomes its partner, else it is
/// flagged 'Z'. -1 when a candidate rank has no usable record.
int Partner(int nn, int jm, int si) {
  bibl& a = Mb[si];
  const bool realnaya = Mnimykh(a) == 0;
  int otkazy = 0;
  Khod khod{si, a.x, a.y};
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
    const bool mnimyi = PoMnimomu(a, b);
    if (mnimyi) {
      a.flag = 'P';
    }
    if (mnimyi || Neperesekayutsya(a, b)) {
      a.f_de = static_cast<float>((static_cast<long double>(b.fc) / a.fc - 1) * 100);
      a.N_de = ci;
      return 0;
    }
    if (realnaya && ++otkazy >= kDlinnyiPoisk) {
      // Rejected for a shared component: so is every candidate of two real
      // components that shares one, and with many equal values those stand
      // in long runs. Short walks are cheaper one rank at a time.
      if (!propuski_gotovy) {
        build_propuski(&propuski, nn);
        propuski_gotovy = true;
      }
      t = std::max(t, mimo(propuski, &khod, t) - 1);
    }
  }
  a.flag = 'Z';
  return 0;
}

}  // namespace

int poisk1(int nn, int poz, int* i) {
  if (poz < 0 || poz > po_sort.n) {
    return -1;
  }
  // Flags change while matching goes on, so they are read at every call;
  // a record found but of another flag still leaves its index in *i.
  for (int k = po_sort.start[poz]; k < po_sort.start[poz + 1]; ++k) {
    const int j = po_sort.order[k];
    if (j > nn) {
      break;
    }
    *i = j;
    if (Mb[j].flag == 'N') {
      return 1;
    }
    if (Mb[j].flag == 'Y') {
      return 0;
    }
  }
  return -1;
}

int raschet_de(int nn) {
  propuski_gotovy = false;
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
