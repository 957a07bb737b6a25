// The prime tables y and yc: their builds against a sieve, the binary
// searches, the edits and the rebuilds that follow them.
#include "numtheory/tables/tables.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using testing::built_tables;

std::vector<bool> sieve(int32_t n) {
  std::vector<bool> p(n + 1, true);
  p[0] = p[1] = false;
  for (int64_t i = 2; i * i <= n; ++i)
    if (p[i])
      for (int64_t j = i * i; j <= n; j += i) p[j] = false;
  return p;
}

std::unique_ptr<Tables> fresh() {
  return std::make_unique<Tables>(built_tables());
}

TEST(Tables, BuildsMatchASieve) {
  const Tables& t = built_tables();
  const auto prime = sieve(2000601);
  std::vector<int32_t> primes, composites;
  for (int32_t n = 2; n <= 2000601; ++n)
    if (prime[n]) primes.push_back(n);
  for (int32_t n = 3; n <= 1999999; n += 2)
    if (!prime[n]) composites.push_back(n);
  ASSERT_EQ(primes.size(), size_t(kYFilled));
  EXPECT_TRUE(std::equal(primes.begin(), primes.end(), t.y.begin() + 1));
  EXPECT_EQ(t.y[kYFilled], 2000597);
  for (int32_t i = kYFilled + 1; i <= kYSize; ++i) EXPECT_EQ(t.y[i], 0);
  ASSERT_EQ(composites.size(), size_t(kYcSize - 1));
  EXPECT_TRUE(std::equal(composites.begin(), composites.end(), t.yc.begin() + 1));
  EXPECT_EQ(t.yc[kYcSize], 0);
  EXPECT_EQ(t.yc_count, kYcSize - 1);
  EXPECT_TRUE(t.y_pristine);
  EXPECT_TRUE(t.yc_pristine);
}

TEST(Tables, SearchesAsBuilt) {
  const Tables& t = built_tables();
  EXPECT_EQ(findp_of(1, t), 0);
  EXPECT_EQ(findp_of(2, t), 1);
  EXPECT_EQ(findp_of(3, t), 2);
  EXPECT_EQ(findp_of(4, t), 2);
  EXPECT_EQ(findp_of(2000000, t), 148933);
  EXPECT_EQ(findp_of(kTableExtent, t), kPrimesInExtent);
  for (int32_t x : {2000390, 2000391, 2000597, 3000000, 2147483647})
    EXPECT_EQ(findp_of(x, t), 149000);
  EXPECT_EQ(findc_of(8, t), 0);
  EXPECT_EQ(findc_of(9, t), 1);
  EXPECT_EQ(findc_of(1999999, t), 851067);
  for (int32_t x : {2000000, 2147483647}) EXPECT_EQ(findc_of(x, t), 851068);
  const int32_t start[] = {9, 15, 21, 25, 27};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(t.yc[i + 1], start[i]);
  int32_t x = 100;
  EXPECT_EQ(findp(x, t), 25);
  EXPECT_EQ(x, 25);  // the value is overwritten by its position
}

TEST(Tables, FindpCountsEntriesNotAboveOverTheWholeRange) {
  const Tables& t = built_tables();
  const auto prime = sieve(2000389);
  int32_t count = 0;
  for (int32_t x = 0; x <= 2000389; ++x) {
    count += prime[x];
    ASSERT_EQ(findp_of(x, t), count) << x;
  }
}

TEST(Tables, TakingOutTheFirstPrime) {
  auto t = fresh();
  take_out(*t, 1);
  build_yc(*t, 1, 1, 0);
  EXPECT_EQ(t->y[1], 3);
  EXPECT_EQ(t->y[2], 5);
  EXPECT_EQ(t->y[3], 7);
  EXPECT_EQ(t->y[kYSorted], kMarker);
  EXPECT_EQ(t->yc[1], 9);
  EXPECT_EQ(t->yc[2], 15);
  EXPECT_EQ(t->yc[3], 21);
  EXPECT_FALSE(t->y_pristine);
  EXPECT_FALSE(t->yc_pristine);
  // The marker at 148500 stops the walk: every odd number from 1993933 is
  // written, more values than yc holds, and the extra ones are dropped.
  EXPECT_EQ(t->y[kYSorted - 1], 1993931);
  EXPECT_GT(t->yc_count, kYcSize);
  EXPECT_EQ(t->yc_count, 851500);
  EXPECT_EQ(t->yc[kYcSize], 1993933 + 2 * (kYcSize - findc_of(1993931, *t) - 1));
}

TEST(Tables, TakingAway2357) {
  auto t = fresh();
  for (int k = 0; k < 4; ++k) take_out(*t, 1);
  build_yc(*t, 1, 1, 1);
  EXPECT_EQ(t->y[1], 11);
  EXPECT_EQ(t->y[2], 13);
  for (int32_t i = 148497; i <= 148500; ++i) EXPECT_EQ(t->y[i], kMarker);
  EXPECT_EQ(t->yc[1], 3);
  EXPECT_EQ(t->yc[2], 5);
  EXPECT_EQ(t->yc[3], 7);
  EXPECT_EQ(t->yc[4], 9);
  EXPECT_EQ(t->yc_count, 851503);
}

TEST(Tables, TakingOutAMiddlePrimeAndALatePrime) {
  auto t = fresh();
  take_out(*t, 5);  // 11
  build_yc(*t, 1, 5, 0);
  EXPECT_EQ(t->y[5], 13);
  EXPECT_EQ(findc_of(11, *t), findc_of(9, built_tables()) + 1);  // 11 is now a non-prime
  // A position above 148500 keeps its marker in place, and a rebuild of y
  // leaves slots above 148977 as they were.
  auto u = fresh();
  take_out(*u, 148990);
  EXPECT_EQ(u->y[148990], kMarker);
  build_y(*u);
  EXPECT_EQ(u->y[148990], kMarker);
  EXPECT_FALSE(u->y_pristine);
}

TEST(Tables, SubstitutionAndFullRebuild) {
  auto t = fresh();
  const uint64_t v0 = t->version;
  substitute(*t, 10, 27);
  EXPECT_EQ(t->y[10], 27);
  EXPECT_GT(t->version, v0);
  EXPECT_FALSE(t->y_pristine);
  build_y(*t);
  build_yc(*t, 0, 0, 0);
  EXPECT_EQ(t->y[10], 29);
  EXPECT_TRUE(t->y_pristine);
  EXPECT_TRUE(t->yc_pristine);
}

TEST(Tables, WalkAfterAnEditLeavesTheLastSlotFilled) {
  // After an edit the walk fills slot 851068; a later walk with y rebuilt
  // leaves it as it was, so yc is no longer as at start-up.
  auto t = fresh();
  take_out(*t, 1);
  build_yc(*t, 1, 1, 0);
  build_y(*t);
  build_yc(*t, 0, 1, 0);
  EXPECT_NE(t->yc[kYcSize], 0);
  EXPECT_FALSE(t->yc_pristine);
  EXPECT_EQ(findc_of(2000000, *t), kYcSize);
}

}  // namespace
}  // namespace ntb
