// The number of primes up to a quotient m = N div prefix, as the divisor
// listings count it: a search in y for m up to kTableExtent, trova1 above.
//
// While y is exactly as built, the search result for m <= kTableExtent is the true
// prime count and comes from the constant-time lookup of numtheory/tables/pi_lookup
// (one popcount instead of a seventeen-step binary search over 149000
// slots).  Once y has been edited the counts follow the table: findp itself,
// looked up by the runs of its search (numtheory/tables/findp_lookup).
#pragma once

#include <cstdint>
#include <memory>

#include "numtheory/count/prime_count.hpp"
#include "numtheory/tables/findp_lookup.hpp"
#include "numtheory/tables/pi_lookup.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

class QuotientPi {
 public:
  explicit QuotientPi(const Tables& t)
      : t_(t),
        lookup_(t.y_pristine ? &PiLookup::of(t) : nullptr),
        edited_(t.y_pristine ? nullptr : FindpLookup::of(t)) {}

  // m >= 0.
  int32_t operator()(int32_t m) const {
    if (m > kTableExtent) return trova1_of(m, t_);
    if (lookup_) return (*lookup_)(m, t_);
    return (*edited_)(m, t_);
  }

 private:
  const Tables& t_;
  const PiLookup* lookup_;
  std::shared_ptr<const FindpLookup> edited_;
};

}  // namespace ntb
