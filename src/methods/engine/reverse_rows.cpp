// The reverse method's rows: a recursive walk over the combinations of N,
// one call per nesting level, in the order the report lists them.
//
// After a row at level L with index i and quotient k, the loop of level L+1
// divides k by the primes after y(i) while y(j) <= sqrt(k); then the power
// step divides k by y(i) again, while y(i) <= sqrt(k), and the loop runs
// again on the smaller quotient.  Each loop that ends at levels 1..6 and each
// refused power step at levels 1..7 is a "negative jump".
#include "methods/engine/reverse_rows.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "numtheory/count/prime_count.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/interrupt.hpp"

namespace ntb {

namespace {

// Quotients above this come only from N above kTableExtent.
constexpr int32_t kHalfTop = kTableExtent / 2;

// The entries of an edited y (those that can divide, 2 and above) in
// ascending order, for the runs of N above kTableExtent.
std::array<int32_t, kYSize> edited_sorted;

// The number of entries of y not above x.  Up to kTableExtent a search in y;
// above, where y ends, the primes up to x by trova1.  An edited y (primes
// taken out, with their markers left among its last primes, or numbers typed
// in) is counted entry by entry above kHalfTop, and above kTableExtent its
// entries up to there plus the primes between kTableExtent and x: so the
// rows of N above kTableExtent still count the composites free of the primes
// taken out, as they do for N up to kTableExtent, where every quotient lies
// below kHalfTop.
class PrimesUpTo {
 public:
  explicit PrimesUpTo(const Tables& t) : t_(t) {}

  int32_t operator()(int32_t x) {
    if (t_.y_pristine) return x <= kTableExtent ? findp(x, t_) : trova1_of(x, t_);
    if (x <= kHalfTop) return findp(x, t_);
    if (sorted_ < 0) sort_entries();
    const auto upto = [&](int32_t v) {
      return static_cast<int32_t>(
          std::upper_bound(edited_sorted.begin(), edited_sorted.begin() + sorted_, v) -
          edited_sorted.begin());
    };
    if (x <= kTableExtent) return upto(x);
    const int64_t above = static_cast<int64_t>(trova1_of(x, tables_as_built())) - kPrimesInExtent;
    return saturate32(upto(kTableExtent) + above);
  }

 private:
  void sort_entries() {
    sorted_ = 0;
    for (int32_t i = 1; i <= kYSize; ++i)
      if (t_.y[i] >= 2) edited_sorted[sorted_++] = t_.y[i];
    std::sort(edited_sorted.begin(), edited_sorted.begin() + sorted_);
  }

  const Tables& t_;
  int32_t sorted_ = -1;  // entries in edited_sorted; -1 until first needed
};

constexpr int kLevels = 9;

// Rows of a loop at levels 1..7 get dashes and a page stop, at level 8 a
// page stop only, at level 9 nothing; power steps one level earlier.
inline RowTail loop_tail(int level) {
  return level <= 7 ? RowTail::Dashes : level == 8 ? RowTail::StopOnly : RowTail::None;
}
inline RowTail power_tail(int level) {
  return level <= 6 ? RowTail::Dashes : level == 7 ? RowTail::StopOnly : RowTail::None;
}

class Walk {
 public:
  Walk(double N, const Tables& t, ReverseVisitor& v, ReverseResult& res)
      : N_(N), t_(t), pi_(t), v_(v), res_(res) {}

  // One row for the combination N/k whose last prime is y(i).
  bool emit(int level, bool power, int32_t i, double k, RowTail tail) {
    interruption_point();
    // 0 <= k <= N <= 2147483647, so the truncation fits.
    int32_t x = static_cast<int32_t>(k);
    const int32_t value = pi_(x) - i + 1;
    ++res_.rows;
    res_.s1 += value;
    const ReverseRow r{res_.rows, level, power, i, t_.y[i], k, value, res_.s1, N_ / k, tail};
    return v_.row(r);
  }

  // Everything below a row at level L (index i, quotient k); false when the
  // visitor stopped the run.
  bool descend(int L, int32_t i, double k) {
    for (;;) {
      const double root = std::sqrt(k);
      for (int32_t j = i + 1; j <= kYSize; ++j) {
        const int32_t p = t_.y[j];
        if (p < 2) continue;  // an edited 0 or 1, or an unfilled slot: see the header
        if (root < p) break;
        const double kj = k / p;
        if (!emit(L + 1, false, j, kj, loop_tail(L + 1))) return false;
        if (L + 1 < kLevels && !descend(L + 1, j, kj)) return false;
      }
      if (L <= 6) ++res_.negative_jumps;
      const int32_t p = t_.y[i];
      const double old = k;
      k = k / p;
      if (std::sqrt(old) < p) {
        if (L <= 7) ++res_.negative_jumps;
        return true;
      }
      if (!emit(L, true, i, k, power_tail(L))) return false;
    }
  }

 private:
  double N_;
  const Tables& t_;
  PrimesUpTo pi_;
  ReverseVisitor& v_;
  ReverseResult& res_;
};

}  // namespace

ReverseResult reverse_rows(double N, const Tables& t, ReverseVisitor& v) {
  ReverseResult res;
  int32_t root = static_cast<int32_t>(std::sqrt(N));
  res.z2 = findp(root, t);
  Walk walk(N, t, v, res);
  double previous = 0;
  for (int32_t aa = 1;; ++aa) {
    // A count up to N; held at the 32-bit bounds on a strangely edited table.
    const int32_t subtotal = saturate32(res.s1 - previous);
    if (aa > 1) v.set_done(aa - 1, t.y[aa - 1], subtotal, res.rows);
    previous = res.s1;
    if (aa > res.z2) break;
    const int32_t p = t.y[aa];
    if (p < 2) continue;  // a slot that cannot divide makes an empty set
    const double k1 = N / p;
    if (!walk.emit(1, false, aa, k1, RowTail::Dashes)) return res;
    if (!walk.descend(1, aa, k1)) return res;
  }
  res.completed = true;
  return res;
}

}  // namespace ntb
