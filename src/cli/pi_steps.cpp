// ntbench pi A B --step S: pi(x) at x = A, A + S, ... up to B, beside the
// two classic estimates x/ln(x) and li(x); with --plot, the three curves
// and below them the differences li(x) - pi(x) and pi(x) - x/ln(x).
// Up to 2^31 - 1 the steps come from PrimePiSteps; past it, pi(A) from
// prime_pi_64 and each next x from the count of the primes of the step.
// A progress line counts the rows done.
#include <atomic>
#include <cmath>
#include <string>
#include <utility>

#include "cli/plot_table.hpp"
#include "cli/progress.hpp"
#include "cli/threads_option.hpp"
#include "numtheory/count/logarithmic_integral.hpp"
#include "numtheory/count/prime_pi.hpp"
#include "numtheory/count/prime_pi_64.hpp"
#include "numtheory/count/prime_pi_steps.hpp"
#include "numtheory/sieve/range_scan.hpp"

namespace ntb::cli {

int run_pi_steps(const Request& r, Channels& io) {
  const auto a = static_cast<uint64_t>(r.numbers[0]), b = static_cast<uint64_t>(r.numbers[1]);
  const auto step = static_cast<uint64_t>(*r.value("--step"));
  std::string title = command_title(r);
  title += " --step ";
  title += std::to_string(step);
  title += ": pi(x) against x/ln(x) and li(x)";
  const PlotLayout layout{std::move(title),
                          "x",
                          "primes up to x",
                          false,
                          {{"pi(x)", PlotStyle::kLines},
                           {"x/ln(x)", PlotStyle::kLines},
                           {"li(x)", PlotStyle::kLines},
                           {"li(x) - pi(x)", PlotStyle::kLines},
                           {"pi(x) - x/ln(x)", PlotStyle::kLines}},
                          static_cast<double>(a),
                          static_cast<double>(b),
                          3,
                          "difference"};
  return print_or_plot(
      r, io, {"x", "pi", "x/ln(x)", "li(x)"}, layout,
      "no x from " + decimal_string(a) + " to " + decimal_string(b), [&](auto&& emit) {
        const auto emit_x = [&](uint64_t x, uint64_t pi) {
          const auto real = static_cast<double>(x), estimate = real / std::log(real);
          const double li = logarithmic_integral(real), count = static_cast<double>(pi);
          emit(x, pi, estimate, li, li - count, count - estimate);
        };
        // The progress line counts the rows done, with the part done of the
        // count of the row under way.
        const double rows = static_cast<double>((b - a) / step) + 1;
        std::atomic<uint64_t> rows_done{0};
        std::atomic<double> part{0};
        const Progress progress(
            [&] { return (static_cast<double>(rows_done.load()) + part.load()) / rows; },
            status_line_wanted(r));
        if (b <= static_cast<uint64_t>(kPrimePiMax)) {
          PrimePiSteps steps(a, b, step);
          uint64_t x = 0, pi = 0, row = 0;
          while (steps.next(x, pi)) {
            rows_done.store(++row, std::memory_order_relaxed);
            emit_x(x, pi);
          }
          return;
        }
        const int threads = static_cast<int>(thread_count(r));
        uint64_t x = a, pi = prime_pi_64(a, threads, &part);
        for (;;) {
          part = 0;
          ++rows_done;
          emit_x(x, pi);
          if (b - x < step) break;
          pi += count_primes(x + 1, x + step, threads, &part);
          x += step;
        }
      });
}

}  // namespace ntb::cli
