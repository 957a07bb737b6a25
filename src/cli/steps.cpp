// ntbench steps inclusion|reverse N: the terms of the two step-by-step
// counts of the primes up to N, one a row as the workbench's "all data"
// listings make them on the tables as built, then Phi(N).
#include <cmath>
#include <string>

#include "cli/command.hpp"
#include "methods/engine/inclusion_terms.hpp"
#include "methods/engine/reverse_rows.hpp"

namespace ntb::cli {

namespace {

// The last row: its label in the first column, Phi(N) in the last one (the
// columns between are empty in CSV, left out in text).
void phi_row(Output& out, int64_t N, double phi, int columns) {
  out.field(std::string("Phi(") + std::to_string(N) + ")");
  if (out.csv())
    for (int i = 2; i < columns; ++i) out.field("");
  out.field(static_cast<int64_t>(phi));
  out.end_row();
}

class InclusionRows final : public InclusionVisitor {
 public:
  explicit InclusionRows(Output& out) : out_(out) {}
  void set_done(int32_t, int32_t, int32_t) override {}
  void pass(int32_t) override {}
  bool term(const InclusionTerm& t) override {
    out_.row(t.row, t.level, t.combination, static_cast<int64_t>(t.term),
             static_cast<int64_t>(t.sr1));
    return true;
  }

 private:
  Output& out_;
};

class ReverseRows final : public ReverseVisitor {
 public:
  explicit ReverseRows(Output& out) : out_(out) {}
  bool row(const ReverseRow& r) override {
    out_.row(r.row, static_cast<int64_t>(std::llround(r.comb)), r.prime, static_cast<int64_t>(r.k),
             r.value, static_cast<int64_t>(r.s1));
    return true;
  }
  void set_done(int32_t, int32_t, int32_t, int32_t) override {}

 private:
  Output& out_;
};

int run(const Request& r, Channels& io) {
  const bool inclusion = r.numbers[0] == 0;
  const auto N = static_cast<int64_t>(r.numbers[1]);
  const Tables& t = tables_as_built();
  if (inclusion) {
    if (N < kInclusionLeast) {
      io.error("ntbench steps: N must be a whole number from " + std::to_string(kInclusionLeast) +
               " to 2147483647 for inclusion, got '" + std::to_string(N) + "'");
      return 2;
    }
    io.out.header({"row", "level", "combination", "term", "sr1"});
    InclusionRows rows(io.out);
    const InclusionResult res = inclusion_terms(static_cast<double>(N), t, false, rows);
    phi_row(io.out, N, res.primes_upto(static_cast<double>(N)), 5);
    return 0;
  }
  io.out.header({"row", "combination", "prime", "quotient", "count", "s1"});
  ReverseRows rows(io.out);
  const ReverseResult res = reverse_rows(static_cast<double>(N), t, rows);
  phi_row(io.out, N, res.primes_upto(static_cast<double>(N)), 6);
  return 0;
}

}  // namespace

const Command& steps_command() {
  static const Command row{
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
      "         row combination prime quotient count s1 (reverse), then Phi(N)",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
