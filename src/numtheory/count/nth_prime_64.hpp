// The k-th prime for every k whose prime lies below 2^64: k from 1 to
// pi(2^64 - 1) = 425656284035217743.  Up to pi(2^63) libprimecount finds it
// (a prime count near an estimate, then a sieve); past that, where the
// library stops, the same two steps run here: pi at an estimate of the k-th
// prime by the 128-bit count, then a sieve from there to the prime itself.
// Near the points with a known count (see prime_pi_64.hpp) the sieve starts
// from the known count instead.
#pragma once

#include <atomic>
#include <cstdint>

namespace ntb {

// The k-th prime (the 1st is 2) for 1 <= k <= kPrimeCount64, on `threads`
// threads (default_thread_count() when 0 or less); throws std::out_of_range
// for k = 0 and past kPrimeCount64.  The prime counts of libprimecount run
// as calls that cannot be stopped halfway; the sieves poll
// interruption_point() between segments.  When progress is given it holds
// the fraction of the final sieve done (0 to 1).
uint64_t nth_prime_64(uint64_t k, int threads = 0, std::atomic<double>* progress = nullptr);

}  // namespace ntb
