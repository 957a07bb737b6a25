// The blocks of PrimeRange: each block of libprimesieve's iterator, cut at b
// and narrowed to 32 bits.
#include "numtheory/sieve/prime_range.hpp"

#include <algorithm>
#include <primesieve.hpp>

namespace ntb {

struct PrimeRange::Sieve {
  primesieve::iterator it;
};

PrimeRange::PrimeRange(uint64_t a, uint64_t b) : b_(b) {
  if (a <= b) sieve_ = std::make_unique<Sieve>(Sieve{primesieve::iterator(a, b)});
}

PrimeRange::~PrimeRange() = default;
PrimeRange::PrimeRange(PrimeRange&&) noexcept = default;
PrimeRange& PrimeRange::operator=(PrimeRange&&) noexcept = default;

std::span<const uint32_t> PrimeRange::next() {
  if (!sieve_) return {};
  primesieve::iterator& it = sieve_->it;
  it.generate_next_primes();  // the primes from the last block's end on, at least one
  const uint64_t* first = it.primes_;
  const uint64_t* last = first + it.size_;
  const bool end = last[-1] > b_;  // the block passes b: keep its part up to b, and end
  if (end) last = std::upper_bound(first, last, b_);
  block_.resize(static_cast<size_t>(last - first));
  uint32_t* out = block_.data();
  for (size_t i = 0; i < block_.size(); ++i) out[i] = static_cast<uint32_t>(first[i]);
  if (end) sieve_.reset();
  return block_;
}

}  // namespace ntb
