// The constant-time findp against the binary search itself, on tables as
// edits leave them and on tables in no order at all.
#include "numtheory/tables/findp_lookup.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>

#include "support/scripted_console.hpp"
#include "support/table_edits.hpp"

namespace ntb {
namespace {

// Every value of the table and its neighbours, a random sample, both ends
// of the looked-up range and numbers outside it.
void expect_search(const Tables& t, uint32_t seed, const std::string& what) {
  const auto lookup = FindpLookup::of(t);
  auto check = [&](int32_t x) {
    ASSERT_EQ((*lookup)(x, t), findp_of(x, t)) << "x = " << x << what;
  };
  for (int32_t i = 1; i <= kYSize; i += 1 + static_cast<int32_t>(i > 2000) * 6) {
    const int32_t v = t.y[i];
    for (int32_t x : {v - 1, v, v + 1}) check(x);
  }
  std::mt19937 rng(seed);
  for (int k = 0; k < 20000; ++k) check(static_cast<int32_t>(rng() % (FindpLookup::kTop + 1000)));
  for (int32_t x : {0, 1, FindpLookup::kTop - 1, FindpLookup::kTop, INT32_MAX, -1, INT32_MIN})
    check(x);
}

TEST(FindpLookup, EditedTables) {
  expect_search(testing::built_tables(), 1, " as built");
  for (uint32_t k = 0; k < 12; ++k) {
    const auto e = testing::random_edits(2000 + k);
    expect_search(*e.t, k, e.what);
  }
}

// Values in no order, repeated, 0 among them, and the search's answers on
// ascending runs with long stretches of one value.
TEST(FindpLookup, TablesInNoOrder) {
  std::mt19937 rng(3);
  for (int k = 0; k < 4; ++k) {
    auto t = std::make_unique<Tables>(testing::built_tables());
    for (int32_t i = 1; i <= kYSize; ++i)
      t->y[i] = k % 2 ? static_cast<int32_t>(rng() % 3000000) : static_cast<int32_t>(rng() % 50);
    if (k >= 2) std::sort(t->y.begin() + 1, t->y.end());
    substitute(*t, 1, t->y[1]);  // a new stamp for the new content
    expect_search(*t, k, " table " + std::to_string(k));
  }
}

TEST(FindpLookup, FollowsTheStampOfTheTable) {
  auto t = std::make_unique<Tables>(testing::built_tables());
  const auto before = FindpLookup::of(*t);
  EXPECT_EQ((*before)(541, *t), 100);
  take_out(*t, 100);
  const auto after = FindpLookup::of(*t);
  EXPECT_EQ((*after)(541, *t), 99);
  EXPECT_EQ((*before)(541, testing::built_tables()), 100);  // a holder keeps its own
}

}  // namespace
}  // namespace ntb
