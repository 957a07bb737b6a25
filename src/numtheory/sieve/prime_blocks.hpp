// The primes of any range [a, b] of 0..2^64 - 1, in ascending blocks: a walk
// over billions of primes pays no call per prime and its memory stays flat
// (one sieve segment and the sieving primes up to sqrt(b)).  The primes come
// from libprimesieve's segmented sieve; each block is one segment's primes,
// handed out where the sieve left them, without a copy.  A window too short
// to repay the sieve's start-up (the primes up to sqrt(b): over a second of
// work near 2^64) is instead sieved by the primes below 1024 and its
// remaining numbers tested one by one (is_prime_u64).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace ntb {

// The largest prime below 2^64 (2^64 - 59): the sieve generates nothing past
// it, so every walk ends there.
inline constexpr uint64_t kLargestPrime64 = 18446744073709551557u;

class PrimeBlocks {
 public:
  // The primes p with a <= p <= b; none when a > b.
  PrimeBlocks(uint64_t a, uint64_t b);
  ~PrimeBlocks();
  PrimeBlocks(PrimeBlocks&&) noexcept;
  PrimeBlocks& operator=(PrimeBlocks&&) noexcept;

  // The next block, ascending and never empty while primes remain; an empty
  // span once the range is done.  The span stays valid until the next call.
  // The walk does not poll for Ctrl-C itself: its caller does, between
  // blocks.
  std::span<const uint64_t> next();

 private:
  struct Sieve;
  struct TestedWindow;
  std::unique_ptr<Sieve> sieve_;          // null once the range is done
  std::unique_ptr<TestedWindow> window_;  // the short windows' way, null once done
  uint64_t b_;
  bool last_block_ = false;  // the block handed out last was the final one
};

// Calls visit with every block of the primes in [a, b] in ascending order,
// on the calling thread.  Polls interruption_point() before every block.
// When progress is given, it holds the fraction of [a, b] walked (0 to 1)
// after every block.
void each_prime_block(uint64_t a, uint64_t b,
                      const std::function<void(std::span<const uint64_t>)>& visit,
                      std::atomic<double>* progress = nullptr);

}  // namespace ntb
