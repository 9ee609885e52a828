#include "program1/register_table.h"

#include <cmath>

std::array<float, kSlots> RR;
std::array<char, kSlots> flagRR;

int fall = 0;
int tipr = 1;
int fotcl = 1;
float tch = 0.0f;
float znach = 0.0f;
float otcl = 0.0f;
char fv1 = 'Y';
char fv2 = 'P';

void reset_register() {
  RR.fill(0.0f);
  flagRR.fill(0);
  fall = 0;
  tipr = 1;
  fotcl = 1;
  tch = znach = otcl = 0.0f;
  fv1 = 'Y';
  fv2 = 'P';
}

int countst() {
  for (int i = 0; i < kSlots; ++i)
    if (flagRR[i] == 'S') return i + 1;
  return kSlots;
}

int component_count(int Ns, int N) {
  if (Ns < 0 || Ns >= kSlots) return 0;
  const int last = N < kSlots ? N : kSlots - 1;
  return last >= Ns ? last - Ns + 1 : 0;
}

int count(int Ns) {
  int i = 0;
  while (i <= kSlots - 2 && (flagRR[i] != 'E' || i < Ns)) {
    flagRR[i] = 'Y';
    ++i;
  }
  return i - 1;
}

bool trunc_equals(float v, int m) {
  return std::trunc(v) == static_cast<float>(m);
}

int number_shift(int Ns) {
  return (Ns >= 0 && Ns < kSlots && trunc_equals(RR[Ns], -1)) ? -1 : 0;
}
