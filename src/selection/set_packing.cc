#include "selection/set_packing.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <exception>
#include <functional>
#include <numeric>
#include <optional>
#include <thread>

#include "program1/register_table.h"
#include "selection/random_below.h"
#include "selection/relaxed_search.h"
#include "selection/set_walk.h"
#include "selection/spare_sets.h"

namespace {

/// Parts are relative indices below kFlagSlots.
constexpr int kParts = kFlagSlots;

/// A part's share of a set, in units of kWhole: the shares of every
/// candidate's parts sum to a whole at least, so the shares of the parts
/// still free bound the sets they can still make (a feasible solution of
/// the dual of the fractional packing). A part whose smallest set holds m
/// parts has 1 / m at first.
constexpr int64_t kWhole = int64_t{1} << 20;
int64_t Share(int smallest_set) {
  return smallest_set == 0 ? 0 : (kWhole + smallest_set - 1) / smallest_set;
}

/// Choices the search for the most sets of spare parts may price (some
/// 0.1 s): what it took to find them on 100 mixed nominal values in 0,1 %
/// windows, where the search over all candidates missed one set; and on a
/// core of its own, where its branching at the tightest part proved some
/// within 40 million that the other did not find in 150, twice as many.
constexpr int64_t kSpareWork = 30000000;
constexpr int64_t kHelperSpareWork = 60000000;
/// Candidates the relaxation may price (about a tenth of a second), and
/// on a core of its own, where its branching at the tightest part and its
/// aim at a greedy start find what the first search is slow to, ten times
/// as many (on a slow machine the clock stops it first). Ten rather than
/// five times: one set and one proof more on 108 stocks of 60 to 183
/// components of unlike values, and the benchmark's 100 values over
/// decades with NUL at 0,01 % proven at 22 sets, which an exact solver
/// takes 7 s to prove.
constexpr int64_t kRelaxedWork = 20000000;
constexpr int64_t kHelperRelaxedWork = 200000000;
/// The clock is read once in this many units of work.
constexpr int64_t kWorkPerClockRead = 1 << 16;

/// A search that would take long in one order of the candidates often
/// takes little in another: the exact search starts again in a shuffled
/// order after this much work, then after half as much again, and so on.
constexpr int64_t kFirstAttempt = 2000000;
/// The trades of chosen sets may spend a quarter of the work.
constexpr int64_t kTradesShare = 4;
/// Candidates the walk from the traded selection may look at (a tenth to
/// a sixth of a second): where it reached the last sets of 183 parts, it
/// mostly took under 5 million; a longer walk left too little time for the
/// exact search, which finds some of them soon after.
constexpr int64_t kWalkWork = 15000000;
constexpr uint64_t kRandomSeed = 0x9E3779B97F4A7C15ull;
/// How far ahead a loop over candidates asks for their state.
constexpr int kPrefetchAhead = 8;
/// Searches side by side where the machine has the cores, and the seed
/// of the second.
constexpr unsigned kSearchThreads = 2;
constexpr uint64_t kHelperSeed = 0x2545F4914F6CDD1Dull;

/// A search made when the packer first asks for it: where the greedy
/// starts meet the bounds it would cost time for nothing.
template <typename T, typename... Args>
class OnDemand {
 public:
  explicit OnDemand(std::function<T(Args...)> make) : make_(std::move(make)) {}
  const T& Get(Args... args) {
    if (!result_) result_.emplace(make_(args...));
    return *result_;
  }

 private:
  std::function<T(Args...)> make_;
  std::optional<T> result_;
};
/// The relaxation's search: none for a cut list, for which its bound and
/// prices would not hold, or a list too long for it.
using RelaxationOnDemand = OnDemand<std::optional<RelaxedSearch>>;
/// The most sets of spare parts, or as many as it is given to find.
using SparesOnDemand = OnDemand<std::vector<int>, int>;

class Packer {
 public:
  /// A packer with a `seed` other than 0 searches in a shuffled order from
  /// the start, and stops once `settled` is set.
  Packer(const std::vector<Candidate>& sets, const std::vector<Part>& singles,
         const CoverHalves& cover, const PackingLimits& limits, uint64_t seed = 0,
         const std::atomic<bool>* settled = nullptr)
      : sets_(sets),
        cover_(cover),
        limits_(limits),
        state_(sets.size()),
        random_(kRandomSeed + seed),
        settled_(settled) {
    for (size_t i = 0; i < sets.size(); ++i) {
      state_[i].parts = sets[i].parts;
      state_[i].size = static_cast<uint8_t>(sets[i].size);
    }
    BuildPartLists();
    BuildPairGraph(singles);
    available_.fill(true);
    owner_.fill(-1);
    for (const Candidate& c : sets_) {
      for (int k = 0; k < c.size; ++k)
        Gain(c.parts[k], c.size);
      if (c.size == kTriple) ++live_triples_;
    }
  }

  /// `relaxation` (if any): the relaxation's search, asked for where the
  /// greedy starts fall short of the bounds; `spares` (if any): the most
  /// sets of spare parts, asked for where they still fall short, a start
  /// besides them; `last` (if any): a search asked for where the others
  /// spent their work short of the bounds before the clock.
  Packing Run(bool complete, bool pairs_complete, SparesOnDemand* spares,
              RelaxationOnDemand* relaxation, RelaxationOnDemand* last);

