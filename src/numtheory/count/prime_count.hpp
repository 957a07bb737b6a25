// Counting the primes up to any N from 11 to 2147483647 without a pass over
// the numbers up to N: inclusion-exclusion over the primes up to N/kTableExtent,
// closed formulas for the numbers free of 2, 3, 5 and 7, and the numbers
// made of two or more larger primes counted through their cofactors.  Every
// prime count below kTableExtent is a search in y, so the count follows the
// table's current contents.
#pragma once

#include <cstdint>

#include "numtheory/tables/tables.hpp"

namespace ntb {

// The least N trova1 counts for; the prime-count entry asks again below it.
inline constexpr int32_t kTrova1Least = 11;

// The number of integers in 1..x free of 2, 3, 5 and 7 (1 included); 2 for
// x below 13.  x is consumed (reduced); the function value is the number
// subtracted for the multiples of 7.
int32_t coprime7(int32_t& x, int32_t& count);

// The count of coprime7 by the period 210 (48 numbers free of 2, 3, 5, 7 in
// every 210): the same number for every x from 11 to 2147483647, without the
// reductions.  0 for x below 1.
int32_t coprime7_of(int32_t x);

// N (11..2147483647, whole) in, the number of primes up to N out.
// With y as built the count comes from a fast equivalent of the procedure.
// After an edit of y it is the sum of trova1_by_terms with each prime count
// looked up (findp_lookup) and, where y(5..k) rise but for at most one
// entry, the inclusion-exclusion taken from Legendre's phi on the primes
// (free_of_entries); other tables sum the chains one by one.
void trova1(double& N, const Tables& t);

// The same count summed term by term: every chain of the inclusion-exclusion
// and every cofactor, each prime count a search in y.  It follows whatever y
// holds; entries that cannot divide (0, and 1 in the power loops, where the
// quotient would never fall) are passed over as if absent.
void trova1_by_terms(double& N, const Tables& t);

// Value form: the number of primes up to n (n from 11 up) per trova1.
// A count outside the 32-bit range (possible only on a strangely edited
// table) is held at its nearest bound.
int32_t trova1_of(int32_t n, const Tables& t);

}  // namespace ntb
