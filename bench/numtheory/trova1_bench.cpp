// trova1 over the range, on the table as built and term by term (the path an
// edited table takes).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "numtheory/count/prime_count.hpp"
#include "numtheory/tables/tables.hpp"

namespace {

const ntb::Tables& tables() {
  return ntb::tables_as_built();
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

// 64 bounds spread evenly on a log scale from 11 to 2147483647.
const std::vector<int32_t>& sweep() {
  static const std::vector<int32_t> ns = [] {
    std::vector<int32_t> v;
    for (int i = 0; i < 64; ++i)
      v.push_back(static_cast<int32_t>(11.0 * std::pow(2147483647.0 / 11.0, i / 63.0)));
    v.back() = 2147483647;
    return v;
  }();
  return ns;
}

// One pass over the sweep, on the table as built, and on a table with one
// prime (13) taken out, where the count goes term by term.
void BM_trova1_sweep(benchmark::State& state) {
  const ntb::Tables& t = tables();
  for (auto _ : state) {
    for (int32_t n : sweep()) benchmark::DoNotOptimize(ntb::trova1_of(n, t));
  }
}

void BM_trova1_sweep_edited(benchmark::State& state) {
  static const std::unique_ptr<ntb::Tables> t = [] {
    auto p = std::make_unique<ntb::Tables>(tables());
    ntb::take_out(*p, 6);
    return p;
  }();
  for (auto _ : state) {
    for (int32_t n : sweep()) benchmark::DoNotOptimize(ntb::trova1_of(n, *t));
  }
}

// The table after each kind of edit: 0 position 100 (541) taken out, 1 the
// same prime replaced by 539, 2 replaced by 15 (y out of order), 3 the
// primes 2, 3, 5, 7 taken away.
const ntb::Tables& edited(int64_t kind) {
  static std::unique_ptr<ntb::Tables> t[4];
  if (!t[kind]) {
    t[kind] = std::make_unique<ntb::Tables>(tables());
    ntb::Tables& e = *t[kind];
    if (kind == 0) ntb::take_out(e, 100);
    if (kind == 1) ntb::substitute(e, 100, 539);
    if (kind == 2) ntb::substitute(e, 100, 15);
    if (kind == 3)
      for (int i = 0; i < 4; ++i) ntb::take_out(e, 1);
  }
  return *t[kind];
}

// trova1(2147483647) on each edited table.
void BM_trova1_edited_top(benchmark::State& state) {
  const ntb::Tables& t = edited(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ntb::trova1_of(2147483647, t));
}

void range(benchmark::internal::Benchmark* b) {
  for (int64_t n : {1000LL, 1000000LL, 21999999LL, 100000000LL, 1000000000LL, 2147483647LL})
    b->Arg(n);
}

}  // namespace

BENCHMARK(BM_trova1)->Apply(range)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_trova1_by_terms)->Apply(range)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_trova1_sweep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_trova1_sweep_edited)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_trova1_edited_top)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
