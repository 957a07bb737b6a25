// ntbench pi N...: pi(N), the number of primes up to N, for every N given,
// up to 10^31 (numtheory/count/prime_pi_64: prime_pi below 2^31, which
// needs only the primes up to sqrt(N), libprimecount above).
// With --step S the table of pi(x) at x = A, A + S, ... (pi_steps.cpp).
#include <string>

#include "cli/plot_table.hpp"
#include "cli/progress.hpp"
#include "cli/threads_option.hpp"
#include "numtheory/count/prime_pi_64.hpp"

namespace ntb::cli {

namespace {

std::string check(const Request& r) {
  if (r.value("--step")) {
    if (r.numbers.size() != 2)
      return "--step needs two numbers A B, got " + std::to_string(r.numbers.size());
    if (r.numbers[0] < 2 || r.numbers[1] > UINT64_MAX)
      return "A and B must be whole numbers from 2 to 18446744073709551615 with --step, got '" +
             decimal_string(r.numbers[r.numbers[0] < 2 ? 0 : 1]) + "'";
    if (r.numbers[0] > r.numbers[1])
      return "A must be at most B, got A = " + decimal_string(r.numbers[0]) +
             " and B = " + decimal_string(r.numbers[1]);
  }
  return plot_usage_error(r, r.value("--step").has_value(), "--plot needs --step S");
}

int run(const Request& r, Channels& io) {
  if (r.value("--step")) return run_pi_steps(r, io);
  io.out.header({"n", "pi"});
  const int threads = static_cast<int>(thread_count(r));
  for (const Whole n : r.numbers) {
    std::atomic<double> done{0};
    const Progress progress([&done] { return done.load(); }, status_line_wanted(r));
    io.out.row(n, pi_u128(n, threads, &done));
  }
  return 0;
}

}  // namespace

const Command& pi_command() {
  static const Command row{
      "pi",
      "the number of primes up to N",
      "pi(N), the number of primes <= N, for every N given (0 <= N <= 10^31).\n"
      "With --step S: pi(x) for x = A, A + S, ... up to B (2 <= A <= B <= 2^64 - 1),\n"
      "beside x/ln(x) and li(x), the logarithmic integral from 0 (not the offset\n"
      "form Li(x) = li(x) - li(2)); columns x pi x/ln(x) li(x), the reals with\n"
      "three decimals.  --plot FILE draws the three curves against x, and below\n"
      "them li(x) - pi(x) and pi(x) - x/ln(x).",
      {{{Argument{"N", 0, kPiU128Max}}, true}},
      {{"--step",
        "pi(x) at x = A, A + S, ... <= B, x/ln(x), li(x)",
        CommandOption::Kind::kNumber,
        {"S", 1}},
       plot_option("with --step: draw the three curves into FILE"),
       threads_option(),
       no_status_option()},
      "n pi",
      check,
      run,
  };
  return row;
}

}  // namespace ntb::cli
