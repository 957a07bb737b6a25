// The listings of primes shared by primes, gaps and twins, over any range
// of 0..2^64 - 1: the index of the first prime of a range, and the pairs of
// consecutive primes of a range whose gap lies in G1..G2.
#pragma once

#include <atomic>
#include <cstdint>

#include "cli/command.hpp"
#include "cli/progress.hpp"
#include "cli/threads_option.hpp"

namespace ntb::cli {

// The largest end of a listed range: 2^64 - 1.
inline constexpr Whole kRangeMax = UINT64_MAX;

// The number of primes below a, on `threads` threads (0: every CPU).
uint64_t primes_below(uint64_t a, int threads);

// The pairs p < q of consecutive primes with a <= p, q <= b and
// g1 <= q - p <= g2, a row each: index_p p index_q q gap, or with
// indexed false p q gap.
int consecutive_pairs(Channels& io, uint64_t g1, uint64_t g2, uint64_t a, uint64_t b, bool indexed,
                      int threads);

// The one row of a --count: count(threads, progress) on the threads of
// --threads, its fraction done on the progress line.
template <typename Count>
int write_count(const Request& r, Channels& io, Count count) {
  io.out.header({"count"});
  std::atomic<double> done{0};
  const Progress progress([&done] { return done.load(); }, status_line_wanted(r));
  io.out.row(count(static_cast<int>(thread_count(r)), &done));
  return 0;
}

}  // namespace ntb::cli
