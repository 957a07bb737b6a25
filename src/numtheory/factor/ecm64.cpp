// Lenstra's elliptic curve method for 64-bit n, on Montgomery curves
// B y^2 = x^3 + A x^2 + x in the coordinates (X : Z) (no y, no division).
// Curves come from Suyama's family, whose group orders are multiples of 12.
// For a prime p | n, the point Q = k P with k the product of the prime
// powers up to B1 is the identity modulo p (Z = 0 mod p) when the order of
// P modulo p has no prime factor above B1: stage 1, a Montgomery ladder
// over the bits of k.  Stage 2 catches one more prime q in (B1, B2]: with
// q = W i +- j, qQ is the identity modulo p when x(W i Q) = x(j Q) mod p,
// so the products of the cross differences X_i Z_j - X_j Z_i over the
// needed pairs (i, j) go into one gcd with n.  The exponent k and the
// pairs are tables made at compile time for each pair of bounds.
#include "numtheory/factor/ecm64.hpp"

#include <array>
#include <bit>
#include <numeric>
#include <utility>

#include "numtheory/factor/montgomery64.hpp"

namespace ntb {

namespace {

constexpr bool is_small_prime(uint32_t q) {
  if (q < 2) return false;
  for (uint32_t d = 2; d * d <= q; ++d)
    if (q % d == 0) return false;
  return true;
}

// k = the product of the largest powers p^e <= b1 of the primes p <= b1,
// as bits from the least significant.
struct Exponent {
  std::array<uint64_t, 8> words{};
  int bits = 0;
};

constexpr Exponent stage1_exponent(uint32_t b1) {
  Exponent k;
  k.words[0] = 1;
  for (uint32_t p = 2; p <= b1; ++p) {
    if (!is_small_prime(p)) continue;
    uint64_t q = p;
    while (q * p <= b1) q *= p;
    unsigned __int128 carry = 0;
    for (uint64_t& w : k.words) {
      carry += static_cast<unsigned __int128>(w) * q;
      w = static_cast<uint64_t>(carry);
      carry >>= 64;
    }
  }
  for (int i = 0; i < 8 * 64; ++i)
    if ((k.words[i / 64] >> (i % 64)) & 1) k.bits = i + 1;
  return k;
}

// Stage 2 with giant steps of W: the babies are the odd j < W / 2 prime to
// W; giant i pairs with the babies j for which W i + j or W i - j is a
// prime in (B1, B2].  The pairs are listed giant by giant: count[i] of
// them for giant i, baby[] holding their babies' indices.
template <uint32_t W>
struct Stage2Plan {
  static constexpr int kBabyCount = [] {
    int c = 0;
    for (uint32_t j = 1; j < W / 2; j += 2) c += std::gcd(j, W) == 1;
    return c;
  }();
  std::array<uint32_t, kBabyCount> babies{};
  int giants = 0;  // giants 1 ... giants
  std::array<uint8_t, 128> count{};
  std::array<uint8_t, 1024> baby{};
};

template <uint32_t W>
constexpr Stage2Plan<W> stage2_plan(uint32_t b1, uint32_t b2) {
  Stage2Plan<W> plan;
  int c = 0;
  for (uint32_t j = 1; j < W / 2; j += 2)
    if (std::gcd(j, W) == 1) plan.babies[c++] = j;
  std::array<uint32_t, 128> mask{};  // mask[i] bit t: giant i pairs with baby t
  for (uint32_t q = b1 + 1; q <= b2; ++q) {
    if (!is_small_prime(q)) continue;
    uint32_t i = q / W, j = q % W;
    if (j > W / 2) ++i, j = W - j;
    for (int t = 0; t < c; ++t)
      if (plan.babies[t] == j) mask[i] |= uint32_t{1} << t;
    if (static_cast<int>(i) > plan.giants) plan.giants = static_cast<int>(i);
  }
  int pairs = 0;
  for (int i = 0; i <= plan.giants; ++i)
    for (int t = 0; t < c; ++t)
      if ((mask[i] >> t) & 1) ++plan.count[i], plan.baby[pairs++] = static_cast<uint8_t>(t);
  return plan;
}

struct Point {
  uint64_t x, z;
};

// Exchanges a and b when mask is all ones; nothing when it is 0.
void exchange(Point& a, Point& b, uint64_t mask) {
  const uint64_t x = (a.x ^ b.x) & mask, z = (a.z ^ b.z) & mask;
  a.x ^= x, b.x ^= x, a.z ^= z, b.z ^= z;
}

class Curve {
 public:
  Curve(const Montgomery64& m, uint64_t a24) : m_(m), a24_(a24) {}

