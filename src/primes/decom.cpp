// decom, primes-submenu entry 3: the prime factors of one number N >= 2 with
// their exponents, one line per distinct prime, on both channels.
#include "numtheory/factor/factor.hpp"
#include "primes/commands.hpp"

namespace ntb {

void decom(Session& s) {
  Io& io = s.io;
  int32_t n = 0;
  do {
    io.lst({"N ?  number >=2,<=2147483647"});
    io.asknum(n);
  } while (n < kFactorsLeast);
  io.log("(1X,A17)", {"prime factors of"});
  io.both("(3I11)", {n});
  Factors r;
  primefac(n, r);
  for (int32_t i = 1; i <= r.nf; ++i) {
    io.both("(3I11)", {r.f[i], r.e[i]});
  }
  io.rule();
}

}  // namespace ntb
