// ntbench goldbach N...: the pairs {a, b} of odd numbers >= 3 with a + b = N
// by kind, the counts of the workbench's first Goldbach entry on the tables
// as built.  With --list, the pairs of primes of one N; with two numbers,
// the range A..B (goldbach_range.cpp).
#include "cli/plot_table.hpp"
#include "goldbach/engine/even_pairs.hpp"

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
  if (r.numbers.size() == 2) return run_goldbach_range(r, io);
  return print_or_plot(r, io, "goldbach", {"n", "prime_pairs", "mixed_pairs", "composite_pairs"},
                       comet_layout(r), [&](auto&& emit) {
                         for (const int64_t n : r.numbers) {
                           const EvenPairs k = even_pairs_of(static_cast<int32_t>(n));
                           emit(n, k.prime, k.mixed, k.composite);
                         }
                       });
}

}  // namespace ntb::cli
