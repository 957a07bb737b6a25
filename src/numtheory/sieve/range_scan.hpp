// Counting over a range [a, b] anywhere in 0..2^64 - 1 on several threads:
// the primes, the twin pairs, and how often each gap between consecutive
// primes occurs.  All three come from one scan: the range is cut into one
// piece per thread, each thread walks its piece in ascending blocks and
// tallies the gaps inside it, and the gaps across piece borders are added
// once at the end from each piece's first and last prime.  A thread that
// runs out of work takes the upper half of the largest piece still being
// walked, so that a slow thread does not hold up the rest.  The results do
// not depend on the thread count.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace ntb {

struct RangeScan {
  uint64_t primes = 0;  // the primes in [a, b]
  // gaps[i] is the number of consecutive primes p < q, both in [a, b], with
  // q - p = g1 + i, for the gaps g1 <= g <= g2 asked for.  The vector ends
  // at the largest such gap that occurs: every gap past its end occurs 0
  // times (and it is empty when none in the window occurs).
  std::vector<uint64_t> gaps;
};

// The scan of [a, b] (0 <= a, b <= 2^64 - 1; nothing when a > b) with the gap
// window [g1, g2] (no gaps tallied when g1 > g2), on `threads` threads
// (default_thread_count() when 0 or less; fewer when the range is too short
// to repay a thread's start-up sieve).  The calling thread works too and
// polls interruption_point() between blocks; on Ctrl-C or any error the
// other threads stop at their next block and the exception reaches the
// caller.  When progress is given it holds the fraction of the range done
// (0 to 1), updated a few times a second.  least_slice is the shortest part
// of the range a thread starts on or takes over: 0 picks one long enough to
// repay the start-up sieve at b; the tests pass small ones so that short
// ranges are split and taken over too.
RangeScan scan_prime_range(uint64_t a, uint64_t b, uint64_t g1, uint64_t g2, int threads,
                           std::atomic<double>* progress = nullptr, uint64_t least_slice = 0);

// The number of primes p with a <= p <= b.
uint64_t count_primes(uint64_t a, uint64_t b, int threads = 0,
                      std::atomic<double>* progress = nullptr);

// The number of twin pairs (p, p + 2) with both primes in [a, b]
// (least_slice as for scan_prime_range).
uint64_t count_twins(uint64_t a, uint64_t b, int threads = 0,
                     std::atomic<double>* progress = nullptr, uint64_t least_slice = 0);

// The gap histogram of [a, b] over the gaps g1..g2: the gaps of
// scan_prime_range, element i for the gap g1 + i.
std::vector<uint64_t> gap_histogram(uint64_t a, uint64_t b, uint64_t g1, uint64_t g2,
                                    int threads = 0, std::atomic<double>* progress = nullptr);

}  // namespace ntb
