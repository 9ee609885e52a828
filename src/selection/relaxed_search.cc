#include "selection/relaxed_search.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr int kParts = kFlagSlots;
/// Subgradient rounds at the root, and at each later node, whose prices
/// start from its parent's, already near their best.
constexpr int kRootRounds = 100;
constexpr int kNodeRounds = 40;
/// Rounds without a better bound before the step is halved, and the
/// smallest step worth going on with.
constexpr int kStaleRounds = 5;
constexpr double kLeastStep = 1e-3;
/// A part's first price: most sets hold three parts or four.
constexpr double kFirstPrice = 1.0 / 3;
/// How much of a candidate's record of gains stays from round to round:
/// the candidates the relaxation keeps taking are tried first.
constexpr double kKeep = 0.8;
/// Added before a bound is rounded down: an error in the sums must not
/// make a bound smaller than it is.
constexpr double kSlack = 1e-6;
/// Every set holds two parts at least.
constexpr int kFewestParts = 2;
constexpr int64_t kWorkPerClockRead = 1 << 16;

/// Prices of every number a candidate's part can hold, kNoPart (which
/// costs nothing) included, so that a candidate is priced without a test.
constexpr int kPriceSlots = kNoPart + 1;
using Prices = std::array<double, kPriceSlots>;

/// Gives a vector's memory back, which clear() keeps.
template <typename T>
void Release(std::vector<T>& v) {
  std::vector<T>().swap(v);
}

class Relaxation {
 public:
  Relaxation(const std::vector<Candidate>& sets, int64_t work,
             std::chrono::steady_clock::time_point deadline, const std::atomic<bool>* stop,
             Branching branching, int enough, Aim aim)
      : sets_(sets),
        limit_(work),
        deadline_(deadline),
        stop_(stop),
        branching_(branching),
        enough_(enough),
        aim_(aim) {}

  RelaxedSearch Run() {
    RelaxedSearch out;
    std::vector<int> all(sets_.size());
    for (size_t i = 0; i < all.size(); ++i)
      all[i] = static_cast<int>(i);
    Prices y{};
    for (const Candidate& c : sets_)
      for (int k = 0; k < c.size; ++k)
        y[c.parts[k]] = kFirstPrice;
    root_prices_ = y;
    if (aim_ == Aim::kGreedyStart) {
      best_ = greedy_sets(sets_, all);
      best_count_ = static_cast<int>(best_.size());
      work_ += static_cast<int64_t>(all.size());
    }
    Node(0, std::move(all), y, kRootRounds);
    out.chosen = best_;
    out.exhausted = !stopped_;
    std::copy_n(root_prices_.begin(), kParts, out.prices.begin());
    out.upper_bound = root_bound_;
    if (out.exhausted) out.upper_bound = best_count_;
    out.work = work_;
    return out;
  }

 private:
  void Node(int count, std::vector<int> live, Prices y, int rounds);
  size_t TightestPart(const std::vector<int>& ranked);
  /// What a candidate's parts cost: an unused slot holds kNoPart, free.
  static double Cost(const Prices& y, const std::array<Part, kMaxSetParts>& parts) {
    return y[parts[0]] + y[parts[1]] + y[parts[2]] + y[parts[3]];
  }
  static bool Holds(const Candidate& c, Part p) {
    return std::find(c.parts.begin(), c.parts.end(), p) != c.parts.end();
  }
  bool Disjoint(int a, int b) const {
    for (Part p : sets_[a].parts)
      if (p != kNoPart && Holds(sets_[b], p)) return false;
    return true;
  }
  /// Whether `count` sets and at most `bound` more fail to beat the best.
  bool Beaten(int count, double bound) const {
    return count + static_cast<int>(std::floor(bound + kSlack)) <= best_count_;
  }
  bool Stopped() {
    if (work_ > limit_ || best_count_ >= enough_) stopped_ = true;
    if (work_ >= next_clock_read_) {
      next_clock_read_ = work_ + kWorkPerClockRead;
      if (std::chrono::steady_clock::now() > deadline_) stopped_ = true;
      if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) stopped_ = true;
    }
    return stopped_;
  }

  const std::vector<Candidate>& sets_;
  int64_t limit_;
  std::chrono::steady_clock::time_point deadline_;
  const std::atomic<bool>* stop_;
  Branching branching_;
  int enough_;
  Aim aim_;
  int64_t work_ = 0;
  /// The clock is first read after some work: a search started past its
  /// deadline (the list set up on a slow machine) still settles a small
  /// list, such as the choices of components of the sets of spare parts.
  int64_t next_clock_read_ = kWorkPerClockRead;
  bool stopped_ = false;
  /// The root's prices and bound, once its first rounds are done.
  bool root_priced_ = false;
  Prices root_prices_{};
  int root_bound_ = kParts / kFewestParts;
  std::vector<int> path_;  ///< The candidates taken on the way to this node.
  std::vector<int> best_;
  int best_count_ = 0;
};

/// The place in `ranked` (live candidates, the most favoured first) of the
/// most favoured candidate of the part that the fewest of them hold. Each
/// branch there leaves that part fewer ways to be covered: where nearly
/// every part must be, the branches without it soon fall to the bound,
/// while a branch on the most favoured candidate of all may search long
/// before it takes the one set a tight part needs.
size_t Relaxation::TightestPart(const std::vector<int>& ranked) {
  std::array<int, kPriceSlots> holders{};
  for (int c : ranked)
    for (Part p : sets_[c].parts)
      ++holders[p];
  holders[kNoPart] = INT_MAX;
  Part tight = kNoPart;
  for (int c : ranked)
    for (Part p : sets_[c].parts)
      if (holders[p] < holders[tight]) tight = p;
  work_ += static_cast<int64_t>(2 * ranked.size());
  for (size_t k = 0; k < ranked.size(); ++k)
    if (Holds(sets_[ranked[k]], tight)) return k;
  return 0;
}

