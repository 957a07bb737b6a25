// Timings of the Goldbach engines: the searches of entries 2, 3 and 4 over
// the 6000 even numbers (with a K that lists nothing), and the counts of
// entries 1 (without its listings), 7, 8, 9, 5 and 6 at N = 2000000, plus
// the search and the reverse method as an edited table has them done.
#include <benchmark/benchmark.h>

#include <memory>

#include "goldbach/engine/engines.hpp"
#include "numtheory/tables/tables.hpp"

namespace {

using namespace ntb;

const ntb::Tables& tables() {
  return ntb::tables_as_built();
}

// The same table, to be walked and searched as an edited one.
const Tables& edited() {
  static const std::unique_ptr<Tables> t = [] {
    auto p = std::make_unique<Tables>(tables());
    p->y_pristine = false;
    p->yc_pristine = false;
    return p;
  }();
  return *t;
}

constexpr int32_t kTop = 2000000;

// The whole walk without output; the K of bench/goldbach/goldbach.sh (0 prime pairs,
// 100 composite or mixed pairs), whose numbers found are only counted.
void search(benchmark::State& state, PairKind kind, int32_t K, const Tables& t) {
  for (auto _ : state) {
    const Counts c(t, 12004);
    const int32_t found = equal_count_search(kind, K, c, [](int32_t, int32_t) { return true; });
    benchmark::DoNotOptimize(found);
  }
}
void BM_SearchPrimePairs(benchmark::State& s) {
  search(s, PairKind::Primes, 0, tables());
}
void BM_SearchCompositePairs(benchmark::State& s) {
  search(s, PairKind::Composites, 100, tables());
}
void BM_SearchMixedPairs(benchmark::State& s) {
  search(s, PairKind::Mixed, 100, tables());
}
void BM_SearchMixedPairsEdited(benchmark::State& s) {
  search(s, PairKind::Mixed, 100, edited());
}
BENCHMARK(BM_SearchPrimePairs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchCompositePairs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMixedPairs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMixedPairsEdited)->Unit(benchmark::kMillisecond);

// Entry 1 without its listings: the two passes and the counts.
void BM_PairsOfOneNumber(benchmark::State& state) {
  for (auto _ : state) {
    const Counts c(tables());
    const double a = prime_pair_total(kTop, c).col5, b = prime_pair_total(kTop - 2, c).col5;
    benchmark::DoNotOptimize(odd_pair_counts(kTop, a, b, c));
  }
}
BENCHMARK(BM_PairsOfOneNumber)->Unit(benchmark::kMillisecond);

// Entry 1's mixed scan, which also records the composite pairs.
void BM_MixedListingScan(benchmark::State& state) {
  static CompositeBuffer buf;
  for (auto _ : state) {
    const Counts c(tables());
    benchmark::DoNotOptimize(mixed_pair_listing(kTop, c, buf, nullptr));
  }
}
BENCHMARK(BM_MixedListingScan)->Unit(benchmark::kMillisecond);

void BM_MixedTotalScanning(benchmark::State& state) {  // entry 7
  for (auto _ : state) {
    const Counts c(tables());
    benchmark::DoNotOptimize(mixed_total_scan(kTop, c) - mixed_total_scan(kTop - 2, c));
  }
}
BENCHMARK(BM_MixedTotalScanning)->Unit(benchmark::kMillisecond);

void BM_MixedHalves(benchmark::State& state) {  // entry 8 without its rows
  for (auto _ : state) {
    const Counts c(tables());
    benchmark::DoNotOptimize(mixed_halves(kTop, c).total() - mixed_halves(kTop - 2, c).total());
  }
}
BENCHMARK(BM_MixedHalves)->Unit(benchmark::kMillisecond);

void BM_CompositeHalves(benchmark::State& state) {  // entry 9
  for (auto _ : state) {
    const Counts c(tables());
    benchmark::DoNotOptimize(composite_pair_total(kTop, c).total() -
                             composite_pair_total(kTop - 2, c).total());
  }
}
BENCHMARK(BM_CompositeHalves)->Unit(benchmark::kMillisecond);

void reverse(benchmark::State& state, ReverseForm form, const Tables& t, int32_t N) {
  for (auto _ : state) {
    const Counts c(t);
    const CentralPrimes cp = central_primes(form, N, c);
    benchmark::DoNotOptimize(reverse_pair_scan(form, N, cp.K, c));
  }
}
void BM_ReverseGold(benchmark::State& s) {
  reverse(s, ReverseForm::Twice, tables(), kTop);
}
void BM_ReverseGold1(benchmark::State& s) {
  reverse(s, ReverseForm::Plain, tables(), kTop);
}
// An edited table: where each walk ends comes from the minima of y.
void BM_ReverseGoldEdited(benchmark::State& s) {
  reverse(s, ReverseForm::Twice, edited(), kTop);
}
void BM_ReverseGold1Edited(benchmark::State& s) {
  reverse(s, ReverseForm::Plain, edited(), kTop);
}
BENCHMARK(BM_ReverseGold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseGold1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseGoldEdited)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReverseGold1Edited)->Unit(benchmark::kMillisecond);

}  // namespace
