// The data that reverse-method runs from the triplets submenu store for the
// triplet elaboration: per row of a run, its column-4 value (the number of
// composites with the row's combination) and its combination N/k, for each
// of the three numbers N1 <= N2 < N3.
//
// The vectors are 1-based: entry r (1..kTripRows) belongs to row r, entry 0
// is unused.  After the rows of a run, a vector of values holds the run's
// prime count; a2 also holds the row count of N2 one entry further on.
#pragma once

#include <array>
#include <cstdint>

#include "numtheory/tables/tables.hpp"

namespace ntb {

inline constexpr int32_t kTripRows = 15000;  // entries of every vector
// The largest N a run from the triplets submenu takes, the extent of the
// tables: its rows (14674 for N = kTableExtent) fit the vectors.
inline constexpr int32_t kTripletTop = kTableExtent;

using TripVector = std::array<double, kTripRows + 1>;  // 1-based

struct TripletData {
  TripVector a1{}, a2{}, a3{};           // column-4 values of the runs for N1, N2, N3
  TripVector comb1{}, comb2{}, comb3{};  // their combinations N/k, not rounded
  int32_t cnt1 = 0, cnt2 = 0, cnt3 = 0;  // rows of each run
  int32_t N1 = 0, N2 = 0, N3 = 0;        // the three numbers
  // The row counter of the most recent reverse run; the elaboration uses it
  // as its line number and leaves it at the last line it printed.
  int32_t rowcount = 0;
};

}  // namespace ntb
