// Goldbach entries 7, 8 and 9: the mixed pairs of one even N by scanning
// every composite (mixed1), the mixed pairs by the half-and-half method
// (mixed) and the composite pairs by the half-and-half method (composite).
// Each works out the cumulative total at N and at N - 2 and reports the
// difference.  The menu reads N; an N outside the even numbers 6..kGoldbachTop
// is read again here.
#include <string>

#include "goldbach/commands.hpp"
#include "goldbach/engine/engines.hpp"
#include "goldbach/report.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/interrupt.hpp"

namespace ntb {

namespace {

// Reads N again (into the menu variable, as the menu does) until it is
// accepted; N - 2 follows it.
int32_t accepted_N(Session& s, double& N, double& N2) {
  while (!accepted_even(N)) {
    s.io.asknum(s.choice);
    N = s.choice;
    N2 = N - 2;
  }
  return static_cast<int32_t>(N);
}

void column_heads(Io& io) {
  io.lst({std::string(41, '_')});
  io.lst({pad("       1             2         3        4        5", 59)});
  io.log("(1X,A75)", {pad("    1          2         3        4        5", 70)});
  io.log("(1X,A75)", {pad(std::string(61, '_'), 78)});
}

}  // namespace

void mixed1(Session& s, double& N, double& N2) {
  Io& io = s.io;
  const int32_t top = accepted_N(s, N, N2);
  io.both("(1X,A35,4F12.0)", {"calculate with total scanning for ", N, N2});
  const Counts c(s.t, top);
  double T[2];
  for (int pass = 0; pass < 2; ++pass) {
    const double n = pass == 0 ? N : N2;
    T[pass] = mixed_total_scan(static_cast<int32_t>(n), c);
    io.both("(1X,4F12.0)", {n, T[pass]});
    io.pause();
  }
  io.both("(1X,A20,1F10.0,A3,1F10.0)", {"total pairs mixed of ", N, " = ", T[0] - T[1]});
  io.rule();
  io.pause();
  io.pause();
}

void mixed(Session& s, double& N, double& N2) {
  Io& io = s.io;
  const int32_t top = accepted_N(s, N, N2);
  io.both("(1X,A45)", {"now find pair of mixed for"});
  io.both("(1X,4F12.0)", {N});
  const Counts c(s.t, top);
  double T[2];
  for (int pass = 0; pass < 2; ++pass) {
    const double n = pass == 0 ? N : N2;
    const int32_t ni = static_cast<int32_t>(n);
    io.both("(1X,A50,4F12.0)", {pad("calculating for", 28), n});
    io.rule();

    const double comb = mixed_first_half(ni, c);
    if (pass == 0) {
      const char* t = "total combinations between prime and composites for the first half of N = ";
      io.lst({t, list_whole(comb)});
      io.log("(1X,A76,4I10)", {t, WholeField(comb, 10)});
    } else {
      io.both("(1X,A76,4I10)",
              {"total combinations between prime and composites for the first half of N1 = ",
               WholeField(comb, 10)});
    }
    io.rule();
    io.pause();

    io.both("(1X,A45)", {"start scanning composites for the second half"});
    io.log("(1X,A75)", {pad("column 1 = sequential number(index of composite)", 85)});
    io.log("(1X,A75)", {pad("column 2 = conposite", 74)});
    io.log("(1X,A75)", {pad("column 3 =delta between n and conposite", 73)});
    io.log("(1X,A75)", {pad("column 4 = primes up to delta", 73)});
    io.log("(1X,A75)", {pad("column 5 = total number of pairs", 73)});
    io.scr("(1X,A75)", {pad("column 1 = sequential number(index of composite)", 112)});
    io.scr("(1X,A75)", {pad("column 2 = conposite", 75)});
    io.scr("(1X,A75)", {pad("column 3 = delta between n and conposite", 74)});
    io.scr("(1X,A75)", {pad("column 4 = primes up to delta", 72)});
    io.scr("(1X,A75)", {pad("column 5 = total number of pairs", 73)});
    column_heads(io);
    const HalfRow comp_row = [&](int32_t k, int32_t cv, int32_t d, int32_t primes, double running) {
      io.both("(1X,5I10)", {k, cv, d, primes, WholeField(running, 10)});
      int32_t quit = 0;
      io.pagestop(k, quit);
      return quit == 0;
    };
    const SideCount comp = mixed_composite_side(ni, c, &comp_row);
    if (comp.stopped) return;  // a quit abandons the run
    io.both("(1X,1F12.0,2I10,1F12.0)",
            {n, WholeField(comb, 10), WholeField(comp.count, 10), comb + comp.count});
    io.both("(1X,A45)", {"end scanning composites\t"});
    io.rule();
    io.pause();

    io.lst({"start scanning primes of the second half"});
    io.log("(1X,A45)", {"start scanning primes of the second half"});
    io.log("(1X,A45)", {pad("column 1 = sequential number(index of prime)", 81)});
    io.log("(1X,A75)", {pad("column 2 = prime", 74)});
    io.log("(1X,A75)", {pad("column 3 =delta between n and prime", 74)});
    io.log("(1X,A75)", {pad("column 4 = composites up to delta", 77)});
    io.log("(1X,A75)", {pad("column 5 = total number of pairs", 73)});
    io.scr("(1X,A75)", {pad("column 1 = sequential number(index of prime)", 108)});
    io.scr("(1X,A75)", {pad("column 2 = prime", 76)});
    io.scr("(1X,A75)", {pad("column 3 = delta between n and prime", 75)});
    io.scr("(1X,A75)", {pad("column 4 = composites up to delta", 76)});
    io.scr("(1X,A75)", {pad("column 5 = total number of pairs", 73)});
    column_heads(io);
    const HalfRow prime_row = [&](int32_t k, int32_t p, int32_t d, int32_t comps, double running) {
      interruption_point();  // this side has no page stops
      io.both("(1X,5I10)", {k, p, d, comps, WholeField(running, 10)});
      return true;
    };
    const SideCount prime = mixed_prime_side(ni, c, &prime_row);
    io.both("(1X,A76,4I10)", {"found for scanning primes ", WholeField(prime.count, 10)});
    T[pass] = comb + comp.count + prime.count;
    io.both("(1X,1F12.0,1I10,1F12.0)", {n, WholeField(prime.count, 10), T[pass]});
    io.pause();
    io.pause();
  }
  io.lst({"total pairs mixed of ", N, " = ", T[0] - T[1]});
  io.pause();
  io.lst({" for N = ", N});
  io.lst({"pairs of mixed from 6 to N ", T[0]});
  io.log("(1X,A50,4F12.0)", {"pairs of mixed from 6 to N ", T[0]});
  io.lst({"pairs of mixed from 6 to N-2", T[1]});
  io.log("(1X,A50,4F12.0)", {"pairs of mixed from 6 to N-2", T[1]});
  const int32_t pairs = saturate32(T[0] - T[1]);
  io.lst({"pairs of mixed of N ", pairs});
  io.log("(1X,A76,4I10)", {"pairs of mixed of N ", pairs});
  io.rule();
  io.pause();
  io.pause();
}

void composite(Session& s, double& N, double& N2) {
  Io& io = s.io;
  const int32_t top = accepted_N(s, N, N2);
  const std::string head = pad("number of composite\tpairs for N   =", 52);
  io.both("(1X,A50)", {head});
  io.both("(1X,4F10.0)", {N});
  io.both("(1X,A50)", {pad("total pairs are calculated for", 47)});
  io.both("(1X,4F10.0)", {N, N2});
  const Counts c(s.t, top);
  double T[2];
  for (int pass = 0; pass < 2; ++pass) {
    const double n = pass == 0 ? N : N2;
    const CompositePairTotal r = composite_pair_total(static_cast<int32_t>(n), c);
    const std::string comb_head = pad("combinations for 1/2(N)   =", 41);
    io.both("(1X,A50)", {comb_head});
    io.both("(1X,4F10.0)", {r.comb});
    io.both("(1X,A50)", {pad("total pairs for\t", 50)});
    T[pass] = r.total();
    io.both("(1X,4F10.0)", {n, T[pass]});
  }
  const int32_t pairs = saturate32(T[0] - T[1]);
  io.both("(1X,A30,1F10.0,A4,1I9)", {"total pairs composites of ", N, " = ", pairs});
  io.rule();
  io.pause();
}

}  // namespace ntb
