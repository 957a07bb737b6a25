// The search for the even numbers with a given number K of pairs of one
// kind: 6000 even numbers, each with its cumulative total T(n); the pair
// count of n is the difference of the totals of n and n - 2, kept in two
// slots that the odd and the even steps overwrite in turn.
//
// With both tables as built every total is the same at each search, so the
// totals met once are kept and read back by the next search: a session that
// asks again, or the fuzzer's next input, pays only for the totals it has
// not seen.
#include <array>
#include <bitset>
#include <cstdlib>

#include "goldbach/engine/engines.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/interrupt.hpp"

namespace ntb {

namespace {

constexpr int32_t kSteps = 6000;
constexpr int32_t kKept = 6003;  // totals of n = 0, 2, ..., 12004, by n / 2

// T(n) of one kind on the tables as built, computed once per process.
int32_t kept_total(PairKind kind, int32_t n, const Counts& c) {
  static std::array<std::array<int32_t, kKept>, 3> total;
  static std::array<std::bitset<kKept>, 3> known;
  const auto k = static_cast<size_t>(kind);
  const auto i = static_cast<size_t>(n / 2);
  if (!c.y_as_built() || !c.yc_as_built() || n < 0 || i >= kKept) return search_total(kind, n, c);
  if (!known[k][i]) {
    total[k][i] = search_total(kind, n, c);
    known[k][i] = true;
  }
  return total[k][i];
}

}  // namespace

int32_t search_total(PairKind kind, int32_t n, const Counts& c) {
  double t = 0;
  switch (kind) {
    case PairKind::Primes:
      t = prime_pair_total(n, c).col5;
      break;
    case PairKind::Composites:
      t = composite_pair_total(n, c).total();
      break;
    case PairKind::Mixed:
      t = c.y_as_built() && c.yc_as_built() ? mixed_total_by_primes(n, c) : mixed_total_scan(n, c);
      break;
  }
  return saturate32(t);  // far below 2^31 up to n = 12004 with the tables as built
}

int32_t equal_count_search(PairKind kind, int32_t K, const Counts& c, const FoundRow& found) {
  const int32_t start = (kind == PairKind::Primes && K == 1) ? 2 : 4;
  int32_t slot[2] = {0, 0};  // [0]: even steps, [1]: odd steps
  int32_t counter = 0;
  for (int32_t i = 1; i <= kSteps; ++i) {
    interruption_point();
    const int32_t n = start + 2 * i;
    slot[i % 2] = kept_total(kind, n, c);
    const int64_t pairs = std::llabs(static_cast<int64_t>(slot[1]) - slot[0]);
    if (pairs != K) continue;
    ++counter;
    if (!found(counter, n)) return -1;
  }
  return counter;
}

}  // namespace ntb
