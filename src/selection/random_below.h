// The searches' own random numbers: a xorshift step, so that a seed gives
// the same numbers on every platform and standard library.
#pragma once

#include <cstdint>

/// Advances `state` (never 0) and returns a number below n (n > 0).
inline uint64_t random_below(uint64_t* state, uint64_t n) {
  uint64_t& x = *state;
  x ^= x << 13;
  x ^= x >> 7;
  x ^= x << 17;
  return x % n;
}
