// The primes of a range [a, b] within 0..2^32 - 1, handed out in ascending
// blocks by a segmented sieve of Eratosthenes, so that a walk over 10^8
// primes pays no call per prime and its memory stays flat (one segment and
// the sieving primes up to sqrt(b)).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ntb {

class PrimeRange {
 public:
  // The primes p with a <= p <= b (0 <= a, b <= 4294967295); none when a > b.
  PrimeRange(uint64_t a, uint64_t b);

  // The next block of primes; an empty span when the range is done.
  std::span<const uint32_t> next();

 private:
  void sieve_segment();

  uint64_t lo_;                          // the first number of the next segment
  uint64_t hi_;                          // b + 1
  std::vector<uint32_t> sieving_;        // odd primes up to sqrt(b)
  std::vector<uint64_t> next_multiple_;  // per sieving prime: next odd multiple to cross
  std::vector<uint8_t> composite_;       // byte i: lo_ + 2i is composite
  std::vector<uint32_t> block_;
};

}  // namespace ntb
