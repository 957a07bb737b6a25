// The integers up to N free of 2, 3, 5, 7 and of the entries y(5..k) of an
// edited table, through Legendre's phi on the table as built.
//
// When y(5..k) rise strictly from above 10, the inclusion-exclusion chains of
// trova1 run over every set of entries whose product stays within N, so
// F - S is Phi(N, E) = sum over the sets T of E = {y(5..k)} of
// (-1)^|T| G(N / prod T), G counting the integers free of 2, 3, 5, 7.  This
// sum obeys Legendre's rule whatever the entries are:
//   Phi(x, B + {a}) = Phi(x, B) - Phi(x / a, B),
//   Phi(x, B - {r}) = sum over e >= 0 of Phi(x / r^e, B).
// E differs from the primes 11..y(k) by the primes it lacks (R: taken out,
// replaced) and the entries that are no such prime (A: put in by a
// substitution), so Phi(N, E) is a short signed sum of phi(x, a) on the
// table as built, each by the fast Legendre recursion.
//
// A substitution may leave one entry z = y(d) below the one before it.  A
// level of the chains then reaches z only from quotients q >= y(d - 1),
// since an earlier entry above q ends it first; the sum over all sets takes
// z from q >= z.  The count is Phi(N, E) plus, for the sets T of entries
// after d whose quotient q = N / prod T lies in [z, y(d - 1)),
// (-1)^|T| Phi(q / z, y(5..d-1)).
#pragma once

#include <cstdint>

#include "numtheory/tables/tables.hpp"

namespace ntb {

// F - S of trova1 for the bound N (11 kTableExtent up) with k = findp(N * kPerExtent) > 4.
// False when y(5..k) do not rise strictly from above 10 to at most N but for
// one entry, or differ from the primes in too many entries: the caller then
// sums the chains themselves.
bool free_of_entries(int32_t N, int32_t k, const Tables& t, int64_t& count);

}  // namespace ntb
