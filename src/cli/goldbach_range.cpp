// ntbench goldbach A B: the pair counts of every even n from A to B, all
// prime-pair counts of the range at once from one exact convolution, and
// Goldbach's comet, the picture of those counts, for every form of goldbach.
#include <algorithm>

#include "cli/plot_table.hpp"
#include "numtheory/goldbach/goldbach_convolution.hpp"

namespace ntb::cli {

// Up to this many rows the comet is drawn with discs: a dot, one pixel, is
// lost on a picture 1200 wide with a few hundred points.
constexpr Whole kFewRows = 2000;

PlotLayout comet_layout(const Request& r) {
  // x from the least to the greatest n asked for.
  const auto [least, greatest] = std::minmax_element(r.numbers.begin(), r.numbers.end());
  const bool none = r.numbers.empty();
  const bool few = r.numbers.size() != 2 || (r.numbers[1] - r.numbers[0]) / 2 < kFewRows;
  const PlotStyle style = few ? PlotStyle::kPoints : PlotStyle::kDots;
  PlotLayout layout{command_title(r) + ": Goldbach's comet",
                    "n (even)",
                    "unordered pairs {a, b} of odd numbers >= 3 with a + b = n",
                    false,
                    {{"pairs of primes", style}},
                    none ? 0.0 : static_cast<double>(*least),
                    none ? 0.0 : static_cast<double>(*greatest)};
  if (r.flag("--all")) {
    layout.series.push_back({"mixed pairs (a prime, a composite)", style});
    layout.series.push_back({"pairs of composites", style});
  }
  return layout;
}

int run_goldbach_range(const Request& r, Channels& io) {
  const std::string empty =
      "no even n from " + decimal_string(r.numbers[0]) + " to " + decimal_string(r.numbers[1]);
  return print_or_plot(r, io, {"n", "prime_pairs", "mixed_pairs", "composite_pairs"},
                       comet_layout(r), empty, [&](auto&& emit) {
                         const GoldbachRange range(static_cast<uint32_t>(r.numbers[0]),
                                                   static_cast<uint32_t>(r.numbers[1]));
                         range.each([&](const GoldbachRow& row) {
                           emit(row.n, row.prime_pairs, row.mixed_pairs, row.composite_pairs);
                         });
                       });
}

}  // namespace ntb::cli
