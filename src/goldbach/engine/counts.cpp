// Lookup tables and memos behind Counts (see counts.hpp).
#include "goldbach/engine/counts.hpp"

#include <algorithm>
#include <array>

namespace ntb {

namespace {

// Prefix counts of the tables as built for x = 0..top, grown on demand up
// to kGoldbachTop.  Every table as built holds the same values, so one pair of
// lookups serves them all.
struct BuiltCounts {
  std::array<int32_t, kGoldbachTop + 1> primes_upto;
  std::array<int32_t, kGoldbachTop + 1> composites_upto;
  int32_t primes_top = -1, composites_top = -1;  // last x filled
};

BuiltCounts& built() {
  static BuiltCounts b;
  return b;
}

// Extends a prefix count of the ascending table[1..size] up to x = top.
void grow(std::array<int32_t, kGoldbachTop + 1>& count, int32_t& filled, const int32_t* table,
          int32_t size, int32_t top) {
  int32_t k = filled < 0 ? 0 : count[filled];
  for (int32_t x = filled + 1; x <= top; ++x) {
    while (k < size && table[k + 1] <= x) ++k;
    count[x] = k;
  }
  filled = std::max(filled, top);
}

}  // namespace

Counts::Counts(const Tables& t, int32_t top) : t_(t) {
  cfill_ = std::min(t.yc_count, kYcSize);
  top = std::clamp(top, 0, kGoldbachTop);
  BuiltCounts& b = built();
  if (t.y_pristine) {
    grow(b.primes_upto, b.primes_top, t.y.data(), kYFilled, top);
    primes_tab_ = b.primes_upto.data();
    primes_top_ = b.primes_top;
  } else if (top <= kMemoTop) {
    primes_memo_.resize(static_cast<size_t>(top) + 1);
    for (int32_t x = 0; x <= top; ++x) primes_memo_[x] = findp_of(x, t);
    primes_tab_ = primes_memo_.data();
    primes_top_ = top;
  }
  if (t.yc_pristine) {
    grow(b.composites_upto, b.composites_top, t.yc.data(), kYcSize - 1, top);
    composites_tab_ = b.composites_upto.data();
    composites_top_ = b.composites_top;
  } else if (top <= kMemoTop) {
    composites_memo_.resize(static_cast<size_t>(top) + 1);
    for (int32_t x = 0; x <= top; ++x) composites_memo_[x] = std::min(findc_of(x, t), cfill_);
    composites_tab_ = composites_memo_.data();
    composites_top_ = top;
  }
}

}  // namespace ntb
