// The prime count trova1 and its helper coprime7.
//
// trova1(N) = F - S - P + (c - 1) where
//   F  counts the integers up to N free of 2, 3, 5, 7 (coprime7),
//   S  is the inclusion-exclusion over the chains of table indexes
//      i1 > i2 > ... >= 5 with i1 <= k = pi(N / kTableExtent), so that F - S counts
//      the integers up to N free of y(1..c),
//   P  counts the integers up to N made of two or more primes above y(c),
//      each through its cofactor d (the number without its largest prime):
//      pi(N / d) - t + 1 when the largest prime of d is y(t).
// Quotients are floor(N / d): the first by floating division, the next ones
// by integer division.  Sums run in 64 bits, so no table content can make
// them wrap.
#include "numtheory/count/prime_count.hpp"

#include <cmath>

#include "numtheory/count/free_of_2357.hpp"
#include "numtheory/count/free_of_entries.hpp"
#include "numtheory/count/legendre_phi.hpp"
#include "numtheory/count/small_phi.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/tables/findp_lookup.hpp"
#include "numtheory/tables/pi_lookup.hpp"

namespace ntb {

namespace {

// The largest integer not above x that is prime to 30 (x >= 7).
inline int32_t down_to_prime_to_30(int32_t x) {
  if (x % 2 == 0) --x;
  while (x % 3 == 0 || x % 5 == 0) x -= 2;
  return x;
}

// The integers in 1..x prime to 30, for x prime to 30.
inline int32_t prime_to_30_upto(int32_t x) {
  return static_cast<int32_t>(x * 8.0 * 0.03333333333333333 + 1.0);
}

// Chains below a chain of quotient q whose last index is `upper`: the next
// index runs 5, 6, ... and stops at the first quotient below 1 or at `upper`.
// Returns the signed sum of G over the longer chains, seen from this level
// (a deeper chain enters with the opposite sign).
int64_t chains_below(int32_t q, int32_t upper, const Tables& t) {
  int64_t sum = 0;
  for (int32_t j = 5; j < upper; ++j) {
    const int32_t p = t.y[j];
    if (p == 0) continue;  // an empty slot divides nothing
    const int32_t r = q / p;
    if (r < 1) break;
    sum += free_of_2357(r) - chains_below(r, j, t);
  }
  return sum;
}

// chains_below for a table whose entries y(5..upper-1) rise strictly from
// y(5) > 10.  The indexes j with y(j) > q / 11 leave a quotient of at most
// 10: each such chain adds G = 1 and has no chain below it (its quotient is
// under y(5)), so those up to the stop (the first y(j) > q) are counted at
// once, the stop found by bisection.
int64_t chains_below_rising(int32_t q, int32_t upper, const Tables& t) {
  int64_t sum = 0;
  const int32_t small = q / 11;
  int32_t j = 5;
  for (; j < upper && t.y[j] <= small; ++j) {
    const int32_t r = q / t.y[j];  // at least 11
    sum += free_of_2357(r) - chains_below_rising(r, j, t);
  }
  // The first index in [j, upper) whose entry is above q, or upper.
  int32_t lo = j, hi = upper;
  while (lo < hi) {
    const int32_t mid = lo + (hi - lo) / 2;
    if (t.y[mid] > q) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return sum + (lo - j);
}

// True when y(5..last) rise strictly from y(5) > 10.
bool rising_from_5(int32_t last, const Tables& t) {
  if (t.y[5] <= 10) return false;
  for (int32_t j = 6; j <= last; ++j)
    if (t.y[j] <= t.y[j - 1]) return false;
  return true;
}

// Cofactors from level `level` (2..5) on: q the quotient so far, s the first
// index allowed; pi(x) is findp(x) on the table.
template <class Pi>
int64_t cofactors_from(int level, int32_t q, int32_t s, const Tables& t, const Pi& pi) {
  int64_t sum = 0;
  for (int32_t j = s; j <= kYSize; ++j) {
    const int32_t p = t.y[j];
    if (p < 2) continue;  // the power loop could not fall
    int32_t r = q / p;
    if (r < p) break;
    if (level == 5) {
      sum += int64_t{pi(r)} - j + 1;
      continue;
    }
    do {
      sum += int64_t{pi(r)} - j + 1;
      sum += cofactors_from(level + 1, r, j + 1, t, pi);
      r /= p;
    } while (r >= p);
  }
  return sum;
}

// P: the integers up to N (Nd, whole) made of two or more primes above y(c),
// each through its cofactor; level 1 runs over y(c+1..a), a = pi(sqrt(N)).
template <class Pi>
int64_t products_above(double Nd, int32_t c, int32_t a, const Tables& t, const Pi& pi) {
  int64_t P = 0;
  for (int32_t i = c + 1; i <= a; ++i) {
    interruption_point();
    const int32_t p = t.y[i];
    if (p < 2) continue;
    int32_t q = static_cast<int32_t>(Nd / p);
    do {
      P += int64_t{pi(q)} - i + 1;
      P += cofactors_from(2, q, i + 1, t, pi);
      q /= p;
    } while (p <= q);
  }
  return P;
}

// N as a whole 32-bit value; callers pass 11..2147483647, anything else is
// held inside 0..2147483647 so that the conversion is defined.
inline int32_t whole_of(double N) {
  const int32_t n = saturate32(N);
  return n > 0 ? n : 0;
}

}  // namespace

int32_t coprime7_of(int32_t x) {
  if (x < 1) return 0;
  return static_cast<int32_t>(small_phi(x, 4));  // free of the first four primes
}

int32_t coprime7(int32_t& x, int32_t& count) {
  if (x < 13) {
    count = 2;
    return 0;
  }
  x = down_to_prime_to_30(x);
  const int32_t A = prime_to_30_upto(x);
  int32_t m = x / 7;
  if (m < 7) {
    count = A - 1;
    x = m;
    return 1;
  }
  m = down_to_prime_to_30(m);
  const int32_t B = prime_to_30_upto(m);
  count = A - B;
  x = m;
  return B;
}

namespace {

// The count term by term; pi(x) is findp(x) on the table, for x below kTableExtent.
template <class Pi>
void count_by_terms(double& N, const Tables& t, const Pi& pi) {
  const int32_t n = whole_of(N);
  const double Nd = n;

  int32_t x = n, F = 0;
  coprime7(x, F);
  const int32_t a = pi(static_cast<int32_t>(std::sqrt(Nd)));
  const int32_t k = pi(static_cast<int32_t>(Nd * kPerExtent));
  const int32_t c = k > 4 ? k : 4;

  int64_t S = 0;
  int64_t free_count = 0;
  if (k > 4 && free_of_entries(n, k, t, free_count)) {
    S = int64_t{F} - free_count;
  } else if (k > 4) {
    const bool rising = rising_from_5(k - 1, t);
    for (int32_t i1 = 5; i1 <= k; ++i1) {
      interruption_point();
      const int32_t p = t.y[i1];
      if (p == 0) continue;
      const int32_t q = static_cast<int32_t>(Nd / p);
      // Every quotient up to 10 adds 1, a quotient of 0 (an edited entry
      // above N) included.
      const int64_t g = q < 1 ? 1 : free_of_2357(q);
      S += g - (rising ? chains_below_rising(q, i1, t) : chains_below(q, i1, t));
    }
  }

  const int64_t P = products_above(Nd, c, a, t, pi);
  N = static_cast<double>(int64_t{F} - S - P + (c - 1));
}

}  // namespace

void trova1_by_terms(double& N, const Tables& t) {
  count_by_terms(N, t, [&t](int32_t x) { return findp_of(x, t); });
}

// On the table as built F - S is phi(N, c), the integers up to N free of the
// first c primes: Legendre's sum, of which S is the inclusion-exclusion
// written out chain by chain (a chain stops where its quotient reaches 0,
// and those are the only terms that would add 0).  P is summed as above with
// constant-time prime counts (on y as built no entry is passed over).
static void trova1_fast(double& N, const Tables& t) {
  const PiLookup& pi = PiLookup::of(t);
  const int32_t n = whole_of(N);
  const double Nd = n;
  const int32_t a = pi(static_cast<int32_t>(std::sqrt(Nd)), t);
  const int32_t k = pi(static_cast<int32_t>(Nd * kPerExtent), t);
  const int32_t c = k > 4 ? k : 4;

  const int64_t free_of_small = legendre_phi(n, c, t);

  const int64_t P = products_above(Nd, c, a, t, [&](int32_t x) { return pi(x, t); });
  N = static_cast<double>(free_of_small - P + (c - 1));
}

void trova1(double& N, const Tables& t) {
  // Below 11 (outside what callers pass) the procedure's coprime7 gives 2
  // where phi(N, 4) gives 1: left to the sum term by term.
  if (t.y_pristine && whole_of(N) >= 11) {
    trova1_fast(N, t);
  } else {
    // Every prime count is findp of a number below kTableExtent: looked up.
    const auto pi = FindpLookup::of(t);
    count_by_terms(N, t, [&](int32_t x) { return (*pi)(x, t); });
  }
}

int32_t trova1_of(int32_t n, const Tables& t) {
  double v = n;
  trova1(v, t);
  return saturate32(v);
}

}  // namespace ntb
