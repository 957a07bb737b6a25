// The computing steps of the triplet elaboration against plain references:
// the alignment against the pairwise comparison of every row (the last match
// winning), the blocks led by 2, 3 and 5, the ascending order, and the row
// count of N2 found again.
#include "methods/engine/triplet_steps.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace ntb {
namespace {

// The alignment as a double loop over the rows.
void align_reference(TripVector& a, const TripVector& comb, int32_t cnt, const TripVector& comb3,
                     int32_t cnt3) {
  auto work = std::make_unique<TripVector>();
  work->fill(0);
  for (int32_t i = 1; i <= cnt3; ++i)
    for (int32_t j = 1; j <= cnt; ++j)
      if (comb3[i] == comb[j]) (*work)[i] = a[j];
  (*work)[cnt3 + 1] = a[cnt + 1];
  a = *work;
}

TEST(TripletSteps, AlignmentMatchesThePairwiseComparison) {
  std::mt19937 gen(5);
  for (int trial = 0; trial < 40; ++trial) {
    SCOPED_TRACE(trial);
    auto comb = std::make_unique<TripVector>(), comb3 = std::make_unique<TripVector>();
    auto a = std::make_unique<TripVector>(), expected = std::make_unique<TripVector>();
    comb->fill(0);
    comb3->fill(0);
    a->fill(0);
    // Few distinct values, so combinations repeat and the last match counts.
    const int32_t range = trial % 2 ? 30 : 3000;
    const int32_t cnt = std::uniform_int_distribution<int32_t>(0, 2000)(gen);
    const int32_t cnt3 = std::uniform_int_distribution<int32_t>(0, 2000)(gen);
    std::uniform_int_distribution<int32_t> value(1, range);
    for (int32_t j = 1; j <= cnt + 1; ++j) (*a)[j] = j * 10 + 0.5;
    for (int32_t j = 1; j <= cnt; ++j) (*comb)[j] = value(gen);
    for (int32_t i = 1; i <= cnt3; ++i) (*comb3)[i] = value(gen);
    *expected = *a;
    align_reference(*expected, *comb, cnt, *comb3, cnt3);
    align_to_n3(*a, *comb, cnt, *comb3, cnt3);
    ASSERT_TRUE(*a == *expected);
  }
}

TEST(TripletSteps, AlignmentAtTheEndOfTheVectors) {
  auto comb = std::make_unique<TripVector>(), a = std::make_unique<TripVector>();
  for (int32_t r = 0; r <= kTripRows; ++r) {
    (*comb)[r] = r;
    (*a)[r] = -r;
  }
  // cnt3 + 1 and cnt + 1 past the last entry: nothing is written there.
  align_to_n3(*a, *comb, kTripRows, *comb, kTripRows);
  EXPECT_EQ((*a)[1], -1);
  EXPECT_EQ((*a)[kTripRows], -kTripRows);
  auto b = std::make_unique<TripVector>();
  b->fill(7);
  align_to_n3(*b, *comb, 40000, *comb, -3);  // counts held inside the vectors
  EXPECT_EQ((*b)[1], 0);
}

TEST(TripletSteps, PrimeBlocks) {
  auto v = std::make_unique<TripVector>();
  v->fill(0);
  const double thirty[] = {2, 6, 4, 8, 3, 9, 5};
  std::copy(std::begin(thirty), std::end(thirty), v->begin() + 1);
  PrimeBlocks b = prime_blocks(*v);
  EXPECT_EQ(b.two, 4);
  EXPECT_EQ(b.three, 2);
  EXPECT_EQ(b.five, 1);
  // Entry 1 is taken without a test; a block may be empty.
  const double odd[] = {7, 10, 25, 11};
  v->fill(0);
  std::copy(std::begin(odd), std::end(odd), v->begin() + 1);
  b = prime_blocks(*v);
  EXPECT_EQ(b.two, 2);
  EXPECT_EQ(b.three, 0);
  EXPECT_EQ(b.five, 1);
  v->fill(0);
  b = prime_blocks(*v);
  EXPECT_EQ(b.two + b.three + b.five, 0);
  v->fill(2);  // no zero anywhere: the block stops at the last entry
  EXPECT_EQ(prime_blocks(*v).two, kTripRows);
  EXPECT_EQ(leading_nonzero(*v), kTripRows);
}

TEST(TripletSteps, SortPutsTheNonZeroEntriesFirstAscending) {
  auto v = std::make_unique<TripVector>();
  v->fill(0);
  const double values[] = {9, 0, 3, 0, 12, 3, 1};
  std::copy(std::begin(values), std::end(values), v->begin() + 1);
  sort_nonzero_first(*v);
  const std::vector<double> front(v->begin() + 1, v->begin() + 7);
  EXPECT_EQ(front, (std::vector<double>{1, 3, 3, 9, 12, 0}));
  EXPECT_EQ(leading_nonzero(*v), 5);
  EXPECT_EQ((*v)[kTripRows], 0);
}

TEST(TripletSteps, RowCountOfN2FoundAgain) {
  auto td = std::make_unique<TripletData>();
  EXPECT_EQ(recover_cnt2(*td), 0);  // nothing stored
  // Five rows, the prime count, the row count.
  const double a2[] = {4, 1, 3, 1, 2, 8, 5};
  std::copy(std::begin(a2), std::end(a2), td->a2.begin() + 1);
  td->cnt2 = 5;
  EXPECT_EQ(recover_cnt2(*td), 5);
  EXPECT_EQ(td->a2[7], 0);
  EXPECT_EQ(td->a2[6], 8);
  // A run without rows: entry 1 is the prime count and stays.
  td = std::make_unique<TripletData>();
  td->a2[1] = 2;
  EXPECT_EQ(recover_cnt2(*td), 0);
  EXPECT_EQ(td->a2[1], 2);
  // N2 = 0: a prime count of -1 is no row count either.
  td->a2[1] = -1;
  EXPECT_EQ(recover_cnt2(*td), 0);
  // A count beyond the vectors is held inside them.
  td = std::make_unique<TripletData>();
  td->a2[1] = 1;
  td->a2[2] = 1e9;
  td->cnt2 = 3;
  EXPECT_EQ(recover_cnt2(*td), kTripRows);
}

TEST(TripletSteps, RoundingTakesHalvesAwayFromZero) {
  auto td = std::make_unique<TripletData>();
  td->comb1[1] = 2.5;
  td->comb2[1] = 5.9999999;
  td->comb3[1] = 3.4999;
  td->comb3[kTripRows] = 0.5;
  round_combinations(*td);
  EXPECT_EQ(td->comb1[1], 3);
  EXPECT_EQ(td->comb2[1], 6);
  EXPECT_EQ(td->comb3[1], 3);
  EXPECT_EQ(td->comb3[kTripRows], 1);
}

}  // namespace
}  // namespace ntb
