// Pollard's rho method with Brent's cycle finding, in Montgomery form.  The
// walk x -> x^2 + c modulo n is also a walk modulo each prime p | n, which
// closes a cycle after about sqrt(p) steps; then x_i - x_j is a multiple of
// p.  Brent compares y with the value x it had at the last power of two;
// the differences are multiplied together and only every kBatch of them
// does a gcd with n.  When a batch's gcd is n, the batch is walked again a
// step at a time from the copy ys taken at its start.
#include "numtheory/factor/pollard_rho64.hpp"

#include <algorithm>
#include <numeric>

#include "numtheory/factor/montgomery64.hpp"

namespace ntb {

uint64_t pollard_rho_factor(uint64_t n, uint64_t c, uint64_t max_steps) {
  constexpr uint64_t kBatch = 128;
  const Montgomery64 m(n);
  const uint64_t cm = m.to(c);
  auto f = [&](uint64_t v) { return m.add(m.mul(v, v), cm); };
  uint64_t y = m.to(2), x = y, ys = y, q = m.one(), g = 1, steps = 0;
  for (uint64_t r = 1; g == 1; r *= 2) {
    if (steps > max_steps) return 0;
    x = y;
    for (uint64_t i = 0; i < r; ++i) y = f(y);
    for (uint64_t k = 0; k < r && g == 1; k += kBatch) {
      ys = y;
      const uint64_t batch = std::min(kBatch, r - k);
      for (uint64_t i = 0; i < batch; ++i) {
        y = f(y);
        q = m.mul(q, m.sub(x, y));  // x - y mod n: the gcd of |x - y|, no branch
      }
      g = std::gcd(q, n);
    }
    steps += 2 * r;
  }
  if (g == n) {  // several differences at once: walk the batch again, one gcd a step
    do {
      ys = f(ys);
      g = std::gcd(m.sub(x, ys), n);
    } while (g == 1);
  }
  return g == n ? 0 : g;
}

}  // namespace ntb
