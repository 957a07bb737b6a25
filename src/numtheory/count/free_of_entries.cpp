// Phi(N, E) for the entries E of an edited table from Legendre's phi on the
// primes, with the entries taken out and put in as corrections.
#include "numtheory/count/free_of_entries.hpp"

#include <algorithm>

#include "numtheory/count/legendre_phi.hpp"
#include "numtheory/tables/pi_lookup.hpp"

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

namespace {

// The corrections for the entries e[0..n-1] (ascending, repeats allowed, all
// from 11 to below the lookup's top): false when too many.
bool corrections_for(const int32_t* e, int32_t n, Corrections& c) {
  const PiLookup& pi = PiLookup::of(c.built);
  c.a = pi(e[n - 1], c.built);
  if (c.a > kMaxLegendreA) return false;
  // Both lists ascend: one merge finds the primes missing from E and the
  // entries of E that are not among the primes (a repeated entry is one).
  int32_t i = 5, j = 0;
  while (i <= c.a || j < n) {
    const int64_t p = i <= c.a ? c.built.y[i] : INT64_MAX;
    const int64_t v = j < n ? e[j] : INT64_MAX;
    if (p == v) {
      ++i;
      ++j;
    } else if (p < v) {
      if (c.nR == kMaxDiff) return false;
      c.R[c.nR++] = static_cast<int32_t>(p);
      ++i;
    } else {
      if (c.nA == kMaxDiff) return false;
      c.A[c.nA++] = static_cast<int32_t>(v);
      ++j;
    }
  }
  return true;
}

constexpr int32_t kMaxDipNodes = 20000;  // sets above the dip worth enumerating

}  // namespace

bool free_of_entries(int32_t N, int32_t k, const Tables& t, int64_t& count) {
  if (k <= 4 || k > kYSize || t.y[5] <= 10) return false;
  // At most one entry (the dip) not above the one before it, and without it
  // the entries still rise.
  int32_t dip = 0;
  for (int32_t j = 6; j <= k; ++j) {
    if (t.y[j] > t.y[j - 1]) continue;
    if (dip != 0 || t.y[j] < 11 || (j < k && t.y[j + 1] <= t.y[j - 1])) return false;
    dip = j;
  }
  const int32_t top = t.y[dip == k ? k - 1 : k];
  if (top > N || top >= kPiLookupTop) return false;

  int32_t e[kMaxLegendreA + kMaxDiff];
  const int32_t n = k - 4;
  if (n > kMaxLegendreA + kMaxDiff) return false;
  std::copy(t.y.begin() + 5, t.y.begin() + k + 1, e);
  if (dip != 0) std::sort(e, e + n);
  const Tables& built = tables_as_built();
  Corrections all{built, 0, {}, 0, {}, 0};
  if (!corrections_for(e, n, all)) return false;
  count = all.plus_A(N, 0);
  if (dip == 0 || dip == k) return true;  // the last entry is taken at the first level only

  // The chains visit the dip z = y(dip) only at quotients q >= M = y(dip - 1)
  // (below, an earlier entry above q ends the level first), where the sum
  // over all sets takes it at q >= z.  The difference: the sets T of the
  // entries after the dip whose quotient q = N / prod T lies in [z, M), each
  // with (-1)^|T| Phi(q / z, y(5..dip-1)).
  const int32_t z = t.y[dip], M = t.y[dip - 1];
  if (z == M) return true;
  Corrections below{built, 0, {}, 0, {}, 0};
  std::copy(t.y.begin() + 5, t.y.begin() + dip, e);
  if (!corrections_for(e, dip - 5, below)) return false;
  int32_t nodes = 0;
  bool fits = true;
  auto sets_after = [&](auto&& self, int32_t q, int32_t upper, int64_t sign) -> int64_t {
    int64_t sum = q < M ? sign * below.plus_A(q / z, 0) : 0;
    for (int32_t j = dip + 1; j < upper && t.y[j] <= q / z && fits; ++j) {
      if (++nodes > kMaxDipNodes) fits = false;
      sum += self(self, q / t.y[j], j, -sign);
    }
    return sum;
  };
  const int64_t diff = sets_after(sets_after, N, k + 1, 1);
  if (!fits) return false;
  count += diff;
  return true;
}

}  // namespace ntb
