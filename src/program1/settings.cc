#include "program1/settings.h"

#include "program1/register_table.h"
#include "text/console.h"

namespace {

/// Whether the flag or letter command of slot k occurred: its slot then
/// holds the marker -(100 + k).
bool SlotSet(int k) {
  return trunc_equals(RR[k], -(100 + k));
}

/// A flag command's setting: the digit character in its flag, as a signed
/// byte, less '0'; unchanged when the command did not occur.
void TakeFlag(int k, int* setting) {
  if (SlotSet(k)) *setting = static_cast<signed char>(flagRR[k]) - '0';
}

}  // namespace

void take_switch(int argc, const char* const* argv) {
  if (argc != 2) return;
  const char* arg = argv[1];
  console_print("argc=%d\n", argc);
  console_print("argv=%c\n", arg[0]);
  if (arg[0] == '-' && arg[1] == '1') fall = 1;
}

void mark_unwritten() {
  for (int i = 0; i < kSlots - 1; ++i)
    flagRR[i] = 'q';
}

int take_settings() {
  tch = RR[0];
  znach = RR[1];
  otcl = RR[2];
  TakeFlag(3, &fall);
  TakeFlag(8, &tipr);
  TakeFlag(9, &fotcl);

  // The first letter command present sets fv1, every later one fv2.
  int fxyz = 0;
  const int kWeights[4] = {8, 4, 2, 1};  // N, Y, P, Z in slots 4 to 7
  for (int b = 0; b < 4; ++b) {
    int k = 4 + b;
    if (!SlotSet(k)) continue;
    if (fxyz == 0)
      fv1 = flagRR[k];
    else
      fv2 = flagRR[k];
    fxyz += kWeights[b];
  }
  if (fxyz == 1)  // Z alone prints the pairs without a partner only
    fv2 = fv1;
  return fxyz;
}

void print_mask(int fxyz) {
  console_print("N Y P Z <> %d ", fxyz / 8);
  console_print("%d ", (fxyz % 8) / 4);
  console_print("%d ", ((fxyz % 8) % 4) / 2);
  console_print("%d     ", ((fxyz % 8) % 4) % 2);
}

void sought_bounds(float* zmin, float* zmax) {
  long double q = static_cast<long double>(znach) / 100;
  long double d = q * otcl;
  *zmin = static_cast<float>(znach - d);
  *zmax = static_cast<float>(d + znach);
}
