// The reverse method's enumeration: every composite up to N is counted once,
// through its combination, the product of all its prime factors but the
// largest.  A combination c whose largest prime is y(i), with c*y(i) <= N,
// contributes the primes from y(i) up to N/c: pi(N/c) - i + 1, one search in
// y.  The combinations come from successive divisions of N by primes of y,
// one nesting level per distinct prime (at most nine) and a power step that
// divides again by the same prime; each is one row.
//
// The engine calls a visitor per row and once per completed set (the rows
// whose combination starts with one prime up to sqrt(N), its smallest), so
// the counts can be checked without the dialogue.  Every division, square root and comparison is
// done in 64-bit floating point, as the report shows the quotients k unrounded.
#pragma once

#include <cstdint>

#include "numtheory/tables/tables.hpp"

namespace ntb {

// What follows a printed row: dashes and a page stop, a page stop only, or
// nothing (rows of the deepest levels).
enum class RowTail { Dashes, StopOnly, None };

struct ReverseRow {
  int32_t row;    // sequential number, from 1
  int32_t level;  // 1..9, the number of distinct primes of the combination
  bool power;     // made by a power step (same prime again)
  int32_t index;  // i: position in y of the combination's last prime
  int32_t prime;  // y(i)
  double k;       // the quotient N / combination, unrounded
  int32_t value;  // column 4: pi(trunc(k)) - i + 1
  double s1;      // running total of column 4, this row included
  double comb;    // the combination as N/k, unrounded
  RowTail tail;
};

class ReverseVisitor {
 public:
  virtual ~ReverseVisitor() = default;
  // One row; false stops the run at once.
  virtual bool row(const ReverseRow& r) = 0;
  // The set of the aa-th prime y(aa) is complete: its subtotal of column 4
  // and the rows made so far.
  virtual void set_done(int32_t aa, int32_t prime, int32_t subtotal, int32_t rows) = 0;
};

struct ReverseResult {
  double s1 = 0;               // composites counted
  int32_t rows = 0;            // rows made
  int32_t negative_jumps = 0;  // loops ended and power steps refused at levels 1..6/7
  int32_t z2 = 0;              // pi(trunc(sqrt(N)))
  bool completed = false;      // false when the visitor stopped the run
  // Phi(N) in the report, the primes up to N: N - 1 - s1, the candidates
  // being the integers 2..N.
  double primes_upto(double N) const { return (N >= 1 ? N - 1 : 0) - s1; }
};

// Runs the enumeration for N (0..2147483647, whole) over the table as it is.
// Entries of y below 2 are passed over: a 0 cannot divide, and a 1 would
// never make a quotient smaller, so its power step would never end.
// Quotients past the end of y count the table's entries up to kTableExtent and
// the primes above.
ReverseResult reverse_rows(double N, const Tables& t, ReverseVisitor& v);

}  // namespace ntb
