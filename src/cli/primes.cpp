// ntbench primes A B: the primes of [A, B] (anywhere below 2^64) with their
// indexes, streamed a block at a time (prime_listing.cpp); with --count only
// how many, counted on every thread (numtheory/sieve/range_scan), or by
// chunks with --checkpoint or --chunk (prime_range_jobs.hpp).
#include "cli/prime_listing.hpp"
#include "cli/prime_range_jobs.hpp"
#include "cli/range_job.hpp"
#include "cli/threads_option.hpp"
#include "numtheory/sieve/prime_blocks.hpp"
#include "numtheory/sieve/range_scan.hpp"

namespace ntb::cli {

namespace {

bool chunked(const Request& r) {
  return r.flag("--count");
}

std::string check(const Request& r) {
  return chunk_usage_error(r, chunked(r), "--checkpoint and --chunk need --count",
                           static_cast<uint64_t>(r.numbers[0]),
                           static_cast<uint64_t>(r.numbers[1]));
}

int run(const Request& r, Channels& io) {
  const auto a = static_cast<uint64_t>(r.numbers[0]), b = static_cast<uint64_t>(r.numbers[1]);
  const int threads = static_cast<int>(thread_count(r));
  if (r.flag("--count")) {
    if (runs_in_chunks(r, io)) return chunked_prime_count(r, io, job_name(r, {"--count"}), a, b);
    return write_count(r, io, [a, b](int threads, std::atomic<double>* done) {
      return count_primes(a, b, threads, done);
    });
  }
  if (r.flag("--no-index")) {
    io.out.header({"prime"});
    each_prime_block(a, b, [&io](std::span<const uint64_t> block) {
      for (const uint64_t p : block) io.out.row(p);
    });
    return 0;
  }
  io.out.header({"index", "prime"});
  uint64_t index = primes_below(a, threads);
  each_prime_block(a, b, [&](std::span<const uint64_t> block) {
    for (const uint64_t p : block) io.out.row(++index, p);
  });
  return 0;
}

}  // namespace

const Command& primes_command() {
  static const Command row{
      "primes",
      "the primes from A to B with their indexes",
      "Every prime p with A <= p <= B (0 <= A <= B <= 2^64 - 1), with its index\n"
      "pi(p) (2 has index 1).",
      {{{Argument{"A", 0, kRangeMax}, Argument{"B", 0, kRangeMax}}, false, {{0, 1}}}},
      {{"--count", "print only how many there are (column: count)"},
       {"--no-index", "leave out the index column (column: prime)"},
       threads_option(),
       no_status_option(),
       checkpoint_option(),
       chunk_option()},
      "index prime",
      check,
      run,
      chunked,
  };
  return row;
}

}  // namespace ntb::cli
