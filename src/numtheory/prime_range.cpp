// A segmented sieve of Eratosthenes over the odd numbers of [a, b].
#include "numtheory/prime_range.hpp"

#include <algorithm>

namespace ntb {

namespace {
constexpr uint64_t kOdds = 1 << 16;  // odd numbers per segment
}

PrimeRange::PrimeRange(uint64_t a, uint64_t b) : lo_(a), hi_(a > b ? a : b + 1) {
  uint64_t r = 1;
  while ((r + 1) * (r + 1) <= b) ++r;
  std::vector<uint8_t> small(r + 1, 0);
  for (uint64_t i = 3; i <= r; i += 2) {
    if (small[i]) continue;
    sieving_.push_back(static_cast<uint32_t>(i));
    for (uint64_t j = i * i; j <= r; j += 2 * i) small[j] = 1;
  }
  next_multiple_.assign(sieving_.size(), 0);
  for (size_t k = 0; k < sieving_.size(); ++k) {
    const uint64_t p = sieving_[k];
    uint64_t m = std::max(p * p, (lo_ + p - 1) / p * p);
    if (m % 2 == 0) m += p;
    next_multiple_[k] = m;
  }
  composite_.resize(kOdds);
}

void PrimeRange::sieve_segment() {
  block_.clear();
  if (lo_ <= 2 && hi_ > 2) block_.push_back(2);
  const uint64_t first = lo_ % 2 == 1 ? lo_ : lo_ + 1;  // first odd number of the segment
  const uint64_t end = std::min(hi_, first + 2 * kOdds);
  if (first >= end) {
    lo_ = hi_;
    return;
  }
  const uint64_t n = (end - first + 1) / 2;
  std::fill(composite_.begin(), composite_.begin() + n, 0);
  for (size_t k = 0; k < sieving_.size(); ++k) {
    const uint64_t p = sieving_[k];
    uint64_t m = next_multiple_[k];
    for (; m < end; m += 2 * p) composite_[(m - first) / 2] = 1;
    next_multiple_[k] = m;
  }
  for (uint64_t i = 0; i < n; ++i) {
    const uint64_t c = first + 2 * i;
    if (!composite_[i] && c > 1) block_.push_back(static_cast<uint32_t>(c));
  }
  lo_ = end;
}

std::span<const uint32_t> PrimeRange::next() {
  block_.clear();
  while (block_.empty() && lo_ < hi_) sieve_segment();
  return block_;
}

}  // namespace ntb
