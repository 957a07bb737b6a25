// The engines of the one-shot commands at the inputs of their report rows:
// pi(2^31 - 1), the factors of the 100001 numbers 2147383647..2147483647,
// and the walk over the primes of 2000000000..2147483647.
#include <benchmark/benchmark.h>

#include "numtheory/factor/factorize.hpp"
#include "numtheory/count/prime_pi.hpp"
#include "numtheory/sieve/prime_range.hpp"

namespace {

void BM_PrimePi(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ntb::prime_pi(ntb::kPrimePiMax));
}
BENCHMARK(BM_PrimePi)->Unit(benchmark::kMicrosecond);

void BM_Factorize100001(benchmark::State& state) {
  for (auto _ : state)
    for (uint32_t n = 2147383647u; n <= 2147483647u; ++n)
      benchmark::DoNotOptimize(ntb::factorize(n));
}
BENCHMARK(BM_Factorize100001)->Unit(benchmark::kMillisecond);

void BM_PrimeRangeTop(benchmark::State& state) {
  for (auto _ : state) {
    ntb::PrimeRange r(2000000000, 2147483647);
    uint64_t sum = 0;
    for (auto block = r.next(); !block.empty(); block = r.next())
      for (uint32_t p : block) sum += p;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PrimeRangeTop)->Unit(benchmark::kMillisecond);

}  // namespace
