// The gap listing over the block walk of each_prime_block: the pairs of each
// block, the first one joined to the last prime of the block before, are
// gathered in a buffer that is handed out and reused.
#include "numtheory/sieve/gap_listing.hpp"

#include <vector>

#include "numtheory/sieve/prime_blocks.hpp"

namespace ntb {

void each_gap(uint64_t a, uint64_t b, uint64_t g1, uint64_t g2,
              const std::function<void(std::span<const PrimePair>)>& visit,
              std::atomic<double>* progress) {
  if (g1 > g2) return;
  std::vector<PrimePair> pairs;
  uint64_t prev = 0;  // the last prime of the blocks so far, 0 before any
  const uint64_t width = g2 - g1;
  each_prime_block(
      a, b,
      [&](std::span<const uint64_t> block) {
        pairs.clear();
        for (const uint64_t q : block) {
          if (prev != 0 && q - prev - g1 <= width) pairs.push_back({prev, q});
          prev = q;
        }
        if (!pairs.empty()) visit(pairs);
      },
      progress);
}

void each_twin(uint64_t a, uint64_t b, const std::function<void(std::span<const PrimePair>)>& visit,
               std::atomic<double>* progress) {
  each_gap(a, b, 2, 2, visit, progress);
}

}  // namespace ntb
