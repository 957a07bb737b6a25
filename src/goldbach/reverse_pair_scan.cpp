// The reverse method of gold and gold1: every pair of odd primes p <= q
// with p + q <= N stands for the number 2pq (gold) or pq (gold1), so the
// pairs are counted prime by prime as the primes q from p up to N - p.  The
// scan runs over the odd primes p while p * p stays within p1 * p2, the
// central primes of N; that takes in every odd prime up to N/2.
//
// Where the count of q ends: the procedure counts the primes up to the
// partner bound K / p (for gold K / 2 / p) and starts a downward walk at
// index 148934 when that count is larger, else at Phi(N), walking down
// while y(k) + p > N.  With the table as built both walks end at Phi(N - p),
// which is then read at once; an edited table is walked entry by entry.
#include <algorithm>
#include <cmath>

#include "goldbach/engines.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/prime_count.hpp"

namespace ntb {

namespace {

constexpr int32_t kWalkStart = 148934;  // the first entry of y above 2000000

// The index where the downward walk for p ends, following the procedure.
int32_t walk_end(int32_t N, int32_t p, double bound, const Counts& c) {
  const int32_t q2 = static_cast<int32_t>(std::min(std::trunc(bound / p), 2147483647.0));
  const int32_t below = q2 > kGoldbachTop ? trova1_of(q2, c.tables()) : c.phi(q2);
  int32_t k = below > kWalkStart ? kWalkStart : c.phi(N);
  while (k >= 1 && static_cast<int64_t>(c.y(k)) + p > N) --k;
  return k;
}

}  // namespace

CentralPrimes central_primes(ReverseForm form, int32_t N, const Counts& c) {
  CentralPrimes r;
  const int32_t h = c.phi(N / 2);
  r.p1 = c.y(h);
  r.p2 = 2 * r.p1 == N ? r.p1 : c.y(h + 1);
  r.K = (form == ReverseForm::Twice ? 2.0 : 1.0) * r.p1 * r.p2;
  r.phiN = c.phi(N);
  return r;
}

double reverse_pair_scan(ReverseForm form, int32_t N, double K, const Counts& c,
                         const ReverseVisit* step) {
  // gold's fixed factor is the first entry of y: 2 while the table holds it.
  // A first entry above 2 skips the scan; so does one below 1, which would
  // divide by zero.
  const int32_t f = form == ReverseForm::Twice ? c.y(1) : 1;
  if (f > 2 || f < 1) return 0;
  const double bound = K / f;
  const double root = std::sqrt(K);
  double total = 0;
  ReverseStep s;
  for (int32_t j = 2; j <= kYSize; ++j) {
    interruption_point();
    const int32_t p = c.y(j);
    if (p < 1) break;  // an empty slot, not a prime
    if (form == ReverseForm::Plain && p > root) break;
    if (bound / p < p) break;
    const int32_t k = c.y_as_built() ? c.phi(N - p) : walk_end(N, p, bound, c);
    s.j = j;
    s.p = p;
    s.k = k;
    s.count = static_cast<double>(k) - j + 1;
    if (s.count > 0) total += s.count;
    s.total = total;
    if (step && !(*step)(s)) break;
    if (s.count <= 0) break;
  }
  return total;
}

}  // namespace ntb
