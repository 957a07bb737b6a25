// ntbench goldbach N...: the pairs {a, b} of odd numbers >= 3 with a + b = N
// by kind, the counts of the workbench's first Goldbach entry on the tables
// as built.  With --list, the pairs of primes of one N; with two numbers,
// the range A..B (goldbach_range.cpp).
#include "cli/plot_table.hpp"
#include "goldbach/engine/counts.hpp"
#include "goldbach/engine/even_pairs.hpp"
#include "numtheory/goldbach/goldbach_convolution.hpp"

namespace ntb::cli {

namespace {

std::string check(const Request& r) {
  if (std::string wrong = plot_usage_error(r, !r.flag("--list"),
                                           "--plot draws the counts; it does not take --list");
      !wrong.empty())
    return wrong;
  if (r.flag("--all") && !r.flag("--plot")) return "--all needs --plot FILE";
  // The comet is the counts of every even n of a range: one N, or a few,
  // would be a picture of isolated dots.
  if (r.flag("--plot") && r.numbers.size() != 2)
    return "--plot draws Goldbach's comet of a range A B, got " + std::to_string(r.numbers.size()) +
           (r.numbers.size() == 1 ? " number" : " numbers");
  return "";
}

int run(const Request& r, Channels& io) {
  if (r.flag("--list")) {
    if (r.numbers.size() != 1) {
      io.error("ntbench goldbach: --list takes one N, got " + std::to_string(r.numbers.size()));
      return 2;
    }
    io.out.header({"a", "b"});
    for_each_prime_pair(static_cast<int32_t>(r.numbers[0]), [&](int32_t a, int32_t b) {
      io.out.row(a, b);
      return true;
    });
    return 0;
  }
  if (r.numbers.size() == 2) return run_goldbach_range(r, io);
  return print_or_plot(r, io, {"n", "prime_pairs", "mixed_pairs", "composite_pairs"},
                       comet_layout(r), "no N", [&](auto&& emit) {
                         for (const Whole n : r.numbers) {
                           const EvenPairs k = even_pairs_of(static_cast<int32_t>(n));
                           emit(static_cast<int64_t>(n), k.prime, k.mixed, k.composite);
                         }
                       });
}

}  // namespace

const Command& goldbach_command() {
  const Argument even_n{"N", kGoldbachLeast, kGoldbachTop, {}, true};
  static const Command row{
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
      {{{even_n}},
       {{Argument{"A", kGoldbachLeast, kGoldbachRangeTop},
         Argument{"B", kGoldbachLeast, kGoldbachRangeTop}},
        false,
        {{0, 1}}},
       {{even_n}, true}},
      {{"--list", "list the pairs of primes of one N (columns: a b)"},
       plot_option("with A B: draw Goldbach's comet into FILE (.svg, .png)"),
       {"--all", "with --plot: the mixed and composite pairs too"}},
      "n prime_pairs mixed_pairs composite_pairs",
      check,
      run,
  };
  return row;
}

}  // namespace ntb::cli
