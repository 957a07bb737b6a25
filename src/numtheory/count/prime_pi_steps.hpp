// pi(x) at evenly spaced x: the rows of `ntbench pi A B --step S`.
//
// Close steps walk the primes of the range once and count them past each
// x; far steps (a segment of 2^22 numbers or more between them) count each
// x on its own by prime_pi, which needs only the primes up to sqrt(x).
#pragma once

#include <cstdint>
#include <span>

#include "numtheory/sieve/prime_range.hpp"

namespace ntb {

class PrimePiSteps {
 public:
  // x = a, a + s, ... while x <= b; 0 <= a <= b <= kPrimePiMax, s >= 1.
  PrimePiSteps(uint64_t a, uint64_t b, uint64_t s);

  // The next x and pi(x), ascending; false when the steps are done.
  bool next(uint64_t& x, uint64_t& pi);

  static constexpr uint64_t kFarStep = uint64_t{1} << 22;

 private:
  uint64_t x_, b_, s_;
  bool started_ = false;
  uint64_t count_ = 0;  // the primes up to x_ (the walk)
  PrimeRange walk_;
  std::span<const uint32_t> block_;
};

}  // namespace ntb
