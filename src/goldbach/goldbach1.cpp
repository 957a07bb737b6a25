// Goldbach entry 1: the pairs of odd numbers of one even N, by kind.  Two
// passes give column 5 at N and at N - 2, whose difference is the number of
// prime pairs; the mixed and composite counts follow from it.  Then the
// three kinds can be listed; a quit at any pager stop asks for a new N.
#include <algorithm>
#include <string>

#include "goldbach/commands.hpp"
#include "goldbach/engine/engines.hpp"
#include "goldbach/report.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

namespace {

const std::string kUnder41(41, '_');
const std::string kUnder61(61, '_');

void legend(Io& io) {
  static const char* const kLines[] = {
      "column 1 = N and N-2",
      "column 2 = ((x^2+x)/2) applied to Phi(N/2)-1 and Phi((N-2)/2)-1",
      "column 3 = values for ((Phi(N/2)-1)*((Phi(N)-1)-Phi(N/2))",
      "column 4 = value of pairs found after N/2",
      "column 5 = values for column 2 + column 4",
  };
  for (const char* l : kLines) io.both("(1X,A75)", {pad(l, 73)});
  io.lst({kUnder41});
  io.lst({pad("   1              2           3           4            5", 65)});
  io.log("(1X,A75)", {pad("    1             2           3           4            5", 79)});
  io.log("(1X,A75)", {pad(kUnder61, 78)});
}

// A yes/no question answered by one key: false for N or n.
bool wants(Io& io, const char* question) {
  io.lst({question});
  const char a = io.getkey();
  return a != 'N' && a != 'n';
}

// One listing row on both channels, then the pager; false on a quit.
bool row_out(Io& io, int32_t running, int32_t a, int32_t b) {
  io.lst({running, a, b});
  io.log("(8I7)", {running, a, b});
  int32_t quit = 0;
  io.pagestop(running, quit);
  return quit == 0;
}

}  // namespace

void Goldbach1(Session& s) {
  Io& io = s.io;
  static CompositeBuffer buf;  // the larger members of the composite pairs
  for (;;) {
    int32_t N = 0;
    do {
      io.lst({" Even Number ? >10,<=2000000"});
      io.asknum(N);
    } while (!accepted_even(N));
    io.log("(1X,A40,2F11.0)", {pad("Calculate pairs for N=", 35)});
    io.log("(8I7)", {N});
    io.log("(1X,A40,2F11.0)", {pad("___________", 34)});

    const Counts c(s.t, N);
    double col5[2] = {0, 0};
    for (int pass = 0; pass < 2; ++pass) {
      const int32_t n = N - 2 * pass;
      const bool detail = pass == 0 && N < 49;
      if (detail) {
        io.lst({pad("scanning for", 14), N});
        io.log("(A45,5I10)", {pad("scanning for", 14), N});
      }
      const ScanDetail show = [&](int32_t p, int32_t d, int32_t primes, double scan) {
        const int32_t sc = saturate32(scan);
        io.lst({N, p, d, primes, sc});
        io.log("(1X,6I5)", {N, p, d, primes, sc});
      };
      const PrimePairTotal r = prime_pair_total(n, c, detail ? &show : nullptr);
      if (pass == 0) legend(io);
      io.both("(1I8,5F13.0)", {n, r.col2, r.col3, r.col4, r.col5});
      col5[pass] = r.col5;
    }

    const OddPairCounts k = odd_pair_counts(N, col5[0], col5[1], c);
    io.log("(1X,A75)", {pad(kUnder61, 76)});
    io.lst({"pairs of primes=difference of column 5", k.P});
    io.log("(A45,5I10)", {pad("pairs of primes=delta of column 5", 46), k.P});
    io.lst({pad("pairs of mixed(see source)=", 41), k.M});
    io.log("(A45,5I10)", {pad("pairs of mixed(see source)=", 44), k.M});
    io.both("(1X,A40,2F11.0)", {pad("pairs of conposites=", 43), k.C});
    io.both("(1X,A40,2F11.0)", {pad("total pairs of odds(see source)", 57), k.T});
    io.log("(1X,A45)", {std::string(54, '=')});
    io.pause();

    const PairRow row = [&](int32_t running, int32_t a, int32_t b) {
      return row_out(io, running, a, b);
    };

    if (!wants(io, "do you want io see the pairs of primes ?  yes=(any key) or Not= n/N")) return;
    io.log("(A45,5I10)", {pad("pairs of primes for N=", 32)});
    io.log("(8I7)", {N});
    if (!prime_pair_listing(N, c, row)) continue;
    io.rule();
    io.pause();

    if (!wants(io, "do you want to see the pairs of mixed?  yes=(any key) or Not= n/N")) return;
    io.log("(A45,5I10)", {pad("pairs of mixed for N=", 32)});
    io.log("(8I7)", {N});
    if (!mixed_pair_listing(N, c, buf, &row)) continue;
    io.rule();
    io.pause();

    if (!wants(io, "do you want io see the pairs of composites?  yes = any key) no= N/n")) return;
    io.log("(1X,A40,2F11.0)", {pad("pairs of conposites for N=", 36)});
    io.log("(8I7)", {N});
    // The buffer holds every larger member for the tables as built; an
    // edited table may ask for more rows than it holds.
    const int32_t rows = std::min(saturate32(k.C), CompositeBuffer::kCapacity);
    bool quit = false;
    for (int32_t r = 1; r <= rows && !quit; ++r) quit = !row(r, buf.v[r], N - buf.v[r]);
    if (quit) continue;
    io.rule();
    return;
  }
}

}  // namespace ntb
