// Legendre's phi with a small-prime period table and a prime count lookup.
#include "numtheory/count/legendre_phi.hpp"

#include <array>

#include "numtheory/tables/pi_lookup.hpp"

namespace ntb {

namespace {

constexpr int32_t kSmallA = 6;
// Primorials of the first 4, 5 and 6 primes and how many residues are prime to them.
constexpr int32_t kPeriod[kSmallA + 1] = {1, 2, 6, 30, 210, 2310, 30030};
constexpr int32_t kTotient[kSmallA + 1] = {1, 1, 2, 8, 48, 480, 5760};

struct Small {
  // cnt[a][r] = integers in 1..r prime to the first a primes, r < period(a), a = 4..6.
  std::array<std::array<uint16_t, 30030>, 3> cnt{};
  Small() {
    const int32_t ps[kSmallA] = {2, 3, 5, 7, 11, 13};
    for (int32_t a = 4; a <= kSmallA; ++a) {
      auto& c = cnt[a - 4];
      uint16_t run = 0;
      for (int32_t r = 0; r < kPeriod[a]; ++r) {
        bool free = r > 0;
        for (int32_t i = 0; i < a && free; ++i) free = r % ps[i] != 0;
        run = static_cast<uint16_t>(run + free);
        c[r] = run;
      }
    }
  }
  int64_t phi(int32_t x, int32_t a) const {
    return int64_t{x / kPeriod[a]} * kTotient[a] + cnt[a - 4][x % kPeriod[a]];
  }
};

const Small& small() {
  static const Small s;
  return s;
}

struct Context {
  const Tables& t;
  const PiLookup& pi;
  const Small& small;

  int64_t phi(int32_t x, int32_t a) const {
    if (a <= kSmallA) return small.phi(x, a);
    const int64_t next = t.y[a + 1];
    if (x < next * next) {
      // Only 1 and the primes above p_a remain.
      if (x < 1) return 0;
      const int32_t above = pi(x, t) - a;
      return above > 0 ? 1 + above : 1;
    }
    // x >= p_(a+1)^2 > p_i^2 for every i <= a: no term is cut short here.
    int64_t sum = small.phi(x, kSmallA);
    for (int32_t i = kSmallA + 1; i <= a; ++i) sum -= phi(x / t.y[i], i - 1);
    return sum;
  }
};

}  // namespace

int64_t legendre_phi(int32_t x, int32_t a, const Tables& t) {
  const Context ctx{t, PiLookup::of(t), small()};
  return ctx.phi(x, a);
}

}  // namespace ntb
