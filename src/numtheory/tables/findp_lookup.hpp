// findp in constant time for whatever y holds: the table as built, a prime
// taken out, an entry replaced by any value, entries out of order.
//
// findp is a binary search.  For a fixed table its outcome depends on x only
// through the comparisons of x with the entries the search meets, so it is
// the same for every x strictly between two neighbouring values of the
// table, and may differ at a value itself.  One left-to-right walk of the
// search's decision tree gives these runs of x in ascending order with their
// results; a bit marks where a run with a new result starts, and the rank of
// x among those bits (a BitRanks: a popcount and a count per 64 bits) picks
// its result.
// Any order of y, duplicates and entries 0 or 1 included, gets exactly the
// binary search's answer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "numtheory/tables/bit_ranks.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

class FindpLookup {
 public:
  // x from 0 to kTop - 1 is looked up; other x go to the search itself.
  static constexpr int32_t kTop = int32_t{1} << 21;

  // The lookup for the current content of t, built on first use and kept
  // until a table with another stamp (t.version) asks; a holder keeps its
  // lookup alive past that.
  static std::shared_ptr<const FindpLookup> of(const Tables& t);

  explicit FindpLookup(const Tables& t);

  // findp(x) on the table the lookup was built from.
  int32_t operator()(int32_t x, const Tables& t) const {
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(kTop)) return findp_of(x, t);
    return result_[starts_.ones_through(static_cast<uint32_t>(x)) - 1];
  }

 private:
  static constexpr int32_t kWords = kTop / 64;
  void walk(int32_t lo, int32_t hi, int64_t xlo, int64_t xhi, const int32_t* y);
  void run(int64_t xlo, int32_t result);

  BitRanks starts_;              // bit x: a run with a new result starts at x
  std::vector<int32_t> result_;  // result_[r]: findp over run r (0-based)
};

}  // namespace ntb
