// Euler1, divisors-submenu entry 3: Euler's function of one number N >= 2,
// N on both channels, the value on the screen (list-directed) and in the log.
#include "divisors/commands.hpp"
#include "divisors/engine/euler_function.hpp"

namespace ntb {

void Euler1(Session& s) {
  Io& io = s.io;
  int32_t n = 0;
  do {
    io.lst({"N ?  number >=2,<=2147483647"});
    io.asknum(n);
  } while (n < kEulerLeast);
  io.log("(1X,A25)", {"Euler function of         "});  // 26 characters, 25 shown
  io.both("(3I11)", {n});
  const int32_t phi = euler_function(n);
  io.lst({phi});
  io.log("(3I11)", {phi});
  io.rule();
}

}  // namespace ntb
