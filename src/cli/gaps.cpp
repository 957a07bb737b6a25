// ntbench gaps G A B and gaps G1 G2 A B: the pairs of consecutive primes of
// [A, B] whose gap is G or lies in G1..G2 (prime_listing.cpp); with
// --histogram how many pairs have each gap (gap_histogram.cpp); both by
// chunks with --checkpoint or --chunk (prime_range_jobs.hpp).
#include "cli/plot_table.hpp"
#include "cli/prime_listing.hpp"
#include "cli/prime_range_jobs.hpp"
#include "cli/progress.hpp"
#include "cli/range_job.hpp"
#include "cli/threads_option.hpp"

namespace ntb::cli {

namespace {

bool chunked(const Request&) {
  return true;
}

std::string check(const Request& r) {
  const auto& n = r.numbers;
  std::string wrong = plot_usage_error(r, r.flag("--histogram"), "--plot needs --histogram");
  if (wrong.empty())
    wrong = chunk_usage_error(r, true, "", static_cast<uint64_t>(n[n.size() - 2]),
                              static_cast<uint64_t>(n.back()));
  return wrong;
}

int run(const Request& r, Channels& io) {
  if (r.flag("--histogram")) return run_gap_histogram(r, io);
  const auto n = [&r](size_t i) { return static_cast<uint64_t>(r.numbers[i]); };
  const bool indexed = !r.flag("--no-index");
  const int threads = static_cast<int>(thread_count(r));
  const size_t first = r.numbers.size() == 3 ? 1 : 2;  // gaps G A B or gaps G1 G2 A B
  const uint64_t g1 = n(0), g2 = n(first - 1), a = n(first), b = n(first + 1);
  if (runs_in_chunks(r, io))
    return chunked_consecutive_pairs(r, io, job_name(r, {}), g1, g2, a, b, indexed);
  return consecutive_pairs(io, g1, g2, a, b, indexed, threads);
}

}  // namespace

const Command& gaps_command() {
  const Argument a{"A", 0, kRangeMax}, b{"B", 0, kRangeMax};
  static const Command row{
      "gaps",
      "pairs of consecutive primes with a given gap",
      "Every pair of consecutive primes p < q with A <= p and q <= B whose gap\n"
      "q - p is G, or lies in G1..G2 (0 <= A <= B <= 2^64 - 1).\n"
      "With --histogram: for each gap g in G1..G2 that occurs, how many such\n"
      "pairs have it (columns gap count, gaps that do not occur left out).\n"
      "--plot FILE draws the histogram with a logarithmic count axis.",
      {{{{"G"}, a, b}, false, {{1, 2}}}, {{{"G1"}, {"G2"}, a, b}, false, {{0, 1}, {2, 3}}}},
      {{"--histogram", "count the pairs of each gap (columns: gap count)"},
       plot_option("with --histogram: draw the histogram into FILE"),
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
