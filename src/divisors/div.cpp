// div (divisors_of_one), divisors-submenu entry 2: the divisors of one
// number N in ascending order, numbered from 1, and their sum.  A number
// with no entry of y up to its square root among its divisors (a prime, or
// 0 to 3) is announced as "primo" and lists nothing.  A 1 put into y by an
// edit divides every N it is tested against (in y(1), every N from 1 up),
// which then lists its divisors; a 0 is passed over.
#include "divisors/commands.hpp"
#include "divisors/engine/divisor_pairs.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

namespace {

// True when some entry y(1..findp(sqrt N)) divides N.
bool has_small_prime_factor(int32_t N, const Tables& t) {
  int32_t n = isqrt(N);
  findp(n, t);
  for (int32_t i = 1; i <= n; ++i) {
    const int32_t p = t.y[i];
    // An edited entry of 0 divides nothing (and must not be divided by).
    if (p != 0 && N % p == 0) return true;
  }
  return false;
}

}  // namespace

void divisors_of_one(Session& s) {
  Io& io = s.io;
  static DivisorList dl;  // each call starts from an empty list
  dl.m = 0;
  int32_t N = 0;
  io.asknum(N);  // never negative
  double sum = 0;
  int32_t L = 0;
  int32_t quit = 0;

  if (!has_small_prime_factor(N, s.t)) {
    io.lst({"primo  1", N});
    io.pause();
  } else {
    ordered_divisors(N, dl);
    io.pause();
  }

  io.log("(1X,A15,1I10)", {"divisors of ", N});
  for (int32_t c = 1; c <= dl.m; ++c) {
    ++L;
    io.lst({c, dl.D[c]});
    io.log("(I5,I10)", {c, dl.D[c]});
    sum += dl.D[c];
    io.pagestop(L, quit);
    if (quit) break;
  }
  io.both("(1X,A20,F14.0)", {"sum of divisors", sum});
  io.pause();
  io.rule();
  io.pause();
  io.pause();
}

}  // namespace ntb
