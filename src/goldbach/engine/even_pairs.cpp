// The counts and the prime pairs of one even N from the engines of the first
// Goldbach entry, read on the tables as built (a user's edits of y are a
// workbench experiment and do not reach these answers).
#include "goldbach/engine/even_pairs.hpp"

#include "goldbach/engine/engines.hpp"

namespace ntb {

EvenPairs even_pairs_of(int32_t N) {
  const Counts c(tables_as_built(), N);
  const double col5_N = prime_pair_total(N, c).col5;
  const double col5_N2 = prime_pair_total(N - 2, c).col5;
  const OddPairCounts k = odd_pair_counts(N, col5_N, col5_N2, c);
  return {k.P, k.M, static_cast<int64_t>(k.C)};
}

void for_each_prime_pair(int32_t N, const std::function<bool(int32_t, int32_t)>& row) {
  const Counts c(tables_as_built(), N);
  prime_pair_listing(
      N, c, [&](int32_t, int32_t larger, int32_t smaller) { return row(smaller, larger); });
}

}  // namespace ntb
