// pi(x) by Meissel's formula.  With a = pi(cbrt x),
//
//   pi(x) = phi(x, a) + a - 1 - P2(x, a),
//   P2(x, a) = sum over the primes p_b, a < b <= pi(sqrt x), of pi(x / p_b) - b + 1,
//
// where phi(x, a) counts the integers in 1..x with none of the first a primes
// as a factor.  Every pi(v) needed, in P2 and in the recursion of phi, has
// v <= x / cbrt(x) = x^(2/3): one sieve up to there (at most 1.7 million for
// x < 2^31, a bit for each number prime to 30) answers them all with a
// popcount.  phi runs Legendre's recursion
// phi(y, b) = phi(y, b - 1) - phi(y / p_b, b - 1) cut short three ways: for
// b <= 5 by the period 2310 = 2*3*5*7*11 (small_phi); when
// y < p_(b+1)^2, where only 1 and the primes p_b < p <= y remain; and in the
// sum over b, where y / p_b drops below p_b^2 and then below p_b.
#include "numtheory/count/prime_pi.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "numtheory/count/small_phi.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

namespace {

// The functions that count bits are built twice where the target lacks the
// popcnt instruction (the baseline x86-64 does): once with it, once without,
// and the loader picks the one the processor can run.
#if defined(__x86_64__) && !defined(__POPCNT__)
#define NTB_POPCNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define NTB_POPCNT_CLONES
#endif

constexpr int kSmallA = 5;                 // phi(y, b) for b <= 5 by the period 2310
constexpr int64_t kDirectLimit = 1 << 16;  // below: a plain count of the sieve

int64_t icbrt(int64_t x) {
  auto r = static_cast<int64_t>(__builtin_cbrt(static_cast<double>(x)));
  while (r * r * r > x) --r;
  while ((r + 1) * (r + 1) * (r + 1) <= x) ++r;
  return r;
}

// The bits set in z: the instruction where the target has one, else the
// bit-parallel sum inline (cheaper than a call), which the compiler turns
// into the instruction in the popcnt clones.
inline uint32_t popcount(uint64_t z) {
#if defined(__POPCNT__) || !defined(__x86_64__)
  return static_cast<uint32_t>(std::popcount(z));
#else
  z -= (z >> 1) & 0x5555555555555555;
  z = (z & 0x3333333333333333) + ((z >> 2) & 0x3333333333333333);
  z = (z + (z >> 4)) & 0x0f0f0f0f0f0f0f0f;
  return static_cast<uint32_t>(z * 0x0101010101010101 >> 56);
#endif
}

// The numbers prime to 30 in one period, a bit each: bit k of a byte stands
// for 30 j + kWheel[k], so that a 64-bit word covers 240 numbers.
constexpr std::array<uint32_t, 8> kWheel = {1, 7, 11, 13, 17, 19, 23, 29};

// For r < 240, the bits of a word that stand for the offsets 0..r.
constexpr std::array<uint64_t, 240> kUpTo = [] {
  std::array<uint64_t, 240> m{};
  for (uint32_t r = 0; r < 240; ++r)
    for (uint32_t t = 0; t < 64; ++t)
      if (30 * (t / 8) + kWheel[t % 8] <= r) m[r] |= uint64_t{1} << t;
  return m;
}();

// The primes up to `limit` as a bit per number prime to 30, with the count of
// the primes before each 64-bit word, so that pi(v) costs a popcount.
class PiTable {
 public:
  struct Word {  // 240 numbers and the count of the primes below them
    uint64_t bits = 0;
    uint64_t before = 0;
  };

  explicit PiTable(uint32_t limit) {
    const uint32_t root = static_cast<uint32_t>(isqrt(limit));
    for (uint32_t p = 7; p <= root; p += 2) {  // the sieving primes, by trial division
      bool prime = p % 3 != 0 && p % 5 != 0;
      for (size_t k = 0; prime && k < primes_.size() && primes_[k] * primes_[k] <= p; ++k)
        prime = p % primes_[k] != 0;
      if (prime) primes_.push_back(p);
    }
    const size_t bytes = 8 * (limit / 240 + 1);
    const std::unique_ptr<uint8_t[]> sieve(new uint8_t[bytes]);  // all written below
    // The multiples of 7, 11 and 13 laid down from a pattern of their period
    // 1001 bytes (30030 numbers), those of the larger primes crossed off one
    // residue class at a time: p m for m = m0 + 30 t falls in byte p t + p m0 / 30,
    // always at the same bit.
    constexpr uint32_t kPeriod = 7 * 11 * 13;
    std::array<uint8_t, kPeriod + 8> pattern{};  // and its first 8 bytes again
    for (uint32_t j = 0; j < kPeriod; ++j)
      for (uint32_t k = 0; k < 8; ++k) {
        const uint32_t n = 30 * j + kWheel[k];
        if (n % 7 != 0 && n % 11 != 0 && n % 13 != 0) pattern[j] |= uint8_t(1 << k);
      }
    std::copy_n(pattern.begin(), 8, pattern.begin() + kPeriod);
    for (size_t j = 0, r = 0; j < bytes; j += 8, r = r + 8 < kPeriod ? r + 8 : r + 8 - kPeriod)
      std::memcpy(&sieve[j], &pattern[r], 8);
    sieve[0] = (sieve[0] & ~1) | 2 | 4 | 8;  // 1 is not prime; 7, 11 and 13 are
    uint8_t* s = sieve.get();
    for (const uint32_t p : primes_) {
      if (p <= 13) continue;
      for (const uint32_t m : kWheel) {
        const uint32_t m0 = m < p % 30 ? p - p % 30 + 30 + m : p - p % 30 + m;  // >= p
        const uint32_t n = p * m0;
        const auto bit = static_cast<uint8_t>(~(1u << bit_of(n % 30)));
        size_t j = n / 30;
        for (; j + 3 * p < bytes; j += 4 * p)
          s[j] &= bit, s[j + p] &= bit, s[j + 2 * p] &= bit, s[j + 3 * p] &= bit;
        for (; j < bytes; j += p) s[j] &= bit;
      }
    }
    for (uint32_t k = 0; k < 8; ++k)  // past the limit
      if (30 * (limit / 30) + kWheel[k] > limit) s[limit / 30] &= uint8_t(~(1u << k));
    std::fill(s + limit / 30 + 1, s + bytes, 0);
    pack(s, bytes / 8);
  }

