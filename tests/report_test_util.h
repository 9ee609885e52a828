// Register tables and pair tables set up by hand for the report tests, as
// the engine would leave them.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/pair_table.h"
#include "engine/rank_index.h"
#include "program1/register_table.h"
#include "support/register_builder.h"

/// One pair record as the engine leaves it for the reports.
struct Record {
  float fc;
  float f_de;
  int x;
  int y;
  char flag;
  int sort_de;
  int N_de;
};

/// Records 0 to n and their deviation index, as Sort_de leaves it.
/// Returns n.
inline int SetTable(std::initializer_list<Record> records) {
  reset_Mb();
  int j = 0;
  for (const Record& z : records) {
    bibl& b = Mb[j++];
    b.fc = z.fc;
    b.f_de = z.f_de;
    b.x = z.x;
    b.y = z.y;
    b.flag = z.flag;
    b.sort_de = z.sort_de;
    b.N_de = z.N_de;
  }
  build_rank_index(&by_sort_de, j - 1, &bibl::sort_de);
  return j - 1;
}

/// The running example: NUL, 10, 12, 22 in series, all pairs kept, after
/// matching and ranking by deviation. Returns n (5); N is 19.
inline int WorkedExample() {
  SetComponents({-1.0f, 10.0f, 12.0f, 22.0f});
  return SetTable({
      {10.0f, 20.0f, 1, -1, 'P', 3, 1},
      {12.0f, 83.33334f, 2, -2, 'P', 5, 3},
      {22.0f, 45.454545f, 3, -3, 'P', 4, 4},
      {22.0f, 0.0f, 2, 1, 'P', 2, 2},
      {32.0f, 0.0f, 3, 1, 'Z', 1, 0},
      {34.0f, 0.0f, 3, 2, 'Z', 0, 0},
  });
}

/// m matches that can all be printed with fall 0: components 1 to 4m (no
/// imaginary element); record j (rank j, deviation j) pairs components
/// 4j+1 and 4j+2 with record m+j, which pairs 4j+3 and 4j+4 and whose own
/// match then finds its components used. Returns n (2m - 1); N is 15 + 4m.
inline int Series(int m) {
  std::vector<float> values(4 * static_cast<size_t>(m));
  for (size_t k = 0; k < values.size(); ++k) {
    values[k] = static_cast<float>(k + 1);
  }
  SetComponents(values);
  reset_Mb();
  for (int j = 0; j < m; ++j) {
    Mb[j] = bibl{static_cast<float>(8 * j + 3),
                 static_cast<float>(j),
                 4 * j + 2,
                 4 * j + 1,
                 'Y',
                 0,
                 j,
                 m + j};
    Mb[m + j] = bibl{static_cast<float>(8 * j + 7),
                     static_cast<float>(m + j),
                     4 * j + 4,
                     4 * j + 3,
                     'Y',
                     0,
                     m + j,
                     j};
  }
  build_rank_index(&by_sort_de, 2 * m - 1, &bibl::sort_de);
  return 2 * m - 1;
}
