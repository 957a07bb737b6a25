// The inclusion-exclusion totals from the parity-split sums against the walk
// that makes every term, on the table as built and after random edits:
// every total, every set subtotal and the number of passes must agree, and
// a table the sums do not cover must be left to the walk untouched.
#include "methods/engine/inclusion_totals.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "methods/engine/inclusion_terms.hpp"
#include "support/table_edits.hpp"

namespace ntb {
namespace {

struct Record final : InclusionVisitor {
  std::vector<int32_t> sets;  // index, prime, subtotal of each set line
  int32_t passes = 0;
  void set_done(int32_t i, int32_t p, int32_t subtotal) override {
    sets.insert(sets.end(), {i, p, subtotal});
  }
  void pass(int32_t) override { ++passes; }
  bool term(const InclusionTerm&) override { return true; }
};

// Compares the two on one table; false when the sums left it to the walk.
bool same_as_walk(int32_t n, const Tables& t, bool reduce, const std::string& what) {
  Record fast, walk;
  const auto got = inclusion_totals(n, t, reduce, fast);
  if (!got) {
    EXPECT_EQ(fast.passes, 0) << what;
    return false;
  }
  const InclusionResult want = inclusion_terms(n, t, reduce, walk);
  const std::string at = what + " N=" + std::to_string(n) + (reduce ? " reduced" : "");
  EXPECT_EQ(got->sr1, want.sr1) << at;
  EXPECT_EQ(got->positive, want.positive) << at;
  EXPECT_EQ(got->negative, want.negative) << at;
  EXPECT_EQ(got->terms, want.terms) << at;
  EXPECT_EQ(got->z11, want.z11) << at;
  EXPECT_EQ(got->completed, want.completed) << at;
  EXPECT_EQ(fast.passes, walk.passes) << at;
  EXPECT_EQ(fast.sets, walk.sets) << at;
  return true;
}

// Random N: small ones (a few sets), and up to `top`.
std::vector<int32_t> some_ns(std::mt19937& g, int32_t top) {
  std::uniform_int_distribution<int32_t> small(9, 5000), large(5001, top);
  return {small(g), large(g), large(g)};
}

void sweep(int tables, int32_t top, uint32_t seed) {
  std::mt19937 g(seed);
  int covered = 0;
  for (int k = 0; k < tables; ++k) {
    const testing::EditedTables e = testing::random_edits(g);
    for (int32_t n : some_ns(g, top)) {
      covered += same_as_walk(n, *e.t, e.no2357 == 1, e.what);
      // The reduced terms on any table, whatever the flag says.
      covered += same_as_walk(n, *e.t, e.no2357 != 1, e.what);
    }
  }
  EXPECT_GT(covered, 5 * tables);  // all but the rare table with 1s in the lead
}

TEST(InclusionTotals, AgreeWithTheWalkOnTheBenchTablesAndRandomEdits) {
  // As built, entry 6 at 100, 2, 3, 5, 7 out, 1 and 0 typed in and sorted
  // to the front by a later take-out, 9 typed at 100 (y out of order), then
  // 1 typed at 50 with the reduced terms.
  std::vector<testing::EditedTables> tables;
  tables.push_back(testing::copy_as_built());
  tables.push_back(testing::copy_as_built());
  testing::edit_take_out(tables.back(), 100);
  tables.push_back(testing::copy_as_built());
  testing::edit_take_away_2357(tables.back());
  tables.push_back(testing::copy_as_built());
  testing::edit_substitute(tables.back(), 30, 1);
  testing::edit_substitute(tables.back(), 40, 0);
  testing::edit_take_out(tables.back(), 7);
  tables.push_back(testing::copy_as_built());
  testing::edit_substitute(tables.back(), 100, 9);
  tables.push_back(testing::copy_as_built());
  testing::edit_take_out(tables.back(), 3);
  testing::edit_substitute(tables.back(), 100, 9);
  testing::edit_substitute(tables.back(), 50, 1);
  for (const auto& e : tables)
    for (int32_t n : {9, 100, 2000001, 30000000})
      EXPECT_TRUE(same_as_walk(n, *e.t, e.no2357 == 1, e.what)) << e.what << " " << n;
  // Three 1s at the front: twelve entries within N, where the walk stops.
  testing::EditedTables ones = testing::copy_as_built();
  for (int32_t i : {10, 11, 12}) testing::edit_substitute(ones, i, 1);
  testing::edit_take_out(ones, 20);
  EXPECT_FALSE(same_as_walk(300000000, *ones.t, true, ones.what));
  sweep(6, 3000000, 18);
}

TEST(InclusionTotalsFull, AgreeWithTheWalkOnRandomEdits) {
  if (std::getenv("NTBENCH_FULL") == nullptr) GTEST_SKIP() << "NTBENCH_FULL not set";
  testing::EditedTables nine = testing::copy_as_built();
  testing::edit_substitute(nine, 100, 9);
  for (bool reduce : {false, true}) {
    EXPECT_TRUE(same_as_walk(2147483647, tables_as_built(), reduce, "as built"));
    EXPECT_TRUE(same_as_walk(2147483647, *nine.t, reduce, nine.what));
  }
  sweep(60, 200000000, 19);
}

}  // namespace
}  // namespace ntb
