// ntbench twins A B: the twin primes of [A, B] (anywhere below 2^64), the
// pairs of consecutive primes with gap 2 (prime_listing.cpp); with --count
// only how many, counted on every thread (numtheory/sieve/range_scan); both
// by chunks with --checkpoint or --chunk (prime_range_jobs.hpp).
#include "cli/prime_listing.hpp"
#include "cli/prime_range_jobs.hpp"
#include "cli/range_job.hpp"
#include "cli/threads_option.hpp"
#include "numtheory/sieve/range_scan.hpp"

namespace ntb::cli {

namespace {

bool chunked(const Request&) {
  return true;
}

std::string check(const Request& r) {
  return chunk_usage_error(r, true, "", static_cast<uint64_t>(r.numbers[0]),
                           static_cast<uint64_t>(r.numbers[1]));
}

int run(const Request& r, Channels& io) {
  const auto a = static_cast<uint64_t>(r.numbers[0]), b = static_cast<uint64_t>(r.numbers[1]);
  const int threads = static_cast<int>(thread_count(r));
  const bool indexed = !r.flag("--no-index");
  if (runs_in_chunks(r, io)) {
    const std::string name = job_name(r, {"--count"});
    if (r.flag("--count")) return chunked_twin_count(r, io, name, a, b);
    return chunked_consecutive_pairs(r, io, name, 2, 2, a, b, indexed);
  }
  if (r.flag("--count")) {
    return write_count(r, io, [a, b](int threads, std::atomic<double>* done) {
      return count_twins(a, b, threads, done);
    });
  }
  return consecutive_pairs(io, 2, 2, a, b, indexed, threads);
}

}  // namespace

const Command& twins_command() {
  static const Command row{
      "twins",
      "the twin primes from A to B",
      "Every pair of twin primes p, p + 2 with A <= p and p + 2 <= B\n"
      "(0 <= A <= B <= 2^64 - 1): gaps 2 A B.",
      {{{Argument{"A", 0, kRangeMax}, Argument{"B", 0, kRangeMax}}, false, {{0, 1}}}},
      {{"--count", "print only how many pairs there are (column: count)"},
       {"--no-index", "leave out the index columns (columns: p q gap)"},
       threads_option(),
       no_status_option(),
       checkpoint_option(),
       chunk_option()},
      "index_p p index_q q gap",
      check,
      run,
      chunked,
  };
  return row;
}

}  // namespace ntb::cli
