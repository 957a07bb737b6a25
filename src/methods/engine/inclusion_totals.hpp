// The totals of the inclusion-exclusion count without making each term.
//
// Under a term with quotient x whose set may still take the entries
// y(1..a), the terms below it and the term itself add up, split by the
// parity of their depth, to E(x, a) and O(x, a):
//   E(x, a) = E(x, a-1) + O(x div y(a), a-1),
//   O(x, a) = O(x, a-1) + E(x div y(a), a-1),
// like Legendre's phi, with the same cut-off as the walk where x div y(a)
// falls to 0.  The subtotal of a prime's set, the positive and negative
// totals, the number of terms and sr1 (with the reduced terms once 2, 3, 5
// and 7 are out) come from these sums; v.term is never called, so this
// serves the report without rows.
#pragma once

#include <optional>

#include "methods/engine/inclusion_terms.hpp"

namespace ntb {

// The result, set lines and passes that inclusion_terms gives for the same
// arguments.  Empty, before any call of the visitor, when the nonzero
// entries of y up to sqrt(N) are not positive and in rising order, or when
// so many 1s lead y that a set of twelve entries stays within N (the walk
// stops at eleven): the caller walks the terms then.
std::optional<InclusionResult> inclusion_totals(double N, const Tables& t, bool reduce2357,
                                                InclusionVisitor& v);

}  // namespace ntb
