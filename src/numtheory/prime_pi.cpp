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
#include <vector>

namespace ntb {

namespace {

constexpr int kSmallA = 6;             // phi(y, b) for b <= 6 by table
constexpr int32_t kPrimorial = 30030;  // 2*3*5*7*11*13
constexpr int32_t kTotient = 5760;     // phi(30030, 6)
constexpr std::array<int32_t, 7> kSmallPrimes = {0, 2, 3, 5, 7, 11, 13};  // 1-based
constexpr int64_t kDirectLimit = 1 << 16;  // below: a plain count of the sieve

int64_t isqrt(int64_t x) {
  auto r = static_cast<int64_t>(__builtin_sqrt(static_cast<double>(x)));
  while (r * r > x) --r;
  while ((r + 1) * (r + 1) <= x) ++r;
  return r;
}

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

// The primes up to `limit` as a bit per odd number, with the count of the
// primes before each 64-bit word, so that pi(v) costs a popcount.
class PiTable {
 public:
  explicit PiTable(int64_t limit) {
    const int64_t odds = limit / 2 + 1;  // the odd numbers 1, 3, ..., up to limit (+1)
    bits_.assign(static_cast<size_t>(odds / 64 + 1), 0);
    const int64_t root = isqrt(limit);
    for (int64_t p = 3; p <= root; p += 2) {  // the sieving primes, by trial division
      bool prime = true;
      for (size_t k = 0; k < primes_.size() && primes_[k] * primes_[k] <= p; ++k)
        if (p % primes_[k] == 0) {
          prime = false;
          break;
        }
      if (prime) primes_.push_back(p);
    }
    // A byte per odd number, by segments the size of the level-1 cache, then
    // packed into the bits.
    constexpr int64_t kSeg = 1 << 15;
    std::vector<uint8_t> seg(kSeg);
    std::vector<int64_t> next(primes_.size());
    for (size_t k = 0; k < primes_.size(); ++k) next[k] = primes_[k] * primes_[k] / 2;
    for (int64_t lo = 0; lo < odds; lo += kSeg) {
      const int64_t n = std::min(kSeg, odds - lo);
      std::fill(seg.begin(), seg.end(), 1);
      if (lo == 0) seg[0] = 0;  // 1 is not prime
      for (size_t k = 0; k < primes_.size(); ++k) {
        const int64_t p = primes_[k];
        int64_t j = next[k] - lo;
        for (; j < n; j += p) seg[j] = 0;
        next[k] = j + lo;
      }
      for (int64_t i = n; i < kSeg; ++i) seg[i] = 0;  // past the limit
      for (int64_t w = 0; w < (n + 63) / 64; ++w) {
        uint64_t word = 0;
        for (int k = 0; k < 64; ++k) word |= uint64_t{seg[64 * w + k]} << k;
        bits_[lo / 64 + w] = word;
      }
    }
    before_.resize(bits_.size());
    int32_t c = 1;  // the prime 2
    for (size_t w = 0; w < bits_.size(); ++w) before_[w] = c, c += std::popcount(bits_[w]);
  }

  int64_t pi(int64_t v) const {  // 0 <= v <= limit
    if (v < 2) return 0;
    const int64_t i = (v - 1) / 2;  // the odd index of the largest odd <= v
    return before_[i >> 6] + std::popcount(bits_[i >> 6] & (~uint64_t{0} >> (63 - (i & 63))));
  }

  // The odd primes up to sqrt(limit).
  const std::vector<int64_t>& sieving_primes() const { return primes_; }

 private:
  std::vector<uint64_t> bits_;
  std::vector<int32_t> before_;
  std::vector<int64_t> primes_;
};

class Meissel {
 public:
  Meissel(const PiTable& pi, const std::vector<int64_t>& primes) : pi_(pi), p_(primes) {}

  // phi(y, b), y >= 0, b <= the primes held.
  int64_t phi(int64_t y, int b) const {
    if (b <= kSmallA) return small_(y, b);
    if (y < p_[b + 1] * p_[b + 1]) return y < 1 ? 0 : std::max<int64_t>(1, pi_.pi(y) - b + 1);
    int64_t sum = small_(y, kSmallA);
    int i = kSmallA + 1;
    for (; i <= b && p_[i] * p_[i] * p_[i] <= y; ++i) sum -= phi(y / p_[i], i - 1);
    // Here y / p_i < p_i^2: phi(y / p_i, i - 1) = pi(y / p_i) - i + 2, at least 1.
    for (; i <= b && p_[i] * p_[i] <= y; ++i)
      sum -= std::max<int64_t>(1, pi_.pi(y / p_[i]) - i + 2);
    // And once y / p_i < p_i, only the 1 is left, for every p_i <= y.
    if (i <= b) sum -= std::max<int64_t>(0, (y >= p_[b] ? b : pi_.pi(y)) - i + 1);
    return sum;
  }

 private:
  SmallPhi small_;
  const PiTable& pi_;
  const std::vector<int64_t>& p_;  // 1-based: p_[1] = 2
};

}  // namespace

int64_t prime_pi(int64_t x) {
  if (x < 2) return 0;
  x = std::min(x, kPrimePiMax);
  if (x < kDirectLimit) return PiTable(x).pi(x);
  const int64_t c = icbrt(x), root = isqrt(x);
  const PiTable table(std::max(x / c, root) + 1);
  std::vector<int64_t> p = {0, 2};  // 1-based, the primes up to sqrt(x)
  for (int64_t q : table.sieving_primes()) p.push_back(q);
  for (int64_t q = p.back() + 2; q <= root + 1; q += 2)
    if (table.pi(q) > table.pi(q - 1)) p.push_back(q);
  const int a = static_cast<int>(table.pi(c));
  const int top = static_cast<int>(table.pi(root));
  int64_t p2 = 0;
  for (int b = a + 1; b <= top; ++b) p2 += table.pi(x / p[b]) - b + 1;
  return Meissel(table, p).phi(x, a) + a - 1 - p2;
}

}  // namespace ntb
