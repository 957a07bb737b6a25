// Phi(N, E) for the entries E of an edited table from Legendre's phi on the
// primes, with the entries taken out and put in as corrections.
#include "numtheory/free_of_entries.hpp"

#include "numtheory/legendre_phi.hpp"
#include "numtheory/pi_lookup.hpp"

namespace ntb {

namespace {

constexpr int32_t kMaxDiff = 6;         // entries out of / into the primes, each
constexpr int32_t kMaxLegendreA = 218;  // what legendre_phi serves

struct Corrections {
  const Tables& built;
  int32_t a;  // E is built.y(5..a) less R plus A
  int32_t R[kMaxDiff], nR = 0;
  int32_t A[kMaxDiff], nA = 0;

  // Phi(x, primes less R): phi over the R-smooth divisors d <= x.
  int64_t less_R(int32_t x, int32_t i) const {
    if (i == nR) return legendre_phi(x, a, built);
    int64_t sum = 0;
    for (int32_t q = x; q >= 1; q /= R[i]) sum += less_R(q, i + 1);
    return sum;
  }
  // Phi(x, primes less R plus A[i..]): the sets of A[i..] within x.
  int64_t plus_A(int32_t x, int32_t i) const {
    int64_t sum = less_R(x, 0);
    for (int32_t j = i; j < nA; ++j)
      if (A[j] <= x) sum -= plus_A(x / A[j], j + 1);
    return sum;
  }
};

}  // namespace

bool free_of_entries(int32_t N, int32_t k, const Tables& t, int64_t& count) {
  if (k <= 4 || k > kYSize || t.y[5] <= 10 || t.y[k] > N) return false;
  for (int32_t j = 6; j <= k; ++j)
    if (t.y[j] <= t.y[j - 1]) return false;
  const int32_t top = t.y[k];
  if (top >= kPiLookupTop) return false;

  const Tables& built = tables_as_built();
  const PiLookup& pi = PiLookup::of(built);
  Corrections c{built, pi(top, built), {}, 0, {}, 0};
  if (c.a > kMaxLegendreA) return false;
  // Both lists ascend: one merge finds the primes missing from E and the
  // entries of E that are not among the primes.
  int32_t i = 5, j = 5;
  while (i <= c.a || j <= k) {
    const int64_t p = i <= c.a ? built.y[i] : INT64_MAX;
    const int64_t e = j <= k ? t.y[j] : INT64_MAX;
    if (p == e) {
      ++i;
      ++j;
    } else if (p < e) {
      if (c.nR == kMaxDiff) return false;
      c.R[c.nR++] = static_cast<int32_t>(p);
      ++i;
    } else {
      if (c.nA == kMaxDiff) return false;
      c.A[c.nA++] = static_cast<int32_t>(e);
      ++j;
    }
  }
  count = c.plus_A(N, 0);
  return true;
}

}  // namespace ntb
