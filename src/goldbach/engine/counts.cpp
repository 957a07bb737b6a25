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
  std::array<int32_t, kGoldbachTop + 1> phi;
  std::array<int32_t, kGoldbachTop + 1> psi;
  int32_t phi_top = -1, psi_top = -1;  // last x filled
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
    grow(b.phi, b.phi_top, t.y.data(), kYFilled, top);
    ptab_ = b.phi.data();
    ptop_ = b.phi_top;
  } else if (top <= kMemoTop) {
    pmemo_.resize(static_cast<size_t>(top) + 1);
    for (int32_t x = 0; x <= top; ++x) pmemo_[x] = findp_of(x, t);
    ptab_ = pmemo_.data();
    ptop_ = top;
  }
  if (t.yc_pristine) {
    grow(b.psi, b.psi_top, t.yc.data(), kYcSize - 1, top);
    ctab_ = b.psi.data();
    ctop_ = b.psi_top;
  } else if (top <= kMemoTop) {
    cmemo_.resize(static_cast<size_t>(top) + 1);
    for (int32_t x = 0; x <= top; ++x) cmemo_[x] = std::min(findc_of(x, t), cfill_);
    ctab_ = cmemo_.data();
    ctop_ = top;
  }
}

}  // namespace ntb
