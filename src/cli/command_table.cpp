// The table of the one-shot commands (see command_table.hpp).  A row says
// everything the command line and the help need; the command's own file
// computes and writes the rows of its answer.
#include "cli/command_table.hpp"

#include <string>

#include "cli/plot_table.hpp"
#include "divisors/engine/divisor_classes.hpp"
#include "divisors/engine/divisor_vector.hpp"
#include "goldbach/engine/counts.hpp"
#include "methods/engine/inclusion_terms.hpp"
#include "numtheory/goldbach/goldbach_convolution.hpp"

namespace ntb::cli {

namespace {

// --plot FILE: the table drawn into FILE by gnuplot, SVG or PNG by its extension.
CommandOption plot_option(std::string_view help) {
  return {"--plot", help, nullptr, nullptr, {"FILE"}, &Request::plot};
}
const CommandOption step_option{
    "--step", "pi(x) at x = A, A + S, ... <= B, x/ln(x), li(x)", nullptr, &Request::step, {"S", 1}};

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
  return plot_usage_error(r, r.step.has_value(), "--plot needs --step S");
}

std::string check_gaps(const Request& r) {
  return plot_usage_error(r, r.histogram, "--plot needs --histogram");
}

std::string check_goldbach(const Request& r) {
  if (r.all && r.plot.empty()) return "--all needs --plot FILE";
  return plot_usage_error(r, !r.list, "--plot draws the counts; it does not take --list");
}

std::string check_divisor_counts(const Request& r) {
  return plot_usage_error(r, !r.tau, "--plot draws the counts by k; it does not take --tau");
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
       {step_option, plot_option("with --step: draw the three curves into FILE")},
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
      {Command::kDivisorCounts,
       "divisor-counts",
       "how many n <= N have each number of divisors",
       "For every k, how many n with 1 <= n <= N have exactly k divisors, k\n"
       "ascending, zero counts left out.  With --tau K, every n <= N with exactly K\n"
       "divisors in ascending order, all of them, each with its sum of divisors,\n"
       "its Euler function and its prime factors with repetition (columns: n sigma\n"
       "phi factors; in CSV the factors are one blank-separated field).",
       {{{Argument{"N", kDivisorVectorLeast}}}},
       {{"--tau", "list the n <= N with exactly K divisors, K >= 1", nullptr, &Request::tau,
         Argument{"K", kDivisorClassLeast}},
        plot_option("draw the counts against k into FILE (.svg, .png)")},
       "k count",
       check_divisor_counts},
      {Command::kGoldbach,
       "goldbach",
       "the pairs of odd numbers with an even sum N, by kind",
       "For every even N given, the unordered pairs {a, b} of odd numbers a, b >= 3\n"
       "with a + b = N, counted by kind: both prime, one prime and one composite\n"
       "(mixed), both composite.  N goes up to 2000000, the extent of the\n"
       "workbench's tables.  With --list (one N), the pairs of primes a b, a <= b,\n"
       "a ascending (columns: a b).\n"
       "With two numbers A B: the counts of every even n with A <= n <= B, for B up\n"
       "to 8000000 (all pairs of primes of the range at once, from one exact\n"
       "convolution).  --plot FILE draws Goldbach's comet, n against its pairs of\n"
       "primes, one dot per n; --all adds the mixed pairs and the pairs of\n"
       "composites.",
       {{{Argument{"N", kGoldbachLeast, kGoldbachTop, {}, true}}},
        {{Argument{"A", kGoldbachLeast, kGoldbachRangeTop},
          Argument{"B", kGoldbachLeast, kGoldbachRangeTop}},
         false,
         {{0, 1}}},
        {{Argument{"N", kGoldbachLeast, kGoldbachTop, {}, true}}, true}},
       {{"--list", "list the pairs of primes of one N (columns: a b)", &Request::list},
        plot_option("draw Goldbach's comet into FILE (.svg, .png)"),
        {"--all", "with --plot: the mixed and composite pairs too", &Request::all}},
       "n prime_pairs mixed_pairs composite_pairs",
       check_goldbach},
      {Command::kTriplets,
       "triplets",
       "the primitive Pythagorean triplets of the workbench",
       "The fifteen primitive Pythagorean triplets a^2 + b^2 = c^2 that the\n"
       "workbench lists: a = 2mn, b = m^2 - n^2, c = m^2 + n^2 for 1 <= n < m <= 8\n"
       "of opposite parity, m = 6, n = 3 left out.",
       {{{}}},
       {},
       "a b c"},
      {Command::kSteps,
       "steps",
       "the terms of the step-by-step prime counts up to N",
       "The terms of one of the two step-by-step counts of the primes up to N, one\n"
       "a row, then Phi(N), the number of primes up to N, in a last row labelled\n"
       "Phi(N).\n"
       "inclusion (N from 9): for every set of distinct primes p1 > ... > pL with p1\n"
       "<= sqrt(N) and product c <= N, the term +-floor(N/c) (+ for odd L) and the\n"
       "running total sr1; Phi(N) = pi(sqrt N) - sr1 + N - 1.\n"
       "reverse: for every product c of primes q1 <= ... <= qm (the combination,\n"
       "last prime p = qm) with c*p <= N, the count of the composites c*q with a prime\n"
       "q from p up to N/c, and the running total s1; Phi(N) = N - 1 - s1.",
       {{{Argument{"METHOD", 0, 1, {"inclusion", "reverse"}}, Argument{"N"}}}},
       {},
       "row level combination term sr1 (inclusion),\n"
       "         row combination prime quotient count s1 (reverse), then Phi(N)"},
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
