// Factorization of a 32-bit unsigned integer, the way that is fast for the
// numbers of a whole range: the factors 2 by a shift; the odd primes below
// 2^8 by one multiplication each (n is a multiple of the odd d exactly when
// n * d^-1 mod 2^32 <= (2^32 - 1) / d);
// what is left has no factor below 2^8, so it is prime when below 2^16 and
// otherwise either prime, which Miller-Rabin settles, or a product of primes
// above 2^8, which Pollard's rho in Brent's form splits in a few hundred
// steps.  The arithmetic modulo n is Montgomery's: no division in the loops.
#include "numtheory/factor/factorize.hpp"

#include <algorithm>
#include <array>
#include <bit>

namespace ntb {

namespace {

constexpr uint32_t kTrialBound = 256;  // trial division by the odd primes below

struct OddDivisor {
  uint32_t inverse;  // d^-1 mod 2^32
  uint32_t limit;    // (2^32 - 1) / d
};

constexpr uint32_t inverse_mod_2_32(uint32_t d) {  // d odd; Newton's iteration
  uint32_t x = d;                                  // right to 3 bits
  for (int i = 0; i < 4; ++i) x *= 2 - d * x;
  return x;
}

constexpr int kTrialCount = [] {
  int c = 0;
  for (uint32_t d = 3; d < kTrialBound; d += 2) {
    bool prime = true;
    for (uint32_t q = 3; q * q <= d; q += 2) prime = prime && d % q != 0;
    c += prime;
  }
  return c;
}();

constexpr auto kTrial = [] {
  std::array<OddDivisor, kTrialCount> t{};
  std::array<uint32_t, kTrialCount> primes{};
  int c = 0;
  for (uint32_t d = 3; d < kTrialBound; d += 2) {
    bool prime = true;
    for (uint32_t q = 3; q * q <= d; q += 2) prime = prime && d % q != 0;
    if (prime) t[c] = {inverse_mod_2_32(d), UINT32_MAX / d}, primes[c++] = d;
  }
  return std::pair{t, primes};
}();

// Arithmetic modulo an odd n in Montgomery form: a stands for a * 2^32 mod n.
class Montgomery {
 public:
  explicit Montgomery(uint32_t n)
      : n_(n),
        inv_(inverse_mod_2_32(n)),
        one_((0u - n) % n),
        r2_(static_cast<uint32_t>(uint64_t{one_} * one_ % n)) {}

  uint32_t reduce(uint64_t t) const {  // t * 2^-32 mod n, for t < n * 2^32
    const uint32_t m = static_cast<uint32_t>(t) * inv_;
    const uint64_t mn = uint64_t{m} * n_;
    const uint32_t hi = static_cast<uint32_t>(t >> 32), mhi = static_cast<uint32_t>(mn >> 32);
    return hi >= mhi ? hi - mhi : hi - mhi + n_;
  }
  uint32_t mul(uint32_t a, uint32_t b) const { return reduce(uint64_t{a} * b); }
  uint32_t to(uint32_t a) const { return mul(a, r2_); }  // a < n
  uint32_t one() const { return one_; }
  uint32_t n() const { return n_; }
  uint32_t add(uint32_t a, uint32_t b) const {  // a, b < n
    const uint32_t s = a + b;
    return (s < a || s >= n_) ? s - n_ : s;
  }

