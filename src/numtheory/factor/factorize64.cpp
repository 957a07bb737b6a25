// Factorization of a 64-bit number: trial division by the odd primes below
// kTrialBound, then every rest that is not prime is split in two until all
// pieces are prime.  A piece with no factor below kTrialBound and below
// kTrialBound^2 is prime without a test.  Squares are split by their square
// root (the methods below are slow on them); pieces below 2^36 by
// Pollard's rho, which finds factors up to 2^18 fastest; larger ones by
// the elliptic curve method.  Should those fail within their bounds, rho runs
// again with other constants, and as a last resort trial division does,
// so that every n is factored in bounded time.
#include "numtheory/factor/factorize64.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "numtheory/factor/ecm64.hpp"
#include "numtheory/factor/pollard_rho64.hpp"
#include "numtheory/factor/prime_test64.hpp"
#include "numtheory/factor/trial_division64.hpp"

namespace ntb {

namespace {

constexpr uint64_t kPrimeBelow = kTrialBound * kTrialBound;
constexpr uint64_t kRhoBelow = uint64_t{1} << 36;  // rho first below, ECM first above
constexpr int kCurves = 400;                       // ECM's bound
constexpr uint64_t kRhoSteps = uint64_t{1} << 22;  // rho's bound for each constant
constexpr uint64_t kRhoConstants = 8;

// s with s^2 = n, or 0 when n is not a square.
uint64_t exact_sqrt(uint64_t n) {
  uint64_t s =
      std::min<uint64_t>(static_cast<uint64_t>(std::sqrt(static_cast<double>(n))), UINT32_MAX);
  while (s * s > n) --s;
  while (s < UINT32_MAX && (s + 1) * (s + 1) <= n) ++s;
  return s * s == n ? s : 0;
}

// The smallest factor of n from kTrialBound on, by trial division: the
// last resort, which always ends.
uint64_t trial_factor(uint64_t n) {
  for (uint64_t d = kTrialBound + 1; d <= n / d; d += 2)
    if (n % d == 0) return d;
  return n;
}

// A proper factor of the odd composite n, which has no prime factor below
// kTrialBound and is not a square.
uint64_t find_factor(uint64_t n) {
  if (n < kRhoBelow) {
    if (const uint64_t f = pollard_rho_factor(n, 1, kRhoSteps)) return f;
  } else {
    if (const uint64_t f = ecm_factor(n, kCurves)) return f;
  }
  for (uint64_t c = 2; c < 2 + kRhoConstants; ++c)
    if (const uint64_t f = pollard_rho_factor(n, c, kRhoSteps)) return f;
  return trial_factor(n);
}

}  // namespace

PrimeFactors64 factorize_u64(uint64_t n) {
  PrimeFactors64 f;
  if (n < 2) return f;
  const uint64_t rest = divide_out_small_primes(n, f);
  if (rest == 1) return f;
  const int first = f.count;
  // Pieces to split, each above kTrialBound: at most 5 of them in 64 bits.
  std::array<uint64_t, 8> pending{rest};
  std::size_t k = 1;
  while (k > 0) {
    const uint64_t v = pending[--k];
    if (v < kPrimeBelow || is_prime_u64(v)) {
      f.push(v);
      continue;
    }
    uint64_t a = exact_sqrt(v);
    const uint64_t b = a != 0 ? a : v / (a = find_factor(v));
    pending[k++] = a;
    pending[k++] = b;
  }
  std::sort(f.p.begin() + first, f.p.begin() + f.count);
  return f;
}

}  // namespace ntb
