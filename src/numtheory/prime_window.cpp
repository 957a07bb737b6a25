// Segmented sieve of one window of odd numbers at a time.
#include "numtheory/prime_window.hpp"

#include <algorithm>

namespace ntb {

namespace {
constexpr int64_t kTop = 2147483647;
}  // namespace

void PrimeWindow::sieve(int64_t lo, const Tables& t) {
  lo_ = lo;
  composite_.fill(0);
  const int64_t hi = std::min(lo + 2 * int64_t{kOdds} - 2, kTop);  // last odd number
  // Numbers past the top of the range are never primes here.
  for (int64_t i = (hi - lo) / 2 + 1; i < kOdds; ++i) composite_[i >> 6] |= uint64_t{1} << (i & 63);
  if (lo == 1) composite_[0] |= 1;           // 1 is not prime
  for (int32_t k = 2; k <= kYFilled; ++k) {  // y(2) = 3, the odd primes in order
    const int64_t p = t.y[k];
    if (p * p > hi) break;
    int64_t m = std::max(p * p, (lo + p - 1) / p * p);
    if (m % 2 == 0) m += p;  // odd multiples only
    for (int64_t i = (m - lo) / 2; i < kOdds; i += p) composite_[i >> 6] |= uint64_t{1} << (i & 63);
  }
}

int32_t PrimeWindow::next_after(int32_t n, const Tables& t) {
  if (n < 2) return 2;
  int64_t c = n % 2 == 0 ? int64_t{n} + 1 : int64_t{n} + 2;  // the next odd candidate
  while (c <= kTop) {
    if (lo_ < 0 || c < lo_ || c >= lo_ + 2 * int64_t{kOdds})
      sieve(c - (c - 1) % (2 * int64_t{kOdds}), t);  // windows start at 1 + 2k·kOdds
    int64_t i = (c - lo_) / 2;
    // The first clear bit from i on.
    for (int64_t w = i >> 6; w < kWords; ++w) {
      uint64_t free = ~composite_[w];
      if (w == i >> 6) free &= ~uint64_t{0} << (i & 63);
      if (free) return static_cast<int32_t>(lo_ + 2 * (w * 64 + __builtin_ctzll(free)));
    }
    c = lo_ + 2 * int64_t{kOdds};
  }
  return 0;
}

}  // namespace ntb
