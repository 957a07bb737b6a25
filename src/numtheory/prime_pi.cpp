// pi(x) by Meissel's formula.  With a = pi(cbrt x),
//
//   pi(x) = phi(x, a) + a - 1 - P2(x, a),
//   P2(x, a) = sum over the primes p_b, a < b <= pi(sqrt x), of pi(x / p_b) - b + 1,
//
// where phi(x, a) counts the integers in 1..x with none of the first a primes
// as a factor.  Every pi(v) needed, in P2 and in the recursion of phi, has
// v <= x / cbrt(x) = x^(2/3): one sieve of the odd numbers up to there (at
// most 1.7 million for x < 2^31, a bit each) answers them all with a popcount.
// phi runs Legendre's recursion phi(y, b) = phi(y, b - 1) - phi(y / p_b, b - 1)
// cut short three ways: for b <= 6 by the period 30030 = 2*3*5*7*11*13; when
// y < p_(b+1)^2, where only 1 and the primes p_b < p <= y remain; and in the
// sum over b, where y / p_b drops below p_b^2 and then below p_b.
#include "numtheory/prime_pi.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "numtheory/int_math.hpp"

namespace ntb {

namespace {

constexpr int kSmallA = 6;             // phi(y, b) for b <= 6 by table
constexpr int32_t kPrimorial = 30030;  // 2*3*5*7*11*13
constexpr int32_t kTotient = 5760;     // phi(30030, 6)
constexpr std::array<int32_t, 7> kSmallPrimes = {0, 2, 3, 5, 7, 11, 13};  // 1-based
constexpr int64_t kDirectLimit = 1 << 16;  // below: a plain count of the sieve

int64_t icbrt(int64_t x) {
  auto r = static_cast<int64_t>(__builtin_cbrt(static_cast<double>(x)));
  while (r * r * r > x) --r;
  while ((r + 1) * (r + 1) * (r + 1) <= x) ++r;
  return r;
}

// phi(y, b) for b <= 6: phi(y, 6) over whole periods plus a table of one
// period; b < 6 by the recursion on b (x < 30030 there, so it stays small).
class SmallPhi {
 public:
  SmallPhi() {
    std::vector<uint8_t> coprime(kPrimorial, 1);
    for (int i = 1; i <= kSmallA; ++i)
      for (int32_t m = 0; m < kPrimorial; m += kSmallPrimes[i]) coprime[m] = 0;
    table_[0] = 0;
    for (int32_t r = 1; r < kPrimorial; ++r) table_[r] = table_[r - 1] + coprime[r];
  }
  int64_t operator()(int64_t y, int b) const {
    if (b == kSmallA) return y / kPrimorial * kTotient + table_[y % kPrimorial];
    if (b == 0) return y;
    return (*this)(y, b - 1) - (*this)(y / kSmallPrimes[b], b - 1);
  }

 private:
  std::array<uint16_t, kPrimorial> table_{};
};

// The bits set in z: the instruction where the target has one, else the
// bit-parallel sum inline (cheaper than a call for every lookup).
inline uint32_t popcount(uint64_t z) {
#ifdef __POPCNT__
  return static_cast<uint32_t>(std::popcount(z));
#else
  z -= (z >> 1) & 0x5555555555555555;
  z = (z & 0x3333333333333333) + ((z >> 2) & 0x3333333333333333);
  z = (z + (z >> 4)) & 0x0f0f0f0f0f0f0f0f;
  return static_cast<uint32_t>(z * 0x0101010101010101 >> 56);
#endif
}

// The primes up to `limit` as a bit per odd number (bit i for 2i + 1), with
// the count of the primes before each 64-bit word, so that pi(v) costs a
// popcount.
class PiTable {
 public:
  explicit PiTable(uint32_t limit) {
    const uint32_t odds = limit / 2 + 1;  // 1, 3, ..., up to limit or limit + 1
    bits_.assign(odds / 64 + 1, 0);
    const uint32_t root = static_cast<uint32_t>(isqrt(limit));
    for (uint32_t p = 3; p <= root; p += 2) {  // the sieving primes, by trial division
      bool prime = true;
      for (size_t k = 0; k < primes_.size() && primes_[k] * primes_[k] <= p; ++k)
        prime = prime && p % primes_[k] != 0;
      if (prime) primes_.push_back(p);
    }
    // A byte per odd number, by segments the size of the level-1 cache: the
    // multiples of 3, 5, 7, 11 and 13 laid down from a pattern of their
    // period 15015, those of the larger primes crossed off one by one.
    constexpr uint32_t kSeg = 1 << 15, kPeriod = 3 * 5 * 7 * 11 * 13;
    constexpr std::array<uint32_t, 5> kPresieved = {3, 5, 7, 11, 13};
    std::vector<uint8_t> pattern(kPeriod + kSeg, 1), seg(kSeg);
    for (uint32_t q : kPresieved)
      for (uint32_t i = (q - 1) / 2; i < pattern.size(); i += q) pattern[i] = 0;
    std::vector<uint32_t> next;
    size_t first = 0;  // the first sieving prime above 13
    while (first < primes_.size() && primes_[first] <= 13) ++first;
    for (size_t k = first; k < primes_.size(); ++k) next.push_back(primes_[k] * primes_[k] / 2);
    for (uint32_t lo = 0; lo < odds; lo += kSeg) {
      const uint32_t n = std::min(kSeg, odds - lo);
      std::copy_n(pattern.begin() + lo % kPeriod, kSeg, seg.begin());
      if (lo == 0) {  // 1 is not prime; 3, 5, 7, 11 and 13 are
        seg[0] = 0;
        for (uint32_t q : kPresieved) seg[q / 2] = 1;
      }
      for (size_t k = first; k < primes_.size(); ++k) {
        const uint32_t p = primes_[k];
        uint32_t j = next[k - first] - lo;
        for (; j < n; j += p) seg[j] = 0;
        next[k - first] = j + lo;
      }
      std::fill(seg.begin() + n, seg.end(), 0);  // past the limit
      for (uint32_t w = 0; w < (n + 63) / 64; ++w) bits_[lo / 64 + w] = pack64(&seg[64 * w]);
    }
    before_.resize(bits_.size());
    uint32_t c = 1;  // the prime 2
    for (size_t w = 0; w < bits_.size(); ++w) before_[w] = c, c += std::popcount(bits_[w]);
  }

