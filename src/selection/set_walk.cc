#include "selection/set_walk.h"

#include <algorithm>
#include <array>

#include "program1/register_table.h"
#include "selection/random_below.h"

namespace {

/// Parts are relative indices below kParts.
constexpr int kParts = kFlagSlots;
/// Candidates drawn at random for one that is not chosen and holds a free
/// part; the last one drawn is forced in even when all its parts are taken.
constexpr int kDraws = 50;
/// The clock and the stop flag are read once in this many units of work.
constexpr int64_t kWorkPerCheck = 1 << 16;
/// Each step is charged at least this much, so that a walk among few
/// candidates ends too.
constexpr int64_t kStepWork = kParts;
constexpr uint64_t kSeedMix = 0x9E3779B97F4A7C15ull;

class Walker {
 public:
  Walker(const std::vector<Candidate>& sets, const WalkLimits& limits, uint64_t seed);
  Walk Run(const std::vector<int>& chosen, int goal);

 private:
  /// A candidate's parts in rising order, unused places last (kNoPart).
  struct Parts {
    std::array<Part, kMaxSetParts> part{kNoPart, kNoPart, kNoPart, kNoPart};
    int size = 0;
  };
  bool Chosen(int c) const { return owner_[parts_[c].part[0]] == c; }
  bool AllFree(int c) const;
  bool AllTaken(int c) const;
  bool Disjoint(int a, int b) const;
  void Take(int c);
  void Give(int c);
  std::vector<int> Current() const;
  std::vector<Part> FreeParts() const;
  void Within(const std::vector<Part>& parts);
  bool Settle();
  void Force(int c);
  bool Stopped();

