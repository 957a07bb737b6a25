// The counts of table entries up to x as the Goldbach engines read them.
//
// primes_upto(x) is the number of entries of y not above x (findp; Phi(x)
// in the Goldbach report texts) and composites_upto(x) the number of
// entries of yc not above x (findc; Psi(x)).  With the tables as built
// both are plain prefix counts, so they are read from lookup tables, built
// from the first such table met and grown on demand up to the largest x a
// caller names (at most kTableExtent); an edited table is searched, or read from
// a memo of the searches when the caller names a small range.  Either way
// the values are exactly those of the binary searches on the current
// table, with one correction: composites_upto never counts a slot of yc that
// the last walk did not fill (the search draws the empty slot 851068 into the count
// of every x from kTableExtent up, which would make 0 an odd composite at
// N = kTableExtent).
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "numtheory/tables/tables.hpp"

namespace ntb {

inline constexpr int32_t kGoldbachTop = kTableExtent;  // the largest N the Goldbach entries take
inline constexpr int32_t kGoldbachLeast = 6;           // the least

// The Goldbach entries take an even N from 6 to kGoldbachTop: the range in which
// the tables hold every prime and every odd composite.
inline bool accepted_even(double N) {
  return N >= kGoldbachLeast && N <= kGoldbachTop && N == std::trunc(N) && std::fmod(N, 2.0) == 0;
}

class Counts {
 public:
  // top: the largest x the caller will ask for often.  With the tables as
  // built the lookups cover at least 0..top; with an edited table the
  // searches for 0..top are done once here when top is small (kMemoTop).
  explicit Counts(const Tables& t, int32_t top = kGoldbachTop);
  static constexpr int32_t kMemoTop = 20000;

  const Tables& tables() const { return t_; }

  // Entries of y not above x: the primes up to x while y is as built.
  int32_t primes_upto(int32_t x) const {
    if (x >= 0 && x <= primes_top_) return primes_tab_[x];
    return findp_of(x, t_);
  }
  // Entries of yc not above x: the odd composites up to x while yc is as built.
  int32_t composites_upto(int32_t x) const {
    if (x >= 0 && x <= composites_top_) return composites_tab_[x];
    return std::min(findc_of(x, t_), cfill_);
  }
  // v is taken for a prime when y(primes_upto(v)) = v.
  bool is_prime(int32_t v) const {
    const int32_t k = primes_upto(v);
    return k >= 1 && t_.y[k] == v;
  }
  // Entries by 1-based index, 0 outside the table.
  int32_t y(int32_t k) const { return k >= 1 && k <= kYSize ? t_.y[k] : 0; }
  int32_t yc(int32_t k) const { return k >= 1 && k <= kYcSize ? t_.yc[k] : 0; }

  // True when y is as built, so that primes_upto(x) counts the primes up to x.
  bool y_as_built() const { return t_.y_pristine; }
  // True when yc holds exactly the odd composites 9..kWalkTop.
  bool yc_as_built() const { return t_.yc_pristine; }

 private:
  const Tables& t_;
  const int32_t* primes_tab_ = nullptr;  // primes_upto(x) for x = 0..primes_top_
  const int32_t* composites_tab_ = nullptr;
  int32_t primes_top_ = -1, composites_top_ = -1;
  int32_t cfill_ = kYcSize;  // slots of yc the last walk filled
  std::vector<int32_t> primes_memo_, composites_memo_;
};

}  // namespace ntb
