// The Goldbach commands run in chunks (range_job.hpp): goldbach N, whose
// chunks cut the low half [0, N/2] of the pair members and whose lines hold
// the counts of those pairs, summed by the merge; and goldbach-verify A B,
// whose chunks cut [A, B] and whose lines hold each chunk's verification,
// joined in chunk order as merge_into joins the runs of one range.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/command.hpp"
#include "numtheory/goldbach/goldbach_verify.hpp"
#include "numtheory/goldbach/pair_counts.hpp"

namespace ntb::cli {

// The counts of goldbach N (even, >= 6) by chunks into `total`, as
// goldbach_counts_u64 gives them; the status of run_range_job.
int chunked_goldbach_counts(const Request& r, Channels& io, uint64_t n, GoldbachCounts& total);

// The verification of [a, b] by chunks into `all`, as verify_goldbach gives
// it (records when `records`, p bounded by max_p); the status.
int chunked_goldbach_verification(const Request& r, Channels& io, uint64_t a, uint64_t b,
                                  bool records, uint64_t max_p, GoldbachVerification& all);

// A verification as a chunk's line and back (ChunkLineError when the line
// is none):
//   checked worst.n worst.p unverified_count k u1..uk, then n p of each record
std::string verification_line(const GoldbachVerification& v);
GoldbachVerification verification_of_line(std::string_view line);

}  // namespace ntb::cli