 private:
  void BuildPartLists();
  void Kill(int c);
  void Revive(int c);
  void Move(int c, int k, int to);
  void Prefetch(int c) const;
  int Blocker(int c, int except) const;
  void GiveBack(int p);
  void Cover(int p);
  void Uncover(int p);
  void Ban(int p, bool on);
  void BuildPairGraph(const std::vector<Part>& singles);
  void UsePrices(const std::array<double, kParts>& prices);
  void Tally(int q, int sign);
  void Lose(int q, int size);
  void Gain(int q, int size);
  /// The greedy matching's state as its walk reaches each of singles_:
  /// the part waiting for a partner (-1: none) and the sets made so far.
  struct MatchingTrace {
    std::array<int16_t, kParts> pending{};
    std::array<int16_t, kParts> made{};
  };
  int MatchingWithout(const Candidate& s, const MatchingTrace& trace, int total);
  int Matching(int cluster, const std::vector<int>* clusters, std::vector<int>* sets = nullptr,
               std::array<bool, kParts>* matched_parts = nullptr,
               MatchingTrace* trace = nullptr) const;
  int Bound(int matched, int parts, int big, bool triples) const;
  void Take(int c);
  void Drop(int c);
  void FillAround(const std::array<Part, kMaxSetParts>& parts, int size);
  bool Improve(const std::vector<int>& removed, int target, bool restarts = false);
  void Shuffle();
  void Search(int count);
  bool Stopped();
  bool Late();
  bool OutOfTime() const;
  void Exchanges(size_t goal);
  std::vector<int> Greedy(const std::vector<int>& order, std::vector<int> first = {}) const;
  std::vector<int> LowerDeviations(std::vector<int> chosen) const;
  std::vector<int> Clusters();

