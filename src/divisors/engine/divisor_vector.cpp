// The counting pass: one prime count per prefix P, never one test per
// integer.  With p the last prime of P (p = y(t)) and c = pi(N div P), the
// s = c - t + 1 primes from p up to N/P give s - 1 integers P*q with q > p,
// all with the divisor count 2 * tau(P), and the one integer P*p.  Every
// composite is met once, so the primes are what is left: N - C - 1.
#include "divisors/engine/divisor_vector.hpp"

#include "divisors/engine/divisor_prefixes.hpp"
#include "divisors/engine/quotient_pi.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

namespace {

inline void add_to_slot(DivisorVector& v, int64_t tau, int64_t count) {
  if (tau <= kVectorSlots) v.slot[tau] += count;  // always so with y as built
}

}  // namespace

void count_divisor_vector(int32_t N, const Tables& t, DivisorVector& v) {
  v.clear();
  static PrefixChain chain;
  const QuotientPi pi(t);
  int64_t C = 0;
  for_each_prefix(N, t, chain, [&](const PrefixChain& ch, int L) {
    const PrefixLevel& lv = ch.lv[L];
    const int64_t s = int64_t{pi(lv.Q)} - lv.t + 1;
    C += s;
    add_to_slot(v, tau_next_prime(ch, L), s - 1);
    add_to_slot(v, tau_last_prime(ch, L), 1);
    return true;
  });
  v.composites = C;
  v.primes = saturate32(int64_t{N} - C - 1);
  v.slot[1] = 1;
  v.slot[2] = v.primes;
}

}  // namespace ntb
