// ntbench divisors N: the divisors of N in ascending order, the same list as
// the workbench's div (pairs i, N/i for i up to the square root; at most
// 1600 of them for N < 2^31), or with --summary only N, tau(N) and sigma(N).
#include "cli/command.hpp"
#include "divisors/engine/divisor_pairs.hpp"

namespace ntb::cli {

namespace {

int run(const Request& r, Channels& io) {
  const DivisorList dl = ordered_divisors_of(static_cast<int32_t>(r.numbers[0]));
  if (r.flag("--summary")) {
    int64_t sigma = 0;
    for (int32_t i = 1; i <= dl.m; ++i) sigma += dl.D[i];
    io.out.header({"n", "tau", "sigma"});
    io.out.row(r.numbers[0], int64_t{dl.m}, sigma);
    return 0;
  }
  io.out.header({"divisor"});
  for (int32_t i = 1; i <= dl.m; ++i) io.out.row(int64_t{dl.D[i]});
  return 0;
}

}  // namespace

const Command& divisors_command() {
  static const Command row{
      "divisors",
      "the divisors of N",
      "The divisors of N in ascending order, one a line.",
      {{{Argument{"N", 1}}}},
      {{"--summary", "print only N, tau(N), sigma(N) (columns: n tau sigma)"}},
      "divisor",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
