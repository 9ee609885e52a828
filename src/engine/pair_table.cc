#include "engine/pair_table.h"

#include <cstring>
#include <type_traits>

std::array<bibl, kMbSize> Mb;

void reset_Mb() {
  // One memset: the table is plain data, and a run driven again and again
  // in-process clears it every time.
  static_assert(std::is_trivially_copyable_v<bibl>);
  std::memset(Mb.data(), 0, sizeof(Mb));
}
