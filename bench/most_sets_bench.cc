// The selection of the most sets on stocks of 1 % resistors: random values
// 1000 * (1 + 0.01 * gaussian), seeded, over the thresholds a user sets;
// and on stocks whose values spread over four decades.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "engine/pair_building.h"
#include "engine/pair_table.h"
#include "engine/rank_order.h"
#include "program1/register_table.h"
#include "selection/most_sets.h"
#include "text/console.h"

namespace {

/// Thresholds are given to the benchmark in thousandths of a percent.
constexpr float kPerMille = 1000.0f;

/// The decades a spread stock covers: 10 ohm to 100 kohm.
constexpr float kLowestDecade = 1.0f;
constexpr float kHighestDecade = 5.0f;
constexpr float kDecade = 10.0f;

/// The register table as count() leaves it for K components of 1 kohm at
/// 1 % (or spread over the decades, evenly in the logarithm), the first a
/// NUL when `nul`; the pair table built and ranked. Returns nn.
int Stock(int K, int tip, bool nul, bool decades = false) {
  static FILE* devnull = std::fopen("/dev/null", "w");
  console.out = Output{devnull, false, false};
  reset_register();
  std::mt19937 rng(2026u);
  std::normal_distribution<float> gauss(0.0f, 1.0f);
  std::uniform_real_distribution<float> decade(kLowestDecade, kHighestDecade);
  RR[kStartSlot] = kStartMarker;
  flagRR[kStartSlot] = kStartFlag;
  for (int k = 0; k < K; ++k) {
    RR[kFirstComponentSlot + k] =
        decades ? std::pow(kDecade, decade(rng)) : 1000.0f * (1.0f + 0.01f * gauss(rng));
    flagRR[kFirstComponentSlot + k] = kFree;
  }
  if (nul) {
    RR[kFirstComponentSlot] = kImaginaryValue;
    flagRR[kFirstComponentSlot] = kImaginaryFlag;
  }
  if (kFirstComponentSlot + K < kSlots) flagRR[kFirstComponentSlot + K] = kEndFlag;
  const int N = count(countst());
  const float zero = 0.0f;
  const int nn = raschet(kFirstComponentSlot, N, tip, &zero, &zero, 1);
  Sort(nn);
  return nn;
}

/// Arguments: components, threshold in thousandths of a percent, pair
/// type, leading NUL, values over decades. Counters: sets found, the upper bound, whether the
/// count is proven and whether a limit ended the search.
void BM_MostSets(benchmark::State& state) {
  const int nn = Stock(static_cast<int>(state.range(0)), static_cast<int>(state.range(2)),
                       state.range(3) != 0, state.range(4) != 0);
  const float threshold = static_cast<float>(state.range(1)) / kPerMille;
  Selection s;
  for (auto _ : state) {
    s = most_sets(nn, kFirstComponentSlot, threshold, kPairOrdinary, kPairByImaginary);
    benchmark::DoNotOptimize(s.sets.data());
  }
  state.counters["sets"] = static_cast<double>(s.sets.size());
  state.counters["bound"] = s.upper_bound;
  state.counters["proven"] = s.optimal ? 1 : 0;
  state.counters["timed_out"] = s.timed_out ? 1 : 0;
}
BENCHMARK(BM_MostSets)
    ->ArgNames({"K", "tch_milli", "tip", "nul", "decades"})
    ->ArgsProduct({{40, 100, 183}, {1, 10, 100, 1000}, {kSeries}, {0}, {0}})
    ->Args({183, 10, kParallel, 0, 0})
    ->Args({183, 1, kSeries, 1, 0})
    ->Args({183, 10, kSeries, 1, 0})
    ->Args({183, 100, kSeries, 1, 0})
    ->Args({183, 0, kSeries, 1, 0})
    ->ArgsProduct({{100, 183}, {10, 100, 1000}, {kSeries}, {1}, {1}})
    ->Unit(benchmark::kMillisecond);

/// The check the default run makes after its walk, on the largest table
/// with the first `free` components free and the others used: with many
/// free the first set ends it, with few the whole table is looked at.
void BM_FreePartsHoldASet(benchmark::State& state) {
  const int nn = Stock(183, kSeries, false);
  const float threshold = static_cast<float>(state.range(0)) / kPerMille;
  for (int k = static_cast<int>(state.range(1)); k < kFlagSlots; ++k)
    flagRR[k] = kUsed;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        free_parts_hold_a_set(nn, kFirstComponentSlot, threshold, kPairOrdinary, kPairByImaginary));
}
BENCHMARK(BM_FreePartsHoldASet)
    ->ArgNames({"tch_milli", "free"})
    ->ArgsProduct({{10, 1000}, {183, 30, 5}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
