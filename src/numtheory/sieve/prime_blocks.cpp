// The blocks of PrimeBlocks: each block of libprimesieve's iterator, cut at
// b.  The iterator throws when asked for a prime past 2^64, so the walk stops
// on its own once a block reaches the largest 64-bit prime.  A short window
// goes 2^16 numbers at a time: the odd numbers free of the primes below
// 1024 (about one in twelve) are tested.
#include "numtheory/sieve/prime_blocks.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <primesieve.hpp>
#include <vector>

#include "numtheory/factor/prime_test64.hpp"
#include "numtheory/interrupt.hpp"

namespace ntb {

namespace {

// The odd primes below 1024, by trial division once.
const std::vector<uint32_t>& small_odd_primes() {
  static const std::vector<uint32_t> primes = [] {
    std::vector<uint32_t> v;
    for (uint32_t n = 3; n < 1024; n += 2) {
      bool prime = true;
      for (const uint32_t p : v) prime = prime && n % p != 0;
      if (prime) v.push_back(n);
    }
    return v;
  }();
  return primes;
}

// Testing beats the sieve on windows below sqrt(b) / 256 numbers: a test
// costs about as much as sieving 30 numbers, and the start-up of the sieve
// as much as sieving sqrt(b) / 8.  Only past 2^32, where no number of the
// window is one of the small primes.
bool tested_is_cheaper(uint64_t a, uint64_t b) {
  return a >= (uint64_t{1} << 32) && b - a < std::sqrt(static_cast<double>(b)) / 256;
}

}  // namespace

struct PrimeBlocks::Sieve {
  primesieve::iterator it;
};

struct PrimeBlocks::TestedWindow {
  static constexpr uint64_t kChunk = 1 << 16;
  uint64_t next;  // the first number not yet looked at
  std::vector<uint64_t> primes;
  std::array<bool, kChunk / 2> composite;

  // The primes of [next, min(next + kChunk - 1, b)] (next <= b), and next
  // moved past them; false when they reach b.
  bool fill(uint64_t b) {
    primes.clear();
    const uint64_t hi = b - next < kChunk ? b : next + kChunk - 1;
    const uint64_t lo = next | 1;  // the odd numbers lo, lo + 2, ... up to hi
    if (lo <= hi) {
      const size_t n = static_cast<size_t>((hi - lo) / 2 + 1);
      std::fill(composite.begin(), composite.begin() + n, false);
      for (const uint32_t p : small_odd_primes()) {
        uint64_t off = (p - lo % p) % p;  // lo + off: the first multiple of p from lo
        if (off % 2 == 1) off += p;       // the first odd one
        for (uint64_t i = off / 2; i < n; i += p) composite[i] = true;
      }
      for (size_t i = 0; i < n; ++i)
        if (!composite[i] && is_prime_u64(lo + 2 * i)) primes.push_back(lo + 2 * i);
    }
    if (hi == b) return false;
    next = hi + 1;
    return true;
  }
};

PrimeBlocks::PrimeBlocks(uint64_t a, uint64_t b) : b_(b) {
  if (a > b || a > kLargestPrime64) return;
  if (tested_is_cheaper(a, b))
    window_ = std::make_unique<TestedWindow>(TestedWindow{a, {}, {}});
  else
    sieve_ = std::make_unique<Sieve>(Sieve{primesieve::iterator(a, b)});
}

PrimeBlocks::~PrimeBlocks() = default;
PrimeBlocks::PrimeBlocks(PrimeBlocks&&) noexcept = default;
PrimeBlocks& PrimeBlocks::operator=(PrimeBlocks&&) noexcept = default;

std::span<const uint64_t> PrimeBlocks::next() {
  if (last_block_) {  // the final block has been used: free the sieve
    sieve_.reset();
    window_.reset();
  }
  if (window_) {
    for (;;) {
      const bool more = window_->fill(b_);
      last_block_ = !more;
      if (!window_->primes.empty() || !more) return window_->primes;
    }
  }
  if (!sieve_) return {};
  primesieve::iterator& it = sieve_->it;
  it.generate_next_primes();  // the primes after the last block, at least one
  const uint64_t* first = it.primes_;
  const uint64_t* last = first + it.size_;
  // A block that reaches b, or the last prime there is, is the final one.
  if (last[-1] >= std::min(b_, kLargestPrime64)) {
    last = std::upper_bound(first, last, b_);
    last_block_ = true;
  }
  return {first, last};
}

void each_prime_block(uint64_t a, uint64_t b,
                      const std::function<void(std::span<const uint64_t>)>& visit,
                      std::atomic<double>* progress) {
  interruption_point();
  PrimeBlocks blocks(a, b);
  const double width = b > a ? static_cast<double>(b - a) : 1.0;
  for (auto block = blocks.next(); !block.empty(); block = blocks.next()) {
    visit(block);
    if (progress) progress->store(static_cast<double>(block.back() - a) / width);
    interruption_point();
  }
  if (progress) progress->store(1.0);
}

}  // namespace ntb