  uint32_t pi(uint32_t v) const {  // v <= limit
    if (v < 2) return 0;
    const uint32_t i = (v - 1) / 2;  // the odd index of the largest odd <= v
    return before_[i / 64] + popcount(bits_[i / 64] & (~uint64_t{0} >> (63 - i % 64)));
  }

  // The primes up to v <= limit, 1-based: a 0 in front.
  std::vector<uint32_t> primes_to(uint32_t v) const {
    std::vector<uint32_t> p = {0, 2};
    const uint32_t last = (v - 1) / 2;
    for (uint32_t w = 0; w <= last / 64; ++w)
      for (uint64_t z = bits_[w]; z; z &= z - 1) {
        const uint32_t i = 64 * w + static_cast<uint32_t>(std::countr_zero(z));
        if (i > last) break;
        p.push_back(2 * i + 1);
      }
    return p;
  }

 private:
  // 64 bytes of 0 and 1 as the bits of a word, eight at a time by a multiply.
  static uint64_t pack64(const uint8_t* b) {
    uint64_t word = 0;
    for (int k = 0; k < 8; ++k) {
      uint64_t eight;
      std::memcpy(&eight, b + 8 * k, 8);
      word |= (eight * 0x0102040810204080 >> 56) << (8 * k);
    }
    return word;
  }

  std::vector<uint64_t> bits_;
  std::vector<uint32_t> before_;
  std::vector<uint32_t> primes_;
};

class Meissel {
 public:
  Meissel(const PiTable& pi, uint32_t limit, const std::vector<uint32_t>& primes)
      : pi_(pi), limit_(limit), p_(primes) {
    for (uint64_t p : p_) {
      square_.push_back(p * p), cube_.push_back(p * p * p);
      inverse_.push_back(p < 2 ? 0 : ~uint64_t{0} / p + 1);
    }
  }

  // phi(y, b), b <= the primes held.
  int64_t phi(uint32_t y, int b) const {
    if (b <= kSmallA) return small_(y, b);
    if (y < square_[b + 1]) return y < 1 ? 0 : std::max<int64_t>(1, int64_t{pi_.pi(y)} - b + 1);
    if (y < cube_[b + 1] && y <= limit_) {
      // Left are 1, the primes p_b < p <= y and the products p q of two
      // primes p_b < p_i <= q, for each p_i <= sqrt(y) pi(y / p_i) - i + 1.
      const auto top = static_cast<int>(pi_.pi(static_cast<uint32_t>(isqrt(y))));
      int64_t sum = int64_t{pi_.pi(y)} - b + 1;
      for (int i = b + 1; i <= top; ++i) sum += int64_t{pi_.pi(quotient(y, i))} - i + 1;
      return sum;
    }
    int64_t sum = small_(y, kSmallA);
    int i = kSmallA + 1;
    for (; i <= b && cube_[i] <= y; ++i) sum -= phi(quotient(y, i), i - 1);
    // Here y / p_i < p_i^2: phi(y / p_i, i - 1) = pi(y / p_i) - i + 2 (and
    // y / p_i >= p_i, so that is at least 2).
    const int first = i;
    int64_t pis = 0;
    for (; i <= b && square_[i] <= y; ++i) pis += pi_.pi(quotient(y, i));
    sum -= pis - (int64_t{i - 3} * (i - 2) - int64_t{first - 3} * (first - 2)) / 2;
    // And once y / p_i < p_i, only the 1 is left, for every p_i <= y.
    if (i <= b) sum -= std::max<int64_t>(0, (y >= p_[b] ? b : int64_t{pi_.pi(y)}) - i + 1);
    return sum;
  }

 private:
  // y / p_i by a multiplication: with m = floor((2^64 - 1) / p) + 1 the high
  // word of y m is exact for y < 2^32, p < 2^32.
  uint32_t quotient(uint32_t y, int i) const {
    return static_cast<uint32_t>((static_cast<unsigned __int128>(y) * inverse_[i]) >> 64);
  }

  SmallPhi small_;
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
  const std::vector<uint32_t> p = table.primes_to(static_cast<uint32_t>(2 * root));
  const int a = static_cast<int>(table.pi(static_cast<uint32_t>(c)));
  const int top = static_cast<int>(table.pi(static_cast<uint32_t>(root)));
  int64_t p2 = 0;
  for (int b = a + 1; b <= top; ++b) p2 += table.pi(static_cast<uint32_t>(x / p[b])) - b + 1;
  return Meissel(table, limit, p).phi(static_cast<uint32_t>(x), a) + a - 1 - p2;
}

}  // namespace ntb
