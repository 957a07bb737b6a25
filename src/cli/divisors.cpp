// ntbench divisors N: the divisors of N (up to 2^64 - 1) in ascending order,
// built from the prime factors of N (at most 103680 of them), or with
// --summary only N, tau(N) and sigma(N), sigma in 128 bits.
#include "cli/command.hpp"
#include "cli/numbers_or_input.hpp"
#include "divisors/engine/divisors_from_factors.hpp"
#include "numtheory/factor/factorize64.hpp"

namespace ntb::cli {

namespace {

int run(const Request& r, Channels& io) {
  const auto n = static_cast<uint64_t>(r.numbers[0]);
  const PrimeFactors64 f = factorize_u64(n);
  if (r.flag("--summary")) {
    const DivisorSummary s = divisor_summary(f);
    io.out.header({"n", "tau", "sigma"});
    io.out.row(n, s.tau, s.sigma);
    return 0;
  }
  io.out.header({"divisor"});
  for (const uint64_t d : divisors_from_factors(f)) io.out.row(d);
  return 0;
}

}  // namespace

const Command& divisors_command() {
  static const Command row{
      "divisors",
      "the divisors of N",
      "The divisors of N in ascending order, one a line; N up to 2^64 - 1, also\n"
      "written as an expression such as 2^64-1 or 10^18.",
      {{{Argument{"N", 1, kU64Max}}}},
      {{"--summary", "print only N, tau(N), sigma(N) (columns: n tau sigma)"}},
      "divisor",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
