// ntbench divisor-counts N: for every k, how many n <= N have exactly k
// divisors, from the workbench's counting pass on the tables as built (one
// prime count per prefix, no integer tested).  With --tau K: every n <= N
// with K divisors, ascending, from the segmented divisor sieve, with
// sigma(n), phi(n) and the prime factors with repetition.
#include "cli/plot_table.hpp"
#include "divisors/engine/divisor_classes.hpp"
#include "divisors/engine/divisor_vector.hpp"

namespace ntb::cli {

namespace {

std::string check(const Request& r) {
  return plot_usage_error(r, !r.value("--tau"),
                          "--plot draws the counts by k; it does not take --tau");
}

// The n <= N with K divisors, a row each: n sigma phi factors.
int list_with_tau(int32_t N, int32_t K, Channels& io) {
  io.out.header({"n", "sigma", "phi", "factors"});
  for_each_with_tau(N, K, [&](const DivisorClassRow& row) {
    io.out.field(row.n);
    io.out.field(row.sigma);
    io.out.field(row.phi);
    // 1 has no prime factor: an empty field in CSV, nothing in text.
    if (row.count > 0 || io.out.csv())
      io.out.list_field(row.p.data(), static_cast<size_t>(row.count));
    io.out.end_row();
    return true;
  });
  return 0;
}

int run(const Request& r, Channels& io) {
  const auto N = static_cast<int32_t>(r.numbers[0]);
  if (const auto tau = r.value("--tau")) return list_with_tau(N, static_cast<int32_t>(*tau), io);
  const DivisorVector v = divisor_vector_of(N, tables_as_built());
  const PlotLayout layout{command_title(r) + ": numbers n <= N by their divisors",
                          "k, the number of divisors",
                          "numbers n <= N with exactly k divisors",
                          true,
                          {{"numbers with k divisors", PlotStyle::kBoxes}},
                          1,
                          kVectorSlots};
  return print_or_plot(r, io, {"k", "count"}, layout, "no n up to " + std::to_string(N),
                       [&](auto&& emit) {
                         for (int32_t k = 1; k <= kVectorSlots; ++k)
                           if (v.slot[k] != 0) emit(k, v.slot[k]);
                       });
}

}  // namespace

const Command& divisor_counts_command() {
  static const Command row{
      "divisor-counts",
      "how many n <= N have each number of divisors",
      "For every k, how many n with 1 <= n <= N have exactly k divisors, k\n"
      "ascending, zero counts left out.  With --tau K, every n <= N with exactly K\n"
      "divisors in ascending order, all of them, each with its sum of divisors,\n"
      "its Euler function and its prime factors with repetition (columns: n sigma\n"
      "phi factors; in CSV the factors are one blank-separated field).",
      {{{Argument{"N", kDivisorVectorLeast}}}},
      {{"--tau",
        "list the n <= N with exactly K divisors, K >= 1",
        CommandOption::Kind::kNumber,
        {"K", kDivisorClassLeast}},
       plot_option("draw the counts against k into FILE (.svg, .png)")},
      "k count",
      check,
      run,
  };
  return row;
}

}  // namespace ntb::cli
