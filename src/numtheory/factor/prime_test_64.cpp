// Miller-Rabin over Montgomery arithmetic modulo an odd n < 2^64, with
// R = 2^64.  A product t < n R reduces to t / R mod n as
// hi(t) - hi(m n) with m = lo(t) n^-1 mod R: the low halves of t and m n
// agree, so their difference is a multiple of R.
#include "numtheory/factor/prime_test_64.hpp"

namespace ntb {

namespace {

constexpr uint64_t kSmallPrimes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
constexpr uint64_t kBases[] = {2, 325, 9375, 28178, 450775, 9780504, 1795265022};

using u128 = unsigned __int128;

class Montgomery {
 public:
  explicit Montgomery(uint64_t n) : n_(n), inv_(n) {
    for (int i = 0; i < 5; ++i) inv_ *= 2 - n * inv_;  // n^-1 mod 2^64, 3 bits doubled 5 times
    one_ = (0 - n) % n;                                // R mod n
  }

  uint64_t one() const { return one_; }
  uint64_t minus_one() const { return n_ - one_; }
  uint64_t to_form(uint64_t x) const { return static_cast<uint64_t>((u128{x} << 64) % n_); }

  uint64_t mul(uint64_t x, uint64_t y) const {
    const u128 t = u128{x} * y;
    const uint64_t m = static_cast<uint64_t>(t) * inv_;
    const uint64_t hi = static_cast<uint64_t>(t >> 64);
    const uint64_t mn = static_cast<uint64_t>((u128{m} * n_) >> 64);
    return hi >= mn ? hi - mn : hi - mn + n_;
  }

 private:
  uint64_t n_, inv_, one_;
};

// Whether base (not a multiple of n) shows n = d 2^s + 1 composite.
bool witness(const Montgomery& mg, uint64_t base, uint64_t d, int s) {
  uint64_t x = mg.one();
  for (uint64_t b = base, e = d; e != 0; e >>= 1) {
    if (e & 1) x = mg.mul(x, b);
    b = mg.mul(b, b);
  }
  if (x == mg.one() || x == mg.minus_one()) return false;
  for (int r = 1; r < s; ++r) {
    x = mg.mul(x, x);
    if (x == mg.minus_one()) return false;
  }
  return true;
}

}  // namespace

bool is_prime_u64(uint64_t n) {
  if (n < 64) return (uint64_t{0x28208a20a08a28ac} >> n) & 1;  // the primes below 64
  for (const uint64_t p : kSmallPrimes)
    if (n % p == 0) return false;
  if (n < 41 * 41) return true;
  uint64_t d = n - 1;
  int s = 0;
  for (; (d & 1) == 0; d >>= 1) ++s;
  const Montgomery mg(n);
  for (const uint64_t base : kBases) {
    const uint64_t a = base % n;
    if (a != 0 && witness(mg, mg.to_form(a), d, s)) return false;
  }
  return true;
}

}  // namespace ntb
