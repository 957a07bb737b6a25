// ntbench nth-prime K...: the K-th prime for every K given (the 1st is 2),
// for every K whose prime lies below 2^64 (numtheory/count/nth_prime_64).
#include "cli/progress.hpp"
#include "cli/progress.hpp"
#include "cli/threads_option.hpp"
#include "numtheory/count/nth_prime_64.hpp"
#include "numtheory/count/prime_pi_64.hpp"

namespace ntb::cli {

namespace {

int run(const Request& r, Channels& io) {
  io.out.header({"k", "prime"});
  const int threads = static_cast<int>(thread_count(r));
  for (const Whole k : r.numbers) {
    std::atomic<double> done{0};
    const Progress progress([&done] { return done.load(); }, status_line_wanted(r));
    io.out.row(k, nth_prime_64(static_cast<uint64_t>(k), threads, &done));
  }
  return 0;
}

}  // namespace

const Command& nth_prime_command() {
  static const Command row{
      "nth-prime",
      "the K-th prime",
      "The K-th prime for every K given (the 1st prime is 2), for\n"
      "1 <= K <= 425656284035217743 = pi(2^64 - 1), the primes below 2^64.",
      {{{Argument{"K", 1, kPrimeCount64}}, true}},
      {threads_option(), no_status_option()},
      "k prime",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
