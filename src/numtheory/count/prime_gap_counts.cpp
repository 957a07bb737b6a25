// The gap histogram from the primes of the range a block at a time: one
// pass, one counter per gap size, memory flat but for the segment.
#include "numtheory/count/prime_gap_counts.hpp"

#include "numtheory/sieve/prime_range.hpp"

namespace ntb {

std::vector<uint64_t> prime_gap_counts(uint64_t a, uint64_t b) {
  std::vector<uint64_t> counts;
  PrimeRange range(a, b);
  uint32_t prev = 0;
  for (auto block = range.next(); !block.empty(); block = range.next())
    for (const uint32_t q : block) {
      if (prev != 0) {
        const uint32_t g = q - prev;
        if (g >= counts.size()) counts.resize(g + 1, 0);
        ++counts[g];
      }
      prev = q;
    }
  return counts;
}

}  // namespace ntb
