// The segmented divisor sieve.  The prime powers are taken prime by prime,
// p before p^2 before p^3, so that a multiple of p^k already carries the
// factor k of p^(k-1) in its divisor count: that factor becomes k + 1.  Each
// power keeps the next multiple it will mark, so a block costs no division
// per prime.
#include "divisors/engine/divisor_classes.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "divisors/engine/divisor_pairs.hpp"

namespace ntb {

namespace {

constexpr uint32_t kBlock = 1u << 15;
// 2*3*5*7*11*13*17*19*23 <= 2^31 < that times 29: at most nine distinct primes.
constexpr int kMaxDistinct = 9;

struct PrimePower {
  uint32_t p;     // the prime
  uint32_t k;     // the exponent
  uint64_t step;  // p^k
  uint64_t next;  // the next multiple to mark
};

// The prime powers p^k <= N for the odd primes p <= sqrt(N), by prime, then
// k.  The power of 2 in n is its count of trailing zero bits.
std::vector<PrimePower> prime_powers(int32_t N) {
  const auto root = static_cast<uint32_t>(std::sqrt(static_cast<double>(N)));
  std::vector<bool> composite(root + 1, false);
  std::vector<PrimePower> v;
  for (uint32_t p = 3; p <= root; p += 2) {
    if (composite[p]) continue;
    for (uint64_t m = uint64_t{p} * p; m <= root; m += 2 * p) composite[m] = true;
    uint32_t k = 1;
    for (uint64_t pk = p; pk <= static_cast<uint64_t>(N); pk *= p, ++k) v.push_back({p, k, pk, pk});
  }
  return v;
}

struct Block {
  uint32_t prod[kBlock];  // the prime powers found so far, multiplied
  uint16_t tau[kBlock];   // their divisor count
  uint8_t nf[kBlock];     // distinct primes found
  uint32_t f[kBlock][kMaxDistinct];
};

// The row of n from its distinct primes up to sqrt(N) and the cofactor.
void make_row(int32_t n, const uint32_t* f, int nf, uint32_t rest, DivisorClassRow& r) {
  r.n = n;
  r.count = 0;
  int64_t sigma = 1, phi = 1;
  uint32_t m = static_cast<uint32_t>(n);
  for (int j = 0; j < nf; ++j) {
    const uint32_t p = f[j];
    int64_t pk = 1, sum = 1;
    m /= p;
    r.p[r.count++] = static_cast<int32_t>(p);
    phi *= p - 1;
    pk = p;
    sum += pk;
    while (m % p == 0) {
      m /= p;
      r.p[r.count++] = static_cast<int32_t>(p);
      phi *= p;
      pk *= p;
      sum += pk;
    }
    sigma *= sum;
  }
  if (rest > 1) {
    r.p[r.count++] = static_cast<int32_t>(rest);
    sigma *= int64_t{rest} + 1;
    phi *= rest - 1;
  }
  r.sigma = sigma;
  r.phi = static_cast<int32_t>(phi);  // phi(n) < n
}

}  // namespace

void for_each_with_tau(int32_t N, int32_t K,
                       const std::function<bool(const DivisorClassRow&)>& row) {
  if (N < 1 || K < 1 || K > kMaxDivisors) return;
  DivisorClassRow r;
  std::vector<PrimePower> powers = prime_powers(N);
  auto block = std::make_unique<Block>();
  Block& b = *block;
  for (uint64_t lo = 1; lo <= static_cast<uint64_t>(N); lo += kBlock) {
    const uint64_t hi = std::min<uint64_t>(lo + kBlock, uint64_t{static_cast<uint32_t>(N)} + 1);
    const auto len = static_cast<uint32_t>(hi - lo);
    for (uint32_t i = 0; i < len; ++i) {
      const int v = __builtin_ctzll(lo + i);
      b.prod[i] = 1u << v;
      b.tau[i] = static_cast<uint16_t>(v + 1);
      b.nf[i] = v > 0;
      b.f[i][0] = 2;
    }
    for (PrimePower& pw : powers) {
      uint64_t m = pw.next;
      if (m >= hi) continue;
      const uint32_t p = pw.p;
      if (pw.k == 1) {
        for (; m < hi; m += pw.step) {
          const auto i = static_cast<uint32_t>(m - lo);
          b.prod[i] *= p;
          b.tau[i] = static_cast<uint16_t>(b.tau[i] * 2);
          b.f[i][b.nf[i]++] = p;
        }
      } else {
        const uint32_t k = pw.k;
        for (; m < hi; m += pw.step) {
          const auto i = static_cast<uint32_t>(m - lo);
          b.prod[i] *= p;
          b.tau[i] = static_cast<uint16_t>(b.tau[i] / k * (k + 1));
        }
      }
      pw.next = m;
    }
    for (uint32_t i = 0; i < len; ++i) {
      // With a prime left over the count doubles: test before dividing.
      const uint32_t t = b.tau[i], k = static_cast<uint32_t>(K);
      if (t != k && 2 * t != k) continue;
      const auto n = static_cast<uint32_t>(lo + i);
      const uint32_t rest = n / b.prod[i];
      if ((rest > 1 ? 2 * t : t) != k) continue;
      make_row(static_cast<int32_t>(n), b.f[i], b.nf[i], rest, r);
      if (!row(r)) return;
    }
  }
}

}  // namespace ntb
