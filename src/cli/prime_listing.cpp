// The primes of [A, B] come from the streaming walk of
// numtheory/sieve/prime_blocks a block at a time; the index of the first is
// pi(A - 1) + 1 by the fast count, and the rest are counted, so nothing but
// one segment is held however long the list.  A closed pipe ends the walk at
// the next row (Output throws).
#include "cli/prime_listing.hpp"

#include "numtheory/count/prime_pi_64.hpp"
#include "numtheory/sieve/gap_listing.hpp"
#include "numtheory/sieve/prime_blocks.hpp"

namespace ntb::cli {

uint64_t primes_below(uint64_t a, int threads) {
  return a > 0 ? prime_pi_64(a - 1, threads) : 0;
}

int consecutive_pairs(Channels& io, uint64_t g1, uint64_t g2, uint64_t a, uint64_t b, bool indexed,
                      int threads) {
  if (!indexed) {
    io.out.header({"p", "q", "gap"});
    each_gap(a, b, g1, g2, [&io](std::span<const PrimePair> pairs) {
      for (const PrimePair& pq : pairs) io.out.row(pq.p, pq.q, pq.q - pq.p);
    });
    return 0;
  }
  io.out.header({"index_p", "p", "index_q", "q", "gap"});
  uint64_t index = primes_below(a, threads);  // the index of `prev`
  uint64_t prev = 0;
  each_prime_block(a, b, [&](std::span<const uint64_t> block) {
    for (const uint64_t q : block) {
      if (prev != 0) {
        const uint64_t gap = q - prev;
        if (gap >= g1 && gap <= g2) io.out.row(index, prev, index + 1, q, gap);
      }
      prev = q;
      ++index;
    }
  });
  return 0;
}

}  // namespace ntb::cli
