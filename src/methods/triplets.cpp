// The primitive Pythagorean triplets A = 2mn, B = m^2 - n^2, C = m^2 + n^2
// from Euclid's formula, for 1 <= n < m <= 8 with m and n of opposite
// parity.  Within these bounds 6, 3 is the only such pair with a common
// factor (it gives 36 27 45), so it is left out and every other pair gives
// a primitive triplet: fifteen of them.
#include "methods/commands.hpp"

namespace ntb {

void triplets(Session& s) {
  Io& io = s.io;
  constexpr std::string_view kTitle = "Partial list of primitive Pythagorean triplets";
  io.log("(1X,A48)", {kTitle});
  io.scr("(1X,A48)", {kTitle});
  for (int32_t m = 2; m <= 8; ++m) {
    for (int32_t n = 1; n <= 7; ++n) {
      if (n >= m || (m - n) % 2 == 0 || (m == 6 && n == 3)) continue;
      const double a = 2.0 * m * n;
      const double b = static_cast<double>(m) * m - static_cast<double>(n) * n;
      const double c = static_cast<double>(m) * m + static_cast<double>(n) * n;
      io.scr("(1X,3F4.0)", {a, b, c});
      io.log("(1X,3F4.0)", {a, b, c});
    }
  }
  io.rule();
  io.pause();
  io.pause();
}

}  // namespace ntb