 private:
  uint32_t n_, inv_, one_, r2_;
};

// Whether the odd n > 61 is a strong probable prime to the bases 2, 7 and
// 61 (then it is prime: no composite below 2^32 passes all three).  The
// three powers a^d, n - 1 = d 2^s, are built side by side, bit by bit of d
// from the top, so that their multiplications overlap.
bool miller_rabin(uint32_t n) {
  const Montgomery m(n);
  const int s = std::countr_zero(n - 1);
  const uint32_t d = (n - 1) >> s;
  const uint32_t b7 = m.to(7), b61 = m.to(61);
  uint32_t x2 = m.add(m.one(), m.one()), x7 = b7, x61 = b61;
  for (int bit = 30 - std::countl_zero(d); bit >= 0; --bit) {
    x2 = m.mul(x2, x2), x7 = m.mul(x7, x7), x61 = m.mul(x61, x61);
    if ((d >> bit) & 1) x2 = m.add(x2, x2), x7 = m.mul(x7, b7), x61 = m.mul(x61, b61);
  }
  const uint32_t minus_one = n - m.one();
  for (uint32_t x : {x2, x7, x61}) {
    if (x == m.one() || x == minus_one) continue;
    int i = 1;
    for (; i < s; ++i) {
      x = m.mul(x, x);
      if (x == minus_one) break;
    }
    if (i >= s) return false;
  }
  return true;
}

uint32_t gcd(uint32_t a, uint32_t b) {  // b odd
  while (a) {
    a >>= std::countr_zero(a);
    if (a < b) std::swap(a, b);
    a -= b;
  }
  return b;
}

// A proper factor of the odd composite n (no factor below kTrialBound), by
// Pollard's rho with Brent's cycle finding and the differences multiplied
// together between gcds.
uint32_t rho(uint32_t n) {
  const Montgomery m(n);
  constexpr uint32_t kBatch = 32;
  for (uint32_t c = 1;; ++c) {
    const uint32_t cm = m.to(c);
    auto f = [&](uint32_t v) { return m.add(m.mul(v, v), cm); };
    uint32_t y = m.to(2), x = y, q = m.one(), ys = y, g = 1;
    for (uint32_t r = 1; g == 1; r <<= 1) {
      x = y;
      for (uint32_t i = 0; i < r; ++i) y = f(y);
      for (uint32_t k = 0; k < r && g == 1; k += kBatch) {
        ys = y;
        for (uint32_t i = 0; i < std::min(kBatch, r - k); ++i) {
          y = f(y);
          q = m.mul(q, x > y ? x - y : y - x);
        }
        g = gcd(q, n);
      }
    }
    if (g == n) {  // the batch overshot: step again one at a time
      do {
        ys = f(ys);
        g = gcd(x > ys ? x - ys : ys - x, n);
      } while (g == 1);
    }
    if (g != n) return g;
  }
}

bool prime_without_small_factor(uint32_t n) {  // n odd, no factor below kTrialBound
  return n < kTrialBound * kTrialBound || miller_rabin(n);
}

}  // namespace

bool is_prime_u32(uint32_t n) {
  if (n < 2) return false;
  if (n % 2 == 0) return n == 2;
  const auto& [trial, primes] = kTrial;
  for (int i = 0; i < kTrialCount; ++i)
    if (n * trial[i].inverse <= trial[i].limit) return n == primes[i];
  return prime_without_small_factor(n);
}

PrimeFactorList factorize(uint32_t n) {
  PrimeFactorList r;
  if (n < 2) return r;
  const int twos = std::countr_zero(n);
  for (int i = 0; i < twos; ++i) r.p[r.count++] = 2;
  n >>= twos;
  const auto& [trial, primes] = kTrial;
  for (int i = 0; i < kTrialCount; ++i)
    while (n * trial[i].inverse <= trial[i].limit) {
      r.p[r.count++] = primes[i];
      n *= trial[i].inverse;  // the exact quotient n / d
    }
  if (n == 1) return r;
  // n has no factor below kTrialBound; split it until every piece is prime.
  const int first = r.count;
  std::array<uint32_t, 4> pending{n};  // at most 4 factors above 2^8 in 32 bits
  int k = 1;
  while (k > 0) {
    const uint32_t v = pending[--k];
    if (prime_without_small_factor(v)) {
      r.p[r.count++] = v;
    } else {
      const uint32_t d = rho(v);
      pending[k++] = d;
      pending[k++] = v / d;
    }
  }
  std::sort(r.p.begin() + first, r.p.begin() + r.count);
  return r;
}

}  // namespace ntb
