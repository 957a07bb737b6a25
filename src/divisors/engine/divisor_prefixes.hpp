// The enumeration of prefixes behind the divisor-count listings.
//
// Every composite n <= N is met exactly once as a prefix P (a product of
// prime powers over increasing entries of y) times a last prime: as P*q with
// q a prime above the last prime p of P when the largest prime factor of n
// appears once, and as P*p otherwise.  The enumeration visits the prefixes
// P with P*p <= N, depth first: level L appends a new prime y(t), t above
// the table index of level L-1, with exponents 1, 2, ... while the quotient
// N div P stays at least p.  The integers that share a prefix are then
// counted together by one prime count of N div P.
//
// A visitor is called once per prefix with the chain of levels 1..L and
// returns false to stop the whole enumeration.  Integer quotients are used
// throughout: floor(floor(N / a) / b) = floor(N / (a b)), the same value
// the floating divisions N / p / p' ... give after truncation.
#pragma once

#include <cstdint>

#include "numtheory/interrupt.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

// With every entry of y at least 2 a prefix of L levels is at least 2^L,
// so no chain is deeper than 30 levels whatever the table holds; with y as
// built the deepest is the eighth (2*3*5*7*11*13*17*19*23^2 > 2147483647).
inline constexpr int kMaxPrefixLevels = 31;

struct PrefixLevel {
  int32_t t = 0;    // table index of the level's prime, p = y(t)
  int32_t p = 0;    // the prime
  int32_t e = 0;    // its exponent in the prefix
  int32_t Q = 0;    // N div prefix
  int64_t P = 1;    // the prefix, p1^e1 * ... * pL^eL
  int64_t tau = 1;  // (e1 + 1) * ... * (eL + 1), the divisor count of the prefix
};

// Levels 1..L of the current prefix; level 0 is the empty prefix 1 with Q = N.
struct PrefixChain {
  int32_t N = 0;
  PrefixLevel lv[kMaxPrefixLevels + 1];
};

namespace detail {

template <class Visit>
bool prefix_level(PrefixChain& ch, int L, int32_t start, const Tables& t, Visit& visit) {
  const PrefixLevel& up = ch.lv[L - 1];
  PrefixLevel& lv = ch.lv[L];
  for (int32_t ti = start; ti <= kYSize; ++ti) {
    const int32_t p = t.y[ti];
    // An entry below 2 (an unfilled slot, or a value put there by an edit)
    // is no prime and would never shrink the quotient.
    if (p < 2) continue;
    int32_t Q = up.Q / p;
    if (Q < p) return true;
    lv.t = ti;
    lv.p = p;
    lv.e = 1;
    lv.Q = Q;
    lv.P = up.P * p;
    lv.tau = 2 * up.tau;
    for (;;) {
      interruption_point();
      if (!visit(static_cast<const PrefixChain&>(ch), L)) return false;
      if (L < kMaxPrefixLevels && !prefix_level(ch, L + 1, ti + 1, t, visit)) return false;
      Q /= p;
      if (Q < p) break;
      ++lv.e;
      lv.Q = Q;
      lv.P *= p;
      lv.tau += up.tau;
    }
  }
  return true;
}

}  // namespace detail

// Visits every prefix for the bound N (N >= 0) in generation order:
// visit(const PrefixChain&, int L) -> bool.  Returns false when stopped.
template <class Visit>
bool for_each_prefix(int32_t N, const Tables& t, PrefixChain& ch, Visit&& visit) {
  ch.N = N;
  ch.lv[0] = PrefixLevel{};
  ch.lv[0].Q = N;
  return detail::prefix_level(ch, 1, 1, t, visit);
}

// The divisor count of P*q for a prime q above the last prime of P, and of
// P*p, for the prefix of levels 1..L.
inline int64_t tau_next_prime(const PrefixChain& ch, int L) {
  return 2 * ch.lv[L].tau;
}
inline int64_t tau_last_prime(const PrefixChain& ch, int L) {
  return ch.lv[L - 1].tau * (ch.lv[L].e + 2);
}

}  // namespace ntb
