// ntbench primes A B, gaps G A B, gaps G1 G2 A B and twins A B: the primes
// of [A, B] with their indexes, or the pairs of consecutive primes of
// [A, B] whose gap lies in G1..G2.  The primes come from a segmented sieve a
// block at a time; the index of the first is pi(A - 1) + 1, and the rest
// are counted, so nothing but one segment is held however long the list.
#include <cstdint>

#include "cli/commands.hpp"
#include "numtheory/count/prime_pi.hpp"
#include "numtheory/sieve/prime_range.hpp"

namespace ntb::cli {

namespace {

// The number of primes below a.
int64_t primes_below(int64_t a) {
  return a > 0 ? prime_pi(a - 1) : 0;
}

// The pairs p < q of consecutive primes with a <= p, q <= b and
// g1 <= q - p <= g2: index_p p index_q q gap.
int pairs(Channels& io, int64_t g1, int64_t g2, int64_t a, int64_t b) {
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

}  // namespace

int run_primes(const Request& r, Channels& io) {
  const int64_t a = r.numbers[0], b = r.numbers[1];
  if (r.count) {
    io.out.header({"count"});
    io.out.row(prime_pi(b) - primes_below(a));
    return 0;
  }
  io.out.header({"index", "prime"});
  int64_t index = primes_below(a);
  PrimeRange range(static_cast<uint64_t>(a), static_cast<uint64_t>(b));
  for (auto block = range.next(); !block.empty(); block = range.next())
    for (const uint32_t p : block) io.out.row(++index, p);
  return 0;
}

int run_gaps(const Request& r, Channels& io) {
  if (r.histogram) return run_gap_histogram(r, io);
  const auto& n = r.numbers;
  if (n.size() == 3) return pairs(io, n[0], n[0], n[1], n[2]);
  return pairs(io, n[0], n[1], n[2], n[3]);
}

int run_twins(const Request& r, Channels& io) {
  return pairs(io, 2, 2, r.numbers[0], r.numbers[1]);
}

}  // namespace ntb::cli
