// The listing pass of the divisor-count listings: the integers up to N with
// exactly d divisors, in the order the prefix enumeration meets them, each
// with its sum of divisors, Euler function and factors.
#pragma once

#include <cstdint>

#include "divisors/engine/divisor_prefixes.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

// One listed integer n.  Its factors as the factor line shows them:
// f[1..L] with exponents e[1..L], then, for n = P*q, the prime q with
// exponent 1 (q = 0 when n = P*p, whose last exponent e[L] is already
// one more than in the prefix).
struct ListedRow {
  int32_t k = 0;  // 1, 2, ... in generation order
  int32_t n = 0;
  double sigma = 0;  // sum of divisors (it passes 32 bits)
  int32_t phi = 0;   // Euler function
  int32_t L = 0;     // level of the prefix
  int32_t f[kMaxPrefixLevels + 1] = {};
  int32_t e[kMaxPrefixLevels + 1] = {};
  int32_t q = 0;
};

class RowSink {
 public:
  virtual ~RowSink() = default;
  // Takes one row; false stops the listing (the user quit).
  virtual bool row(const ListedRow& r) = 0;
};

struct ListingResult {
  int32_t k = 0;      // rows handed over, plus one when the limit cut the list
  bool cut = false;   // a (limit+1)-th integer was met and not listed
  bool quit = false;  // the sink stopped the listing
};

// Lists, for N >= 0 and d >= 1, the first `limit` integers with d divisors;
// meeting one more sets `cut` and ends the pass.
ListingResult list_divisor_class(int32_t N, int32_t d, const Tables& t, int32_t limit,
                                 RowSink& sink);

}  // namespace ntb
