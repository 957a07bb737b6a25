// ntbench gaps G1 G2 A B --histogram: for each gap size g in G1..G2 that
// occurs, how many pairs of consecutive primes p < q with A <= p, q <= B
// have q - p = g, counted on every thread (numtheory/sieve/range_scan);
// by chunks with --checkpoint or --chunk (prime_range_jobs.hpp); with
// --plot, the bars on a logarithmic count axis.
#include "cli/plot_table.hpp"
#include "cli/prime_range_jobs.hpp"
#include "cli/progress.hpp"
#include "cli/range_job.hpp"
#include "cli/threads_option.hpp"
#include "numtheory/sieve/range_scan.hpp"

namespace ntb::cli {

int run_gap_histogram(const Request& r, Channels& io) {
  const auto& n = r.numbers;
  const size_t first = n.size() == 3 ? 1 : 2;  // gaps G A B or gaps G1 G2 A B
  const auto g1 = static_cast<uint64_t>(n[0]), g2 = static_cast<uint64_t>(n[first - 1]);
  const auto a = static_cast<uint64_t>(n[first]), b = static_cast<uint64_t>(n[first + 1]);
  const PlotLayout layout{command_title(r) + " --histogram: gaps between consecutive primes",
                          "gap q - p",
                          "pairs of consecutive primes",
                          true,
                          {{"pairs with the gap", PlotStyle::kBoxes}},
                          static_cast<double>(g1),
                          static_cast<double>(g2)};
  std::string empty = "no gap ";
  empty += g1 == g2 && first == 1 ? "of " + std::to_string(g1)
                                  : "from " + std::to_string(g1) + " to " + std::to_string(g2);
  empty += " between " + std::to_string(a) + " and " + std::to_string(b);
  std::vector<uint64_t> counts;
  if (runs_in_chunks(r, io)) {
    const int status =
        chunked_gap_histogram(r, io, job_name(r, {"--histogram"}), g1, g2, a, b, counts);
    if (status != 0 || !writes_answer(io)) return status;
  } else {
    std::atomic<double> done{0};
    const Progress progress([&done] { return done.load(); }, status_line_wanted(r));
    counts = gap_histogram(a, b, g1, g2, static_cast<int>(thread_count(r)), &done);
  }
  return print_or_plot(r, io, {"gap", "count"}, layout, empty, [&](auto&& emit) {
    for (size_t i = 0; i < counts.size(); ++i)
      if (counts[i] != 0) emit(g1 + i, counts[i]);
  });
}

}  // namespace ntb::cli