  uint32_t pi(uint32_t v) const {  // v <= limit
    return v < 7 ? kSmall[v] : pi_from_7(words_.data(), v);
  }
  // pi(v) for 7 <= v <= limit from the words of a table, for loops that keep
  // the pointer in a register.
  static uint32_t pi_from_7(const Word* words, uint32_t v) {
    const Word& w = words[v / 240];
    return static_cast<uint32_t>(w.before) + popcount(w.bits & kUpTo[v % 240]);
  }
  const Word* words() const { return words_.data(); }

  // The primes up to v >= 5 and the next one, 1-based: a 0 in front.  The next
  // prime must be <= limit.
  std::vector<uint32_t> primes_through(uint32_t v) const {
    std::vector<uint32_t> p = {0, 2, 3, 5};
    p.reserve(pi(v) + 2);
    for (uint32_t w = 0;; ++w)
      for (uint64_t z = words_[w].bits; z; z &= z - 1) {
        const auto t = static_cast<uint32_t>(std::countr_zero(z));
        p.push_back(240 * w + 30 * (t / 8) + kWheel[t % 8]);
        if (p.back() > v) return p;
      }
  }

 private:
  static constexpr std::array<uint32_t, 7> kSmall = {0, 0, 1, 2, 2, 3, 3};  // pi(v), v < 7

  static uint32_t bit_of(uint32_t r) {  // r prime to 30
    return static_cast<uint32_t>(std::find(kWheel.begin(), kWheel.end(), r) - kWheel.begin());
  }

  // The sieve's bytes as words (byte k of a word in its bits 8k..8k+7) with
  // the count of the primes before each.
  NTB_POPCNT_CLONES void pack(const uint8_t* s, size_t n) {
    words_.reserve(n);
    uint64_t c = 3;  // the primes 2, 3 and 5
    for (size_t w = 0; w < n; ++w) {
      uint64_t z = 0;
      for (int k = 7; k >= 0; --k) z = z << 8 | s[8 * w + k];
      words_.push_back({z, c});
      c += popcount(z);
    }
  }

  std::vector<Word> words_;
  std::vector<uint32_t> primes_;  // 7 up to sqrt(limit)
};

class Meissel {
 public:
  Meissel(const PiTable& pi, uint32_t limit, const std::vector<uint32_t>& primes)
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
      const PiTable::Word* words = pi_.words();
      const uint64_t* inverse = inverse_.data();
      for (int i = b + 1; i <= top; ++i) sum += PiTable::pi_from_7(words, quotient(y, inverse[i]));
      return sum;
    }
    int64_t sum = small_phi(y, kSmallA);
    int i = kSmallA + 1;
    for (; i <= b && cube_[i] <= y; ++i) sum -= phi(quotient(y, inverse_[i]), i - 1);
    // Here y / p_i < p_i^2: phi(y / p_i, i - 1) = pi(y / p_i) - i + 2 (and
    // y / p_i >= p_i, so that is at least 2).
    const int first = i;
    int64_t pis = 0;
    const PiTable::Word* words = pi_.words();
    const uint64_t* inverse = inverse_.data();
    for (; i <= b && square_[i] <= y; ++i)
      pis += PiTable::pi_from_7(words, quotient(y, inverse[i]));
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

  const PiTable& pi_;
  uint32_t limit_;                  // of pi_
  const std::vector<uint32_t>& p_;  // 1-based: p_[1] = 2
  std::vector<uint64_t> square_, cube_, inverse_;
};

}  // namespace

int64_t prime_pi(int64_t x) {
  if (x < 2) return 0;
  x = std::min(x, kPrimePiMax);
  if (x < kDirectLimit) return PiTable(static_cast<uint32_t>(x)).pi(static_cast<uint32_t>(x));
  const int64_t c = icbrt(x), root = isqrt(x);
  const auto limit = static_cast<uint32_t>(std::max(x / c, 2 * root));
  const PiTable table(limit);
  // 1-based, the primes up to sqrt(x) and the next one (at most 2 sqrt(x)).
  const std::vector<uint32_t> p = table.primes_through(static_cast<uint32_t>(root));
  const int a = static_cast<int>(table.pi(static_cast<uint32_t>(c)));
  const int top = static_cast<int>(table.pi(static_cast<uint32_t>(root)));
  int64_t p2 = 0;
  for (int b = a + 1; b <= top; ++b) p2 += table.pi(static_cast<uint32_t>(x / p[b])) - b + 1;
  return Meissel(table, limit, p).phi(static_cast<uint32_t>(x), a) + a - 1 - p2;
}

}  // namespace ntb