  const std::vector<Candidate>& sets_;
  const CoverHalves& cover_;
  PackingLimits limits_;
  /// Candidates holding each part, by size, then in rising index:
  /// list_[start_[p]] on.
  std::vector<int> start_;
  std::vector<int> list_;
  std::array<int64_t, kParts> share_{};
  /// Each candidate's parts, whether it is dead (a part of it taken, or
  /// banned from larger sets) and where it stands among the members of
  /// each part, side by side: taking and giving back a part touches many
  /// candidates at random.
  struct Live {
    std::array<Part, kMaxSetParts> parts;
    uint8_t size = 0;
    uint8_t dead = 0;
    std::array<int, kMaxSetParts> place{};
  };
  std::vector<Live> state_;
  /// The candidates of each part as list_ has them, the live ones first
  /// (live_[p] of them): taking a part goes over its live candidates only,
  /// not over the many that deeper in the search are long dead. Each is
  /// held as c * kMaxSetParts + k, k the part's place in candidate c.
  std::vector<int> members_;
  /// The dead candidates each taken or banned part keeps dead, to give
  /// back when the part is given back (or to the next part keeping them).
  std::array<std::vector<int>, kParts> held_;
  std::array<bool, kParts> banned_{};
  /// The order the search tries a part's candidates in, within a size:
  /// their index, or a shuffled one after a restart.
  std::vector<int> rank_;
  std::array<int, kParts> live_{};   ///< Live candidates holding each part.
  std::array<int, kParts> live2_{};  ///< Of them, those of two parts.
  /// Parts with a set of two parts, in the order of their values; whether
  /// two of them make a set of two (`pairs_`), and whether those sets
  /// link each part to a run of the parts after it, the run's end rising
  /// with the part, so that a greedy matching in this order is a largest.
  std::vector<Part> singles_;
  std::array<int, kParts> single_index_{};  ///< Each part's place in singles_, or -1.
  std::vector<int> pairs_;                  ///< A candidate of the two parts, or -1.
  bool runs_ = true;
  bool pairs_whole_ = false;  ///< Every set of two is a candidate.
  int live_parts_ = 0;        ///< Available parts in some live candidate.
  int big_parts_ = 0;         ///< Available parts in some live candidate of 3 or 4 parts.
  int live_triples_ = 0;      ///< Live candidates of three parts.
  std::array<bool, kParts> available_{};
  std::array<int, kParts> owner_{};  ///< The chosen candidate holding each part, or -1.
  int64_t shares_ = 0;  ///< Shares of the available parts that some live candidate holds.
  std::vector<int> chosen_;
  int64_t work_ = 0;
  int64_t attempt_end_ = INT64_MAX;  ///< Where the current attempt of a search ends.
  uint64_t random_;
  const std::atomic<bool>* settled_;
  int64_t next_clock_read_ = 0;
  bool stopped_ = false;
  bool late_ = false;  ///< The deadline has passed.
  // The search's path and its best.
  std::vector<int> path_;
  std::vector<int> best_;
  int best_count_ = 0;
  int target_ = 0;
};

void Packer::BuildPartLists() {
  std::array<int, kParts> smallest{};
  start_.assign(kParts + 1, 0);
  for (const Candidate& c : sets_) {
    for (int k = 0; k < c.size; ++k) {
      const Part p = c.parts[k];
      ++start_[p + 1];
      if (smallest[p] == 0 || c.size < smallest[p]) smallest[p] = c.size;
    }
  }
  for (int p = 0; p < kParts; ++p) {
    start_[p + 1] += start_[p];
    share_[p] = Share(smallest[p]);
  }
  list_.resize(start_[kParts]);
  std::vector<int> next(start_.begin(), start_.end() - 1);
  // Smaller sets first: the search tries them first, as they leave more
  // parts to the others.
  for (int size = kPair; size <= kMaxSetParts; ++size) {
    for (size_t i = 0; i < sets_.size(); ++i) {
      const Candidate& c = sets_[i];
      if (c.size != size) continue;
      for (int k = 0; k < c.size; ++k)
        list_[next[c.parts[k]]++] = static_cast<int>(i);
    }
  }
  members_.resize(list_.size());
  for (int p = 0; p < kParts; ++p) {
    for (int j = start_[p]; j < start_[p + 1]; ++j) {
      const Live& c = state_[list_[j]];
      const int k =
          static_cast<int>(std::find(c.parts.begin(), c.parts.end(), p) - c.parts.begin());
      members_[j] = list_[j] * kMaxSetParts + k;
      state_[list_[j]].place[k] = j;
    }
  }
  rank_.resize(sets_.size());
  std::iota(rank_.begin(), rank_.end(), 0);
}

/// Shares from the relaxation's prices, where they sum to less: rounded up,
/// and raised on a candidate's first part where its parts fall short of a
/// whole, so that every candidate's shares still make one.
void Packer::UsePrices(const std::array<double, kParts>& prices) {
  std::array<int64_t, kParts> share{};
  for (int p = 0; p < kParts; ++p)
    if (share_[p] > 0) share[p] = static_cast<int64_t>(std::ceil(prices[p] * kWhole));
  for (const Candidate& c : sets_) {
    int64_t sum = 0;
    for (int k = 0; k < c.size; ++k)
      sum += share[c.parts[k]];
    if (sum < kWhole) share[c.parts[0]] += kWhole - sum;
  }
  int64_t total = 0;
  int64_t before = 0;
  for (int p = 0; p < kParts; ++p) {
    total += share[p];
    before += share_[p];
  }
  if (total >= before) return;
  share_ = share;
  shares_ = 0;
  for (int p = 0; p < kParts; ++p)
    if (available_[p] && live_[p] > 0) shares_ += share_[p];
}

void Packer::BuildPairGraph(const std::vector<Part>& singles) {
  pairs_.assign(static_cast<size_t>(kParts) * kParts, -1);
  for (size_t i = sets_.size(); i-- > 0;) {
    const Candidate& c = sets_[i];
    if (c.size != kPair) continue;
    pairs_[c.parts[0] * kParts + c.parts[1]] = static_cast<int>(i);
    pairs_[c.parts[1] * kParts + c.parts[0]] = static_cast<int>(i);
  }
  for (Part p : singles) {
    for (int q = 0; q < kParts; ++q) {
      if (pairs_[p * kParts + q] >= 0) {
        singles_.push_back(p);
        break;
      }
    }
  }
  single_index_.fill(-1);
  for (size_t i = 0; i < singles_.size(); ++i)
    single_index_[singles_[i]] = static_cast<int>(i);
  const int n = static_cast<int>(singles_.size());
  int last_end = 0;
  for (int i = 0; i < n && runs_; ++i) {
    int end = i;
    for (int j = i + 1; j < n; ++j)
      if (pairs_[singles_[i] * kParts + singles_[j]] >= 0) end = j;
    for (int j = i + 1; j <= end; ++j)
      runs_ = runs_ && pairs_[singles_[i] * kParts + singles_[j]] >= 0;
    if (end > i) {
      runs_ = runs_ && end >= last_end;
      last_end = end;
    }
  }
}

/// Adds (sign 1) or takes away (-1) what part q brings to the running
/// totals of the bound, as the part stands now.
void Packer::Tally(int q, int sign) {
  if (!available_[q]) return;
  if (live_[q] > 0) {
    shares_ += sign * share_[q];
    live_parts_ += sign;
  }
  if (live_[q] > live2_[q]) big_parts_ += sign;
}

/// One live candidate of `size` parts fewer for part q: the totals change
/// only where the part's last candidate, or its last larger one, goes.
void Packer::Lose(int q, int size) {
  --live_[q];
  if (size == kPair) --live2_[q];
  if (!available_[q]) return;
  if (live_[q] == 0) {
    shares_ -= share_[q];
    --live_parts_;
  }
  if (size != kPair && live_[q] == live2_[q]) --big_parts_;
}

void Packer::Gain(int q, int size) {
  ++live_[q];
  if (size == kPair) ++live2_[q];
  if (!available_[q]) return;
  if (live_[q] == 1) {
    shares_ += share_[q];
    ++live_parts_;
  }
  if (size != kPair && live_[q] == live2_[q] + 1) ++big_parts_;
}

/// Puts candidate c at place `to` among the members of its k-th part,
/// where the member it swaps with goes: the two places at the border of the
/// live members move a candidate out of them or in.
void Packer::Move(int c, int k, int to) {
  int& place = state_[c].place[k];
  const int other = members_[to];
  members_[place] = other;
  state_[other / kMaxSetParts].place[other % kMaxSetParts] = place;
  members_[to] = c * kMaxSetParts + k;
  place = to;
}

void Packer::Kill(int c) {
  Live& s = state_[c];
  s.dead = 1;
  for (int j = 0; j < s.size; ++j) {
    const int q = s.parts[j];
    Move(c, j, start_[q] + live_[q] - 1);
    Lose(q, s.size);
  }
  if (s.size == kTriple) --live_triples_;
}

void Packer::Revive(int c) {
  Live& s = state_[c];
  s.dead = 0;
  for (int j = 0; j < s.size; ++j) {
    const int q = s.parts[j];
    Move(c, j, start_[q] + live_[q]);
    Gain(q, s.size);
  }
  if (s.size == kTriple) ++live_triples_;
}

/// A part other than `except` that keeps dead candidate c dead: taken, or
/// banned from larger sets when c is one; -1 when none.
int Packer::Blocker(int c, int except) const {
  const Live& s = state_[c];
  for (int j = 0; j < s.size; ++j) {
    const int q = s.parts[j];
    if (q != except && (!available_[q] || (banned_[q] && s.size != kPair))) return q;
  }
  return -1;
}

/// Asks for candidate c's state before it is needed: the candidates a part
/// kills or gives back lie anywhere in memory, and the loop would wait for
/// each one in turn.
void Packer::Prefetch(int c) const {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(&state_[c]);
#else
  (void)c;
#endif
}

/// Gives back the candidates part p kept dead: each comes alive, or passes
/// to another part that keeps it dead (parts are given back in any order).
void Packer::GiveBack(int p) {
  std::vector<int>& held = held_[p];
  work_ += static_cast<int64_t>(held.size());
  for (size_t i = held.size(); i-- > 0;) {
    const int c = held[i];
    if (i >= static_cast<size_t>(kPrefetchAhead)) Prefetch(held[i - kPrefetchAhead]);
    const int q = Blocker(c, p);
    if (q >= 0)
      held_[q].push_back(c);
    else
      Revive(c);
  }
  held.clear();
}

void Packer::Cover(int p) {
  Tally(p, -1);
  available_[p] = false;
  work_ += live_[p];
  while (live_[p] > 0) {
    // Killing the first member swaps the last one in: the members are
    // taken from the end, so the ones ahead are known.
    if (live_[p] > kPrefetchAhead)
      Prefetch(members_[start_[p] + live_[p] - kPrefetchAhead] / kMaxSetParts);
    const int c = members_[start_[p]] / kMaxSetParts;
    Kill(c);
    held_[p].push_back(c);
  }
}

void Packer::Uncover(int p) {
  GiveBack(p);
  available_[p] = true;
  Tally(p, 1);
}

/// Keeps part p out of every set of three or four parts, or lets it in
/// again; its sets of two stay. Part p stays available meanwhile.
void Packer::Ban(int p, bool on) {
  banned_[p] = on;
  if (!on) {
    GiveBack(p);
    return;
  }
  work_ += live_[p];
  for (int j = start_[p]; j < start_[p] + live_[p];) {
    const int c = members_[j] / kMaxSetParts;
    if (state_[c].size == kPair) {
      ++j;
      continue;
    }
    Kill(c);
    held_[p].push_back(c);
  }
}

/// The most sets of two parts among the available parts (of one cluster
/// when `clusters` is given): the greedy matching in the order of values,
/// a largest one when the sets form runs; else half the parts.
int Packer::Matching(int cluster, const std::vector<int>* clusters, std::vector<int>* sets,
                     std::array<bool, kParts>* matched_parts, MatchingTrace* trace) const {
  int matched = 0;
  int parts = 0;
  int pending = -1;
  for (size_t i = 0; i < singles_.size(); ++i) {
    const Part p = singles_[i];
    if (trace != nullptr) {
      trace->pending[i] = static_cast<int16_t>(pending);
      trace->made[i] = static_cast<int16_t>(matched);
    }
    if (!available_[p] || live2_[p] == 0) continue;
    if (clusters != nullptr && (*clusters)[p] != cluster) continue;
    ++parts;
    if (pending >= 0 && pairs_[pending * kParts + p] >= 0) {
      ++matched;
      if (sets != nullptr) sets->push_back(pairs_[pending * kParts + p]);
      if (matched_parts != nullptr) (*matched_parts)[p] = (*matched_parts)[pending] = true;
      pending = -1;
    } else {
      pending = p;
    }
  }
  return runs_ ? matched : parts / 2;
}

/// The most sets `parts` available parts can make, `big` of them in some
/// set of three or four parts, when at most `matched` sets of two fit among
/// them: sets of two use the fewest parts, so as many of them as fit, and
/// the others of three parts (when `triples`) or four from the rest.
/// The greedy matching without the parts of s, from the walk `trace`
/// recorded (of `total` sets): the walk is taken up at the first of them,
/// and once past the last it meets the recorded one again, the rest is
/// the same.
int Packer::MatchingWithout(const Candidate& s, const MatchingTrace& trace, int total) {
  int first = kParts;
  int last = -1;
  for (int k = 0; k < s.size; ++k) {
    const int i = single_index_[s.parts[k]];
    if (i < 0) continue;
    first = std::min(first, i);
    last = std::max(last, i);
  }
  if (last < 0) return total;
  int pending = trace.pending[first];
  int matched = trace.made[first];
  const int n = static_cast<int>(singles_.size());
  for (int i = first; i < n; ++i) {
    if (i > last && pending == trace.pending[i]) {
      work_ += i - first;
      return matched + total - trace.made[i];
    }
    const Part p = singles_[i];
    if (!available_[p] || live2_[p] == 0 ||
        std::find(s.parts.begin(), s.parts.begin() + s.size, p) != s.parts.begin() + s.size)
      continue;
    if (pending >= 0 && pairs_[pending * kParts + p] >= 0) {
      ++matched;
      pending = -1;
    } else {
      pending = p;
    }
  }
  work_ += n - first;
  return matched;
}

int Packer::Bound(int matched, int parts, int big, bool triples) const {
  return matched + std::min(parts - 2 * matched, big) / (triples ? kTriple : kMaxSetParts);
}

void Packer::Take(int c) {
  for (int k = 0; k < sets_[c].size; ++k) {
    Cover(sets_[c].parts[k]);
    owner_[sets_[c].parts[k]] = c;
  }
  chosen_.push_back(c);
}

void Packer::Drop(int c) {
  for (int k = 0; k < sets_[c].size; ++k) {
    Uncover(sets_[c].parts[k]);
    owner_[sets_[c].parts[k]] = -1;
  }
  chosen_.erase(std::find(chosen_.begin(), chosen_.end(), c));
}

/// Takes the live candidates that hold one of `parts`, lowest index first.
void Packer::FillAround(const std::array<Part, kMaxSetParts>& parts, int size) {
  for (int k = 0; k < size; ++k) {
    const int p = parts[k];
    for (int j = start_[p]; j < start_[p + 1] && available_[p]; ++j)
      if (state_[list_[j]].dead == 0) Take(list_[j]);
  }
}

bool Packer::Stopped() {
  if (stopped_) return true;
  if (work_ > limits_.work || work_ > attempt_end_) stopped_ = true;
  if (settled_ != nullptr && settled_->load(std::memory_order_relaxed)) stopped_ = true;
  if (work_ >= next_clock_read_) {
    next_clock_read_ = work_ + kWorkPerClockRead;
    Late();
  }
  return stopped_;
}

/// Reads the clock: past the deadline every search stops for good.
bool Packer::Late() {
  if (std::chrono::steady_clock::now() > limits_.deadline) late_ = stopped_ = true;
  return late_;
}

/// Whether the whole search is over, not just an attempt: the work or the
/// time spent, or the other search settled.
bool Packer::OutOfTime() const {
  return late_ || work_ > limits_.work ||
         (settled_ != nullptr && settled_->load(std::memory_order_relaxed));
}

/// Branch and bound over the live candidates: the available part with the
/// fewest live candidates is covered by each of them in turn, or left out.
/// When the sets of two form runs, a largest matching of them is found
/// directly: then only the larger sets are branched on (a part is in one
/// of them, or in none), and every node's matching completes a selection.
void Packer::Search(int count) {
  work_ += kParts + static_cast<int64_t>(singles_.size());
  if (best_count_ >= target_ || Stopped()) return;
  std::array<bool, kParts> in_matching{};
  MatchingTrace trace;
  const int matched = Matching(0, nullptr, nullptr, &in_matching, &trace);
  const int bound = std::min(static_cast<int>(shares_ / kWhole),
                             Bound(matched, live_parts_, big_parts_, live_triples_ > 0));
  if (count + bound <= best_count_) return;
  const bool by_matching = runs_ && pairs_whole_;
  if (by_matching && count + matched > best_count_) {
    best_count_ = count + matched;
    best_ = path_;
    Matching(0, nullptr, &best_);
    if (best_count_ >= target_ || count + bound <= best_count_) return;
  }
  // A part the matching leaves out first: a larger set gains most there.
  auto branches = [&](int q) { return by_matching ? live_[q] - live2_[q] : live_[q]; };
  auto rank = [&](int q) { return std::pair(in_matching[q], branches(q)); };
  int p = -1;
  for (int q = 0; q < kParts; ++q) {
    if (available_[q] && branches(q) > 0 && (p < 0 || rank(q) < rank(p))) p = q;
  }
  if (p < 0) {
    if (!by_matching) {
      best_count_ = count;
      best_ = path_;
    }
    return;
  }
  // The sets that cost the matching nothing first.
  auto costless = [&](int c) {
    for (int j = 0; j < sets_[c].size; ++j)
      if (in_matching[sets_[c].parts[j]]) return false;
    return true;
  };
  // The live candidates of p, smaller sets first: each branch gives back
  // what it took, so they are all live again when their turn comes.
  std::vector<int> tries;
  for (int j = start_[p]; j < start_[p] + live_[p]; ++j) {
    const int c = members_[j] / kMaxSetParts;
    if (!by_matching || state_[c].size != kPair) tries.push_back(c);
  }
  std::sort(tries.begin(), tries.end(), [&](int a, int b) {
    return std::pair(state_[a].size, rank_[a]) < std::pair(state_[b].size, rank_[b]);
  });
  work_ += static_cast<int64_t>(tries.size());
  for (int pass = 0; pass < 2; ++pass) {
    // A stop ends every level at once: each branch left would cover and
    // uncover its parts only to return.
    for (size_t k = 0; k < tries.size() && best_count_ < target_ && !stopped_; ++k) {
      const int c = tries[k];
      if (by_matching && costless(c) != (pass == 0)) continue;
      if (!by_matching && pass == 1) break;
      const Candidate& s = sets_[c];
      if (by_matching) {
        // The bound after taking c, from above, before paying for it: its
        // parts leave the matching, the available parts and the larger sets.
        // The matching keeps its size where c holds none of its parts, and
        // never grows: its size now bounds it until the bound says more.
        auto beyond = [&](int after) {
          return count + 1 +
                     Bound(after, live_parts_ - s.size, big_parts_ - s.size, live_triples_ > 0) >
                 best_count_;
        };
        if (!beyond(matched)) continue;
        if (pass == 1 && !beyond(MatchingWithout(s, trace, matched))) continue;
      }
      for (int j = 0; j < s.size; ++j)
        Cover(s.parts[j]);
      path_.push_back(c);
      Search(count + 1);
      path_.pop_back();
      for (int j = s.size; j-- > 0;)
        Uncover(s.parts[j]);
    }
  }
  if (stopped_) return;
  if (by_matching) {
    Ban(p, true);
    Search(count);
    Ban(p, false);
  } else {
    Cover(p);
    Search(count);
    Uncover(p);
  }
}

/// Gives back the chosen candidates `removed` and searches their parts and
/// the free ones for more sets, at most `target`. Keeps the best found, or
/// takes `removed` again. True when the search was exhausted.
bool Packer::Improve(const std::vector<int>& removed, int target, bool restarts) {
  for (int c : removed)
    Drop(c);
  best_count_ = static_cast<int>(removed.size());
  best_ = removed;
  target_ = target;
  path_.clear();
  for (int64_t attempt = kFirstAttempt;; attempt = std::min(attempt + attempt / 2, limits_.work)) {
    if (restarts) attempt_end_ = work_ + attempt;
    Search(0);
    if (!stopped_ || OutOfTime() || best_count_ >= target_ || !restarts) break;
    stopped_ = false;
    Shuffle();
  }
  if (restarts) {
    // The next cluster starts from the first order again, or, in the
    // second search, from another shuffled one.
    attempt_end_ = INT64_MAX;
    if (settled_ != nullptr)
      Shuffle();
    else
      std::iota(rank_.begin(), rank_.end(), 0);
  }
  for (int c : best_)
    Take(c);
  for (int c : removed)
    FillAround(sets_[c].parts, sets_[c].size);
  return !stopped_;
}

/// Puts the candidates in a new random order for the search.
void Packer::Shuffle() {
  for (size_t i = rank_.size(); i-- > 1;)
    std::swap(rank_[i], rank_[random_below(&random_, i + 1)]);
}

/// Trades one chosen set for two, then two neighbouring ones for three.
void Packer::Exchanges(size_t goal) {
  for (bool again = true; again && !stopped_ && chosen_.size() < goal;) {
    again = false;
    const std::vector<int> before = chosen_;
    for (int c : before) {
      if (stopped_ || chosen_.size() >= goal) return;
      if (std::find(chosen_.begin(), chosen_.end(), c) == chosen_.end()) continue;
      const size_t had = chosen_.size();
      Improve({c}, 2);
      again = again || chosen_.size() > had;
    }
    // Pairs next to the free parts first: the trades that use them.
    std::vector<int> order;
    for (int f = 0; f < kParts; ++f) {
      if (!available_[f]) continue;
      for (int j = start_[f]; j < start_[f + 1]; ++j) {
        const Candidate& d = sets_[list_[j]];
        for (int m = 0; m < d.size; ++m)
          if (owner_[d.parts[m]] >= 0) order.push_back(owner_[d.parts[m]]);
      }
    }
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    for (int c : before)
      if (!std::binary_search(order.begin(), order.end(), c)) order.push_back(c);
    for (size_t i = 0; i < order.size() && !again && !stopped_; ++i) {
      const int c = order[i];
      std::vector<int> neighbours;
      for (int k = 0; k < sets_[c].size; ++k) {
        const Part p = sets_[c].parts[k];
        for (int j = start_[p]; j < start_[p + 1]; ++j) {
          const Candidate& d = sets_[list_[j]];
          for (int m = 0; m < d.size; ++m) {
            const int t = owner_[d.parts[m]];
            if (t >= 0 && t != c) neighbours.push_back(t);
          }
        }
      }
      std::sort(neighbours.begin(), neighbours.end());
      neighbours.erase(std::unique(neighbours.begin(), neighbours.end()), neighbours.end());
      for (int t : neighbours) {
        if (stopped_) return;
        const size_t had = chosen_.size();
        Improve({c, t}, 3);
        if (chosen_.size() > had) {
          again = true;
          break;
        }
      }
    }
  }
}

/// Picks the candidates of `first`, then of `order`, whose parts are all
/// still unused.
std::vector<int> Packer::Greedy(const std::vector<int>& order, std::vector<int> first) const {
  first.insert(first.end(), order.begin(), order.end());
  return greedy_sets(sets_, first);
}

/// Trades each chosen set, the worst first, for the candidate of least
/// deviation among those whose parts are its own or unused, and takes what
/// fits in the parts that frees.
std::vector<int> Packer::LowerDeviations(std::vector<int> chosen) const {
  std::array<bool, kParts> used{};
  for (int c : chosen)
    for (int k = 0; k < sets_[c].size; ++k)
      used[sets_[c].parts[k]] = true;
  auto free = [&](int c) {
    for (int k = 0; k < sets_[c].size; ++k)
      if (used[sets_[c].parts[k]]) return false;
    return true;
  };
  auto take = [&](int c, bool on) {
    for (int k = 0; k < sets_[c].size; ++k)
      used[sets_[c].parts[k]] = on;
  };
  std::sort(chosen.rbegin(), chosen.rend());
  const size_t had = chosen.size();
  for (size_t i = 0; i < had; ++i) {
    const int c = chosen[i];
    take(c, false);
    int best = c;
    for (int k = 0; k < sets_[c].size; ++k) {
      const Part p = sets_[c].parts[k];
      for (int j = start_[p]; j < start_[p + 1]; ++j)
        if (list_[j] < best && free(list_[j])) best = list_[j];
    }
    take(best, true);
    chosen[i] = best;
    for (int k = 0; k < sets_[c].size; ++k) {
      const Part p = sets_[c].parts[k];
      for (int j = start_[p]; j < start_[p + 1] && !used[p]; ++j) {
        if (free(list_[j])) {
          take(list_[j], true);
          chosen.push_back(list_[j]);
        }
      }
    }
  }
  return chosen;
}

/// The cluster of each part: parts joined by candidates, by the lowest
/// part of the cluster; -1 for parts in no candidate.
std::vector<int> Packer::Clusters() {
  std::vector<int> up(kParts);
  std::iota(up.begin(), up.end(), 0);
  auto root = [&](int p) {
    while (up[p] != p)
      p = up[p] = up[up[p]];
    return p;
  };
  for (const Candidate& c : sets_) {
    for (int k = 1; k < c.size; ++k) {
      const int a = root(c.parts[0]);
      const int b = root(c.parts[k]);
      up[std::max(a, b)] = std::min(a, b);
    }
  }
  std::vector<int> cluster(kParts, -1);
  for (int p = 0; p < kParts; ++p)
    if (share_[p] > 0) cluster[p] = root(p);
  return cluster;
}

Packing Packer::Run(bool complete, bool pairs_complete, SparesOnDemand* spares,
                    RelaxationOnDemand* relaxation, RelaxationOnDemand* last) {
  pairs_whole_ = pairs_complete;
  if (settled_ != nullptr) Shuffle();
  // Greedy by deviation, and greedy by size then deviation (small sets
  // leave more parts for others); the larger wins, ties to the first.
  std::vector<int> by_deviation(sets_.size());
  std::iota(by_deviation.begin(), by_deviation.end(), 0);
  std::vector<int> by_size = by_deviation;
  std::stable_sort(by_size.begin(), by_size.end(),
                   [&](int a, int b) { return sets_[a].size < sets_[b].size; });
  std::vector<int> greedy = Greedy(by_deviation);
  std::vector<int> small_first = Greedy(by_size);
  if (small_first.size() > greedy.size()) greedy.swap(small_first);
  // And the largest matching by sets of two first, the rest by deviation.
  std::vector<int> matched;
  Matching(0, nullptr, &matched);
  small_first = Greedy(by_deviation, matched);
  if (small_first.size() > greedy.size()) greedy.swap(small_first);
  // And the sets of the sides' pairing first, where the windows are wide.
  std::vector<int> paired;
  for (size_t i = 0; i < sets_.size(); ++i)
    if (sets_[i].side_paired) paired.push_back(static_cast<int>(i));
  small_first = Greedy(by_deviation, paired);
  if (small_first.size() > greedy.size()) greedy.swap(small_first);

  // The bound of each cluster: clusters share no candidate. An incomplete
  // list may split a cluster, so it counts as one.
  std::vector<int> cluster = Clusters();
  if (!complete) {
    for (int& k : cluster)
      if (k >= 0) k = 0;
  }
  std::array<int, kParts> parts{};
  std::array<int, kParts> big{};
  std::array<bool, kParts> triples{};
  for (int p = 0; p < kParts; ++p) {
    if (cluster[p] < 0) continue;
    ++parts[cluster[p]];
    if (live_[p] > live2_[p]) ++big[cluster[p]];
  }
  for (const Candidate& c : sets_)
    if (c.size == kTriple) triples[cluster[c.parts[0]]] = true;
  std::array<int64_t, kParts> shares{};
  std::array<int, kParts> bound{};
  // The shares bound each cluster; new shares may lower the bound.
  auto share_bounds = [&] {
    shares.fill(0);
    for (int p = 0; p < kParts; ++p)
      if (cluster[p] >= 0) shares[cluster[p]] += share_[p];
    for (int k = 0; k < kParts; ++k)
      bound[k] = std::min(bound[k], static_cast<int>(shares[k] / kWhole));
  };
  bound.fill(INT_MAX);
  share_bounds();
  // Every set holds a whole part of the sides' cover on each side: a
  // quarter of the cover's halves bounds each cluster, and where those
  // shares sum to less, the search takes them.
  std::array<int, kParts> halves{};
  std::array<double, kParts> cover_prices{};
  for (int p = 0; p < kParts; ++p) {
    cover_prices[p] = static_cast<double>(cover_[p]) / kSetCoverHalves;
    if (cluster[p] >= 0) halves[cluster[p]] += cover_[p];
  }
  for (int k = 0; k < kParts; ++k)
    bound[k] = std::min(bound[k], halves[k] / kSetCoverHalves);
  UsePrices(cover_prices);
  share_bounds();
  // The matching may not be a largest of an incomplete list.
  for (int k = 0; k < kParts; ++k)
    if (pairs_complete && parts[k] > 0)
      bound[k] = std::min(bound[k], Bound(Matching(k, &cluster), parts[k], big[k], triples[k]));
  // No cluster need search past the relaxation's bound on the whole.
  size_t most = SIZE_MAX;
  auto short_clusters = [&] {
    std::array<int, kParts> sets{};
    for (int c : chosen_)
      ++sets[cluster[sets_[c].parts[0]]];
    std::vector<int> out;
    for (int k = 0; k < kParts && chosen_.size() < most; ++k)
      if (sets[k] < bound[k]) out.push_back(k);
    return out;
  };

  chosen_ = greedy;
  // Where the greedy starts fall short of the bounds, the relaxation's
  // search: its selection may have more sets, its prices may give better
  // shares, and its bound holds for the whole.
  const RelaxedSearch* relaxed = nullptr;
  if (relaxation != nullptr && !short_clusters().empty()) {
    const std::optional<RelaxedSearch>& found = relaxation->Get();
    if (found) relaxed = &*found;
  }
  if (relaxed != nullptr) {
    if (relaxed->chosen.size() > greedy.size()) chosen_ = greedy = relaxed->chosen;
    UsePrices(relaxed->prices);
    share_bounds();
    most = static_cast<size_t>(relaxed->upper_bound);
  }
  // The most sets the bounds allow: the searches end there.
  const size_t goal =
      std::min(most, static_cast<size_t>(std::accumulate(bound.begin(), bound.end(), 0)));
  // Where they still fall short, the most sets of spare parts with a
  // largest matching of the rest (as large as the whole one: the sets of
  // spare parts cost it nothing), or as many as reach the bounds. Where no
  // two single components make a set, the matching is empty and those sets
  // are the candidates themselves (or none, without NUL), which the
  // relaxation has searched: that time goes to the searches below.
  const bool all_spare =
      relaxed != nullptr &&
      std::none_of(sets_.begin(), sets_.end(), [](const Candidate& c) { return c.size == kPair; });
  if (spares != nullptr && !all_spare && !short_clusters().empty()) {
    std::vector<int> spares_first =
        spares->Get(static_cast<int>(goal) - static_cast<int>(matched.size()));
    for (int c : spares_first)
      for (int k = 0; k < sets_[c].size; ++k)
        available_[sets_[c].parts[k]] = false;
    Matching(0, nullptr, &spares_first);
    available_.fill(true);
    small_first = Greedy(by_deviation, spares_first);
    if (small_first.size() > greedy.size()) chosen_ = greedy = small_first;
  }
  std::vector<int> open = short_clusters();
  // Setting up a long list may take the search's time on a slow machine:
  // then the greedy start stands, as taking its sets costs as much again.
  if (!open.empty() && Late()) open.clear();
  if (!open.empty()) {
    // The greedy sets taken with their parts' bookkeeping, for the search.
    chosen_.clear();
    for (int c : greedy)
      Take(c);
    // The trades may take a share of the work, and a walk from there its
    // own; the exact search, which can prove its result, the rest.
    attempt_end_ = work_ + limits_.work / kTradesShare;
    Exchanges(goal);
    attempt_end_ = INT64_MAX;
    if (!OutOfTime()) stopped_ = false;
    // The walk reaches the last sets of a nearly full selection that the
    // exact search is slow to find.
    if (chosen_.size() < goal && !OutOfTime()) {
      const Walk walk = walk_sets(sets_, chosen_, static_cast<int>(goal),
                                  {kWalkWork, limits_.deadline, settled_}, random_);
      if (walk.chosen.size() > chosen_.size()) {
        for (int c : std::vector<int>(chosen_))
          Drop(c);
        for (int c : walk.chosen)
          Take(c);
      }
    }
    open = short_clusters();
  }
  // Exact search, smallest clusters first.
  std::sort(open.begin(), open.end(),
            [&](int a, int b) { return std::pair(shares[a], a) < std::pair(shares[b], b); });
  for (int k : open) {
    if (stopped_ || chosen_.size() >= most) break;
    std::vector<int> inside;
    for (int c : chosen_)
      if (cluster[sets_[c].parts[0]] == k) inside.push_back(c);
    if (Improve(inside, bound[k], true) && complete) {
      bound[k] = 0;
      for (int c : chosen_)
        if (cluster[sets_[c].parts[0]] == k) ++bound[k];
    }
  }
  int upper_bound = std::accumulate(bound.begin(), bound.end(), 0);
  if (relaxed != nullptr) upper_bound = std::min(upper_bound, relaxed->upper_bound);
  // Where the searches spent their work short of the bounds before the
  // clock, the last search in the time left; its selection, where larger,
  // stands, and its bound holds too.
  if (last != nullptr && std::ssize(chosen_) < upper_bound && !Late()) {
    const std::optional<RelaxedSearch>& found = last->Get();
    if (found && found->chosen.size() > chosen_.size()) {
      for (int c : std::vector<int>(chosen_))
        Drop(c);
      for (int c : found->chosen)
        Take(c);
    }
    if (found) upper_bound = std::min(upper_bound, found->upper_bound);
  }
  Packing out;
  out.chosen = LowerDeviations(chosen_);
  std::sort(out.chosen.begin(), out.chosen.end());
  out.upper_bound = upper_bound;
  out.proven = static_cast<int>(out.chosen.size()) == out.upper_bound;
  out.timed_out = stopped_;
  out.work = work_;
  return out;
}

}  // namespace

