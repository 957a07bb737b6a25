// The sieve of lista's trial division: the passing numbers of 2^25 odd
// numbers high in the range, on the table as built and after each kind of
// edit (0 position 100 taken out, 1 541 replaced by 539, 2 by 15, out of
// order, 3 the primes 2, 3, 5, 7 taken away), counted one by one and a
// 64-bit word at a time.
#include <benchmark/benchmark.h>

#include <memory>

#include "numtheory/tables/tables.hpp"
#include "numtheory/sieve/trial_sieve.hpp"

namespace {

const ntb::Tables& table(int64_t kind) {
  static std::unique_ptr<ntb::Tables> t[5];
  if (!t[kind]) {
    t[kind] = std::make_unique<ntb::Tables>(ntb::tables_as_built());
    ntb::Tables& e = *t[kind];
    if (kind == 1) ntb::take_out(e, 100);
    if (kind == 2) ntb::substitute(e, 100, 539);
    if (kind == 3) ntb::substitute(e, 100, 15);
    if (kind == 4)
      for (int i = 0; i < 4; ++i) ntb::take_out(e, 1);
  }
  return *t[kind];
}

constexpr int32_t kFrom = 2080374783;  // 2^31 - 2^26 - 1: the last 2^25 odd numbers

// Argument: 0 as built, 1 to 4 the edits above.
void BM_TrialSieveEach(benchmark::State& state) {
  const ntb::Tables& t = table(state.range(0));
  ntb::TrialSieve s;
  for (auto _ : state) {
    int64_t n = 0;
    s.each_after(kFrom, t, [&](int32_t) {
      ++n;
      return true;
    });
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_TrialSieveEach)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_TrialSieveWords(benchmark::State& state) {
  const ntb::Tables& t = table(state.range(0));
  ntb::TrialSieve s;
  for (auto _ : state) {
    int64_t n = 0;
    s.each_word_after(kFrom, t, [&](int64_t, uint64_t z) {
      n += __builtin_popcountll(z);
      return true;
    });
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_TrialSieveWords)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace
