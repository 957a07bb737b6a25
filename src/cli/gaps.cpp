// ntbench gaps G A B and gaps G1 G2 A B: the pairs of consecutive primes of
// [A, B] whose gap is G or lies in G1..G2 (prime_listing.cpp); with
// --histogram how many pairs have each gap (gap_histogram.cpp).
#include "cli/plot_table.hpp"
#include "cli/prime_listing.hpp"
#include "cli/progress.hpp"
#include "cli/threads_option.hpp"

namespace ntb::cli {

namespace {

std::string check(const Request& r) {
  return plot_usage_error(r, r.flag("--histogram"), "--plot needs --histogram");
}

int run(const Request& r, Channels& io) {
  if (r.flag("--histogram")) return run_gap_histogram(r, io);
  const auto n = [&r](size_t i) { return static_cast<uint64_t>(r.numbers[i]); };
  const bool indexed = !r.flag("--no-index");
  const int threads = static_cast<int>(thread_count(r));
  if (r.numbers.size() == 3) return consecutive_pairs(io, n(0), n(0), n(1), n(2), indexed, threads);
  return consecutive_pairs(io, n(0), n(1), n(2), n(3), indexed, threads);
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
       no_status_option()},
      "index_p p index_q q gap",
      check,
      run,
  };
  return row;
}

}  // namespace ntb::cli
