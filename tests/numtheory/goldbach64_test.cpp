// The Goldbach pair counts and listings of one even N up to 2^64 - 2
// against pairs tried one by one, for every layout of the sieve and any
// number of threads; the windows near 2^64 against trial division; the
// stops by Ctrl-C, by the visitor and by an exception.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stdexcept>
#include <vector>

#include "goldbach/oracle.hpp"
#include "numtheory/factor/prime_test64.hpp"
#include "numtheory/goldbach/pair_counts.hpp"
#include "numtheory/goldbach/wheel_windows.hpp"
#include "numtheory/interrupt.hpp"

namespace ntb {
namespace {

// The default layout; one-byte windows with every prime from 7 up placed by
// a division; a few bytes with the primes above 170 placed; and a middle one.
const GoldbachLayout kLayouts[] = {{}, {1, 7}, {3, 170}, {40, 1000}};

std::vector<uint64_t> listed(uint64_t n, unsigned threads, const GoldbachLayout& layout) {
  std::vector<uint64_t> p;
  EXPECT_TRUE(goldbach_pairs_u64(
      n, threads,
      [&](uint64_t a, uint64_t b) {
        EXPECT_EQ(a + b, n);
        p.push_back(a);
        return true;
      },
      {}, layout));
  return p;
}

void expect_n(const testing::Oracle& o, int32_t n, const GoldbachLayout& layout, unsigned threads,
              bool list) {
  const GoldbachCounts c = goldbach_counts_u64(static_cast<uint64_t>(n), threads, {}, layout);
  const auto at = [](int32_t v) { return static_cast<uint64_t>(v); };
  SCOPED_TRACE(::testing::Message() << "n " << n << " window " << layout.window_bytes << " from "
                                    << layout.carried_top << " threads " << threads);
  EXPECT_EQ(c.n, at(n));
  EXPECT_EQ(c.all_pairs, at((n / 2 - 1) / 2));
  EXPECT_EQ(c.prime_pairs, at(o.prime_pairs(n)));
  EXPECT_EQ(c.mixed_pairs, at(o.mixed_pairs(n)));
  EXPECT_EQ(c.composite_pairs, at(o.composite_pairs(n)));
  EXPECT_EQ(c.low_primes, at(o.odd_primes_upto(n / 2)));
  EXPECT_EQ(c.high_primes, at(o.odd_primes_upto(n - 3) - o.odd_primes_upto(n / 2 - 1)));
  if (!list) return;
  std::vector<uint64_t> expect;
  for (int32_t a = 3; a <= n / 2; a += 2)
    if (o.odd_prime(a) && o.odd_prime(n - a)) expect.push_back(at(a));
  EXPECT_EQ(listed(at(n), threads, layout), expect);
}

TEST(Goldbach64, EveryEvenNumberAgainstPairsTriedOneByOne) {
  const int32_t top = testing::full_run() ? 20000 : 3000;
  const testing::Oracle o(top);
  for (int32_t n = 6; n <= top; n += 2)
    for (const GoldbachLayout& layout : kLayouts) {
      expect_n(o, n, layout, 1 + static_cast<unsigned>(n / 2 % 3), n % 8 == 0 || n < 400);
      if (::testing::Test::HasFailure()) return;
    }
}

// Random and chosen N up to 10^7 against the oracle, the counts the same on
// 1, 2, 3 and 5 threads and other layouts; P(10^6) and P(2^20) among them.
TEST(Goldbach64, LargerNumbersOnAnyNumberOfThreads) {
  const testing::Oracle o(10000000);
  std::vector<int32_t> ns = {1000000, 1000002, 1048576, 9699690, 9999998, 9999996};
  for (const int32_t n : testing::random_evens(testing::full_run() ? 60 : 6, 6, 10000000, 64))
    ns.push_back(n);
  for (const int32_t n : ns) {
    expect_n(o, n, {}, 1, n == ns.front());
    const auto m = static_cast<uint64_t>(n);
    const GoldbachCounts one = goldbach_counts_u64(m, 1);
    for (const unsigned threads : {2u, 3u, 5u}) {
      // One window of the default size; small ones, the primes from 211 placed.
      const GoldbachLayout layout =
          threads == 2 ? GoldbachLayout{} : GoldbachLayout{threads == 3 ? 40u : 4096u, 200};
      const GoldbachCounts c = goldbach_counts_u64(m, threads, {}, layout);
      EXPECT_EQ(c.prime_pairs, one.prime_pairs) << n << " on " << threads;
      EXPECT_EQ(c.low_primes, one.low_primes) << n << " on " << threads;
      EXPECT_EQ(c.high_primes, one.high_primes) << n << " on " << threads;
    }
    if (::testing::Test::HasFailure()) return;
  }
}

bool free_below(uint64_t v, uint64_t bound) {
  for (uint64_t d = 2; d <= bound; ++d)
    if (v % d == 0) return false;
  return true;
}

// Runs of windows both ways over the numbers below 40000 = 200^2, from
// many starts, window sizes and run lengths, sieved by the primes to 179
// carried and those to 199 placed: each bit, the byte past the window
// included, says whether its number is prime (1 keeps its bit; downwards
// the sieving primes themselves are struck).
TEST(Goldbach64, RunsOfWindowsAgainstTheOracle) {
  const testing::Oracle o(40000);
  const WheelSievePrimes carried(180);
  const uint64_t top = 1332;  // the last byte below 40000
  for (const uint32_t bytes : {1u, 7u, 64u, 300u})
    for (uint64_t start = 0; start <= top; start += 111)
      for (const bool down : {false, true}) {
        const uint64_t first = down ? top - start : start;
        WheelWindows windows(carried, bytes);
        windows.start(first, down);
        std::vector<uint8_t> s(bytes + 1);
        for (uint64_t at = first; down ? at >= bytes : at + bytes <= top;
             at = down ? at - bytes : at + bytes) {
          windows.next(s.data(), bytes);
          for (uint64_t p = 181; p < 200; p += 2)
            if (o.prime(static_cast<int32_t>(p))) cross_off(s.data(), bytes, at, down, p);
          for (uint64_t k = 0; k <= bytes; ++k)
            for (int i = 0; i < 8; ++i) {
              const uint64_t v = 30 * (down ? at - k : at + k) + static_cast<uint64_t>(kWheel30[i]);
              const bool prime = o.prime(static_cast<int32_t>(v));
              ASSERT_EQ(s[k] >> i & 1, v == 1 || (prime && !(down && v >= 167 && v < 200)))
                  << v << " window " << bytes << (down ? " down" : " up");
            }
        }
      }
  std::vector<uint64_t> between;
  WheelPrimesBetween(1000, 39999).each([&](uint64_t p) {
    between.push_back(p);
    return p < 2000;
  });
  std::vector<uint64_t> expect;
  for (int32_t p = 1001; p <= 2003; ++p)
    if (o.prime(p)) expect.push_back(static_cast<uint64_t>(p));
  EXPECT_EQ(between, expect);
  for (const uint64_t r : {uint64_t{0}, uint64_t{1}, uint64_t{65535}, uint64_t{4294967295}}) {
    EXPECT_EQ(isqrt_u64(r * r), r);
    if (r > 0) {
      EXPECT_EQ(isqrt_u64(r * r - 1), r - 1);
    }
  }
  EXPECT_EQ(isqrt_u64(~uint64_t{0}), 4294967295u);
}

// Progress comes in order up to all windows (a call may cover several), for
// the counts and the list, and the list is the same on any number of threads.
TEST(Goldbach64, ProgressAndListOnAnyNumberOfThreads) {
  const uint64_t n = 20000000;
  std::vector<uint64_t> first;
  for (const unsigned threads : {1u, 2u, 3u, 5u}) {
    uint64_t last = 0, total = 0, calls = 0;
    const GoldbachProgress progress = [&](uint64_t done, uint64_t all) {
      EXPECT_GE(done, last);
      last = done, total = all, ++calls;
    };
    goldbach_counts_u64(n, threads, progress, {1000, 0});
    EXPECT_EQ(last, total);
    EXPECT_GE(calls, 1u);
    std::vector<uint64_t> p;
    last = 0;
    goldbach_pairs_u64(n, threads,
                       [&](uint64_t a, uint64_t) {
                         p.push_back(a);
                         return true;
                       },
                       progress, {1000, 0});
    EXPECT_EQ(last, total);
    if (first.empty()) first = p;
    EXPECT_EQ(p, first) << threads;
  }
}

// Windows of the last bytes below 2^64, both ways, by the primes up to 3000:
// the carried ones up to 2000 and the others placed, against trial division.
TEST(Goldbach64, WindowsNearTwoToTheSixtyFourKeepTheirArithmetic) {
  const WheelSievePrimes carried(2000);
  const uint64_t top = (~uint64_t{0} - 29) / 30;  // the last byte below 2^64
  for (const bool down : {false, true}) {
    WheelWindows windows(carried, 50);
    const uint64_t first = down ? top : top - 120;
    windows.start(first, down);
    for (uint64_t w = 0; w < 2; ++w) {
      const uint64_t at = down ? first - 50 * w : first + 50 * w;
      std::vector<uint8_t> s(51);
      windows.next(s.data(), 50);
      WheelPrimesBetween(2000, 3000).each([&](uint64_t p) {
        cross_off(s.data(), 50, at, down, p);
        return true;
      });
      for (uint64_t k = 0; k <= 50; ++k)
        for (int i = 0; i < 8; ++i) {
          const uint64_t v = 30 * (down ? at - k : at + k) + static_cast<uint64_t>(kWheel30[i]);
          ASSERT_EQ(s[k] >> i & 1, free_below(v, 3000)) << v << (down ? " down" : " up");
        }
    }
  }
}

// The counts of the low members in [lo, hi], by testing each pair.
GoldbachCounts part_tried(uint64_t n, uint64_t lo, uint64_t hi,
                          const std::function<bool(uint64_t)>& prime) {
  GoldbachCounts c;
  c.n = n;
  for (uint64_t a = std::max<uint64_t>(lo, 3) | 1; a <= std::min(hi, n / 2); a += 2) {
    const bool p = prime(a), q = prime(n - a);
    ++c.all_pairs;
    c.low_primes += p;
    c.high_primes += q;
    c.prime_pairs += p && q;
    c.mixed_pairs += p != q;
    c.composite_pairs += !p && !q;
  }
  return c;
}

void expect_counts(const GoldbachCounts& got, const GoldbachCounts& want) {
  EXPECT_EQ(got.n, want.n);
  EXPECT_EQ(got.all_pairs, want.all_pairs);
  EXPECT_EQ(got.prime_pairs, want.prime_pairs);
  EXPECT_EQ(got.mixed_pairs, want.mixed_pairs);
  EXPECT_EQ(got.composite_pairs, want.composite_pairs);
  EXPECT_EQ(got.low_primes, want.low_primes);
  EXPECT_EQ(got.high_primes, want.high_primes);
}

// Parts against the pairs tried one by one: every part of small N whose
// borders fall on 3, 5, N/2 or beside them, on the chosen windows and on
// windows of 3 bytes whose primes are placed anew; wide random parts; the
// first and last members of an N past 2^48.  That parts add up to the whole
// is tried through the chunked command.
TEST(Goldbach64, PartsAgainstPairsTriedOneByOne) {
  const testing::Oracle o(2000000);
  const auto prime = [&](uint64_t v) { return o.prime(static_cast<int32_t>(v)); };
  std::mt19937_64 rng(5);
  for (const uint64_t n : {6, 8, 10, 12, 14, 22, 26, 30, 62, 64, 94, 98, 1000, 1998})
    for (uint64_t lo = 0; lo <= n / 2; ++lo)
      for (uint64_t hi = lo; hi <= std::min(n / 2, lo + 7); ++hi)
        for (const GoldbachLayout layout : {GoldbachLayout{}, GoldbachLayout{3, 170}})
          expect_counts(goldbach_counts_u64_part(n, lo, hi, 1 + hi % 3, {}, layout),
                        part_tried(n, lo, hi, prime));
  for (int i = 0; i < 16; ++i) {
    const uint64_t n = 2 * (3 + rng() % 1000000), lo = rng() % (n / 2);
    const uint64_t hi = std::min(n / 2, lo + rng() % 100000);
    expect_counts(goldbach_counts_u64_part(n, lo, hi, 2), part_tried(n, lo, hi, prime));
  }
  const uint64_t top = (uint64_t{1} << 52) - 2;
  for (const auto& [lo, hi] : {std::pair<uint64_t, uint64_t>{0, 3000},
                               {top / 2 - 2000, top / 2},
                               {top / 2 - 7, top / 2 + 9}})
    expect_counts(goldbach_counts_u64_part(top, lo, hi, 2), part_tried(top, lo, hi, is_prime_u64));
}

// Ctrl-C, a visitor that stops or throws, and N that are not even or too
// small; the largest N stops at once.
TEST(Goldbach64, StopsAndRefusals) {
  const uint64_t n = 1000000000;
  EXPECT_THROW(
      goldbach_counts_u64(n, 2, [](uint64_t, uint64_t) { g_interrupt_requested = 1; }, {2000, 0}),
      Interrupted);
  g_interrupt_requested = 1;
  EXPECT_THROW(goldbach_counts_u64(~uint64_t{0} - 1, 2), Interrupted);
  g_interrupt_requested = 0;
  int seen = 0;
  EXPECT_FALSE(goldbach_pairs_u64(n, 3, [&](uint64_t, uint64_t) { return ++seen < 10; }));
  EXPECT_EQ(seen, 10);
  EXPECT_THROW(goldbach_pairs_u64(
                   n, 2, [](uint64_t, uint64_t) -> bool { throw std::runtime_error("full"); }),
               std::runtime_error);
  for (const uint64_t bad : {0, 4, 7, 1000001})
    EXPECT_THROW(goldbach_counts_u64(bad, 1), std::invalid_argument) << bad;
}

// The first pairs of the largest N, 2^64 - 2, on one thread (one window of
// the sieve by every prime up to 2^32): the least members found by a
// Miller-Rabin search, each pair summing to N.
TEST(Goldbach64, FirstPairsOfTheLargestNumberFull) {
  if (!testing::full_run()) GTEST_SKIP() << "NTBENCH_FULL=1 runs it";
  const uint64_t n = ~uint64_t{0} - 1;
  std::vector<uint64_t> p;
  EXPECT_FALSE(goldbach_pairs_u64(n, 1, [&](uint64_t a, uint64_t b) {
    EXPECT_EQ(a + b, n);
    p.push_back(a);
    return p.size() < 5;
  }));
  EXPECT_EQ(p, (std::vector<uint64_t>{277, 823, 1021, 1321, 1567}));
}

}  // namespace
}  // namespace ntb