  // 2P.
  Point dbl(Point p) const {
    const uint64_t s = m_.add(p.x, p.z), d = m_.sub(p.x, p.z);
    const uint64_t s2 = m_.mul(s, s), d2 = m_.mul(d, d), t = m_.sub(s2, d2);
    return {m_.mul(s2, d2), m_.mul(t, m_.add(d2, m_.mul(a24_, t)))};
  }
  // P + Q, given P - Q.
  Point add(Point p, Point q, Point diff) const {
    const Point s = add_unscaled(p, q);
    return {m_.mul(diff.z, s.x), m_.mul(diff.x, s.z)};
  }
  // P + Q, given P - Q = (x : 1): one multiplication less.
  Point add(Point p, Point q, uint64_t diff_x) const {
    const Point s = add_unscaled(p, q);
    return {s.x, m_.mul(diff_x, s.z)};
  }
  // kP, P = (x : 1), by the Montgomery ladder: R0 = mP, R1 = (m + 1)P for the leading
  // bits m of k.  A one bit makes (R0 + R1, 2 R1) of them, a zero bit
  // (2 R0, R0 + R1): the same steps after exchanging R0 and R1, which is
  // done by masks, since the bits of k defeat branch prediction.
  Point multiply(Point p, const Exponent& k) const {
    Point r0 = p, r1 = dbl(p);
    uint64_t swapped = 0;
    for (int i = k.bits - 2; i >= 0; --i) {
      const uint64_t bit = (k.words[i / 64] >> (i % 64)) & 1;
      exchange(r0, r1, 0 - (bit ^ swapped));
      swapped = bit;
      r1 = add(r1, r0, p.x), r0 = dbl(r0);
    }
    exchange(r0, r1, 0 - swapped);
    return r0;
  }

 private:
  // (X, Z) of P + Q before the factors Z and X of P - Q.
  Point add_unscaled(Point p, Point q) const {
    const uint64_t u = m_.mul(m_.sub(p.x, p.z), m_.add(q.x, q.z));
    const uint64_t v = m_.mul(m_.add(p.x, p.z), m_.sub(q.x, q.z));
    const uint64_t s = m_.add(u, v), d = m_.sub(u, v);
    return {m_.mul(s, s), m_.mul(d, d)};
  }

