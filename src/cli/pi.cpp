// ntbench pi N...: pi(N), the number of primes up to N, for every N given.
// prime_pi needs only the primes up to sqrt(N), not the workbench's tables.
// With --step S the table of pi(x) at x = A, A + S, ... (pi_steps.cpp).
#include <string>

#include "cli/plot_table.hpp"
#include "numtheory/count/prime_pi.hpp"

namespace ntb::cli {

namespace {

std::string check(const Request& r) {
  if (r.value("--step")) {
    if (r.numbers.size() != 2)
      return "--step needs two numbers A B, got " + std::to_string(r.numbers.size());
    if (r.numbers[0] < 2)
      return "A must be a whole number from 2 to 2147483647 with --step, got '" +
             decimal_string(r.numbers[0]) + "'";
    if (r.numbers[0] > r.numbers[1])
      return "A must be at most B, got A = " + decimal_string(r.numbers[0]) +
             " and B = " + decimal_string(r.numbers[1]);
  }
  return plot_usage_error(r, r.value("--step").has_value(), "--plot needs --step S");
}

int run(const Request& r, Channels& io) {
  if (r.value("--step")) return run_pi_steps(r, io);
  io.out.header({"n", "pi"});
  for (const Whole n : r.numbers) io.out.row(n, prime_pi(static_cast<int64_t>(n)));
  return 0;
}

}  // namespace

const Command& pi_command() {
  static const Command row{
      "pi",
      "the number of primes up to N",
      "pi(N), the number of primes <= N, for every N given.\n"
      "With --step S: pi(x) for x = A, A + S, ... up to B (2 <= A <= B), beside\n"
      "x/ln(x) and li(x), the logarithmic integral from 0 (not the offset form\n"
      "Li(x) = li(x) - li(2)); columns x pi x/ln(x) li(x), the reals with three\n"
      "decimals.  --plot FILE draws the three curves against x.",
      {{{Argument{"N"}}, true}},
      {{"--step",
        "pi(x) at x = A, A + S, ... <= B, x/ln(x), li(x)",
        CommandOption::Kind::kNumber,
        {"S", 1}},
       plot_option("with --step: draw the three curves into FILE")},
      "n pi",
      check,
      run,
  };
  return row;
}

}  // namespace ntb::cli