/// Searches the candidates `live` (each disjoint from the `count` taken):
/// prices them, drops those the bound rules out, completes the selection
/// greedily, then takes the candidate the branching names, and goes on
/// without it once that branch is done.
void Relaxation::Node(int count, std::vector<int> live, Prices y, int rounds) {
  std::vector<double> gain;
  std::vector<double> cost;
  std::vector<int> order;
  std::vector<std::array<Part, kMaxSetParts>> slots;
  while (!live.empty() && !Stopped()) {
    const size_t n = live.size();
    // The live candidates' parts side by side, and the parts they hold:
    // the others cost nothing from here on.
    slots.resize(n);
    std::array<bool, kPriceSlots> present{};
    for (size_t j = 0; j < n; ++j) {
      slots[j] = sets_[live[j]].parts;
      for (Part p : slots[j])
        present[p] = true;
    }
    present[kNoPart] = false;
    std::vector<Part> held;
    for (int p = 0; p < kPriceSlots; ++p) {
      if (present[p])
        held.push_back(static_cast<Part>(p));
      else
        y[p] = 0;
    }
    // Subgradient steps towards the least bound.
    gain.assign(n, 0.0);
    Prices best_y = y;
    double best_bound = std::numeric_limits<double>::infinity();
    double step = 1;
    int stale = 0;
    std::array<int, kPriceSlots> takers{};
    // Where a price moves: up for a part more than one gaining candidate
    // holds, down for one none holds, unless it is nothing already.
    auto slope = [&](Part p) {
      const double s = 1.0 - takers[p];
      return y[p] <= 0 && s > 0 ? 0.0 : s;
    };
    for (int r = 0; r < rounds && step >= kLeastStep; ++r) {
      for (Part p : held)
        takers[p] = 0;
      double bound = 0;
      for (Part p : held)
        bound += y[p];
      for (size_t j = 0; j < n; ++j) {
        const double paid = Cost(y, slots[j]);
        gain[j] *= kKeep;
        if (paid >= 1) continue;
        bound += 1 - paid;
        gain[j] += 1 - kKeep;
        for (Part p : slots[j])
          ++takers[p];
      }
      work_ += static_cast<int64_t>(n + held.size());
      if (bound < best_bound) {
        best_bound = bound;
        best_y = y;
        stale = 0;
      } else if (++stale > kStaleRounds) {
        step /= 2;
        stale = 0;
      }
      if (count == 0 && !root_priced_) {
        root_prices_ = best_y;
        root_bound_ = static_cast<int>(std::floor(best_bound + kSlack));
      }
      if (Beaten(count, best_bound) || Stopped()) return;
      double norm = 0;
      for (Part p : held)
        norm += slope(p) * slope(p);
      if (norm == 0) break;
      const double length = step * (bound - (best_count_ - count)) / norm;
      for (Part p : held)
        y[p] = std::max(0.0, y[p] - length * slope(p));
    }
    root_priced_ = true;
    y = best_y;
    // A candidate that costs more than a whole lowers the bound by the
    // excess where it is taken: drop those that then cannot beat the best.
    order.clear();
    cost.resize(n);
    for (size_t j = 0; j < n; ++j) {
      cost[j] = Cost(y, slots[j]);
      if (cost[j] <= 1 || !Beaten(count, best_bound + 1 - cost[j]))
        order.push_back(static_cast<int>(j));
    }
    work_ += static_cast<int64_t>(n);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
      if (gain[a] != gain[b]) return gain[a] > gain[b];
      if (cost[a] != cost[b]) return cost[a] < cost[b];
      return live[a] < live[b];
    });
    // The greedy completion in that order.
    std::vector<int> ranked(order.size());
    for (size_t k = 0; k < order.size(); ++k)
      ranked[k] = live[order[k]];
    const std::vector<int> picked = greedy_sets(sets_, ranked);
    if (count + static_cast<int>(picked.size()) > best_count_) {
      best_count_ = count + static_cast<int>(picked.size());
      best_ = path_;
      best_.insert(best_.end(), picked.begin(), picked.end());
    }
    if (order.empty() || Beaten(count, best_bound)) return;
    const int first =
        branching_ == Branching::kTightestPart ? ranked[TightestPart(ranked)] : ranked.front();
    std::vector<int> rest;
    rest.reserve(ranked.size() - 1);
    for (int c : ranked)
      if (c != first) rest.push_back(c);
    std::vector<int> with;
    for (int c : rest)
      if (Disjoint(first, c)) with.push_back(c);
    // Only `rest` outlives the branch: this level's scratch goes before the
    // deeper levels make theirs, so that the levels together hold little
    // more than the candidates' indices.
    Release(live);
    Release(ranked);
    Release(order);
    Release(gain);
    Release(cost);
    Release(slots);
    path_.push_back(first);
    Node(count + 1, std::move(with), y, kNodeRounds);
    path_.pop_back();
    live = std::move(rest);
    rounds = kNodeRounds;
  }
  if (live.empty() && count > best_count_) {
    best_count_ = count;
    best_ = path_;
  }
}

}  // namespace

std::optional<RelaxedSearch> relaxed_search(const std::vector<Candidate>& sets, int64_t work,
                                            std::chrono::steady_clock::time_point deadline,
                                            const std::atomic<bool>* stop, Branching branching,
                                            int enough, Aim aim) {
  // The root's rounds may take half the work, the branches the rest.
  if (static_cast<int64_t>(sets.size()) * kRootRounds > work / 2) return std::nullopt;
  return Relaxation(sets, work, deadline, stop, branching, enough, aim).Run();
}
