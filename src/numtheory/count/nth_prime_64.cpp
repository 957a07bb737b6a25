// The k-th prime from a prime count at a point near it.  The point is the
// inverse of Riemann's R(x) = sum over n of mu(n)/n li(x^(1/n)), the closest
// of the classic estimates (off by about 2 10^7 primes near 2^64, that is
// about 10^9 numbers to sieve), or a point with a known count when one is
// close.  From pi(x) the sieve counts ahead (or back) window by window on
// every thread, each window sized to hold somewhat fewer primes than are
// still missing, and walks the last window prime by prime.
#include "numtheory/count/nth_prime_64.hpp"

#include <algorithm>
#include <cmath>
#include <primecount.hpp>
#include <primesieve.hpp>
#include <stdexcept>

#include "numtheory/count/logarithmic_integral.hpp"
#include "numtheory/count/prime_pi_64.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/sieve/prime_blocks.hpp"
#include "numtheory/sieve/range_scan.hpp"
#include "numtheory/threads.hpp"

namespace ntb {

namespace {

// pi(2^63 - 1): the largest k libprimecount's nth_prime takes.
constexpr uint64_t kLibraryNthMax = 216289611853439384u;

// The Moebius function of a small n.
int mobius(int n) {
  int mu = 1;
  for (int p = 2; p * p <= n; ++p)
    if (n % p == 0) {
      n /= p;
      if (n % p == 0) return 0;
      mu = -mu;
    }
  return n > 1 ? -mu : mu;
}

double riemann_r(double x) {
  double r = 0;
  for (int n = 1; n < 64; ++n) {
    const double root = std::pow(x, 1.0 / n);
    if (root < 2) break;
    if (const int mu = mobius(n)) r += mu * logarithmic_integral(root) / n;
  }
  return r;
}

// The x with R(x) = k by Newton's method (R'(x) is about 1 / ln x), held to
// 2..2^64 - 1.
uint64_t estimate_nth_prime(uint64_t k) {
  const double kd = static_cast<double>(k);
  double x = kd < 6 ? 13 : kd * (std::log(kd) + std::log(std::log(kd)));
  for (int i = 0; i < 8; ++i) x = std::max(2.0, x - (riemann_r(x) - kd) * std::log(x));
  return x >= 18446744073709551615.0 ? UINT64_MAX : static_cast<uint64_t>(x);
}

// The n-th prime (n >= 1) of [lo, hi] by a walk; 0 when the window holds
// fewer, with n lowered by the primes it holds.
uint64_t walk_to(uint64_t lo, uint64_t hi, uint64_t& n) {
  PrimeBlocks blocks(lo, hi);
  for (auto block = blocks.next(); !block.empty(); block = blocks.next()) {
    if (n <= block.size()) return block[n - 1];
    n -= block.size();
    interruption_point();
  }
  return 0;
}

// A window likely to hold somewhat fewer than `need` primes near x: nine
// tenths of the expected width, and no less than a stretch cheap to walk.
uint64_t window_for(uint64_t need, uint64_t x) {
  const double gap = std::log(std::max(3.0, static_cast<double>(x)));
  const double width = static_cast<double>(need) * gap * (need > 100000 ? 0.9 : 1.5) + 65536;
  return width >= 1e19 ? uint64_t{10000000000000000000u} : static_cast<uint64_t>(width);
}

// The k-th prime from pi(x) = pi_x.
uint64_t nth_from(uint64_t x, uint64_t pi_x, uint64_t k, int threads,
                  std::atomic<double>* progress) {
  const auto report = [&](uint64_t need, uint64_t first_need) {
    if (progress)
      progress->store(1.0 - static_cast<double>(need) / static_cast<double>(first_need));
  };
  if (pi_x < k) {  // ahead: the need-th prime after x
    const uint64_t first_need = k - pi_x;
    uint64_t need = first_need;
    uint64_t lo = x + 1;
    for (;;) {
      const uint64_t w = window_for(need, lo);
      const uint64_t hi = UINT64_MAX - lo < w ? UINT64_MAX : lo + w - 1;
      if (need <= 100000) {  // short enough to walk
        if (const uint64_t p = walk_to(lo, hi, need)) return p;
      } else if (const uint64_t c = count_primes(lo, hi, threads); c < need) {
        need -= c;
      } else if (const uint64_t p = walk_to(lo, hi, need)) {
        return p;
      }
      lo = hi + 1;
      report(need, first_need);
    }
  }
  // back: the need-th prime counted down from x, x itself first
  const uint64_t first_need = pi_x - k + 1;
  uint64_t need = first_need;
  uint64_t hi = x;
  for (;;) {
    const uint64_t w = window_for(need, hi);
    const uint64_t lo = hi < w ? 0 : hi - w + 1;
    const uint64_t c = count_primes(lo, hi, threads);
    if (c >= need) {
      uint64_t n = c - need + 1;
      return walk_to(lo, hi, n);
    }
    need -= c;
    hi = lo - 1;
    report(need, first_need);
  }
}

}  // namespace

uint64_t nth_prime_64(uint64_t k, int threads, std::atomic<double>* progress) {
  if (k == 0 || k > kPrimeCount64)
    throw std::out_of_range("nth_prime_64: k must lie in 1..425656284035217743");
  interruption_point();
  const int n = thread_count_for(threads);
  const uint64_t x = estimate_nth_prime(k);
  const double reach = std::cbrt(static_cast<double>(x)) * std::cbrt(static_cast<double>(x)) / 64;
  for (const KnownPrimeCount& known : kKnownPrimeCounts) {
    const uint64_t distance = x > known.x ? x - known.x : known.x - x;
    if (static_cast<double>(distance) <= reach) return nth_from(known.x, known.pi, k, n, progress);
  }
  uint64_t p = 0;
  if (k <= kLibraryNthMax) {
    primecount::set_num_threads(n);
    primesieve::set_num_threads(n);
    p = static_cast<uint64_t>(primecount::nth_prime(static_cast<int64_t>(k)));
  } else {
    p = nth_from(x, prime_pi_64(x, n), k, n, progress);
  }
  interruption_point();
  if (progress) progress->store(1.0);
  return p;
}

}  // namespace ntb
