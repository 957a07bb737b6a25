// The inclusion-exclusion command: the dialogue, one report row per term
// with the running total sr1, the set line and pause of each prime up to
// sqrt(N), and the final report, Phi(N) = z11 - sr1 + N - 1 (or, once 2, 3,
// 5 and 7 have been taken out of y, the count from the reduced terms).
//
// Without rows the totals are summed set by set, not term by term.
//
// Every N the dialogue accepts runs to its end: the set subtotals come from
// the running totals as each set closes, so there is no bound on the number
// of primes up to sqrt(N).
#include <cmath>
#include <optional>
#include <string>

#include "methods/commands.hpp"
#include "methods/engine/inclusion_terms.hpp"
#include "methods/engine/inclusion_totals.hpp"
#include "methods/report_text.hpp"
#include "numtheory/count/free_of_2357.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

namespace {

constexpr std::string_view kPrintAsk = "Print all data enter 0 part of data enter 1";
constexpr std::string_view kRowLayout = "(2I9,2F9.0,1I9)";
constexpr std::string_view kSetLayout = "(A6,1F10.0,A20,1I10,A3,2I10)";
constexpr int kShortRowLevel = 8;  // rows from this level on carry four columns

void write_legend_to(Io& io, bool screen) {
  static const std::string lines[] = {
      pad("column 1 = sequential number of operatiom", 80),
      "column 2 = combination of primes.-Operation multiplication\t\t\t\t\t" + repeated(' ', 13),
      pad("column 3 = sequential total" + repeated(' ', 12) + repeated('\t', 9), 73),
      "column 4 = result on one block for one loop. K1,k2,k3...\t\t\t\t\t\t" + repeated(' ', 20),
      pad("NOTE:each prime up to sqrt of N is elaborated,when complete its set", 80),
      pad("\t\tand subtotals are printed", 77),
  };
  static const std::string heading = pad("      1        2         3         4", 66);
  static const std::string underline = repeated('_', 56) + repeated(' ', 12);
  for (const auto& l : lines) {
    if (screen)
      io.scr("(1X,A75)", {l});
    else
      io.log("(1X,A75)", {l});
  }
  for (const auto* l : {&heading, &underline}) {
    if (screen)
      io.scr("(1X,A60)", {*l});
    else
      io.log("(1X,A60)", {*l});
  }
}

// A whole number as an I10 field shows it, for totals that may pass 32 bits.
std::string i10(int64_t v) {
  std::string digits = std::to_string(v);
  if (digits.size() > 10) return repeated('*', 10);
  return pad("", 10 - digits.size()) + digits;
}

// "(A45,4I10)" with a text and two totals.  The totals of the terms pass
// 32 bits for N above some hundreds of millions; such a line is written
// with the same columns through text fields.
void write_totals(Io& io, bool screen, std::string_view text, int64_t a, int64_t b) {
  const bool fits = a >= INT32_MIN && a <= INT32_MAX && b >= INT32_MIN && b <= INT32_MAX;
  if (fits) {
    const auto a32 = static_cast<int32_t>(a), b32 = static_cast<int32_t>(b);
    if (screen)
      io.scr("(A45,4I10)", {text, a32, b32});
    else
      io.log("(A45,4I10)", {text, a32, b32});
    return;
  }
  const std::string fa = i10(a), fb = i10(b);
  if (screen)
    io.scr("(A45,2A10)", {text, fa, fb});
  else
    io.log("(A45,2A10)", {text, fa, fb});
}

class Report final : public InclusionVisitor {
 public:
  Report(Io& io, int32_t choice) : io_(io), choice_(choice) {}

  void set_done(int32_t index, int32_t prime, int32_t subtotal) override {
    const double i = index;
    io_.both(kSetLayout, {"set N", i, " relevant to prime ", prime, " = ", subtotal});
  }

  // Between two sets of terms (a set takes about a millisecond of work).
  void pass(int32_t) override {
    interruption_point();
    io_.pause();
  }

  bool term(const InclusionTerm& t) override {
    if (choice_ != 0) return true;
    if (t.level < kShortRowLevel) {
      io_.both(kRowLayout, {t.row, t.combination, t.sr1, t.term, t.reduced});
    } else {
      io_.both(kRowLayout, {t.row, t.combination, t.sr1, t.term});
    }
    io_.pagestop(t.row, quit_);
    return quit_ == 0;
  }

