// goldbach N run in chunks (range_job.hpp): the chunks cut the low half
// [0, N/2] of the pair members, each chunk's line holds the counts of its
// pairs, and the merge sums them.
#pragma once

#include <cstdint>

#include "cli/command.hpp"
#include "numtheory/goldbach/pair_counts.hpp"

namespace ntb::cli {

// The counts of goldbach N (even, >= 6) by chunks into `total`, as
// goldbach_counts_u64 gives them; the status of run_range_job.
int chunked_goldbach_counts(const Request& r, Channels& io, uint64_t n, GoldbachCounts& total);

}  // namespace ntb::cli
