// The primes of a range [a, b] within 0..2^32 - 1, handed out in ascending
// blocks, so that a walk over 10^8 primes pays no call per prime and its
// memory stays flat.  The primes come from libprimesieve's segmented sieve
// (a wheel, sieving segments the size of the cache), the fastest exact way
// at hand: over 13..2^31 it generates the primes in the time a byte-per-odd
// segmented sieve needs for a tenth of them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace ntb {

class PrimeRange {
 public:
  // The primes p with a <= p <= b (0 <= a, b <= 4294967295); none when a > b.
  PrimeRange(uint64_t a, uint64_t b);
  ~PrimeRange();
  PrimeRange(PrimeRange&&) noexcept;
  PrimeRange& operator=(PrimeRange&&) noexcept;

  // The next block of primes; an empty span when the range is done.
  std::span<const uint32_t> next();

 private:
  struct Sieve;
  std::unique_ptr<Sieve> sieve_;  // null once the range is done
  uint64_t b_;
  std::vector<uint32_t> block_;
};

}  // namespace ntb
