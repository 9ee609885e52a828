// The register table set up by hand, as the interpreter and count() leave
// it: one builder for every test that needs a component list.
#pragma once

#include <vector>

#include "program1/register_table.h"

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
