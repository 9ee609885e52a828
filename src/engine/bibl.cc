#include "engine/bibl.h"

std::array<bibl, kMbSize> Mb;

void reset_Mb() {
  Mb.fill(bibl{});
}
