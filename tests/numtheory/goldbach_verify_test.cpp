// The Goldbach verification of a range of even numbers against a plain
// sieve of Eratosthenes over [a - 4000, b] searched n by n: every n up to
// 10^5, stretches of several windows near 10^12 and past 2^48, short ones
// near 2^64, on any number of threads; a tiny bound on p that leaves n
// unverified; and each covering kernel the CPU runs.  The joins of pieces
// (merge_into) are tried through the chunked command.
#include "numtheory/goldbach/goldbach_verify.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "numtheory/factor/prime_test64.hpp"
#include "numtheory/goldbach/goldbach_verify_kernels.hpp"
#include "numtheory/interrupt.hpp"
#include "support/dialogue.hpp"

namespace ntb {
namespace {

// The primes of [lo, hi] by the sieve of the primes up to sqrt(hi), each
// crossing off its multiples one by one; above 2^52 none (the test decides).
class PlainSieve {
 public:
  PlainSieve(uint64_t lo, uint64_t hi) : lo_(lo) {
    if (hi >= uint64_t{1} << 52) return;
    prime_.assign(hi - lo + 1, true);
    uint64_t r = 1;
    while ((r + 1) <= hi / (r + 1)) ++r;
    std::vector<bool> small(r + 1, true);
    for (uint64_t d = 2; d <= r; ++d) {
      if (!small[d]) continue;
      for (uint64_t m = d * d; m <= r; m += d) small[m] = false;
      for (uint64_t m = std::max(d * d, (lo + d - 1) / d * d); m <= hi && m >= lo; m += d)
        prime_[m - lo] = false;
    }
    for (uint64_t x = lo; x < 2 && x <= hi; ++x) prime_[x - lo] = false;
  }
  // Whether x is prime: from the sieve inside it, else by the test.
  bool prime(uint64_t x) const {
    return x >= lo_ && x - lo_ < prime_.size() ? prime_[x - lo_] : is_prime_u64(x);
  }

 private:
  uint64_t lo_;
  std::vector<bool> prime_;
};

GoldbachVerification reference(uint64_t a, uint64_t b, bool records, uint64_t max_p = 0) {
  const PlainSieve s(a > 4000 ? a - 4000 : 0, b);
  GoldbachVerification v;
  for (uint64_t n = a + a % 2; n <= b && n >= a; n += 2) {
    ++v.checked;
    uint64_t p = 2;
    while (p <= n / 2 && (max_p == 0 || p <= max_p) && !(s.prime(p) && s.prime(n - p))) ++p;
    if (p > n / 2 || (max_p != 0 && p > max_p)) {
      ++v.unverified_count;
      if (v.unverified.size() < kUnverifiedKept) v.unverified.push_back(n);
    } else if (p > v.worst.p) {
      v.worst = {n, p};
      if (records) v.records.push_back(v.worst);
    }
    if (n >= UINT64_MAX - 1) break;
  }
  return v;
}

void expect_same(const GoldbachVerification& got, const GoldbachVerification& want) {
  EXPECT_EQ(got.checked, want.checked);
  EXPECT_EQ(got.worst, want.worst)
      << got.worst.n << " " << got.worst.p << " vs " << want.worst.n << " " << want.worst.p;
  EXPECT_EQ(got.records, want.records);
  EXPECT_EQ(got.unverified, want.unverified);
  EXPECT_EQ(got.unverified_count, want.unverified_count);
}

void expect_range(uint64_t a, uint64_t b, uint64_t max_p = 0) {
  SCOPED_TRACE(::testing::Message() << "[" << a << ", " << b << "] max_p " << max_p);
  for (const bool records : {false, true}) {
    const GoldbachVerification want = reference(a, b, records, max_p);
    for (const unsigned threads : {1u, 2u, 3u}) {
      SCOPED_TRACE(::testing::Message() << "threads " << threads << " records " << records);
      expect_same(verify_goldbach(a, b, threads, records, nullptr, max_p), want);
    }
  }
}

// Every n up to 10^5 and random windows below 2 * 10^4, the borders of the
// 3840 numbers sieved below a window; stretches of several windows near
// 10^12 (a window holds about 2 * 10^6 numbers) and past 2^48, where the
// primes come from the prime blocks, sieved (2^50) or tested (2^64); and
// bounds on p that leave n unverified, up to and beyond the table.
TEST(GoldbachVerify, AgainstThePlainSieve) {
  struct Range {
    uint64_t a, b, max_p = 0;
  };
  const uint64_t e12 = 1000000000000, e50 = uint64_t{1} << 50;
  std::vector<Range> ranges = {
      {4, 100000},
      {e12 - 3, e12 + (testing::full_run() ? 40000000 : 9000001)},
      {e50 - 1000, e50 + 3000000},
      {UINT64_MAX - 400, UINT64_MAX},
  };
  std::mt19937_64 rng(7);
  for (int i = 0; i < 40; ++i) {
    const uint64_t a = 4 + rng() % 20000;
    ranges.push_back({a, a + rng() % 3000});
  }
  for (int i = 0; i < 3; ++i) {
    const uint64_t a = e12 - 1000000 + rng() % 100000000, b = UINT64_MAX - rng() % 100000;
    ranges.push_back({a, a + rng() % 600});
    ranges.push_back({b - rng() % 600, b});
  }
  for (const uint64_t a : {4, 5, 6, 7, 8, 3838, 3839, 3840, 3841, 3842})
    for (const uint64_t b : {a, a + 1, a + 2, a + 5, a + 4000}) ranges.push_back({a, b});
  for (const uint64_t max_p : {2, 3, 5, 97, 4001}) {
    ranges.push_back({4, 3000, max_p});
    ranges.push_back({e12, e12 + 2000, max_p});
  }
  for (const Range& r : ranges) expect_range(r.a, r.b, r.max_p);
}

TEST(GoldbachVerify, EveryKernelTheCpuRunsGivesTheSameAnswer) {
  for (const GoldbachKernel kernel : goldbach_verify_kernels_for_tests()) {
    SCOPED_TRACE(::testing::Message() << "kernel " << static_cast<int>(kernel));
    force_goldbach_verify_kernel_for_tests(kernel);
    expect_range(4, 30000);
    expect_range(1000000000000 - 3, 1000000000000 + 2100000);
    expect_range(1000000000000, 1000000000000 + 2000, 97);
  }
  force_goldbach_verify_kernel_for_tests(GoldbachKernel::kBest);
}

// The unverified n kept stop at kUnverifiedKept; wrong ranges are refused;
// progress reaches 1 and Ctrl-C stops every thread.
TEST(GoldbachVerify, LimitsProgressAndCtrlC) {
  const GoldbachVerification v = verify_goldbach(4, 1000, 2, false, nullptr, 5);
  EXPECT_GT(v.unverified_count, kUnverifiedKept);
  EXPECT_EQ(v.unverified.size(), kUnverifiedKept);
  EXPECT_THROW(verify_goldbach(3, 10, 1, false), std::invalid_argument);
  EXPECT_THROW(verify_goldbach(10, 8, 1, false), std::invalid_argument);
  std::atomic<double> done{0};
  verify_goldbach(1000000000000, 1000000000000 + 10000000, 2, false, &done);
  EXPECT_DOUBLE_EQ(done.load(), 1.0);
  g_interrupt_requested = 1;
  EXPECT_THROW(verify_goldbach(1000000000000, 1000000000000 + 100000000, 2, false), Interrupted);
  g_interrupt_requested = 0;
}

}  // namespace
}  // namespace ntb
