// ntbench goldbach N...: the pairs {a, b} of odd numbers >= 3 with a + b = N
// by kind, the counts of the workbench's first Goldbach entry on the tables
// as built.  With --list, the pairs of primes of one N.
#include "cli/commands.hpp"
#include "goldbach/even_pairs.hpp"

namespace ntb::cli {

int run_goldbach(const Request& r, Channels& io) {
  if (r.list) {
    if (r.numbers.size() != 1) {
      io.error("ntbench goldbach: --list takes one N, got " + std::to_string(r.numbers.size()));
      return 2;
    }
    io.out.header({"a", "b"});
    for_each_prime_pair(static_cast<int32_t>(r.numbers[0]), [&](int32_t a, int32_t b) {
      io.out.row(a, b);
      return true;
    });
    return 0;
  }
  io.out.header({"n", "prime_pairs", "mixed_pairs", "composite_pairs"});
  for (const int64_t n : r.numbers) {
    const EvenPairs k = even_pairs_of(static_cast<int32_t>(n));
    io.out.row(n, k.prime, k.mixed, k.composite);
  }
  return 0;
}

}  // namespace ntb::cli