  const Montgomery64& m_;
  uint64_t a24_;
};

// a^-1 mod n by Euclid's algorithm, a < n; g receives gcd(a, n) (the
// inverse is meaningful only when that is 1).  The coefficients stay
// within n in size.
uint64_t inverse_mod(uint64_t a, uint64_t n, uint64_t& g) {
  __int128 t0 = 0, t1 = 1;
  uint64_t r0 = n, r1 = a;
  while (r1 != 0) {
    const uint64_t q = r0 / r1;
    const uint64_t r2 = r0 - q * r1;
    const __int128 t2 = t0 - static_cast<__int128>(q) * t1;
    r0 = r1, r1 = r2, t0 = t1, t1 = t2;
  }
  g = r0;
  return static_cast<uint64_t>(t0 < 0 ? t0 + static_cast<__int128>(n) : t0);
}

uint64_t proper_factor(uint64_t g, uint64_t n) {  // g if it splits n, else 0
  return g > 1 && g < n ? g : 0;
}

// Stage 2 on Q; returns the product of the cross differences.
template <uint32_t W>
uint64_t stage2(const Montgomery64& m, const Curve& curve, Point q, const Stage2Plan<W>& plan) {
  // The odd multiples jQ up to W/2 + 1, keeping the babies.
  constexpr int kOdd = W / 4 + 1;  // 1Q, 3Q, ..., (2 kOdd - 1)Q
  std::array<Point, kOdd> odd{};
  const Point q2 = curve.dbl(q);
  odd[0] = q;
  odd[1] = curve.add(q2, q, q);
  for (int i = 2; i < kOdd; ++i) odd[i] = curve.add(odd[i - 1], q2, odd[i - 2]);
  constexpr int kBabies = Stage2Plan<W>::kBabyCount;
  std::array<Point, kBabies> baby{};
  std::array<uint64_t, kBabies> baby_xz{};
  for (int t = 0; t < kBabies; ++t) {
    baby[t] = odd[plan.babies[t] / 2];
    baby_xz[t] = m.mul(baby[t].x, baby[t].z);
  }
  const Point giant =
      (W / 2) % 2 == 1 ? curve.dbl(odd[W / 4]) : curve.add(odd[W / 4], odd[W / 4 - 1], q2);
  // Two products, taking turns, so that their multiplications overlap.
  uint64_t acc = m.one(), other = m.one();
  Point previous{}, g = giant;  // g = (W i)Q, previous = (W (i - 1))Q
  for (int i = 1, pair = 0; i <= plan.giants; ++i) {
    if (i == 2) {
      previous = g, g = curve.dbl(giant);
    } else if (i > 2) {
      const Point next = curve.add(g, giant, previous);
      previous = g, g = next;
    }
    if (plan.count[i] == 0) continue;
    const uint64_t gxz = m.mul(g.x, g.z);
    for (const int end = pair + plan.count[i]; pair < end; ++pair) {
      const int t = plan.baby[pair];
      // (Xg - Xj)(Zg + Zj) - Xg Zg + Xj Zj = Xg Zj - Xj Zg
      const uint64_t cross = m.mul(m.sub(g.x, baby[t].x), m.add(g.z, baby[t].z));
      acc = m.mul(acc, m.add(m.sub(cross, gxz), baby_xz[t]));
      std::swap(acc, other);
    }
  }
  return m.mul(acc, other);
}

// One curve of Suyama's family, parameter sigma: u = sigma^2 - 5, v = 4 sigma,
// P = (u^3 : v^3), (A + 2) / 4 = (v - u)^3 (3u + v) / (16 u^3 v).  The one
// inversion yields both 1 / (16 u^3 v) and 1 / v^3, so that P has Z = 1.
template <uint32_t W>
uint64_t one_curve(const Montgomery64& m, uint64_t sigma, const Exponent& k,
                   const Stage2Plan<W>& plan) {
  const uint64_t n = m.n();
  const uint64_t s = m.to(sigma);
  const uint64_t u = m.sub(m.mul(s, s), m.to(5)), v = m.add(m.add(s, s), m.add(s, s));
  const uint64_t u3 = m.mul(m.mul(u, u), u), v3 = m.mul(m.mul(v, v), v);
  uint64_t d = m.mul(u3, v);
  for (int i = 0; i < 4; ++i) d = m.add(d, d);  // 16 u^3 v
  uint64_t g = 0;
  const uint64_t inv = m.to(inverse_mod(m.from(m.mul(d, v3)), n, g));
  if (g != 1) return proper_factor(g, n);
  const uint64_t vu = m.sub(v, u), vu3 = m.mul(m.mul(vu, vu), vu);
  const uint64_t a24 = m.mul(m.mul(vu3, m.add(m.add(m.add(u, u), u), v)), m.mul(inv, v3));
  const Point p{m.mul(u3, m.mul(inv, d)), m.one()};
  const Curve curve(m, a24);
  const Point q = curve.multiply(p, k);
  g = std::gcd(q.z, n);
  if (g != 1) return proper_factor(g, n);
  return proper_factor(std::gcd(stage2(m, curve, q, plan), n), n);
}

template <uint32_t B1, uint32_t B2, uint32_t W>
uint64_t ecm_with_bounds(uint64_t n, int curves) {
  static_assert(B1 >= W / 2, "every prime of stage 2 is W i +- j with i >= 1");
  static constexpr Exponent kExponent = stage1_exponent(B1);
  static constexpr Stage2Plan<W> kPlan = stage2_plan<W>(B1, B2);
  const Montgomery64 m(n);
  for (int c = 0; c < curves; ++c)
    if (const uint64_t f = one_curve(m, 6 + c, kExponent, kPlan)) return f;
  return 0;
}

}  // namespace

uint64_t ecm_factor(uint64_t n, int curves) {
  // Bounds by the size of n, from timings on products of two primes of
  // half its size and on the composite rests of random 64-bit numbers.
  const int bits = 64 - std::countl_zero(n);
  if (bits <= 44) return ecm_with_bounds<35, 1000, 60>(n, curves);
  if (bits <= 50) return ecm_with_bounds<47, 2350, 60>(n, curves);
  if (bits <= 54) return ecm_with_bounds<85, 2000, 60>(n, curves);
  if (bits <= 58) return ecm_with_bounds<125, 2500, 210>(n, curves);
  return ecm_with_bounds<165, 4000, 210>(n, curves);
}

}  // namespace ntb
