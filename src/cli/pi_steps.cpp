// ntbench pi A B --step S: pi(x) at x = A, A + S, ... up to B, beside the
// two classic estimates x/ln(x) and li(x); with --plot, the three curves.
#include <cmath>
#include <string>
#include <utility>

#include "cli/plot_table.hpp"
#include "numtheory/count/logarithmic_integral.hpp"
#include "numtheory/count/prime_pi_steps.hpp"

namespace ntb::cli {

int run_pi_steps(const Request& r, Channels& io) {
  const auto a = static_cast<uint64_t>(r.numbers[0]), b = static_cast<uint64_t>(r.numbers[1]);
  const auto step = static_cast<uint64_t>(*r.value("--step"));
  std::string title = command_title(r);
  title += " --step ";
  title += std::to_string(step);
  title += ": pi(x) against x/ln(x) and li(x)";
  const PlotLayout layout{
      std::move(title),
      "x",
      "primes up to x",
      false,
      {{"pi(x)", PlotStyle::kLines}, {"x/ln(x)", PlotStyle::kLines}, {"li(x)", PlotStyle::kLines}},
      static_cast<double>(a),
      static_cast<double>(b)};
  return print_or_plot(r, io, {"x", "pi", "x/ln(x)", "li(x)"}, layout,
                       "no x from " + std::to_string(a) + " to " + std::to_string(b),
                       [&](auto&& emit) {
                         PrimePiSteps steps(a, b, step);
                         uint64_t x = 0, pi = 0;
                         while (steps.next(x, pi)) {
                           const auto real = static_cast<double>(x);
                           emit(x, pi, real / std::log(real), logarithmic_integral(real));
                         }
                       });
}

}  // namespace ntb::cli
