// Timings of the divisor commands' engines: the counting pass of the
// divisor-count listings (the vector and the number of primes up to N), the
// trova1 share of it, the listing pass, and the ordered divisors of the
// number with the most divisors below 2^31.
#include <benchmark/benchmark.h>

#include <memory>

#include "divisors/engine/divisor_listing.hpp"
#include "divisors/engine/divisor_pairs.hpp"
#include "divisors/engine/divisor_prefixes.hpp"
#include "divisors/engine/divisor_vector.hpp"
#include "numtheory/count/prime_count.hpp"
#include "numtheory/tables/tables.hpp"

namespace {

const ntb::Tables& tables() {
  return ntb::tables_as_built();
}

// The whole counting pass for N.
void BM_CountingPass(benchmark::State& state) {
  const auto N = static_cast<int32_t>(state.range(0));
  static ntb::DivisorVector v;
  for (auto _ : state) {
    ntb::count_divisor_vector(N, tables(), v);
    benchmark::DoNotOptimize(v.primes);
  }
}
BENCHMARK(BM_CountingPass)
    ->Arg(2147483647)
    ->Arg(100000000)
    ->Arg(2000000)
    ->Unit(benchmark::kMillisecond);

// The same pass after an edit of y: 0 y marked as edited with the primes in
// place, 1 position 100 (541) taken out, 2 541 replaced by 539, 3 by 15
// (out of order), 4 the primes 2, 3, 5, 7 taken away.
void BM_CountingPassEditedTable(benchmark::State& state) {
  static std::unique_ptr<ntb::Tables> tables_of[5];
  const int64_t kind = state.range(1);
  if (!tables_of[kind]) {
    auto p = std::make_unique<ntb::Tables>(tables());
    p->y_pristine = false;
    if (kind == 1) ntb::take_out(*p, 100);
    if (kind == 2) ntb::substitute(*p, 100, 539);
    if (kind == 3) ntb::substitute(*p, 100, 15);
    if (kind == 4)
      for (int i = 0; i < 4; ++i) ntb::take_out(*p, 1);
    tables_of[kind] = std::move(p);
  }
  const ntb::Tables& t = *tables_of[kind];
  const auto N = static_cast<int32_t>(state.range(0));
  static ntb::DivisorVector v;
  for (auto _ : state) {
    ntb::count_divisor_vector(N, t, v);
    benchmark::DoNotOptimize(v.primes);
  }
}
BENCHMARK(BM_CountingPassEditedTable)
    ->ArgsProduct({{2147483647}, {0, 1, 2, 3, 4}})
    ->Unit(benchmark::kMillisecond);

// The counting pass written plainly: the same prefixes, every count below
// 2000000 a binary search in y (findp), trova1 above; the reference for the
// lookup the pass uses on the table as built.
void BM_CountingPassPlainSearch(benchmark::State& state) {
  const auto N = static_cast<int32_t>(state.range(0));
  static ntb::PrefixChain ch;
  for (auto _ : state) {
    int64_t C = 0;
    ntb::for_each_prefix(N, tables(), ch, [&](const ntb::PrefixChain& c, int L) {
      const int32_t m = c.lv[L].Q;
      C += (m > 2000000 ? ntb::trova1_of(m, tables()) : ntb::findp_of(m, tables())) - c.lv[L].t + 1;
      return true;
    });
    benchmark::DoNotOptimize(C);
  }
}
BENCHMARK(BM_CountingPassPlainSearch)->Arg(2147483647)->Unit(benchmark::kMillisecond);

// The trova1 calls of the counting pass alone: one per prefix whose
// quotient N div P passes 2000000.
void BM_CountingPassTrova1Share(benchmark::State& state) {
  const auto N = static_cast<int32_t>(state.range(0));
  static ntb::PrefixChain ch;
  static int32_t bounds[4096];
  int32_t nb = 0;
  ntb::for_each_prefix(N, tables(), ch, [&](const ntb::PrefixChain& c, int L) {
    if (c.lv[L].Q > 2000000 && nb < 4096) bounds[nb++] = c.lv[L].Q;
    return true;
  });
  state.counters["trova1_calls"] = nb;
  for (auto _ : state) {
    int64_t sum = 0;
    for (int32_t i = 0; i < nb; ++i) sum += ntb::trova1_of(bounds[i], tables());
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_CountingPassTrova1Share)->Arg(2147483647)->Unit(benchmark::kMillisecond);

// The enumeration alone, with no prime count.
void BM_PrefixEnumeration(benchmark::State& state) {
  const auto N = static_cast<int32_t>(state.range(0));
  static ntb::PrefixChain ch;
  int64_t prefixes = 0;
  for (auto _ : state) {
    prefixes = 0;
    ntb::for_each_prefix(N, tables(), ch, [&](const ntb::PrefixChain&, int) {
      ++prefixes;
      return true;
    });
    benchmark::DoNotOptimize(prefixes);
  }
  state.counters["prefixes"] = static_cast<double>(prefixes);
}
BENCHMARK(BM_PrefixEnumeration)->Arg(2147483647)->Unit(benchmark::kMillisecond);

// A listing pass that meets its 2000-integer limit at once (d = 4 up to
// 2^31 - 1), and one that walks every prefix (d = 1600, one integer).
void BM_ListingPass(benchmark::State& state) {
  struct Sink final : ntb::RowSink {
    bool row(const ntb::ListedRow& r) override {
      benchmark::DoNotOptimize(r.n);
      return true;
    }
  } sink;
  const auto d = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    auto res = ntb::list_divisor_class(2147483647, d, tables(), 2000, sink);
    benchmark::DoNotOptimize(res.k);
  }
}
BENCHMARK(BM_ListingPass)->Arg(4)->Arg(1600)->Unit(benchmark::kMillisecond);

// The 1600 divisors of 2095133040.
void BM_OrderedDivisors(benchmark::State& state) {
  static ntb::DivisorList dl;
  for (auto _ : state) {
    ntb::ordered_divisors(2095133040, dl);
    benchmark::DoNotOptimize(dl.m);
  }
}
BENCHMARK(BM_OrderedDivisors)->Unit(benchmark::kMicrosecond);

}  // namespace
