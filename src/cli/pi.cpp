// ntbench pi N...: pi(N), the number of primes up to N, for every N given.
// prime_pi needs only the primes up to sqrt(N), not the workbench's tables.
#include "cli/commands.hpp"
#include "numtheory/count/prime_pi.hpp"

namespace ntb::cli {

int run_pi(const Request& r, Channels& io) {
  if (r.step) return run_pi_steps(r, io);
  io.out.header({"n", "pi"});
  for (const int64_t n : r.numbers) io.out.row(n, prime_pi(n));
  return 0;
}

}  // namespace ntb::cli
