// ntbench twins A B: the twin primes of [A, B], the pairs of consecutive
// primes with gap 2 (prime_listing.cpp).
#include "cli/prime_listing.hpp"

namespace ntb::cli {

namespace {

int run(const Request& r, Channels& io) {
  return consecutive_pairs(io, 2, 2, static_cast<int64_t>(r.numbers[0]),
                           static_cast<int64_t>(r.numbers[1]));
}

}  // namespace

const Command& twins_command() {
  static const Command row{
      "twins",
      "the twin primes from A to B",
      "Every pair of twin primes p, p + 2 with A <= p and p + 2 <= B: gaps 2 A B.",
      {{{Argument{"A"}, Argument{"B"}}, false, {{0, 1}}}},
      {},
      "index_p p index_q q gap",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
