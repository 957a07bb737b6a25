// ntbench primes A B: the primes of [A, B] with their indexes, from the
// segmented sieve (prime_listing.cpp); with --count only how many.
#include "cli/prime_listing.hpp"
#include "numtheory/count/prime_pi.hpp"
#include "numtheory/sieve/prime_range.hpp"

namespace ntb::cli {

namespace {

int run(const Request& r, Channels& io) {
  const auto a = static_cast<int64_t>(r.numbers[0]), b = static_cast<int64_t>(r.numbers[1]);
  if (r.flag("--count")) {
    io.out.header({"count"});
    io.out.row(prime_pi(b) - primes_below(a));
    return 0;
  }
  io.out.header({"index", "prime"});
  int64_t index = primes_below(a);
  PrimeRange range(static_cast<uint64_t>(a), static_cast<uint64_t>(b));
  for (auto block = range.next(); !block.empty(); block = range.next())
    for (const uint32_t p : block) io.out.row(++index, p);
  return 0;
}

}  // namespace

const Command& primes_command() {
  static const Command row{
      "primes",
      "the primes from A to B with their indexes",
      "Every prime p with A <= p <= B, with its index pi(p) (2 has index 1).",
      {{{Argument{"A"}, Argument{"B"}}, false, {{0, 1}}}},
      {{"--count", "print only how many there are (column: count)"}},
      "index prime",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
