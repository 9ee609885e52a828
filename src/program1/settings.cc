#include "program1/settings.h"

#include "program1/register_table.h"
#include "text/console.h"

namespace {

/// The bit of a letter command in the mask: N 8, Y 4, P 2, Z 1.
constexpr int LetterBit(int keyword) {
  return 1 << (kZ - keyword);
}

/// A flag command's setting: the digit character in its flag, as a signed
/// byte, less '0'; unchanged when the command did not occur.
void TakeFlag(int k, int* setting) {
  if (slot_set(k)) *setting = static_cast<signed char>(flagRR[k]) - '0';
}

}  // namespace

void take_switch(const CommandLine& line) {
  if (line.echoed) {
    console_print("argc=%d\n", line.argc);
    console_print("argv=%c\n", line.echoed[0]);
  }
  if (line.repeat) fall = 1;
}

void mark_unwritten() {
  for (int i = 0; i < kFlagSlots; ++i)
    flagRR[i] = kUnwritten;
}

int take_settings() {
  tch = RR[kTCH];
  znach = RR[kZNACH];
  otcl = RR[kOTCL];
  TakeFlag(kFALL, &fall);
  TakeFlag(kTIP, &tipr);
  TakeFlag(kFOTCL, &fotcl);

  // The first letter command present sets fv1, every later one fv2.
  int fxyz = 0;
  for (int k = kN; k <= kZ; ++k) {
    if (!slot_set(k)) continue;
    if (fxyz == 0)
      fv1 = flagRR[k];
    else
      fv2 = flagRR[k];
    fxyz += LetterBit(k);
  }
  if (fxyz == LetterBit(kZ))  // Z alone prints the pairs without a partner only
    fv2 = fv1;
  return fxyz;
}

void print_mask(int fxyz) {
  console_print("N Y P Z <> %d ", fxyz / LetterBit(kN));
  console_print("%d ", (fxyz % LetterBit(kN)) / LetterBit(kY));
  console_print("%d ", ((fxyz % LetterBit(kN)) % LetterBit(kY)) / LetterBit(kP));
  console_print("%d     ", ((fxyz % LetterBit(kN)) % LetterBit(kY)) % LetterBit(kP));
}

void sought_bounds(float* zmin, float* zmax) {
  long double q = static_cast<long double>(znach) / kPercent;
  long double d = q * otcl;
  *zmin = static_cast<float>(znach - d);
  *zmax = static_cast<float>(d + znach);
}
