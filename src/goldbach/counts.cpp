// Lookup tables and memos behind Counts (see counts.hpp).
#include "goldbach/counts.hpp"

#include <array>

namespace ntb {

namespace {

// Prefix counts of the tables as built, for x = 0..2000000.  Every table as
// built holds the same values, so one pair of lookups serves them all.
struct BuiltCounts {
  std::array<int32_t, kGoldbachTop + 1> phi;
  std::array<int32_t, kGoldbachTop + 1> psi;
  bool phi_ready = false, psi_ready = false;
};

BuiltCounts& built() {
  static BuiltCounts b;
  return b;
}

}  // namespace

Counts::Counts(const Tables& t, int32_t memo_top) : t_(t) {
  cfill_ = std::min(t.yc_count, kYcSize);
  memo_top = std::min(memo_top, kGoldbachTop);
  BuiltCounts& b = built();
  if (t.y_pristine) {
    if (!b.phi_ready) {
      int32_t k = 0;
      for (int32_t x = 0; x <= kGoldbachTop; ++x) {
        while (k < kYFilled && t.y[k + 1] <= x) ++k;
        b.phi[x] = k;
      }
      b.phi_ready = true;
    }
    ptab_ = b.phi.data();
    ptop_ = kGoldbachTop;
  } else if (memo_top >= 0) {
    pmemo_.resize(static_cast<size_t>(memo_top) + 1);
    for (int32_t x = 0; x <= memo_top; ++x) pmemo_[x] = findp_of(x, t);
    ptab_ = pmemo_.data();
    ptop_ = memo_top;
  }
  if (t.yc_pristine) {
    if (!b.psi_ready) {
      int32_t k = 0;
      for (int32_t x = 0; x <= kGoldbachTop; ++x) {
        while (k < kYcSize - 1 && t.yc[k + 1] <= x) ++k;
        b.psi[x] = k;
      }
      b.psi_ready = true;
    }
    ctab_ = b.psi.data();
    ctop_ = kGoldbachTop;
  } else if (memo_top >= 0) {
    cmemo_.resize(static_cast<size_t>(memo_top) + 1);
    for (int32_t x = 0; x <= memo_top; ++x) cmemo_[x] = std::min(findc_of(x, t), cfill_);
    ctab_ = cmemo_.data();
    ctop_ = memo_top;
  }
}

}  // namespace ntb
