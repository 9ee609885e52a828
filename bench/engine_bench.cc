// The combination engine on pair tables of realistic size: raschet, Sort,
// raschet_de and Sort_de, as the driver calls them once per run.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <random>
#include <vector>

#include "engine/pair_building.h"
#include "engine/pair_matching.h"
#include "engine/pair_table.h"
#include "engine/rank_order.h"
#include "program1/register_table.h"
#include "support/register_builder.h"
#include "text/console.h"

namespace {

/// The most components a list holds.
constexpr int kMostComponents = kFlagSlots - kFirstComponentSlot;
/// Decades above the E24 values: 10 ohm to 100 kohm.
constexpr int kFirstDecade = 1;
constexpr int kLastDecade = 4;
/// How far a measured value may stand off its nominal.
constexpr float kTolerance = 0.05f;
constexpr unsigned kSeed = 12345u;
/// The value every component has in the table of ties.
constexpr float kTiedValue = 100.0f;

/// The register table as count() leaves it for K measured components (E24
/// values, off their nominal by up to kTolerance), the first of them a NUL
/// when `nul`. Returns N; Ns is kFirstComponentSlot.
int Components(int K, bool nul) {
  std::mt19937 rng(kSeed);
  std::uniform_int_distribution<int> nominal(0, static_cast<int>(kE24.size()) - 1);
  std::uniform_int_distribution<int> decade(kFirstDecade, kLastDecade);
  std::uniform_real_distribution<float> tolerance(-kTolerance, kTolerance);
  std::vector<float> values;
  for (int k = 0; k < K; ++k) {
    float scale = 1.0f;
    for (int d = decade(rng); d > 0; --d) {
      scale *= 10.0f;
    }
    values.push_back(kE24[nominal(rng)] * scale * (1.0f + tolerance(rng)));
  }
  if (nul && K > 0) values[0] = kImaginaryValue;
  return SetComponents(values);
}

/// Keeps the count line of raschet off the benchmark's output.
void Quietly() {
  static FILE* nul = std::fopen("/dev/null", "w");
  console.out = Output{nul, false, false};
}

/// Arguments: number of components, pair type, leading NUL (0/1).
void BM_Engine(benchmark::State& state) {
  Quietly();
  const int K = static_cast<int>(state.range(0));
  const int tip = static_cast<int>(state.range(1));
  const int N = Components(K, state.range(2) != 0);
  const float zmin = 0.0f;
  const float zmax = 0.0f;
  int nn = -1;
  for (auto _ : state) {
    nn = raschet(kFirstComponentSlot, N, tip, &zmin, &zmax, 1);
    Sort(nn);
    benchmark::DoNotOptimize(raschet_de(nn));
    Sort_de(nn);
  }
  state.counters["pairs"] = nn + 1;
  state.SetItemsProcessed(state.iterations() * (nn + 1));
}
BENCHMARK(BM_Engine)
    ->ArgNames({"K", "tip", "nul"})
    ->ArgsProduct({{10, 50, 100, kMostComponents}, {kSeries, kParallel}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

/// 183 components of one value: every pair ties, and the candidates that
/// share a component stand side by side.
void BM_EngineEqualValues(benchmark::State& state) {
  Quietly();
  const int N = Components(kMostComponents, false);
  for (int slot = kFirstComponentSlot; slot <= N; ++slot) {
    RR[slot] = kTiedValue;
  }
  const float zmin = 0.0f;
  const float zmax = 0.0f;
  for (auto _ : state) {
    const int nn = raschet(kFirstComponentSlot, N, kSeries, &zmin, &zmax, 1);
    Sort(nn);
    benchmark::DoNotOptimize(raschet_de(nn));
    Sort_de(nn);
  }
}
BENCHMARK(BM_EngineEqualValues)->Unit(benchmark::kMicrosecond);

/// The four stages apart, on the largest table (183 components, series).
template <int kStage>
void BM_Stage(benchmark::State& state) {
  Quietly();
  const int N = Components(kMostComponents, state.range(0) != 0);
  const float zmin = 0.0f;
  const float zmax = 0.0f;
  const int nn = raschet(kFirstComponentSlot, N, kSeries, &zmin, &zmax, 1);
  Sort(nn);
  raschet_de(nn);
  for (auto _ : state) {
    if constexpr (kStage == 0) {
      benchmark::DoNotOptimize(raschet(kFirstComponentSlot, N, kSeries, &zmin, &zmax, 1));
    } else if constexpr (kStage == 1) {
      Sort(nn);
    } else if constexpr (kStage == 2) {
      state.PauseTiming();
      for (int j = 0; j <= nn; ++j) {
        Mb[j].flag = kPairOrdinary;
      }
      state.ResumeTiming();
      benchmark::DoNotOptimize(raschet_de(nn));
    } else {
      Sort_de(nn);
    }
  }
}
/// Each stage with and without the leading NUL.
void Variants(benchmark::internal::Benchmark* b) {
  b->ArgName("nul")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_Stage<0>)->Name("BM_raschet")->Apply(Variants);
BENCHMARK(BM_Stage<1>)->Name("BM_Sort")->Apply(Variants);
BENCHMARK(BM_Stage<2>)->Name("BM_raschet_de")->Apply(Variants);
BENCHMARK(BM_Stage<3>)->Name("BM_Sort_de")->Apply(Variants);

}  // namespace
