// The pairs of consecutive primes of a range [a, b] (anywhere in
// 0..2^64 - 1) whose gap lies in a window, in ascending order: the gap
// listing, and with the window [2, 2] the twin listing.  One thread walks the
// primes a block at a time and hands the pairs of each block to the caller,
// so memory stays flat however many pairs there are.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>

namespace ntb {

// Two consecutive primes p < q.
struct PrimePair {
  uint64_t p, q;
  bool operator==(const PrimePair&) const = default;
};

// Calls visit, in ascending order and on the calling thread, with the pairs
// of consecutive primes p < q in [a, b] with g1 <= q - p <= g2, a batch (never
// empty) per block of primes walked.  Polls interruption_point() between
// blocks; progress, when given, holds the fraction of [a, b] walked.
void each_gap(uint64_t a, uint64_t b, uint64_t g1, uint64_t g2,
              const std::function<void(std::span<const PrimePair>)>& visit,
              std::atomic<double>* progress = nullptr);

// The twin pairs (p, p + 2) with both primes in [a, b], as each_gap hands
// them out.
void each_twin(uint64_t a, uint64_t b, const std::function<void(std::span<const PrimePair>)>& visit,
               std::atomic<double>* progress = nullptr);

}  // namespace ntb
