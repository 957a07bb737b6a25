// The 64-bit range engines against references written here: a sieve for
// small ranges, a Miller-Rabin test for windows high up, known values of
// pi(x) and of the n-th prime; and the counts against the walk for every
// thread count.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <primesieve.hpp>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

#include "numtheory/count/nth_prime_64.hpp"
#include "numtheory/count/prime_pi_64.hpp"
#include "numtheory/decimal_digits.hpp"
#include "numtheory/factor/prime_test64.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/sieve/gap_listing.hpp"
#include "numtheory/sieve/prime_blocks.hpp"
#include "numtheory/sieve/prime_ends.hpp"
#include "numtheory/sieve/range_scan.hpp"
#include "numtheory/threads.hpp"

namespace ntb {
namespace {

bool full() {
  return std::getenv("NTBENCH_FULL") != nullptr;
}

// ---------------------------------------------------------------------------
// References

// The primes up to n by the sieve of Eratosthenes.
std::vector<uint64_t> sieve_primes(uint64_t n) {
  std::vector<bool> composite(n + 1);
  std::vector<uint64_t> primes;
  for (uint64_t i = 2; i <= n; ++i) {
    if (composite[i]) continue;
    primes.push_back(i);
    for (uint64_t m = i * i; m <= n; m += i) composite[m] = true;
  }
  return primes;
}

uint64_t mul_mod(uint64_t a, uint64_t b, uint64_t m) {
  return static_cast<uint64_t>(static_cast<uint128>(a) * b % m);
}

// Miller-Rabin with the first twelve primes as bases: exact below 2^64.
bool is_prime(uint64_t n) {
  static constexpr uint64_t kBases[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
  if (n < 2) return false;
  for (const uint64_t p : kBases)
    if (n % p == 0) return n == p;
  uint64_t d = n - 1;
  int s = 0;
  for (; d % 2 == 0; d /= 2) ++s;
  for (const uint64_t base : kBases) {
    uint64_t x = 1, b = base, e = d;
    for (; e != 0; e >>= 1, b = mul_mod(b, b, n))
      if (e & 1) x = mul_mod(x, b, n);
    bool witness = x != 1 && x != n - 1;
    for (int r = 1; r < s && witness; ++r) {
      x = mul_mod(x, x, n);
      witness = x != n - 1;
    }
    if (witness) return false;
  }
  return true;
}

// The primes of [a, b] by Miller-Rabin (b - a small).
std::vector<uint64_t> tested_primes(uint64_t a, uint64_t b) {
  std::vector<uint64_t> primes;
  for (uint64_t n = a;; ++n) {
    if (is_prime(n)) primes.push_back(n);
    if (n == b) break;
  }
  return primes;
}

// The primes of [a, b] from a sorted list.
std::vector<uint64_t> slice(const std::vector<uint64_t>& primes, uint64_t a, uint64_t b) {
  return {std::lower_bound(primes.begin(), primes.end(), a),
          std::upper_bound(primes.begin(), primes.end(), b)};
}

std::vector<uint64_t> walked(uint64_t a, uint64_t b) {
  std::vector<uint64_t> primes;
  each_prime_block(a, b, [&](std::span<const uint64_t> block) {
    primes.insert(primes.end(), block.begin(), block.end());
  });
  return primes;
}

// The gap histogram of a prime list over [g1, g2], trimmed as the engine
// trims it.
std::vector<uint64_t> histogram_of(const std::vector<uint64_t>& primes, uint64_t g1, uint64_t g2) {
  std::vector<uint64_t> h;
  for (size_t i = 1; i < primes.size(); ++i) {
    const uint64_t g = primes[i] - primes[i - 1];
    if (g < g1 || g > g2) continue;
    if (h.size() <= g - g1) h.resize(g - g1 + 1, 0);
    ++h[g - g1];
  }
  return h;
}

std::vector<PrimePair> gaps_listed(uint64_t a, uint64_t b, uint64_t g1, uint64_t g2) {
  std::vector<PrimePair> pairs;
  each_gap(a, b, g1, g2, [&](std::span<const PrimePair> batch) {
    EXPECT_FALSE(batch.empty());
    pairs.insert(pairs.end(), batch.begin(), batch.end());
  });
  return pairs;
}

std::vector<PrimePair> pairs_of(const std::vector<uint64_t>& primes, uint64_t g1, uint64_t g2) {
  std::vector<PrimePair> pairs;
  for (size_t i = 1; i < primes.size(); ++i)
    if (primes[i] - primes[i - 1] >= g1 && primes[i] - primes[i - 1] <= g2)
      pairs.push_back({primes[i - 1], primes[i]});
  return pairs;
}

// Every engine on [a, b] against the primes of [a, b]; the scans on each
// thread count, their slices as short as `least` so that they are split and
// taken over.
void check_range(uint64_t a, uint64_t b, const std::vector<uint64_t>& primes, uint64_t g1,
                 uint64_t g2, uint64_t least) {
  SCOPED_TRACE(testing::Message() << "[" << a << ", " << b << "] gaps " << g1 << ".." << g2);
  ASSERT_EQ(walked(a, b), primes);
  const auto histogram = histogram_of(primes, g1, g2);
  const auto twins = histogram_of(primes, 2, 2);
  for (const int threads : {1, 2, 3, 7}) {
    const RangeScan scan = scan_prime_range(a, b, g1, g2, threads, nullptr, least);
    EXPECT_EQ(scan.primes, primes.size()) << threads << " threads";
    EXPECT_EQ(scan.gaps, histogram) << threads << " threads";
    EXPECT_EQ(scan_prime_range(a, b, 2, 2, threads, nullptr, least).gaps, twins);
    EXPECT_EQ(count_twins(a, b, threads, nullptr, least), twins.empty() ? 0 : twins[0]);
    EXPECT_EQ(scan_prime_range(a, b, 1, 0, threads, nullptr, least).primes, primes.size());
  }
  EXPECT_EQ(gaps_listed(a, b, g1, g2), pairs_of(primes, g1, g2));
  std::vector<PrimePair> listed_twins;
  each_twin(a, b, [&](std::span<const PrimePair> batch) {
    listed_twins.insert(listed_twins.end(), batch.begin(), batch.end());
  });
  EXPECT_EQ(listed_twins, pairs_of(primes, 2, 2));
}

// ---------------------------------------------------------------------------
// The sieves

TEST(Range64, EnginesAgainstSieveOnSmallRanges) {
  const uint64_t top = 3000000;
  const auto primes = sieve_primes(top);
  struct Case {
    uint64_t a, b, g1, g2;
  };
  std::vector<Case> cases = {{0, 0, 1, 10},    {0, 1, 1, 10},       {0, 2, 0, 10},
                             {2, 3, 1, 1},     {3, 5, 2, 2},        {0, 100, 0, UINT64_MAX},
                             {5, 4, 1, 10},    {24, 28, 1, 10},     {89, 97, 8, 8},
                             {1, top, 3, 100}, {1000, 2000, 30, 1}, {0, top, 1, 1}};
  std::mt19937_64 rng(64);
  for (int i = 0; i < 24; ++i) {
    const uint64_t a = rng() % top, b = a + rng() % (top - a + 1);
    const uint64_t g1 = rng() % 40, g2 = g1 + rng() % 80;
    cases.push_back({a, b, g1, g2});
  }
  for (const Case& c : cases) {
    const auto expected = c.a <= c.b ? slice(primes, c.a, c.b) : std::vector<uint64_t>{};
    check_range(c.a, c.b, expected, c.g1, c.g2, 1000);
  }
  EXPECT_EQ(count_primes(0, top), primes.size());  // default threads and slices
}

// The ends of every window below 150 and at the top of the numbers.
TEST(Range64, PrimeEndsOfWindows) {
  for (uint64_t low = 0; low < 140; ++low)
    for (uint64_t high = low; high < 150; ++high) {
      const std::vector<uint64_t> p = tested_primes(low, high);
      const PrimeEnds got = prime_ends(low, high);
      EXPECT_EQ(got.first, p.empty() ? 0 : p.front()) << low << ".." << high;
      EXPECT_EQ(got.last, p.empty() ? 0 : p.back()) << low << ".." << high;
    }
  EXPECT_EQ(prime_ends(UINT64_MAX - 100, UINT64_MAX).last, kLargestPrime64);
  EXPECT_EQ(prime_ends(kLargestPrime64 + 1, UINT64_MAX).first, 0u);
}

TEST(Range64, HighWindowsAgainstMillerRabin) {
  // Past 10^15 (the sieve walks, the threads test their short slices), at
  // 2^63, where the signed range ends, and at the top, where the numbers end.
  const uint64_t windows[][2] = {{1000000000000000, 1000000000130000},
                                 {9223372036854775808u - 3000, 9223372036854775808u + 3000},
                                 {UINT64_MAX - 2000, UINT64_MAX}};
  for (const auto& w : windows) check_range(w[0], w[1], tested_primes(w[0], w[1]), 1, 400, 500);
  EXPECT_EQ(walked(kLargestPrime64, kLargestPrime64), std::vector<uint64_t>{kLargestPrime64});
  EXPECT_TRUE(walked(kLargestPrime64 + 1, UINT64_MAX).empty());
  // Longer windows: the counts on every thread count against the walk.
  for (const uint64_t a : {uint64_t{1000000000000000000}, UINT64_MAX - 200000}) {
    const uint64_t b = a + 200000;
    const auto primes = walked(a, b);
    for (const int threads : {1, 2, 3, 7})
      EXPECT_EQ(scan_prime_range(a, b, 1, 1000, threads, nullptr, 20000).gaps,
                histogram_of(primes, 1, 1000));
  }
}

TEST(Range64, PrimeTestAgainstMillerRabinByDivision) {
  // Strong pseudoprimes to many small bases, Carmichael numbers, squares of
  // primes, the numbers around 2^32 and 2^64, and random ones of every size.
  std::vector<uint64_t> numbers = {0,
                                   1,
                                   2,
                                   3,
                                   4,
                                   561,
                                   1681,
                                   3215031751,
                                   4294967291,
                                   4294967295,
                                   4294967297,
                                   4294967311,
                                   3825123056546413051u,
                                   uint64_t{4294967291} * 4294967291u,
                                   UINT64_MAX,
                                   kLargestPrime64,
                                   3474749660383,
                                   341550071728321};
  std::mt19937_64 rng(7);
  for (int i = 0; i < 20000; ++i) numbers.push_back(rng() >> (rng() % 64) | 1);
  for (const uint64_t n : numbers) EXPECT_EQ(is_prime_u64(n), is_prime(n)) << n;
}

TEST(Range64, CtrlCStopsEveryThreadAndErrorsReachTheCaller) {
  g_interrupt_requested = 1;
  EXPECT_THROW(count_primes(0, uint64_t{1} << 40, 3), Interrupted);
  EXPECT_THROW(walked(0, uint64_t{1} << 40), Interrupted);
  g_interrupt_requested = 0;
  struct VisitorFailed {};
  EXPECT_THROW(each_prime_block(0, 1000, [](std::span<const uint64_t>) { throw VisitorFailed{}; }),
               VisitorFailed);
  std::atomic<double> progress{-1};
  EXPECT_EQ(count_primes(0, 100000000, 2, &progress), 5761455u);
  EXPECT_EQ(progress.load(), 1.0);
  EXPECT_GE(default_thread_count(), 1);
}

TEST(Range64, ScansPutBackTheSieveLibrarysSettings) {
  // A scan sets libprimesieve's segment size and thread count, which the
  // library keeps process-wide, for its own time only: whether it counts
  // chunks or walks, ends or is stopped.
  primesieve::set_sieve_size(16);
  primesieve::set_num_threads(3);
  const auto settings = [] {
    return std::pair{primesieve::get_sieve_size(), primesieve::get_num_threads()};
  };
  const auto before = settings();
  EXPECT_EQ(count_primes(0, 100000000, 2), 5761455u);
  EXPECT_EQ(count_twins(0, 100000000, 2), 440312u);
  EXPECT_EQ(gap_histogram(0, 100000000, 2, 2, 2), std::vector<uint64_t>{440312});
  EXPECT_EQ(settings(), before);
  g_interrupt_requested = 1;
  EXPECT_THROW(count_primes(0, uint64_t{1} << 40, 2), Interrupted);
  g_interrupt_requested = 0;
  EXPECT_EQ(settings(), before);
}

// ---------------------------------------------------------------------------
// pi(x) and the n-th prime

TEST(Range64, PrimeCountsAndNthPrimesKnownValues) {
  struct Pi {
    uint64_t x, pi;
  };
  const Pi pis[] = {{0, 0},
                    {1, 0},
                    {2, 1},
                    {2147483647, 105097565},
                    {2147483648u, 105097565},
                    {4294967296u, 203280221},
                    {1000000000000u, 37607912018u},
                    {10000000000000u, 346065536839u},
                    {UINT64_MAX, kPrimeCount64},
                    {kLargestPrime64 - 1, kPrimeCount64 - 1},
                    {9223372036854775808u + 29, 216289611853439385u},  // 2^63 + 29: the next prime
                    // 10^19 and the primes next to it, 10^19 - 39 and 10^19 + 51.
                    {10000000000000000000u, 234057667276344607u},
                    {10000000000000000000u - 40, 234057667276344606u},
                    {10000000000000000000u + 51, 234057667276344608u}};
  ASSERT_EQ(tested_primes(9223372036854775808u - 100, 9223372036854775808u + 29),
            (std::vector<uint64_t>{9223372036854775783u, 9223372036854775837u}));
  ASSERT_EQ(tested_primes(10000000000000000000u - 40, 10000000000000000000u + 51),
            (std::vector<uint64_t>{9999999999999999961u, 10000000000000000051u}));
  for (const Pi& p : pis) {
    EXPECT_EQ(prime_pi_64(p.x, 2), p.pi) << p.x;
    EXPECT_EQ(pi_u128(p.x, 2), p.pi) << p.x;
  }
  EXPECT_THROW(pi_u128(kPiU128Max + 1), std::out_of_range);
  EXPECT_EQ(decimal_string(kPiU128Max), "10000000000000000000000000000000");

  struct Nth {
    uint64_t k, p;
  };
  const Nth nths[] = {
      {1, 2},
      {2, 3},
      {5, 11},
      {105097565, 2147483647},
      {1000000000, 22801763489u},
      {216289611853439384u, 9223372036854775783u},  // pi(2^63), below 2^63
      {216289611853439385u, 9223372036854775837u},
      {kPrimeCount64 - 1, tested_primes(kLargestPrime64 - 100, kLargestPrime64 - 1).back()},
      {kPrimeCount64, kLargestPrime64}};
  for (const Nth& n : nths) EXPECT_EQ(nth_prime_64(n.k, 2), n.p) << n.k;
  EXPECT_THROW(nth_prime_64(0), std::out_of_range);
  EXPECT_THROW(nth_prime_64(kPrimeCount64 + 1), std::out_of_range);
}

// ---------------------------------------------------------------------------
// The full sweeps

TEST(Range64, HighWindowsEveryThreadCountFull) {
  if (!full()) GTEST_SKIP() << "set NTBENCH_FULL";
  std::mt19937_64 rng(1018);
  // 2^25 numbers at the top: the sieve walks them; the threads' short slices
  // are tested number by number.
  const uint64_t starts[] = {1000000000000000000u, UINT64_MAX - 1000000,
                             rng() | (uint64_t{1} << 63), UINT64_MAX - (uint64_t{1} << 25)};
  for (const uint64_t a : starts) {
    const uint64_t b = std::min(UINT64_MAX - a, uint64_t{1} << 25) + a;
    const auto primes = walked(a, b);
    ASSERT_EQ(slice(primes, b - 20000, b), tested_primes(b - 20000, b));
    const auto histogram = histogram_of(primes, 1, 2000);
    EXPECT_EQ(scan_prime_range(a, b, 1, 2000, 1).gaps, histogram) << a;
    for (const int threads : {2, 3, 7}) {
      const RangeScan scan = scan_prime_range(a, b, 1, 2000, threads, nullptr, 100000);
      EXPECT_EQ(scan.primes, primes.size()) << a << " " << threads;
      EXPECT_EQ(scan.gaps, histogram) << a << " " << threads;
    }
  }
}

TEST(Range64, PrimeCountNear10To19FromTheKnownCountFull) {
  if (!full()) GTEST_SKIP() << "set NTBENCH_FULL";
  // Past 2^63, within reach of the known count at 10^19 on either side: the
  // known count and a sieve of the numbers in between on two and three
  // threads, against the primes of the window found by Miller-Rabin.
  const uint64_t ten19 = 10000000000000000000u, known = 234057667276344607u;
  const uint64_t w = uint64_t{1} << 21;
  const uint64_t below = tested_primes(ten19 - w + 1, ten19).size();
  const uint64_t above = tested_primes(ten19 + 1, ten19 + w).size();
  for (const int threads : {2, 3}) {
    EXPECT_EQ(prime_pi_64(ten19 - w, threads), known - below) << threads;
    EXPECT_EQ(prime_pi_64(ten19 + w, threads), known + above) << threads;
  }
}

}  // namespace
}  // namespace ntb
