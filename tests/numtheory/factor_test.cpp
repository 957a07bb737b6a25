// primefac against trial division written here, its edge cases, and ACHAR.
#include "numtheory/factor/factor.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace ntb {
namespace {

// The decomposition of |n| by plain trial division, as (prime, exponent).
std::vector<std::pair<int64_t, int32_t>> trial(int64_t n) {
  std::vector<std::pair<int64_t, int32_t>> out;
  int64_t m = n < 0 ? -n : n;
  for (int64_t d = 2; d * d <= m; ++d) {
    if (m % d) continue;
    int32_t e = 0;
    while (m % d == 0) m /= d, ++e;
    out.emplace_back(d, e);
  }
  if (m > 1) out.emplace_back(m, 1);
  return out;
}

void expect_decomposition(int32_t n) {
  Factors r;
  primefac(n, r);
  const auto want = trial(n);
  ASSERT_EQ(r.nf, static_cast<int32_t>(want.size())) << n;
  for (int32_t i = 1; i <= 13; ++i) {
    if (i <= r.nf) {
      ASSERT_EQ(r.f[i], want[i - 1].first) << n;
      ASSERT_EQ(r.e[i], want[i - 1].second) << n;
      int64_t pw = 1;
      for (int32_t k = 0; k < r.e[i]; ++k) pw *= r.f[i];
      ASSERT_EQ(r.pw[i], pw) << n;
    } else {
      ASSERT_EQ(r.f[i] | r.e[i] | r.pw[i], 0) << n << " slot " << i;
    }
  }
  EXPECT_EQ(r.f[0] | r.e[0] | r.pw[0], 0);
}

TEST(Primefac, EdgeCases) {
  Factors r;
  for (int32_t n : {0, 1, -1}) {
    primefac(n, r);
    EXPECT_EQ(r.nf, 0) << n;
    for (int32_t i = 0; i <= 13; ++i) EXPECT_EQ(r.f[i] | r.e[i] | r.pw[i], 0);
  }
  primefac(2, r);
  EXPECT_EQ(r.nf, 1);
  EXPECT_EQ(r.f[1], 2);
  EXPECT_EQ(r.pw[1], 2);
  EXPECT_TRUE(is_prime_by_primefac(r));
  primefac(-12, r);
  EXPECT_EQ(r.nf, 2);
  EXPECT_EQ((std::vector<int32_t>{r.f[1], r.e[1], r.pw[1], r.f[2], r.e[2], r.pw[2]}),
            (std::vector<int32_t>{2, 2, 4, 3, 1, 3}));
  primefac(49, r);
  EXPECT_EQ(r.nf, 1);
  EXPECT_EQ(r.e[1], 2);
  EXPECT_EQ(r.pw[1], 49);
  EXPECT_FALSE(is_prime_by_primefac(r));
  primefac(223092870, r);
  EXPECT_EQ(r.nf, 9);
  const int32_t first9[] = {2, 3, 5, 7, 11, 13, 17, 19, 23};
  for (int32_t i = 1; i <= 9; ++i) {
    EXPECT_EQ(r.f[i], first9[i - 1]);
    EXPECT_EQ(r.e[i], 1);
  }
  primefac(2147483647, r);
  EXPECT_TRUE(is_prime_by_primefac(r));
  primefac(2147483646, r);
  EXPECT_EQ(r.nf, 7);
  EXPECT_EQ(r.e[2], 2);
  EXPECT_EQ(r.pw[2], 9);
  // The one 32-bit value whose absolute value does not fit: -2^31 = -(2^31).
  primefac(INT32_MIN, r);
  EXPECT_EQ(r.nf, 1);
  EXPECT_EQ(r.f[1], 2);
  EXPECT_EQ(r.e[1], 31);
}

TEST(Primefac, MatchesTrialDivision) {
  for (int32_t n = -3000; n <= 100000; ++n) expect_decomposition(n);
  std::mt19937 rng(11);
  std::uniform_int_distribution<int32_t> pick(INT32_MIN + 1, INT32_MAX);
  for (int i = 0; i < 3000; ++i) expect_decomposition(pick(rng));
  // Prime powers and squares of large primes near the top.
  for (int32_t n : {1073741824, 1162261467, 2147395600, 2147302921, 2147483629, 2147483587,
                    46341 * 46337, 65536 * 32767})
    expect_decomposition(n);
}

TEST(Achar, LowByteOfTheCode) {
  EXPECT_EQ(ACHAR(124), '|');
  EXPECT_EQ(static_cast<unsigned char>(ACHAR(179)), 179u);
  EXPECT_EQ(ACHAR(256 + 65), 'A');
  EXPECT_EQ(ACHAR(-1), '\0');
}

}  // namespace
}  // namespace ntb
