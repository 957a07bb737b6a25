// ntbench totient [N...]: Euler's function phi(N) from the prime factors of
// N, N up to 2^64 - 1, for the numbers given or every token of standard
// input (numbers_or_input.hpp).
#include "cli/numbers_or_input.hpp"
#include "numtheory/factor/factorize64.hpp"

namespace ntb::cli {

namespace {

int run(const Request& r, Channels& io) {
  Output& out = io.out;
  out.header({"n", "phi"});
  return each_number(r, io, 1, [&out](uint64_t n) {
    const PrimeFactors64 f = factorize_u64(n);
    uint64_t phi = n;
    for (int i = 0; i < f.count; ++i)
      if (i == 0 || f.p[i] != f.p[i - 1]) phi = phi / f.p[i] * (f.p[i] - 1);
    out.row(n, phi);
  });
}

}  // namespace

const Command& totient_command() {
  static const Command row{
      "totient",
      "Euler's function of N",
      "Euler's function phi(N), the count of 1 <= k <= N prime to N, for every N\n"
      "given (an expression such as 2^64-1 is allowed); with no N, the numbers\n"
      "are read from standard input as for factor.",
      {{{}}, {{Argument{"N", 1, kU64Max}}, true}},
      {},
      "n phi",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
