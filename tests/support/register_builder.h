// The register table set up by hand, as the interpreter and count() leave
// it: one builder for every test that needs a component list.
#pragma once

#include <array>
#include <vector>

#include "program1/register_table.h"

/// One decade of the E24 series: what a stock of resistors is made of.
inline constexpr std::array<float, 24> kE24 = {1.0f, 1.1f, 1.2f, 1.3f, 1.5f, 1.6f, 1.8f, 2.0f,
                                               2.2f, 2.4f, 2.7f, 3.0f, 3.3f, 3.6f, 3.9f, 4.3f,
                                               4.7f, 5.1f, 5.6f, 6.2f, 6.8f, 7.5f, 8.2f, 9.1f};

/// The START marker, the components from the first component slot
/// (kImaginaryValue is NUL), an END marker after them while there is room,
/// and the flags as count() leaves them. Returns N; Ns is kFirstComponentSlot.
inline int SetComponents(const std::vector<float>& values) {
  reset_register();
  RR[kStartSlot] = kStartMarker;
  flagRR[kStartSlot] = kStartFlag;
  int slot = kFirstComponentSlot;
  for (float v : values) {
    if (slot >= kSlots) {
      break;
    }
    RR[slot] = v;
    flagRR[slot] = is_imaginary(v) ? kImaginaryFlag : kFree;
    ++slot;
  }
  if (slot < kSlots) {
    flagRR[slot] = kEndFlag;
  }
  return count(countst());
}
