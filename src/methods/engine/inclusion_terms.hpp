// The terms of the inclusion-exclusion count of the primes up to N.
//
// For every set of distinct entries p1 > p2 > ... > pL of y, with p1 not
// above sqrt(N) and N/(p1...pL) >= 1, the term is floor(N/(p1...pL)), added
// for odd L and taken away for even L.  The signed total sr1 is the number
// of integers 2..N with a prime factor up to sqrt(N), so
// Phi(N) = z11 - sr1 + N - 1 with z11 the number of primes up to sqrt(N).
//
// When 2, 3, 5 and 7 have been taken out of y, the terms of at most seven
// primes are replaced by the number of their multiples that are free of 2,
// 3, 5 and 7, and sr1 counts only those.
//
// The engine calls a visitor per term, in the order the report lists them
// (set by set, each set led by its largest prime), and once per pass of the
// outer loop, so the counts can be checked without the dialogue.
#pragma once

#include <cstdint>

#include "numtheory/int_math.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

// The least N the inclusion-exclusion count runs for: below 9 there is no
// prime up to sqrt(N) but 2, and the dialogue asks again.
inline constexpr int32_t kInclusionLeast = 9;

struct InclusionTerm {
  int32_t row;          // sequential number, from 1
  int32_t level;        // number of primes in the set, 1..11
  int32_t combination;  // their product (at most N)
  double term;          // +floor(N/combination) for odd levels, - for even
  double sr1;           // signed running total, this term included
  int32_t reduced;      // the multiples free of 2,3,5,7 (0 unless reducing, levels 1..7)
};

class InclusionVisitor {
 public:
  virtual ~InclusionVisitor() = default;
  // The set led by the index-th entry y(index) is complete; subtotal is the
  // signed sum of its raw terms.
  virtual void set_done(int32_t index, int32_t prime, int32_t subtotal) = 0;
  // A pass of the outer loop begins (after the set line of the pass before).
  virtual void pass(int32_t index) = 0;
  // One term; false stops the run at once.
  virtual bool term(const InclusionTerm& t) = 0;
};

struct InclusionResult {
  double sr1 = 0;
  int64_t positive = 0;  // raw terms of odd levels
  int64_t negative = 0;  // raw terms of even levels
  int32_t terms = 0;
  int32_t root = 0;  // t = trunc(sqrt(N))
  int32_t z11 = 0;   // entries of y up to t
  bool completed = false;
  // Phi(N) in the report, the number of primes up to N: z11 - sr1 + N - 1.
  double primes_upto(double N) const { return z11 - sr1 + N - 1; }
};

// The outer loop of the count, shared by the term walk and the totals: one
// pass per entry y(p) up to sqrt(N) (res.root and res.z11 set), each pass
// first closing the set of the pass before with its subtotal, the change of
// positive - negative.  fill(p, y(p)) adds the set led by a nonzero entry to
// res and returns false to stop the run; so does walk_sets.
template <class Fill>
bool walk_sets(const Tables& t, InclusionResult& res, InclusionVisitor& v, Fill&& fill) {
  int64_t previous = 0;
  for (int32_t p = 1;; ++p) {
    const int64_t setsum = res.positive - res.negative;
    if (p > 1) v.set_done(p - 1, t.y[p - 1], saturate32(setsum - previous));
    previous = setsum;
    v.pass(p);
    if (res.z11 < p || res.root < t.y[p]) return true;
    const int32_t prime = t.y[p];
    if (prime == 0) continue;  // a slot of 0 cannot divide: an empty set
    if (!fill(p, prime)) return false;
  }
}

// Runs the enumeration for N (0..2147483647, whole) over y as it is; with
// reduce2357 the terms of levels 1..7 are reduced as above.  Entries of y
// of 0 cannot divide and are passed over; a 1 is an entry like the others.
InclusionResult inclusion_terms(double N, const Tables& t, bool reduce2357, InclusionVisitor& v);

}  // namespace ntb
