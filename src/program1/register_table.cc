#include "program1/register_table.h"

#include <cmath>

std::array<float, kSlots> RR;
std::array<char, kSlots> flagRR;

int fall = 0;
int tipr = kSeries;
int fotcl = 1;
float tch = 0.0f;
float znach = 0.0f;
float otcl = 0.0f;
char fv1 = kPairOrdinary;
char fv2 = kPairByImaginary;

void reset_register() {
  RR.fill(0.0f);
  flagRR.fill(0);
  fall = 0;
  tipr = kSeries;
  fotcl = 1;
  tch = znach = otcl = 0.0f;
  fv1 = kPairOrdinary;
  fv2 = kPairByImaginary;
}

namespace {

/// Whether `v` truncated toward zero equals `m`: how a set slot and the
/// imaginary element are recognised. Defined for every float, NaN included.
bool trunc_equals(float v, int m) {
  return std::trunc(v) == static_cast<float>(m);
}

}  // namespace

int countst() {
  for (int i = 0; i < kSlots; ++i)
    if (flagRR[i] == kStartFlag) return i + 1;
  return kSlots;
}

int component_count(int Ns, int N) {
  if (Ns < 0 || Ns >= kSlots) return 0;
  const int last = N < kSlots ? N : kSlots - 1;
  return last >= Ns ? last - Ns + 1 : 0;
}

int count(int Ns) {
  int i = 0;
  // A list without its END ends at the last entry written: the slots after
  // it were never filled and are no components of value 0.
  while (i < kFlagSlots && (i < Ns || (flagRR[i] != kEndFlag && flagRR[i] != kUnwritten))) {
    flagRR[i] = kFree;
    ++i;
  }
  return i - 1;
}

bool slot_set(int slot) {
  return trunc_equals(RR[slot], -(kCommandMarkerBase + slot));
}

int number_shift(int Ns) {
  return (Ns >= 0 && Ns < kSlots && trunc_equals(RR[Ns], static_cast<int>(kImaginaryValue))) ? -1
                                                                                             : 0;
}