  WalkLimits limits_;
  std::vector<Parts> parts_;
  /// The candidates by their two lowest parts a < b: list_[head_[a * kParts
  /// + b]] on, in rising index.
  std::vector<int> head_;
  std::vector<int> list_;
  std::vector<Part> used_parts_;  ///< The parts some candidate holds, rising.
  std::array<int, kParts> owner_{};
  std::array<bool, kParts> mask_{};
  int count_ = 0;
  std::vector<int> within_;
  int64_t work_ = 0;
  int64_t next_check_ = kWorkPerCheck;
  bool stopped_ = false;
  uint64_t random_;
};

Walker::Walker(const std::vector<Candidate>& sets, const WalkLimits& limits, uint64_t seed)
    : limits_(limits),
      parts_(sets.size()),
      head_(kParts * kParts + 1, 0),
      list_(sets.size()),
      random_(seed ^ kSeedMix) {
  if (random_ == 0) random_ = kSeedMix;
  owner_.fill(-1);
  std::array<bool, kParts> used{};
  for (size_t c = 0; c < sets.size(); ++c) {
    Parts& p = parts_[c];
    p.size = sets[c].size;
    std::copy_n(sets[c].parts.begin(), p.size, p.part.begin());
    std::sort(p.part.begin(), p.part.begin() + p.size);
    ++head_[p.part[0] * kParts + p.part[1] + 1];
    for (int k = 0; k < p.size; ++k)
      used[p.part[k]] = true;
  }
  for (size_t k = 1; k < head_.size(); ++k)
    head_[k] += head_[k - 1];
  std::vector<int> next(head_.begin(), head_.end() - 1);
  for (size_t c = 0; c < sets.size(); ++c)
    list_[next[parts_[c].part[0] * kParts + parts_[c].part[1]]++] = static_cast<int>(c);
  for (int q = 0; q < kParts; ++q)
    if (used[q]) used_parts_.push_back(static_cast<Part>(q));
}

bool Walker::AllFree(int c) const {
  for (int k = 0; k < parts_[c].size; ++k)
    if (owner_[parts_[c].part[k]] >= 0) return false;
  return true;
}

bool Walker::AllTaken(int c) const {
  for (int k = 0; k < parts_[c].size; ++k)
    if (owner_[parts_[c].part[k]] < 0) return false;
  return true;
}

bool Walker::Disjoint(int a, int b) const {
  for (int i = 0; i < parts_[a].size; ++i)
    for (int j = 0; j < parts_[b].size; ++j)
      if (parts_[a].part[i] == parts_[b].part[j]) return false;
  return true;
}

void Walker::Take(int c) {
  for (int k = 0; k < parts_[c].size; ++k)
    owner_[parts_[c].part[k]] = c;
  ++count_;
}

void Walker::Give(int c) {
  for (int k = 0; k < parts_[c].size; ++k)
    owner_[parts_[c].part[k]] = -1;
  --count_;
}

/// The chosen candidates, in rising index.
std::vector<int> Walker::Current() const {
  std::vector<int> out;
  for (Part q : used_parts_)
    if (owner_[q] >= 0) out.push_back(owner_[q]);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

std::vector<Part> Walker::FreeParts() const {
  std::vector<Part> out;
  for (Part q : used_parts_)
    if (owner_[q] < 0) out.push_back(q);
  return out;
}

/// The candidates all of whose parts are among `parts` (rising, distinct),
/// into within_ in rising index: each is found once, by its lowest two.
void Walker::Within(const std::vector<Part>& parts) {
  within_.clear();
  for (Part q : parts)
    mask_[q] = true;
  for (size_t i = 0; i < parts.size(); ++i) {
    for (size_t j = i + 1; j < parts.size(); ++j) {
      const int key = parts[i] * kParts + parts[j];
      work_ += 1 + head_[key + 1] - head_[key];
      for (int e = head_[key]; e < head_[key + 1]; ++e) {
        const Parts& d = parts_[list_[e]];
        bool inside = true;
        for (int k = 2; k < d.size && inside; ++k)
          inside = mask_[d.part[k]];
        if (inside) within_.push_back(list_[e]);
      }
    }
  }
  for (Part q : parts)
    mask_[q] = false;
  std::sort(within_.begin(), within_.end());
}

/// Takes the candidates that fit in the free parts, lowest index (the
/// least deviation) first; else trades the first chosen set that it can
/// for two candidates in its parts and the free ones. False when neither
/// was possible.
bool Walker::Settle() {
  const std::vector<Part> free = FreeParts();
  Within(free);
  bool took = false;
  for (int d : within_) {
    if (AllFree(d)) {
      Take(d);
      took = true;
    }
  }
  if (took) return true;
  std::vector<int> trades;
  for (int x : Current()) {
    std::vector<Part> around = free;
    around.insert(around.end(), parts_[x].part.begin(), parts_[x].part.begin() + parts_[x].size);
    std::sort(around.begin(), around.end());
    Within(around);
    trades.clear();
    for (int d : within_)
      if (!Chosen(d)) trades.push_back(d);
    for (size_t i = 0; i < trades.size(); ++i) {
      for (size_t j = i + 1; j < trades.size(); ++j) {
        if (!Disjoint(trades[i], trades[j])) continue;
        Give(x);
        Take(trades[i]);
        Take(trades[j]);
        return true;
      }
    }
  }
  return false;
}

/// Takes `c`, giving back the chosen sets that hold its parts.
void Walker::Force(int c) {
  for (int k = 0; k < parts_[c].size; ++k) {
    const int o = owner_[parts_[c].part[k]];
    if (o >= 0) Give(o);
  }
  Take(c);
}

bool Walker::Stopped() {
  if (work_ > limits_.work) stopped_ = true;
  if (work_ >= next_check_) {
    next_check_ = work_ + kWorkPerCheck;
    if (std::chrono::steady_clock::now() > limits_.deadline ||
        (limits_.stop != nullptr && limits_.stop->load(std::memory_order_relaxed)))
      stopped_ = true;
  }
  return stopped_;
}

/// Each step forces a candidate drawn at random in and settles the parts
/// around it. A step that loses a set goes back to the best selection; one
/// that keeps the count stays, so that the walk moves along selections of
/// the best size until one of them makes room for another set.
Walk Walker::Run(const std::vector<int>& chosen, int goal) {
  for (int c : chosen)
    Take(c);
  Walk out;
  out.chosen = Current();
  const uint64_t n = parts_.size();
  while (n > 0 && count_ < goal && !Stopped()) {
    work_ += kStepWork;
    int c = 0;
    for (int draw = 0; draw < kDraws; ++draw) {
      c = static_cast<int>(random_below(&random_, n));
      if (!Chosen(c) && !AllTaken(c)) break;
    }
    if (Chosen(c)) continue;
    Force(c);
    while (Settle()) {
    }
    const int best = static_cast<int>(out.chosen.size());
    if (count_ > best) {
      out.chosen = Current();
    } else if (count_ < best) {
      for (int d : Current())
        Give(d);
      for (int d : out.chosen)
        Take(d);
    }
  }
  out.work = work_;
  return out;
}

}  // namespace

Walk walk_sets(const std::vector<Candidate>& sets, const std::vector<int>& chosen, int goal,
               const WalkLimits& limits, uint64_t seed) {
  Walker walker(sets, limits, seed);
  return walker.Run(chosen, goal);
}
