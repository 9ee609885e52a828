// The sides a set is made of: pair records that hold at most one imaginary
// element, with the real components (parts) each holds.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

/// A part is a real component by its relative index, below kFlagSlots.
using Part = uint8_t;
/// The empty second part of a side that holds one real component.
inline constexpr Part kNoPart = 255;

/// The kinds of set, named by the pair flags the run prints: two sides of
/// two real components each, or a side that holds the imaginary element.
inline constexpr char kSetOfPairs = 'Y';
inline constexpr char kSetWithImaginary = 'P';

struct Side {
  float fc = 0.0f;  ///< The record's value.
  int record = -1;  ///< Index in Mb.
  std::array<Part, 2> parts{kNoPart, kNoPart};
  bool single() const { return parts[1] == kNoPart; }
};

/// The side of record j of Mb; false when it is none (two imaginary
/// occurrences, a value that is not a number, or a component number that
/// names no component).
bool side_of_record(int j, int rs, Side* side);

/// The sides of records 0 to nn in the order of their values (records of
/// one value in the order by_sort gives them; by_sort is used when Sort(nn)
/// built it, else the records are sorted here). `keep` picks the sides by
/// their parts (nullptr: all).
std::vector<Side> collect_sides(int nn, int Ns, bool (*keep)(const Side&) = nullptr);

/// Whether two sides hold no part in common.
bool sides_disjoint(const Side& a, const Side& b);

/// The kind of the set of two sides.
inline char set_kind(const Side& a, const Side& b) {
  return a.single() || b.single() ? kSetWithImaginary : kSetOfPairs;
}

/// Whether sets of `kind` count for a run printing the pair flags v1, v2.
inline bool kind_counts(char kind, char v1, char v2) {
  return v1 == kind || v2 == kind;
}

/// Whether the sides low and high (low.fc <= high.fc) are close enough:
/// their deviation does not stop the report at `threshold`.
bool within_threshold(const Side& low, const Side& high, float threshold);
