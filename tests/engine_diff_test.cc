// The fast engine against a plain transcription of the matching method: the
// counting rank rule, the rank lookup scanning from index 0, and the walk as
// a state machine over that lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "engine/pair_matching.h"
#include "engine/pair_table.h"
#include "engine/rank_order.h"
#include "engine_test_util.h"

namespace {

using Table = std::array<bibl, kMbSize>;

/// The literal copy of the table the reference works on.
Table lit;

void LitSort(Table& mb, int n, float bibl::*v, int bibl::*rank) {
  for (int i = 0; i <= n; ++i) {
    int k = 0;
    for (int j = 0; j <= n; ++j) {
      if (mb[j].*v < mb[i].*v) {
        ++k;
      }
      if (j > i && mb[j].*v == mb[i].*v) {
        ++k;
      }
    }
    mb[i].*rank = k;
  }
}

int LitPoisk1(Table& mb, int nn, int poz, int* i) {
  for (int j = 0; j <= nn; ++j) {
    if (mb[j].sort == poz) {
      *i = j;
      switch (mb[j].flag) {
        case 'N':
          return 1;
        case 'Y':
          return 0;
        default:
          break;
      }
    }
  }
  return -1;
}

/// trig: 0 looking for a start pair at rank j, 1 trying candidates, 3 settled.
int LitRaschetDe(Table& mb, int nn) {
  int trig = 0;
  int jm = 0;
  int si = 0;
  int j = 0;
  for (;;) {
    if (j > nn) {
      if (trig != 1) {
        return 0;
      }
      mb[si].flag = 'Z';
      trig = 3;
    } else {
      int k = 0;
      const int r = LitPoisk1(mb, nn, j, &k);
      if (r == -1) {
        return -1;
      }
      if (r == 0 && trig == 0) {
        trig = 1;
        jm = j;
        si = k;
      } else if (r == 0 && trig == 1) {
        bibl& a = mb[si];
        const bibl& b = mb[k];
        const int fusl1 = (a.x < 0) + (a.y < 0);
        const int fusl2 = (b.x < 0) + (b.y < 0);
        bool fn = false;
        if ((a.x < 0 || a.y < 0 || b.x < 0 || b.y < 0) && fusl1 < 2 && fusl2 < 2) {
          a.flag = 'P';
          fn = true;
        }
        if (a.x != b.x && a.x != b.y && a.y != b.x && a.y != b.y) {
          fn = true;
        }
        if (fn) {
          a.f_de = static_cast<float>((static_cast<long double>(b.fc) / a.fc - 1) * 100);
          a.N_de = k;
          trig = 3;
        }
      }
    }
    if (trig == 3) {
      trig = 0;
      j = jm + 1;
    } else {
      ++j;
    }
  }
}

bool SameBits(float a, float b) {
  return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

bool SameRecord(const bibl& f, const bibl& l) {
  return SameBits(f.fc, l.fc) && SameBits(f.f_de, l.f_de) && f.x == l.x && f.y == l.y &&
         f.flag == l.flag && f.sort == l.sort && f.sort_de == l.sort_de && f.N_de == l.N_de;
}

/// Records 0 to n + 1 of Mb and lit agree field by field. Compared in a
/// plain loop, so that the sanitizer build stays quick; the first
/// difference is reported.
void ExpectSameTables(int n, const char* stage) {
  for (int j = 0; j <= n + 1 && j < kMbSize; ++j) {
    const bibl& f = Mb[j];
    const bibl& l = lit[j];
    if (SameRecord(f, l)) {
      continue;
    }
    FAIL() << stage << ", record " << j << ": fc " << f.fc << "/" << l.fc << " f_de " << f.f_de
           << "/" << l.f_de << " x " << f.x << "/" << l.x << " y " << f.y << "/" << l.y << " flag "
           << f.flag << "/" << l.flag << " sort " << f.sort << "/" << l.sort << " sort_de "
           << f.sort_de << "/" << l.sort_de << " N_de " << f.N_de << "/" << l.N_de;
  }
}

/// Every rank lookup, in range and out, gives the same answer and index.
void ExpectSameLookups(int n) {
  for (int poz = -1; poz <= n + 1; ++poz) {
    int fi = -5;
    int li = -5;
    const int fr = poisk1(n, poz, &fi);
    const int lr = LitPoisk1(lit, n, poz, &li);
    if (fr != lr || fi != li) {
      FAIL() << "rank " << poz << ": " << fr << " at " << fi << ", literal " << lr << " at " << li;
    }
  }
}

struct Gen {
  std::mt19937 rng;
  /// Special values too (signed zeros, NaN, infinities, NULs), and the filter.
  bool wild = true;

  int UpTo(int k) { return static_cast<int>(rng() % static_cast<unsigned>(k + 1)); }

  /// Few distinct values, so duplicates are common, plus the special ones.
  float Value() {
    static const float kPool[] = {0.0f,
                                  -0.0f,
                                  -1.0f,
                                  -1.0f,
                                  -1.5f,
                                  -3.0f,
                                  1.0f,
                                  2.2f,
                                  4.7f,
                                  10.0f,
                                  12.0f,
                                  22.0f,
                                  100.0f,
                                  1e30f,
                                  std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(),
                                  std::numeric_limits<float>::quiet_NaN()};
    const int kind = wild ? UpTo(9) : 4 + UpTo(5);
    if (kind < 4) {
      return kPool[UpTo(static_cast<int>(std::size(kPool)) - 1)];
    }
    if (kind < 6) {
      return static_cast<float>(UpTo(20));
    }
    return std::uniform_real_distribution<float>(0.1f, 1000.0f)(rng);
  }
};

/// The input of raschet for one table.
struct ComponentList {
  std::vector<float> values;
  int tip = 1;
  int keep_all = 1;
  float zmin = 0.0f;
  float zmax = 0.0f;
};

/// K components, the first one a NUL when `lead_nul`; a random pair type,
/// and with wild values the filter on or off with random bounds.
ComponentList Random(Gen& g, int K, bool lead_nul) {
  ComponentList s;
  for (int k = 0; k < K; ++k) {
    s.values.push_back(g.Value());
  }
  if (lead_nul && K > 0) {
    s.values[0] = -1.0f;
  }
  s.tip = 1 + g.UpTo(1);
  s.keep_all = g.wild && g.UpTo(2) == 0 ? 0 : 1;
  s.zmin = g.Value();
  s.zmax = g.UpTo(3) == 0 ? g.Value() : s.zmin + static_cast<float>(g.UpTo(300));
  return s;
}

/// One table through both versions; some tables get a few records flagged
/// 'N' (with wild values now and then 'Z') before matching. Returns the last
/// record index.
int CheckOne(Gen& g, const ComponentList& s) {
  const int n = BuildPairs(s.values, s.tip, s.keep_all, s.zmin, s.zmax);
  if (g.UpTo(3) == 0) {
    for (int c = g.UpTo(4); c > 0 && n >= 0; --c) {
      Mb[g.UpTo(n)].flag = g.wild && g.UpTo(4) == 0 ? 'Z' : 'N';
    }
  }
  std::copy(Mb.begin(), Mb.begin() + std::min(n + 2, kMbSize), lit.begin());

  Sort(n);
  LitSort(lit, n, &bibl::fc, &bibl::sort);
  ExpectSameTables(n, "Sort");
  ExpectSameLookups(n);

  const int fr = raschet_de(n);
  const int lr = LitRaschetDe(lit, n);
  EXPECT_EQ(fr, lr);
  ExpectSameTables(n, "raschet_de");
  ExpectSameLookups(n);

  Sort_de(n);
  LitSort(lit, n, &bibl::f_de, &bibl::sort_de);
  ExpectSameTables(n, "Sort_de");
  return n;
}

}  // namespace

TEST(EngineDiff, SmallRandomTables) {
  Gen g{std::mt19937(20240611u)};
  for (int round = 0; round < 800 && !HasFailure(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    CheckOne(g, Random(g, g.UpTo(24), g.UpTo(1) == 0));
  }
}

TEST(EngineDiff, MediumRandomTables) {
  Gen g{std::mt19937(77u)};
  for (int round = 0; round < 8 && !HasFailure(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    CheckOne(g, Random(g, 30 + g.UpTo(50), round % 2 == 0));
  }
}

/// The literal version is quadratic, so the largest lists go through with a
/// band that keeps part of their pairs, and all pairs of 80 components.
TEST(EngineDiff, LargeTables) {
  Gen g{std::mt19937(183u), false};
  ComponentList s = Random(g, kSlots - kStartSlot - 2, true);
  s.tip = 1;
  s.keep_all = 0;
  s.zmin = 600.0f;
  s.zmax = 900.0f;
  EXPECT_GT(CheckOne(g, s), 1000);
  s.tip = 2;
  s.zmin = 20.0f;
  s.zmax = 80.0f;
  EXPECT_GT(CheckOne(g, s), 1000);

  s = Random(g, 80, false);
  s.tip = 2;
  EXPECT_EQ(CheckOne(g, s), 80 * 79 / 2 - 1);
}

/// Equal values put the candidates that share a component next to each
/// other in rank order, where matching passes over them in runs.
TEST(EngineDiff, ManyEqualValues) {
  Gen g{std::mt19937(5u), false};
  for (int round = 0; round < 12 && !HasFailure(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ComponentList s;
    const int distinct = 1 + round % 4;
    for (int k = 0; k < 40; ++k)
      s.values.push_back(static_cast<float>(g.UpTo(distinct - 1)));
    if (round % 3 == 0) s.values[0] = -1.0f;
    if (round % 5 == 4) s.values[7] = -1.0f;
    s.tip = 1 + round % 2;
    if (s.tip == 2)  // keep the zeros' parallel pairs out: no number
      for (float& v : s.values)
        v = v == 0.0f ? 3.0f : v;
    CheckOne(g, s);
  }
}
