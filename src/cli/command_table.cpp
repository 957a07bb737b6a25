// The table of the one-shot commands (see command_table.hpp).  A row says
// everything the command line and the help need; the command's own file
// computes and writes the rows of its answer.
#include "cli/command_table.hpp"

#include <string>

#include "cli/plot_table.hpp"

namespace ntb::cli {

namespace {

// --plot FILE: the table drawn into FILE by gnuplot, SVG or PNG by its extension.
CommandOption plot_option(std::string_view help) {
  return {"--plot", help, nullptr, nullptr, {"FILE"}, &Request::plot};
}
const CommandOption step_option{"--step",
                                "pi(x) at x = A, A + S, ... up to B, with x/ln(x) and li(x)",
                                nullptr,
                                &Request::step,
                                {"S", 1}};

std::string check_pi(const Request& r) {
  if (r.step) {
    if (r.numbers.size() != 2)
      return "--step needs two numbers A B, got " + std::to_string(r.numbers.size());
    if (r.numbers[0] < 2)
      return "A must be a whole number from 2 to 2147483647 with --step, got '" +
             std::to_string(r.numbers[0]) + "'";
    if (r.numbers[0] > r.numbers[1])
      return "A must be at most B, got A = " + std::to_string(r.numbers[0]) +
             " and B = " + std::to_string(r.numbers[1]);
  }
  return plot_usage_error(r, r.step.has_value(), "--step S");
}

std::string check_gaps(const Request& r) {
  return plot_usage_error(r, r.histogram, "--histogram");
}

std::vector<CommandInfo> build_table() {
  const Argument n{"N"};
  const Argument a{"A"};
  const Argument b{"B"};
  const Argument positive{"N", 1};
  return {
      {Command::kPi,
       "pi",
       "the number of primes up to N",
       "pi(N), the number of primes <= N, for every N given.\n"
       "With --step S: pi(x) for x = A, A + S, ... up to B (2 <= A <= B), beside\n"
       "x/ln(x) and li(x), the logarithmic integral from 0 (not the offset form\n"
       "Li(x) = li(x) - li(2)); columns x pi x/ln(x) li(x), the reals with three\n"
       "decimals.  --plot FILE draws the three curves against x.",
       {{{n}, true}},
       {step_option, plot_option("with --step: draw pi(x), x/ln(x) and li(x) into FILE")},
       "n pi",
       check_pi},
      {Command::kPrimes,
       "primes",
       "the primes from A to B with their indexes",
       "Every prime p with A <= p <= B, with its index pi(p) (2 has index 1).",
       {{{a, b}, false, {{0, 1}}}},
       {{"--count", "print only how many there are (column: count)", &Request::count}},
       "index prime"},
      {Command::kGaps,
       "gaps",
       "pairs of consecutive primes with a given gap",
       "Every pair of consecutive primes p < q with A <= p and q <= B whose gap\n"
       "q - p is G, or lies in G1..G2.\n"
       "With --histogram: for each gap g in G1..G2 that occurs, how many such\n"
       "pairs have it (columns gap count, gaps that do not occur left out).\n"
       "--plot FILE draws the histogram with a logarithmic count axis.",
       {{{{"G"}, a, b}, false, {{1, 2}}}, {{{"G1"}, {"G2"}, a, b}, false, {{0, 1}, {2, 3}}}},
       {{"--histogram", "count the pairs of each gap (columns: gap count)", &Request::histogram},
        plot_option("with --histogram: draw the histogram into FILE")},
       "index_p p index_q q gap",
       check_gaps},
      {Command::kTwins,
       "twins",
       "the twin primes from A to B",
       "Every pair of twin primes p, p + 2 with A <= p and p + 2 <= B: gaps 2 A B.",
       {{{a, b}, false, {{0, 1}}}},
       {},
       "index_p p index_q q gap"},
      {Command::kFactor,
       "factor",
       "the prime factors of N",
       "The prime factors of every N given, with repetition, ascending, as\n"
       "'720720: 2 2 2 2 3 3 5 7 11 13'.  With no N the numbers are read from\n"
       "standard input, separated by blanks or line ends; a token that is not a\n"
       "whole number in range is named on standard error, the others are still\n"
       "answered, and the status is then 1.  In CSV the factors are one field.",
       {{{}}, {{n}, true}},
       {},
       "n factors"},
      {Command::kTotient,
       "totient",
       "Euler's function of N",
       "Euler's function phi(N), the count of 1 <= k <= N prime to N, for every N\n"
       "given; with no N, the numbers are read from standard input as for factor.",
       {{{}}, {{positive}, true}},
       {},
       "n phi"},
      {Command::kDivisors,
       "divisors",
       "the divisors of N",
       "The divisors of N in ascending order, one a line.",
       {{{positive}}},
       {{"--summary", "print only N, tau(N), sigma(N) (columns: n tau sigma)", &Request::summary}},
       "divisor"},
  };
}

}  // namespace

const std::vector<CommandInfo>& command_table() {
  static const std::vector<CommandInfo> table = build_table();
  return table;
}

const CommandInfo* find_command(std::string_view name) {
  for (const CommandInfo& c : command_table())
    if (c.name == name) return &c;
  return nullptr;
}

const CommandInfo* find_command(Command command) {
  for (const CommandInfo& c : command_table())
    if (c.command == command) return &c;
  return nullptr;
}

}  // namespace ntb::cli
