// The table of odd primes below kTrialBound with their inverses modulo
// 2^64, built at compile time, and the division of a 64-bit number by them.
#include "numtheory/factor/trial_division64.hpp"

#include <array>
#include <bit>

#include "numtheory/factor/montgomery64.hpp"

namespace ntb {

namespace {

constexpr bool is_odd_prime(uint64_t d) {
  if (d < 3 || d % 2 == 0) return false;
  for (uint64_t q = 3; q * q <= d; q += 2)
    if (d % q == 0) return false;
  return true;
}

constexpr int kOddPrimeCount = [] {
  int c = 0;
  for (uint64_t d = 3; d < kTrialBound; d += 2) c += is_odd_prime(d);
  return c;
}();

constexpr std::array<OddPrimeDivisor, kOddPrimeCount> kOddPrimes = [] {
  std::array<OddPrimeDivisor, kOddPrimeCount> t{};
  int c = 0;
  for (uint64_t d = 3; d < kTrialBound; d += 2)
    if (is_odd_prime(d)) t[c++] = {d, Montgomery64::inverse_mod_2_64(d), UINT64_MAX / d};
  return t;
}();

}  // namespace

std::span<const OddPrimeDivisor> odd_trial_primes() {
  return kOddPrimes;
}

uint64_t divide_out_small_primes(uint64_t n, PrimeFactors64& f) {
  if (n == 0) return 0;
  const int twos = std::countr_zero(n);
  for (int i = 0; i < twos; ++i) f.push(2);
  n >>= twos;
  for (const OddPrimeDivisor& d : kOddPrimes) {
    if (n < d.p * d.p) break;  // n is 1 or prime
    while (d.divides(n)) {
      f.push(d.p);
      n *= d.inverse;  // the exact quotient n / d
    }
  }
  return n;
}

}  // namespace ntb
