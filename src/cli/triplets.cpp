// ntbench triplets: the workbench's primitive Pythagorean triplets.
#include "cli/command.hpp"
#include "methods/engine/pythagorean.hpp"

namespace ntb::cli {

namespace {

int run(const Request&, Channels& io) {
  io.out.header({"a", "b", "c"});
  for (const PythagoreanTriplet& t : primitive_triplets()) io.out.row(t.a, t.b, t.c);
  return 0;
}

}  // namespace

const Command& triplets_command() {
  static const Command row{
      "triplets",
      "the primitive Pythagorean triplets of the workbench",
      "The fifteen primitive Pythagorean triplets a^2 + b^2 = c^2 that the\n"
      "workbench lists: a = 2mn, b = m^2 - n^2, c = m^2 + n^2 for 1 <= n < m <= 8\n"
      "of opposite parity, m = 6, n = 3 left out.",
      {{{}}},
      {},
      "a b c",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
