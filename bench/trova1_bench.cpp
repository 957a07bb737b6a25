// trova1 over the range, on the table as built and term by term (the path an
// edited table takes).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "primes/prime_count.hpp"
#include "primes/tables.hpp"

namespace {

const ntb::Tables& tables() {
  static const std::unique_ptr<ntb::Tables> t = [] {
    auto p = std::make_unique<ntb::Tables>();
    ntb::build_y(*p);
    ntb::build_yc(*p, 0, 0, 0);
    return p;
  }();
  return *t;
}

void BM_trova1(benchmark::State& state) {
  const ntb::Tables& t = tables();
  const double n = static_cast<double>(state.range(0));
  for (auto _ : state) {
    double v = n;
    ntb::trova1(v, t);
    benchmark::DoNotOptimize(v);
  }
}

void BM_trova1_by_terms(benchmark::State& state) {
  const ntb::Tables& t = tables();
  const double n = static_cast<double>(state.range(0));
  for (auto _ : state) {
    double v = n;
    ntb::trova1_by_terms(v, t);
    benchmark::DoNotOptimize(v);
  }
}

void range(benchmark::internal::Benchmark* b) {
  for (int64_t n : {1000LL, 1000000LL, 21999999LL, 100000000LL, 1000000000LL, 2147483647LL})
    b->Arg(n);
}

}  // namespace

BENCHMARK(BM_trova1)->Apply(range)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_trova1_by_terms)->Apply(range)->Unit(benchmark::kMicrosecond);
