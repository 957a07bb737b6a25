// The inclusion-exclusion terms: a recursive walk over the sets of distinct
// entries of y, one call per level, largest entry first.
//
// Level 1 takes each entry up to sqrt(N) in turn.  Under a term of level L-1
// with index i and quotient q, level L tries the indexes 1, 2, ... below i,
// with quotient floor(q / y(j)), and stops at the first quotient below 1.
// Since floor(floor(N/a)/b) = floor(N/(ab)), each quotient is the exact
// number of multiples of the set's product up to N.  The indexes of a set
// fall from level to level, so the walk ends whatever the table holds: a 1
// typed into y is taken like any entry (its sets count the multiples of the
// others over again), a 0 is passed over.
#include "methods/engine/inclusion_terms.hpp"

#include <cmath>

#include "numtheory/count/free_of_2357.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

namespace {

constexpr int kLevels = 11;    // no set of ten primes has a product up to 2^31
constexpr int kReduceTop = 7;  // deepest level whose terms are reduced

class Walk {
 public:
  Walk(const Tables& t, bool reduce, InclusionVisitor& v, InclusionResult& res)
      : t_(t), reduce_(reduce), v_(v), res_(res) {}

  // One term of level L with quotient q >= 1 and product comb <= N.
  bool term(int L, double q, int64_t comb) {
    ++res_.terms;
    const bool odd = (L & 1) != 0;
    if (odd) {
      res_.positive += static_cast<int64_t>(q);
      res_.sr1 += q;
    } else {
      res_.negative += static_cast<int64_t>(q);
      res_.sr1 -= q;
    }
    int32_t reduced = 0;
    if (reduce_ && L <= kReduceTop) {
      reduced = free_of_2357(static_cast<int32_t>(q));
      res_.sr1 += odd ? reduced - q : q - reduced;
    }
    const InclusionTerm row{res_.terms,   L,        static_cast<int32_t>(comb),
                            odd ? q : -q, res_.sr1, reduced};
    return v_.term(row);
  }

  // Level L under a term with index i, quotient q and product comb.
  bool level(int L, int32_t i, double q, int64_t comb) {
    for (int32_t j = 1; j < i; ++j) {
      const int32_t p = t_.y[j];
      if (p == 0) continue;  // an edited 0 divides nothing; a 1 is a set member
      const double qj = std::trunc(q / p);
      if (qj < 1) break;
      if (!term(L, qj, comb * p)) return false;
      if (L < kLevels && !level(L + 1, j, qj, comb * p)) return false;
    }
    return true;
  }

 private:
  const Tables& t_;
  bool reduce_;
  InclusionVisitor& v_;
  InclusionResult& res_;
};

}  // namespace

InclusionResult inclusion_terms(double N, const Tables& t, bool reduce2357, InclusionVisitor& v) {
  InclusionResult res;
  res.root = static_cast<int32_t>(std::sqrt(N));
  int32_t x = res.root;
  res.z11 = findp(x, t);
  Walk walk(t, reduce2357, v, res);
  const bool done = walk_sets(t, res, v, [&](int32_t p, int32_t prime) {
    const double q = std::trunc(N / prime);
    return walk.term(1, q, prime) && walk.level(2, p, q, prime);
  });
  if (!done) return res;
  res.completed = true;
  return res;
}

}  // namespace ntb
