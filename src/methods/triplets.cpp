// triplets, triplets-submenu entry 5: the fifteen primitive Pythagorean
// triplets of pythagorean.hpp, one line each on both channels.
#include "methods/commands.hpp"
#include "methods/engine/pythagorean.hpp"

namespace ntb {

void triplets(Session& s) {
  Io& io = s.io;
  constexpr std::string_view kTitle = "Partial list of primitive Pythagorean triplets";
  io.both("(1X,A48)", {kTitle});
  for (const PythagoreanTriplet& t : primitive_triplets()) {
    const double a = t.a, b = t.b, c = t.c;
    io.both("(1X,3F4.0)", {a, b, c});
  }
  io.rule();
  io.pause();
  io.pause();
}

}  // namespace ntb
