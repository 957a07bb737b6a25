// The computing steps of the triplet elaboration, apart from its report:
// recovering the row count of N2, rounding the combinations, aligning the
// values of N1 and N2 to the combinations of N3, the counts of the blocks of
// combinations led by 2, 3 and 5, and the ascending order of a vector.
//
// All vectors are 1-based with kTripRows entries (methods/triplet_data.hpp);
// every count that addresses them is held inside 0..kTripRows.
#pragma once

#include <cstdint>

#include "methods/engine/triplet_data.hpp"

namespace ntb {

// The row count of N2, found again in a2: the entry before the first 0 of
// a2 (it is cleared).  A run that made no rows left its prime count in
// entry 1 and a stored count of 0; that count stays 0 and the prime count
// stays where it is.  Returns the count, also stored in td.cnt2.
int32_t recover_cnt2(TripletData& td);

// Every entry of comb3, comb2 and comb1 to the nearest whole number, halves
// away from zero.
void round_combinations(TripletData& td);

// a takes, at each position i of 1..cnt3, the value that a held at the last
// position j of 1..cnt with comb(j) = comb3(i) (0 where there is none), then
// at cnt3 + 1 the value a held at cnt + 1 (the prime count of its run); all
// other entries become 0.  One sort of the cnt combinations, then a search
// per combination of N3: no pass over all pairs of rows.
void align_to_n3(TripVector& a, const TripVector& comb, int32_t cnt, const TripVector& comb3,
                 int32_t cnt3);

// The runs of combinations led by 2, 3 and 5: entry 1 and the following
// non-zero entries divisible by 2, then the non-zero entries divisible by 3,
// then by 5.  All 0 when entry 1 is 0.
struct PrimeBlocks {
  int32_t two = 0, three = 0, five = 0;
};
PrimeBlocks prime_blocks(const TripVector& comb);

// The entries before the first 0 (kTripRows when there is none).
int32_t leading_nonzero(const TripVector& v);

// Sorts all entries ascending and moves the non-zero ones, in that order, to
// the front, zeros after them.
void sort_nonzero_first(TripVector& v);

// A count held inside 0..kTripRows.
inline int32_t clamp_rows(int64_t n) {
  return n < 0 ? 0 : n > kTripRows ? kTripRows : static_cast<int32_t>(n);
}

}  // namespace ntb