 private:
  Io& io_;
  int32_t choice_;
  int32_t quit_ = 0;
};

}  // namespace

void inclusion(Session& s) {
  Io& io = s.io;
  static const std::string suggested = pad("suggested N < 2000000", 63);
  static const std::string calculate =
      pad("calculate Phi(N) with inclusion exclusion method for N =", 63);

  double N = 0;
  int32_t n = 0, choice = 0;
  for (;;) {
    io.both("(1X,A75)", {suggested});
    io.both("(1X,A75)", {calculate});
    n = io.asknum();
    N = n;
    io.log("(4F10.0)", {N});
    io.lst({kPrintAsk});
    io.log("(1X,A75)", {kPrintAsk});
    choice = io.asknum();
    io.log("(8I7)", {choice});
    if (n >= kInclusionLeast) break;
  }

  static const std::string opening = repeated('_', 11) + repeated(' ', 23);
  io.log("(1X,A40,2F11.0)", {opening});
  if (choice == 0) {
    write_legend_to(io, false);
    write_legend_to(io, true);
  }

  // Without rows the totals come from the sums over whole sets of terms;
  // the rows, and a table the sums do not cover, take the walk.
  Report report(io, choice);
  std::optional<InclusionResult> fast;
  if (choice != 0) fast = inclusion_totals(N, s.t, s.no2357 == 1, report);
  const InclusionResult res = fast ? *fast : inclusion_terms(N, s.t, s.no2357 == 1, report);
  if (!res.completed) return;  // q at a page stop

  if (s.no2357 == 0) {
    static const std::string sr1_scr = pad("sr1 =totalizer of multiples", 37);
    static const std::string sr1_log = pad("sr1  = totalizer of multiples", 38);
    static const std::string totals_scr = pad(" negative and positive results", 66);
    static const std::string totals_log = pad("negative and positive results", 67);
    static const std::string combinations = pad("Number of combinations", 63);
    static const std::string calculated = pad("N and number of primes calculated", 37);
    static const std::string binary = pad("with binary search", 37);
    static const std::string sum_scr = pad(" sum of positive and negative results", 63);
    static const std::string sum_log = pad(" sumn of positive and negative results", 63);
    io.scr("(1X,A40,2F11.0)", {sr1_scr, res.sr1});
    io.log("(1X,A40,2F11.0)", {sr1_log, res.sr1});
    write_totals(io, true, totals_scr, res.negative, res.positive);
    write_totals(io, false, totals_log, res.negative, res.positive);
    io.both("(A45,4I10)", {combinations, res.terms});
    const double primes = res.primes_upto(N);
    io.both("(1X,A40,2F11.0)", {calculated, N, primes});
    if (N <= kTableExtent) {  // y answers prime counts up to here
      int32_t b = n;
      const double found = findp(b, s.t);
      io.both("(1X,A40,2F11.0)", {binary, found});
      // Up to kTableExtent the totals stay far inside 32 bits.
      const int32_t sum = saturate32(res.positive + res.negative);
      io.scr("(A45,4I10)", {sum_scr, sum});
      io.log("(A45,4I10)", {sum_log, sum});
    }
    io.rule();
  }
  io.pause();
  io.pause();

  if (s.no2357 == 1) {
    // y starts at 11: sr1 counted the multiples free of 2, 3, 5 and 7.
    static const std::string reduce_scr = pad("reduce of N -sr1+z11+4-1 =", 54);
    static const std::string reduce_log = pad("reduce of N -sr1+z11+4-1 =", 53);
    static const std::string values = pad("N,reduced,sr1,z11  =", 22);
    const int32_t reduced = free_of_2357(n);
    const int32_t sr1 = saturate32(res.sr1);
    const int32_t count = saturate32(static_cast<int64_t>(res.z11) - sr1 + reduced + 3);
    io.scr("(A45,4I10)", {reduce_scr, count});
    io.log("(A45,4I10)", {reduce_log, count});
    io.both("(A45,4I10)", {values, n, reduced, sr1, res.z11});
  }

  static const std::string end = pad("end inclusion exclusion method", 49);
  io.log("(1X,A45)", {end});
  io.rule();
}

}  // namespace ntb
