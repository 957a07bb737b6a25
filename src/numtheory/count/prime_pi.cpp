// pi(x) by Meissel's formula.  With a = pi(cbrt x),
//
//   pi(x) = phi(x, a) + a - 1 - P2(x, a),
//   P2(x, a) = sum over the primes p_b, a < b <= pi(sqrt x), of pi(x / p_b) - b + 1,
//
// where phi(x, a) counts the integers in 1..x with none of the first a primes
// as a factor.  Every pi(v) needed, in P2 and in the recursion of phi, has
// v <= x / cbrt(x) = x^(2/3): one wheel sieve up to there (at most 1.7
// million for x < 2^31), held as a PiLookup, answers them all with a
// popcount.  phi runs Legendre's recursion
// phi(y, b) = phi(y, b - 1) - phi(y / p_b, b - 1) cut short three ways: for
// b <= 5 by the period 2310 = 2*3*5*7*11 (small_phi); when
// y < p_(b+1)^2, where only 1 and the primes p_b < p <= y remain; and in the
// sum over b, where y / p_b drops below p_b^2 and then below p_b.
#include "numtheory/count/prime_pi.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "numtheory/count/small_phi.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/sieve/wheel_sieve.hpp"
#include "numtheory/tables/pi_lookup.hpp"

namespace ntb {

namespace {

constexpr int kSmallA = 5;                 // phi(y, b) for b <= 5 by the period 2310
constexpr int64_t kDirectLimit = 1 << 16;  // below: a plain count of the sieve

int64_t icbrt(int64_t x) {
  auto r = static_cast<int64_t>(__builtin_cbrt(static_cast<double>(x)));
  while (r * r * r > x) --r;
  while ((r + 1) * (r + 1) * (r + 1) <= x) ++r;
  return r;
}

// The primes up to v >= 5 and the next one, 1-based: a 0 in front.  The next
// prime must be within the lookup.
std::vector<uint32_t> primes_through(const PiLookup& table, uint32_t v) {
  std::vector<uint32_t> p = {0, 2, 3, 5};
  p.reserve(table.pi(v) + 2);
  const RankedWord* words = table.words();
  for (uint32_t w = 0;; ++w)
    for (uint64_t z = words[w].bits; z; z &= z - 1) {
      const auto b = static_cast<uint32_t>(std::countr_zero(z));
      p.push_back(240 * w + 30 * (b / 8) + static_cast<uint32_t>(kWheel30[b % 8]));
      if (p.back() > v) return p;
    }
}

class Meissel {
 public:
  Meissel(const PiLookup& pi, uint32_t limit, const std::vector<uint32_t>& primes)
      : pi_(pi),
        limit_(limit),
        p_(primes),
        square_(p_.size()),
        cube_(p_.size()),
        inverse_(p_.size()) {
    for (size_t i = 1; i < p_.size(); ++i) {
      const uint64_t p = p_[i];
      square_[i] = p * p, cube_[i] = p * p * p, inverse_[i] = ~uint64_t{0} / p + 1;
    }
  }

  // phi(y, b), b <= the primes held.
  NTB_POPCNT_CLONES int64_t phi(uint32_t y, int b) const {
    if (b <= kSmallA) return small_phi(y, b);
    if (y < square_[b + 1]) return y < 1 ? 0 : std::max<int64_t>(1, int64_t{pi_.pi(y)} - b + 1);
    if (y < cube_[b + 1] && y <= limit_) {
      // Left are 1, the primes p_b < p <= y and the products p q of two
      // primes p_b < p_i <= q, for each p_i <= sqrt(y) pi(y / p_i) - i + 1.
      const auto top = static_cast<int>(pi_.pi(static_cast<uint32_t>(isqrt(y))));
      int64_t sum =
          int64_t{pi_.pi(y)} - b + 1 - (int64_t{top} * (top - 1) - int64_t{b} * (b - 1)) / 2;
      const RankedWord* words = pi_.words();
      const uint64_t* inverse = inverse_.data();
      for (int i = b + 1; i <= top; ++i) sum += PiLookup::pi_from_7(words, quotient(y, inverse[i]));
      return sum;
    }
    int64_t sum = small_phi(y, kSmallA);
    int i = kSmallA + 1;
    for (; i <= b && cube_[i] <= y; ++i) sum -= phi(quotient(y, inverse_[i]), i - 1);
    // Here y / p_i < p_i^2: phi(y / p_i, i - 1) = pi(y / p_i) - i + 2 (and
    // y / p_i >= p_i, so that is at least 2).
    const int first = i;
    int64_t pis = 0;
    const RankedWord* words = pi_.words();
    const uint64_t* inverse = inverse_.data();
    for (; i <= b && square_[i] <= y; ++i)
      pis += PiLookup::pi_from_7(words, quotient(y, inverse[i]));
    sum -= pis - (int64_t{i - 3} * (i - 2) - int64_t{first - 3} * (first - 2)) / 2;
    // And once y / p_i < p_i, only the 1 is left, for every p_i <= y.
    if (i <= b) sum -= std::max<int64_t>(0, (y >= p_[b] ? b : int64_t{pi_.pi(y)}) - i + 1);
    return sum;
  }

 private:
  // y / p_i by a multiplication: with m = floor((2^64 - 1) / p) + 1 the high
  // word of y m is exact for y < 2^32, p < 2^32.
  static uint32_t quotient(uint32_t y, uint64_t inverse) {
    return static_cast<uint32_t>((static_cast<unsigned __int128>(y) * inverse) >> 64);
  }

  const PiLookup& pi_;
  uint32_t limit_;                  // of pi_
  const std::vector<uint32_t>& p_;  // 1-based: p_[1] = 2
  std::vector<uint64_t> square_, cube_, inverse_;
};

}  // namespace

int64_t prime_pi(int64_t x) {
  if (x < 2) return 0;
  x = std::min(x, kPrimePiMax);
  if (x < kDirectLimit) return PiLookup(static_cast<uint32_t>(x)).pi(static_cast<uint32_t>(x));
  const int64_t c = icbrt(x), root = isqrt(x);
  const auto limit = static_cast<uint32_t>(std::max(x / c, 2 * root));
  const PiLookup table(limit);
  // 1-based, the primes up to sqrt(x) and the next one (at most 2 sqrt(x)).
  const std::vector<uint32_t> p = primes_through(table, static_cast<uint32_t>(root));
  const int a = static_cast<int>(table.pi(static_cast<uint32_t>(c)));
  const int top = static_cast<int>(table.pi(static_cast<uint32_t>(root)));
  int64_t p2 = 0;
  for (int b = a + 1; b <= top; ++b) p2 += table.pi(static_cast<uint32_t>(x / p[b])) - b + 1;
  return Meissel(table, limit, p).phi(static_cast<uint32_t>(x), a) + a - 1 - p2;
}

}  // namespace ntb
