// The one-shot engines against references written here: trial division by
// the primes below 2^16 (enough for any 32-bit number) and a plain sieve of
// Eratosthenes.  Each engine gets one sweep over every small input, random
// inputs and the edges: 0, 1, 2, the powers of two, the two-million table
// boundary, the tops of the signed and unsigned 32-bit ranges.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "numtheory/factor/factorize.hpp"
#include "numtheory/count/prime_pi.hpp"
#include "numtheory/sieve/prime_range.hpp"

namespace ntb {
namespace {

bool full() {
  return std::getenv("NTBENCH_FULL") != nullptr;
}

// sieve[n] == 1 exactly when n is prime, for n <= limit.
std::vector<uint8_t> plain_sieve(uint64_t limit) {
  std::vector<uint8_t> s(limit + 1, 1);
  s[0] = 0;
  if (limit >= 1) s[1] = 0;
  for (uint64_t i = 2; i * i <= limit; ++i)
    if (s[i])
      for (uint64_t j = i * i; j <= limit; j += i) s[j] = 0;
  return s;
}

const std::vector<uint32_t>& small_primes() {  // the primes below 2^16
  static const std::vector<uint32_t> primes = [] {
    std::vector<uint32_t> v;
    const auto s = plain_sieve(65535);
    for (uint32_t i = 0; i <= 65535; ++i)
      if (s[i]) v.push_back(i);
    return v;
  }();
  return primes;
}

std::vector<uint32_t> trial_factors(uint32_t n) {
  std::vector<uint32_t> f;
  for (uint32_t p : small_primes()) {
    if (uint64_t{p} * p > n) break;
    while (n % p == 0) f.push_back(p), n /= p;
  }
  if (n > 1) f.push_back(n);
  return f;
}

bool trial_prime(uint32_t n) {
  if (n < 2) return false;
  for (uint32_t p : small_primes()) {
    if (uint64_t{p} * p > n) break;
    if (n % p == 0) return false;
  }
  return true;
}

// Every prime of [a, b] as the engine hands them out, block by block.
std::vector<uint32_t> walk(uint64_t a, uint64_t b) {
  std::vector<uint32_t> v;
  PrimeRange r(a, b);
  for (auto block = r.next(); !block.empty(); block = r.next())
    v.insert(v.end(), block.begin(), block.end());
  EXPECT_TRUE(r.next().empty());
  return v;
}

std::vector<uint32_t> trial_walk(uint64_t a, uint64_t b) {
  std::vector<uint32_t> v;
  for (uint64_t n = a; n <= b; ++n)
    if (trial_prime(static_cast<uint32_t>(n))) v.push_back(static_cast<uint32_t>(n));
  return v;
}

TEST(FastEngines, PrimeRangeMatchesTrialDivision) {
  for (uint64_t a = 0; a <= 120; ++a)
    for (uint64_t b = 0; b <= 120; ++b) ASSERT_EQ(walk(a, b), trial_walk(a, b)) << a << ".." << b;
  std::mt19937_64 rng(17);
  std::vector<std::pair<uint64_t, uint64_t>> ranges = {{0, 300000},
                                                       {1999000, 2001000},
                                                       {2147383647, 2147483647},
                                                       {2147483600, 2147483700},
                                                       {4294867295, 4294967295},
                                                       {4294967291, 4294967295}};
  for (int i = 0; i < 40; ++i) {
    const uint64_t a = rng() % 4294967296, w = rng() % (i < 34 ? 3000 : 100000);
    ranges.push_back({a, std::min<uint64_t>(a + w, 4294967295)});
  }
  for (auto [a, b] : ranges) ASSERT_EQ(walk(a, b), trial_walk(a, b)) << a << ".." << b;
  EXPECT_TRUE(walk(10, 9).empty());
}

TEST(FastEngines, PrimePiMatchesSieve) {
  const uint64_t limit = 1 << 22;  // past the two-million boundary
  const auto s = plain_sieve(limit);
  std::mt19937_64 rng(18);
  int64_t count = 0;
  for (uint64_t x = 0; x <= limit; ++x) {
    count += s[x];
    if (x <= 5000 || x % 65536 < 3 || x % 65536 > 65533 || (x >= 1999990 && x <= 2000010) ||
        rng() % 20000 == 0) {
      ASSERT_EQ(prime_pi(static_cast<int64_t>(x)), count) << x;
    }
  }
  EXPECT_EQ(prime_pi(-5), 0);
  // High up: known counts, and the steps between nearby x against trial division.
  EXPECT_EQ(prime_pi(1000000000), 50847534);
  EXPECT_EQ(prime_pi(2147483647), 105097565);
  std::vector<int64_t> anchors = {2147483647 - 3000};
  for (int k = 23; k <= 30; ++k) anchors.push_back((int64_t{1} << k) - 1500);
  for (int i = 0; i < 6; ++i) anchors.push_back(static_cast<int64_t>(rng() % 2147480000));
  for (int64_t x0 : anchors) {
    const int64_t base = prime_pi(x0);
    int64_t step = 0;
    for (int64_t x = x0 + 1; x <= x0 + 3000; ++x) {
      step += trial_prime(static_cast<uint32_t>(x));
      if (x % 97 == 0 || x == x0 + 3000) {
        ASSERT_EQ(prime_pi(x), base + step) << x;
      }
    }
  }
}

// Counts known from the tables of pi(x): powers of two and of ten, and the top
// of the range (2^31 - 1 is prime; 2^31 is held at 2^31 - 1).
TEST(FastEngines, PrimePiAtKnownCounts) {
  const std::vector<std::pair<int64_t, int64_t>> known = {
      {65535, 6542},           {65536, 6542},          {1048576, 82025},
      {1000000, 78498},        {10000000, 664579},     {16777216, 1077871},
      {100000000, 5761455},    {268435456, 14630843},  {1073741824, 54400028},
      {2147483646, 105097564}, {2147483648, 105097565}};
  for (const auto& [x, pi] : known) EXPECT_EQ(prime_pi(x), pi) << x;
}

TEST(FastEngines, FullPrimePiAndPrimeRangeOverTheSignedRange) {
  if (!full()) GTEST_SKIP() << "set NTBENCH_FULL";
  // Every 100003rd x up to 2^31 - 1 and the count of the whole unsigned range.
  PrimeRange r(0, 2147483647);
  int64_t count = 0, x = 0;
  for (auto block = r.next(); !block.empty(); block = r.next())
    for (uint32_t p : block) {
      for (; x < p; x += 100003) ASSERT_EQ(prime_pi(x), count) << x;
      ++count;
    }
  EXPECT_EQ(count, 105097565);
  int64_t all = 0;
  PrimeRange u(0, 4294967295);
  for (auto block = u.next(); !block.empty(); block = u.next()) all += block.size();
  EXPECT_EQ(all, 203280221);
}

TEST(FastEngines, FactorizeMatchesTrialDivision) {
  std::vector<uint32_t> ns = {0,
                              1,
                              2,
                              3,
                              4,
                              2147483647u,
                              2147483648u,
                              4294967295u,
                              4294967291u,
                              65521u * 65521u,
                              65519u * 65521u,
                              46337u * 46349u,
                              2047,
                              1373653,
                              25326001,
                              3215031751u,
                              3486784401u /* 3^20 */,
                              561,
                              41041,
                              2u * 3 * 5 * 7 * 11 * 13 * 17 * 19 * 23,
                              1u << 31};
  for (uint32_t n = 5; n < 100000; ++n) ns.push_back(n);
  std::mt19937 rng(19);
  for (int i = 0; i < (full() ? 5000000 : 200000); ++i) ns.push_back(rng());
  for (int i = 0; i < 2000; ++i) {  // products of two primes near 2^16, the hard case for rho
    const auto& sp = small_primes();
    ns.push_back(sp[sp.size() - 1 - rng() % 400] * sp[sp.size() - 1 - rng() % 3000]);
  }
  for (uint32_t n = 2147383647u; n <= 2147483647u; n += full() ? 1 : 101) ns.push_back(n);
  for (uint32_t n : ns) {
    const PrimeFactorList f = factorize(n);
    const std::vector<uint32_t> got(f.p.begin(), f.p.begin() + f.count);
    ASSERT_EQ(got, n < 2 ? std::vector<uint32_t>{} : trial_factors(n)) << n;
    ASSERT_EQ(is_prime_u32(n), trial_prime(n)) << n;
  }
}

}  // namespace
}  // namespace ntb
