// The computing steps of the triplet elaboration.  The alignment sorts the
// (combination, row) pairs of one number once, so each combination of N3 is
// found by a binary search; ties keep the largest row, the last match.
#include "methods/engine/triplet_steps.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ntb {

namespace {

// Work storage of the alignment, reused from call to call.
std::array<std::pair<double, int32_t>, kTripRows> keyed;
TripVector work;

}  // namespace

int32_t recover_cnt2(TripletData& td) {
  int32_t first_zero = 0;
  for (int32_t r = 1; r <= kTripRows; ++r) {
    if (td.a2[r] == 0) {
      first_zero = r;
      break;
    }
  }
  if (first_zero == 0) {
    td.cnt2 = clamp_rows(td.cnt2);  // no end mark: keep the stored count
  } else if (first_zero == 1) {
    td.cnt2 = 0;
  } else if (first_zero == 2 && td.cnt2 == 0) {
    // A run without rows: entry 1 is its prime count, not a row count.
  } else {
    const double before = td.a2[first_zero - 1];
    td.cnt2 = before <= 0 ? 0 : before >= kTripRows ? kTripRows : static_cast<int32_t>(before);
    td.a2[first_zero - 1] = 0;
  }
  return td.cnt2;
}

void round_combinations(TripletData& td) {
  for (TripVector* v : {&td.comb3, &td.comb2, &td.comb1})
    for (int32_t r = 1; r <= kTripRows; ++r) (*v)[r] = std::round((*v)[r]);
}

void align_to_n3(TripVector& a, const TripVector& comb, int32_t cnt, const TripVector& comb3,
                 int32_t cnt3) {
  cnt = clamp_rows(cnt);
  cnt3 = clamp_rows(cnt3);
  for (int32_t j = 1; j <= cnt; ++j) keyed[j - 1] = {comb[j], j};
  std::sort(keyed.begin(), keyed.begin() + cnt);
  work.fill(0);
  for (int32_t i = 1; i <= cnt3; ++i) {
    const double c = comb3[i];
    // The first pair past every (c, row): the one before it is the last row of c.
    const auto it =
        std::upper_bound(keyed.begin(), keyed.begin() + cnt, c,
                         [](double v, const std::pair<double, int32_t>& p) { return v < p.first; });
    if (it != keyed.begin() && std::prev(it)->first == c) work[i] = a[std::prev(it)->second];
  }
  if (cnt3 + 1 <= kTripRows) work[cnt3 + 1] = cnt + 1 <= kTripRows ? a[cnt + 1] : 0;
  a = work;
}

PrimeBlocks prime_blocks(const TripVector& comb) {
  PrimeBlocks b;
  if (comb[1] == 0) return b;
  int32_t r = 2;
  auto run = [&](double p) {
    const int32_t start = r;
    while (r <= kTripRows && comb[r] != 0 && std::fmod(comb[r], p) == 0) ++r;
    return r - start;
  };
  b.two = 1 + run(2);
  b.three = run(3);
  b.five = run(5);
  return b;
}

int32_t leading_nonzero(const TripVector& v) {
  for (int32_t r = 1; r <= kTripRows; ++r)
    if (v[r] == 0) return r - 1;
  return kTripRows;
}

void sort_nonzero_first(TripVector& v) {
  std::sort(v.begin() + 1, v.end());
  int32_t w = 1;
  for (int32_t r = 1; r <= kTripRows; ++r)
    if (v[r] != 0) v[w++] = v[r];
  for (; w <= kTripRows; ++w) v[w] = 0;
}

}  // namespace ntb
