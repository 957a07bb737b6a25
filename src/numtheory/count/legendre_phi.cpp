// Legendre's phi with the small-prime period table and the prime count lookup.
#include "numtheory/count/legendre_phi.hpp"

#include "numtheory/count/small_phi.hpp"
#include "numtheory/tables/pi_lookup.hpp"

namespace ntb {

namespace {

constexpr int32_t kSmallA = kSmallPhiMaxA;  // a <= 6 by the period 30030

struct Context {
  const Tables& t;
  const PiLookup& pi;

  int64_t phi(int32_t x, int32_t a) const {
    if (a <= kSmallA) return small_phi(x, a);
    const int64_t next = t.y[a + 1];
    if (x < next * next) {
      // Only 1 and the primes above p_a remain.
      if (x < 1) return 0;
      const int32_t above = pi(x, t) - a;
      return above > 0 ? 1 + above : 1;
    }
    // x >= p_(a+1)^2 > p_i^2 for every i <= a: no term is cut short here.
    int64_t sum = small_phi(x, kSmallA);
    for (int32_t i = kSmallA + 1; i <= a; ++i) sum -= phi(x / t.y[i], i - 1);
    return sum;
  }
};

}  // namespace

int64_t legendre_phi(int32_t x, int32_t a, const Tables& t) {
  const Context ctx{t, PiLookup::of(t)};
  return ctx.phi(x, a);
}

}  // namespace ntb
