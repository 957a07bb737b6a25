// The primes of [A, B] come from a segmented sieve a block at a time; the
// index of the first is pi(A - 1) + 1, and the rest are counted, so nothing
// but one segment is held however long the list.
#include "cli/prime_listing.hpp"

#include "numtheory/count/prime_pi.hpp"
#include "numtheory/sieve/prime_range.hpp"

namespace ntb::cli {

int64_t primes_below(int64_t a) {
  return a > 0 ? prime_pi(a - 1) : 0;
}

int consecutive_pairs(Channels& io, int64_t g1, int64_t g2, int64_t a, int64_t b) {
  io.out.header({"index_p", "p", "index_q", "q", "gap"});
  int64_t index = primes_below(a);  // the index of `prev`
  uint32_t prev = 0;
  PrimeRange range(static_cast<uint64_t>(a), static_cast<uint64_t>(b));
  for (auto block = range.next(); !block.empty(); block = range.next()) {
    for (const uint32_t q : block) {
      if (prev != 0) {
        const int64_t gap = q - prev;
        if (gap >= g1 && gap <= g2) io.out.row(index, prev, index + 1, q, gap);
      }
      prev = q;
      ++index;
    }
  }
  return 0;
}

}  // namespace ntb::cli
