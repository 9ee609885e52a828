// The candidate sets of a pair table: every two disjoint sides close enough
// in value, found by a window over the sides in value order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "selection/set_sides.h"
#include "selection/side_cover.h"

/// The most parts a set holds.
inline constexpr int kMaxSetParts = 4;
/// Sizes of smaller sets: two parts (a component against a component,
/// through the imaginary element) and three (a component against a pair).
inline constexpr int kPair = 2;
inline constexpr int kTriple = 3;
/// Candidate::spares names each component in this many bits.
inline constexpr int kSpareComponentBits = 8;

struct Candidate {
  int low = 0;   ///< Index in the sides of the lower side.
  int high = 0;  ///< Index in the sides of the higher side.
  float f_de = 0.0f;
  std::array<Part, kMaxSetParts> parts{kNoPart, kNoPart, kNoPart, kNoPart};
  int size = 0;  ///< Parts held, 2 to 4.
  char kind = 0;
  /// See `spares` (beside `kind`, where the candidate has room for it).
  bool spends_matching = false;
  /// One of the sets of the sides' pairing (side_pairing.h), a start.
  bool side_paired = false;
  /// For a set of three or four parts that a largest matching of the sets
  /// of two single sides can each leave out, in distinct components of
  /// that graph: the components, a byte each (else 0; 0 for all where the
  /// sets of two are too many to list whole). With `spends_matching`, one
  /// part may instead lie in a component the matching covers whole, named
  /// by itself, or the set is a set of that matching there, named by its
  /// two parts.
  uint32_t spares = 0;
};
static_assert(sizeof(Candidate) <= 7 * sizeof(int), "the lists hold up to a million candidates");

struct CandidateSets {
  std::vector<Candidate> sets;
  /// Every valid set of an allowed kind is listed. When the windows hold
  /// more than the cap, each side keeps only its nearest partners of each
  /// kind above it and its nearest one below, so that every part still
  /// shows the smallest set it can be in.
  bool complete = true;
  /// Every set of two sides of one part each is listed (they are kept
  /// whole past the cap while they are few).
  bool pairs_complete = true;
  /// How many pairs of sides the windows hold: the candidates a complete
  /// list has at most.
  size_t window_pairs = 0;
  /// The parts of the sides of one part, each once, in the order of values.
  std::vector<Part> singles;
  /// A least cover of the sides a window pairs with another (those of
  /// every valid set, listed or not, and maybe a few more).
  CoverHalves cover{};
};

/// The candidate sets of `sides` (in value order) at `threshold` whose
/// kind v1 or v2 names, at most about `cap` of them, in rising deviation
/// (a deviation that is not a number last).
CandidateSets candidate_sets(const std::vector<Side>& sides, float threshold, char v1, char v2,
                             size_t cap);

/// The candidates of `sets` named in `order` whose parts are all still
/// unused when their turn comes: a greedy selection.
std::vector<int> greedy_sets(const std::vector<Candidate>& sets, const std::vector<int>& order);

/// Whether sides given in rising value hold a valid set of an allowed
/// kind: each new side is compared with the earlier ones still within the
/// threshold of it, so a set ends the walk as soon as its higher side comes.
class SetFinder {
 public:
  SetFinder(float threshold, char v1, char v2) : threshold_(threshold), v1_(v1), v2_(v2) {}
  /// Takes the next side; true when it makes a set with an earlier one.
  bool add(const Side& b);

 private:
  /// Earlier sides of one kind; those before `head` are out of reach.
  struct Recent {
    std::vector<Side> sides;
    size_t head = 0;
  };
  float threshold_;
  char v1_;
  char v2_;
  Recent singles_;
  Recent pairs_;
};
