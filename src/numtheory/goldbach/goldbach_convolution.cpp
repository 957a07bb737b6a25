// The transform and the range counts of goldbach_convolution.hpp.
//
// The forward transform runs decimation in frequency (natural order in,
// bit-reversed order out), the inverse decimation in time (bit-reversed in,
// natural out), so the squaring between them needs no reordering.  The
// inverse uses the forward roots and reads the result backwards:
// DFT(DFT(x))(k) = size * x(-k), which saves a second table of roots.
// The roots are kept in Montgomery form (w * 2^32 mod p), so that a
// product with one of them is a Montgomery reduction, a few multiplications
// and no division, and the data stay in plain form.
#include "numtheory/goldbach/goldbach_convolution.hpp"

#include <stdexcept>

namespace ntb {

namespace {

constexpr uint32_t kRoot = 3;  // a primitive root modulo kNttPrime

inline uint32_t mul(uint32_t a, uint32_t b) {
  return static_cast<uint32_t>(uint64_t{a} * b % kNttPrime);
}

// -1/p modulo 2^32, by Newton's iteration (each step doubles the bits).
constexpr uint32_t minus_inverse() {
  uint32_t x = kNttPrime;  // correct to 3 bits: p * p = 1 mod 8
  for (int i = 0; i < 4; ++i) x *= 2 - kNttPrime * x;
  return 0 - x;
}
constexpr uint32_t kMinusInverse = minus_inverse();
static_assert(kNttPrime * (0 - kMinusInverse) == 1);

// a * b / 2^32 mod p for a, b < p < 2^30.
inline uint32_t montgomery(uint32_t a, uint32_t b) {
  const uint64_t t = uint64_t{a} * b;
  const uint32_t m = static_cast<uint32_t>(t) * kMinusInverse;
  const auto u = static_cast<uint32_t>((t + uint64_t{m} * kNttPrime) >> 32);
  return u >= kNttPrime ? u - kNttPrime : u;
}
constexpr uint32_t kR = static_cast<uint32_t>((uint64_t{1} << 32) % kNttPrime);  // 2^32 mod p
inline uint32_t add(uint32_t a, uint32_t b) {
  const uint32_t s = a + b;
  return s >= kNttPrime ? s - kNttPrime : s;
}
inline uint32_t sub(uint32_t a, uint32_t b) {
  return a >= b ? a - b : a + kNttPrime - b;
}
uint32_t power(uint32_t a, uint64_t e) {
  uint32_t r = 1;
  for (; e; e >>= 1, a = mul(a, a))
    if (e & 1) r = mul(r, a);
  return r;
}

// w(j) = g^j * 2^32 mod p for a primitive size-th root g, j < size/2.
std::vector<uint32_t> roots(uint32_t size) {
  std::vector<uint32_t> w(size / 2 == 0 ? 1 : size / 2);
  const uint32_t g = power(kRoot, (kNttPrime - 1) / size);
  w[0] = kR;
  for (size_t j = 1; j < w.size(); ++j) w[j] = mul(w[j - 1], g);
  return w;
}

// The DFT of a, left in bit-reversed order.
void forward(uint32_t* a, uint32_t size, const uint32_t* w) {
  for (uint32_t len = size / 2, stride = 1; len >= 1; len /= 2, stride *= 2)
    for (uint32_t s = 0; s < size; s += 2 * len)
      for (uint32_t j = 0; j < len; ++j) {
        const uint32_t u = a[s + j], v = a[s + j + len];
        a[s + j] = add(u, v);
        a[s + j + len] = montgomery(sub(u, v), w[j * stride]);
      }
}

// The DFT of a given in bit-reversed order, in natural order.
void forward_from_reversed(uint32_t* a, uint32_t size, const uint32_t* w) {
  for (uint32_t len = 1, stride = size / 2; len < size; len *= 2, stride /= 2)
    for (uint32_t s = 0; s < size; s += 2 * len)
      for (uint32_t j = 0; j < len; ++j) {
        const uint32_t u = a[s + j], v = montgomery(a[s + j + len], w[j * stride]);
        a[s + j] = add(u, v);
        a[s + j + len] = sub(u, v);
      }
}

// The transform of f squared, transformed again and scaled: c(-k) at index k.
void reversed_self_convolution(std::vector<uint32_t>& f) {
  const auto size = static_cast<uint32_t>(f.size());
  const std::vector<uint32_t> w = roots(size);
  forward(f.data(), size, w.data());
  // x * x / 2^32 times (scale * 2^64) / 2^32 = x * x * scale.
  const uint32_t scale = mul(mul(power(size, kNttPrime - 2), kR), kR);
  for (uint32_t& x : f) x = montgomery(montgomery(x, x), scale);
  forward_from_reversed(f.data(), size, w.data());
}

bool power_of_two(size_t n) {
  return n != 0 && (n & (n - 1)) == 0;
}

}  // namespace

void cyclic_self_convolution(std::vector<uint32_t>& f) {
  if (!power_of_two(f.size()) || f.size() > kNttMaxSize)
    throw std::invalid_argument("cyclic_self_convolution: size must be a power of two up to 2^23");
  reversed_self_convolution(f);
  const size_t size = f.size();
  for (size_t k = 1; k < size - k; ++k) std::swap(f[k], f[size - k]);
}

GoldbachRange::GoldbachRange(uint32_t a, uint32_t b) {
  if (a < 6 || b < a || b > kGoldbachRangeTop)
    throw std::invalid_argument("GoldbachRange: need 6 <= a <= b <= kGoldbachRangeTop");
  first_ = a + a % 2;
  last_ = b - b % 2;
  if (first_ > last_) {
    first_ = last_ = 0;
    return;
  }
  // f(i) for 2i + 3 <= last_ - 3; the sums 2k + 6 of the range have
  // k_first <= k <= k_last.  A cyclic convolution folds the sums
  // k >= size onto k - size <= 2 k_last - size, which must stay below k_first.
  const uint32_t k_first = (first_ - 6) / 2, k_last = (last_ - 6) / 2;
  uint32_t size = 1;
  while (size <= k_last || size <= 2 * k_last - k_first) size *= 2;
  mask_ = size - 1;

  // f(i) from the wheel sieve of the odd numbers up to 2 k_last + 3: 3 and
  // 5, then the primes of the wheel's bytes (a number past the limit has
  // its bit set).
  const auto limit = static_cast<int32_t>(2 * k_last + 3);
  composite_.resize(static_cast<size_t>(wheel_bytes(limit)));
  wheel_sieve(composite_.data(), limit);
  ordered_.assign(size, 0);
  for (const uint32_t p : {3u, 5u})
    if (p <= 2 * k_last + 3) ordered_[(p - 3) / 2] = 1;
  for (size_t i = 0; i < composite_.size(); ++i)
    for (uint32_t bits = ~composite_[i] & 0xffu; bits != 0; bits &= bits - 1) {
      const uint32_t p = 30 * static_cast<uint32_t>(i) + kWheel30[__builtin_ctz(bits)];
      ordered_[(p - 3) / 2] = 1;
    }

  // Q at the first n: the odd primes 2i + 3 <= first_ - 3, i < k_first + 1.
  for (uint32_t i = 0; i <= k_first; ++i) q_first_ += ordered_[i];
  reversed_self_convolution(ordered_);
}

}  // namespace ntb
