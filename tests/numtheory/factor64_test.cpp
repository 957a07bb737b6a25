// The 64-bit primality test and factoring engine against references
// written here: a sieve of smallest prime factors for every n up to 10^6,
// and for random 64-bit n a Miller-Rabin test to the first twelve primes
// as bases (no composite below 3.3 * 10^24 passes it) with plain % for its
// arithmetic.  Then a table of hard cases, and the two splitters alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "numtheory/factor/ecm64.hpp"
#include "numtheory/factor/factorize64.hpp"
#include "numtheory/factor/pollard_rho64.hpp"
#include "numtheory/factor/prime_test64.hpp"

namespace ntb {
namespace {

bool full() {
  return std::getenv("NTBENCH_FULL") != nullptr;
}

uint64_t mulmod(uint64_t a, uint64_t b, uint64_t n) {
  return static_cast<uint64_t>(static_cast<unsigned __int128>(a) * b % n);
}

bool reference_is_prime(uint64_t n) {
  if (n < 2) return false;
  for (uint64_t p : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37})
    if (n % p == 0) return n == p;
  uint64_t d = n - 1;
  int s = 0;
  for (; d % 2 == 0; d /= 2) ++s;
  for (uint64_t a : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37}) {
    uint64_t x = 1;
    for (uint64_t b = a, e = d; e; e >>= 1, b = mulmod(b, b, n))
      if (e & 1) x = mulmod(x, b, n);
    bool pass = x == 1 || x == n - 1;
    for (int i = 1; i < s && !pass; ++i) pass = (x = mulmod(x, x, n)) == n - 1;
    if (!pass) return false;
  }
  return true;
}

// The factors of n ascending, their product n, each prime; the slots after them 0.
void expect_valid(uint64_t n, const PrimeFactors64& f) {
  unsigned __int128 product = 1;
  for (int i = 0; i < f.count; ++i) {
    ASSERT_TRUE(reference_is_prime(f.p[i])) << n << ": " << f.p[i];
    ASSERT_TRUE(i == 0 || f.p[i - 1] <= f.p[i]) << n;
    product *= f.p[i];
  }
  ASSERT_TRUE(product == (n < 2 ? 1 : n)) << n;
  for (int i = f.count; i < 64; ++i) ASSERT_EQ(f.p[i], 0u) << n;
}

// Every n up to limit against its smallest prime factors.
void sieve_sweep(uint32_t limit) {
  std::vector<uint32_t> spf(limit + 1, 0);  // smallest prime factor
  for (uint32_t i = 2; i <= limit; ++i)
    if (spf[i] == 0)
      for (uint32_t j = i; j <= limit; j += i)
        if (spf[j] == 0) spf[j] = i;
  for (uint32_t n = 0; n <= limit; ++n) {
    const PrimeFactors64 f = factorize_u64(n);
    int count = 0;
    for (uint32_t m = n; m > 1; m /= spf[m]) ASSERT_EQ(f.p[count++], spf[m]) << n;
    ASSERT_EQ(f.count, count) << n;
    ASSERT_EQ(is_prime_u64(n), n > 1 && spf[n] == n) << n;
  }
}

void random_sweep(int samples) {
  std::mt19937_64 rng(64);
  for (int i = 0; i < samples; ++i) {
    // Plain random numbers, then ones with shorter factors: random n
    // shifted right, and products of two random primes of 20 to 32 bits.
    uint64_t n = rng() >> (i % 3 == 1 ? rng() % 48 : 0);
    if (i % 3 == 2) {
      const int bits = 20 + i % 13;
      uint64_t p = rng() >> (64 - bits), q = rng() >> (64 - bits);
      while (!reference_is_prime(p)) ++p;
      while (!reference_is_prime(q)) ++q;
      n = p * q;
    }
    ASSERT_EQ(is_prime_u64(n), reference_is_prime(n)) << n;
    ASSERT_NO_FATAL_FAILURE(expect_valid(n, factorize_u64(n)));
  }
}

