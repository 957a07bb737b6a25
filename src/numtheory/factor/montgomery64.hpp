// Arithmetic modulo an odd 64-bit n in Montgomery form, the ground of the
// 64-bit primality test and of the factor finders: a residue a is held as
// a * 2^64 mod n, so that a product needs two multiplications and no
// division (Montgomery's reduction).  Everything is inline: the callers
// spend nearly all their time in mul().
#pragma once

#include <cstdint>

namespace ntb {

class Montgomery64 {
 public:
  // n odd and above 1.
  explicit Montgomery64(uint64_t n)
      : n_(n),
        inverse_(inverse_mod_2_64(n)),
        one_((0 - n) % n),
        r2_(static_cast<uint64_t>(static_cast<unsigned __int128>(one_) * one_ % n)) {}

  uint64_t n() const { return n_; }
  uint64_t one() const { return one_; }  // 1 in Montgomery form

  // t * 2^-64 mod n, for t < n * 2^64.  With m = t * n^-1 mod 2^64, t and
  // m * n share their low 64 bits, so t - m * n is the difference of the
  // high halves, which lies in (-n, n).
  uint64_t reduce(unsigned __int128 t) const {
    const uint64_t m = static_cast<uint64_t>(t) * inverse_;
    const uint64_t mn = static_cast<uint64_t>((static_cast<unsigned __int128>(m) * n_) >> 64);
    const uint64_t hi = static_cast<uint64_t>(t >> 64);
    return hi >= mn ? hi - mn : hi - mn + n_;
  }
  // The operands of mul, add and sub are below n, and so are the results.
  uint64_t mul(uint64_t a, uint64_t b) const {
    return reduce(static_cast<unsigned __int128>(a) * b);
  }
  // One comparison each, so that the compiler selects without a branch: the
  // operands are random, a branch would be mispredicted half the time.
  uint64_t add(uint64_t a, uint64_t b) const {
    const uint64_t gap = n_ - b;  // a + b >= n exactly when a >= n - b
    return a >= gap ? a - gap : a + b;
  }
  uint64_t sub(uint64_t a, uint64_t b) const { return a - b + (a < b ? n_ : 0); }
  uint64_t to(uint64_t a) const { return mul(a % n_, r2_); }  // into Montgomery form
  uint64_t from(uint64_t a) const { return reduce(a); }       // back to a plain residue

  // base^e, base and result in Montgomery form.
  uint64_t pow(uint64_t base, uint64_t e) const {
    uint64_t r = one_;
    for (; e; e >>= 1, base = mul(base, base))
      if (e & 1) r = mul(r, base);
    return r;
  }

  // n^-1 mod 2^64 for odd n: (3n) xor 2 is right to 5 bits, and each step
  // of Newton's iteration doubles that.
  static constexpr uint64_t inverse_mod_2_64(uint64_t n) {
    uint64_t x = (3 * n) ^ 2;
    for (int i = 0; i < 4; ++i) x *= 2 - n * x;
    return x;
  }

 private:
  uint64_t n_, inverse_, one_, r2_;
};

}  // namespace ntb