Packing pack_sets(const CandidateSets& candidates, const PackingLimits& limits) {
  // Each search looks for the sets of spare parts with the branching and
  // the aim of its relaxation: each finds some that the other is slow to.
  // Where those sets fall short and it is unsure whether more of them
  // exist, the second one also looks among the sets that spend the
  // matching, a longer search that the first leaves to it.
  auto run = [&](uint64_t seed, const std::atomic<bool>* settled, RelaxationOnDemand* relaxation,
                 RelaxationOnDemand* last) {
    Packer packer(candidates.sets, candidates.singles, candidates.cover, limits, seed, settled);
    const bool helper = settled != nullptr;
    SparesOnDemand spares([&](int enough) {
      return spare_sets(candidates.sets, helper ? kHelperSpareWork : kSpareWork, limits.deadline,
                        settled, helper ? Branching::kTightestPart : Branching::kFavouredSet,
                        enough, helper ? Aim::kGreedyStart : Aim::kBestFound, helper);
    });
    return packer.Run(candidates.complete, candidates.pairs_complete, &spares, relaxation, last);
  };
  auto make_relaxation = [&](int64_t work, const std::atomic<bool>* stop, Branching branching,
                             Aim aim) {
    return RelaxationOnDemand([&candidates, &limits, work, stop, branching, aim] {
      return candidates.complete ? relaxed_search(candidates.sets, work, limits.deadline, stop,
                                                  branching, INT_MAX, aim)
                                 : std::nullopt;
    });
  };
  RelaxationOnDemand first_relaxation =
      make_relaxation(kRelaxedWork, nullptr, Branching::kFavouredSet, Aim::kBestFound);
  // Where the first search spends its work short of the bounds before the
  // clock, the relaxation's search once more, branching on the favoured
  // candidate and aiming at a greedy start (the way neither search took):
  // it finds some selections of nearly every part in sets of four that
  // the others miss. It ends where the second search proves its count.
  std::atomic<bool> other_proven{false};
  RelaxationOnDemand last = make_relaxation(kHelperRelaxedWork, &other_proven,
                                            Branching::kFavouredSet, Aim::kGreedyStart);
  if (std::thread::hardware_concurrency() < kSearchThreads)
    return run(0, nullptr, &first_relaxation, &last);
  // A second core searches the same candidates in another order: where
  // one order is slow to find the last set, another is often quick; and
  // its relaxation's search, where it runs, branches at the tightest part
  // and aims at a greedy selection from the start (its bound is the
  // tighter), with ten times the work of the first one's. The first search's
  // selection stands when it proves its count, else the one with more sets
  // (the first on a tie), so a run gives the same selection on any machine
  // the clock does not stop.
  std::atomic<bool> settled{false};
  Packing other;
  bool other_ran = false;
  std::thread helper;
  try {
    helper = std::thread([&] {
      try {
        RelaxationOnDemand longer = make_relaxation(kHelperRelaxedWork, &settled,
                                                    Branching::kTightestPart, Aim::kGreedyStart);
        other = run(kHelperSeed, &settled, &longer, nullptr);
        other_ran = true;
        other_proven = other.proven;
      } catch (const std::exception&) {
        // Out of memory, say: the first search's result stands.
      }
    });
  } catch (const std::exception&) {
    return run(0, nullptr, &first_relaxation, &last);
  }
  Packing first;
  try {
    first = run(0, nullptr, &first_relaxation, &last);
  } catch (...) {
    settled = true;
    helper.join();
    throw;
  }
  if (first.proven) settled = true;
  helper.join();
  const bool first_stands =
      first.proven || !other_ran || other.chosen.size() <= first.chosen.size();
  Packing& best = first_stands ? first : other;
  // Either search's bound holds for both.
  if (other_ran) best.upper_bound = std::min(first.upper_bound, other.upper_bound);
  best.proven = static_cast<int>(best.chosen.size()) == best.upper_bound;
  best.timed_out = best.timed_out && !best.proven;
  best.work = first.work;
  return best;
}