TEST(Factor64, EveryNumberUpToAMillionAndRandomOnes) {
  sieve_sweep(1000000);
  random_sweep(4000);
}

TEST(Factor64, FullSweeps) {
  if (!full()) GTEST_SKIP() << "set NTBENCH_FULL";
  sieve_sweep(20000000);
  random_sweep(200000);
}

TEST(Factor64, HardCases) {
  const std::vector<std::vector<uint64_t>> table = {
      {0},  // n, then its factors
      {1},
      {UINT64_MAX, 3, 5, 17, 257, 641, 65537, 6700417},
      {18446744073709551557u, 18446744073709551557u},  // the largest prime below 2^64
      {18446744030759878681u, 4294967291, 4294967291},
      {18446743979220271189u, 4294967279, 4294967291},
      {2305843009213693951, 2305843009213693951},  // 2^61 - 1
      // Carmichael numbers
      {561, 3, 11, 17},
      {41041, 7, 11, 13, 41},
      {825265, 5, 7, 17, 19, 73},
      {321197185, 5, 19, 23, 29, 37, 137},
      {5394826801, 7, 13, 17, 23, 31, 67, 73},
      {232250619601, 7, 11, 13, 17, 31, 37, 73, 163},
      {9746347772161, 7, 11, 13, 17, 19, 31, 37, 41, 641},
      // strong pseudoprimes to many bases
      {3825123056546413051, 149491, 747451, 34233211},
      {1122004669633, 611557, 1834669},
      {2152302898747, 6763, 10627, 29947},
      {3474749660383, 1303, 16927, 157543},
      {341550071728321, 10670053, 32010157},
      // three 21-bit primes, five just above the trial division, powers
      {4611655231870076077, 1048583, 2097133, 2097143},
      {37984815227144693, 2053, 2063, 2069, 2081, 2083},
      {9223253290108583207u, 2097143, 2097143, 2097143},
      {18429861372428076481u, 65521, 65521, 65521, 65521},
      {4190209, 23, 23, 89, 89},
  };
  for (const auto& row : table) {
    const PrimeFactors64 f = factorize_u64(row[0]);
    EXPECT_EQ(std::vector<uint64_t>(f.p.begin(), f.p.begin() + f.count),
              std::vector<uint64_t>(row.begin() + 1, row.end()))
        << row[0];
    EXPECT_EQ(is_prime_u64(row[0]), row.size() == 2) << row[0];
  }
  for (uint64_t base : {2, 3}) {
    int e = 0;
    for (unsigned __int128 power = base; power <= UINT64_MAX; power *= base) {
      const PrimeFactors64 f = factorize_u64(static_cast<uint64_t>(power));
      ASSERT_EQ(f.count, ++e);
      for (int i = 0; i < e; ++i) ASSERT_EQ(f.p[i], base);
    }
  }
}

// Rho and ECM alone: a proper factor or nothing, never anything else; with
// room to work, a factor (rho from one of three constants).
TEST(Factor64, SplittersGiveProperFactorsOrNothing) {
  const std::vector<uint64_t> composites = {18446743979220271189u, 3825123056546413051,
                                            9223253290108583207u,  18429861372428076481u,
                                            1122004669633,         4190209};
  for (uint64_t n : composites) {
    for (const bool room : {false, true}) {
      int found = 0;
      for (uint64_t c = 1; c <= 3; ++c) {
        const uint64_t d = pollard_rho_factor(n, c, room ? uint64_t{1} << 40 : 4);
        EXPECT_TRUE(d == 0 || (d > 1 && d < n && n % d == 0)) << n;
        found += d != 0;
      }
      EXPECT_TRUE(found > 0 || !room) << n;
      const uint64_t d = ecm_factor(n, room ? 1000 : 0);
      EXPECT_TRUE(d == 0 ? !room : d > 1 && d < n && n % d == 0) << n;
    }
  }
}

}  // namespace
}  // namespace ntb
