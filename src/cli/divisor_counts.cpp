// ntbench divisor-counts N: for every k, how many n <= N have exactly k
// divisors, from the workbench's counting pass on the tables as built (one
// prime count per prefix, no integer tested).  With --tau K: every n <= N
// with K divisors, ascending, from the segmented divisor sieve, with
// sigma(n), phi(n) and the prime factors with repetition.
#include "cli/plot_table.hpp"
#include "divisors/engine/divisor_classes.hpp"
#include "divisors/engine/divisor_vector.hpp"

namespace ntb::cli {

int run_divisor_counts(const Request& r, Channels& io) {
  const auto N = static_cast<int32_t>(r.numbers[0]);
  if (r.tau) {
    io.out.header({"n", "sigma", "phi", "factors"});
    const auto K = static_cast<int32_t>(*r.tau);
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
  const DivisorVector v = divisor_vector_of(N, tables_as_built());
  const PlotLayout layout{command_title("divisor-counts", r) + ": numbers n <= N by their divisors",
                          "k, the number of divisors",
                          "numbers n <= N with exactly k divisors",
                          true,
                          {{"numbers with k divisors", PlotStyle::kBoxes}},
                          1,
                          kVectorSlots};
  return print_or_plot(r, io, "divisor-counts", {"k", "count"}, layout, [&](auto&& emit) {
    for (int32_t k = 1; k <= kVectorSlots; ++k)
      if (v.slot[k] != 0) emit(k, v.slot[k]);
  });
}

}  // namespace ntb::cli
