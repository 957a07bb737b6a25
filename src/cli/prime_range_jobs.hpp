// The prime-range commands run in chunks (range_job.hpp): primes --count,
// twins --count, the gap histogram, and the listings of pairs of
// consecutive primes (gaps, twins).  A chunk's line holds what its merge
// needs besides its counts: its first and last prime, from which the pair
// of consecutive primes across each chunk border is found once, and for a
// listing its number of primes, from which the indexes run on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/command.hpp"

namespace ntb::cli {

// The row of primes --count A B and of twins --count A B, by chunks; the
// job is named `name` in a checkpoint.  The status of run_range_job.
int chunked_prime_count(const Request& r, Channels& io, std::string name, uint64_t a, uint64_t b);
int chunked_twin_count(const Request& r, Channels& io, std::string name, uint64_t a, uint64_t b);

// The gap histogram of [a, b] over g1..g2 by chunks into `counts`, as
// gap_histogram (numtheory/sieve/range_scan.hpp) gives it; the status.
int chunked_gap_histogram(const Request& r, Channels& io, std::string name, uint64_t g1,
                          uint64_t g2, uint64_t a, uint64_t b, std::vector<uint64_t>& counts);

// The rows of consecutive_pairs (prime_listing.hpp) by chunks, written as
// each chunk's turn comes; the status.
int chunked_consecutive_pairs(const Request& r, Channels& io, std::string name, uint64_t g1,
                              uint64_t g2, uint64_t a, uint64_t b, bool indexed);

}  // namespace ntb::cli
