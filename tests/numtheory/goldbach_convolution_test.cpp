// The exact transform against the sum it stands for, and the range counts
// of all three kinds against pairs counted one by one.
#include "numtheory/goldbach/goldbach_convolution.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "goldbach/oracle.hpp"

namespace ntb {
namespace {

TEST(GoldbachConvolution, CyclicSquareEqualsTheDirectSumModuloThePrime) {
  std::mt19937 rng(20);
  for (uint32_t size = 1; size <= 512; size *= 2)
    for (int round = 0; round < 3; ++round) {
      std::vector<uint32_t> f(size);
      // Round 0: residues just below the modulus; the others: any residue.
      for (auto& x : f) x = round == 0 ? kNttPrime - 1 - rng() % 4 : rng() % kNttPrime;
      std::vector<uint32_t> expect(size, 0);
      for (uint32_t i = 0; i < size; ++i)
        for (uint32_t j = 0; j < size; ++j)
          expect[(i + j) % size] = static_cast<uint32_t>(
              (expect[(i + j) % size] + uint64_t{f[i]} * f[j] % kNttPrime) % kNttPrime);
      cyclic_self_convolution(f);
      ASSERT_EQ(f, expect) << "size " << size << " round " << round;
    }
  std::vector<uint32_t> three(3);
  EXPECT_THROW(cyclic_self_convolution(three), std::invalid_argument);
}

// Every row of [a, b] against the oracle's pairs, tried member by member.
void expect_range(const testing::Oracle& o, uint32_t a, uint32_t b) {
  const GoldbachRange range(a, b);
  uint32_t next = a + a % 2, rows = 0;
  range.each([&](const GoldbachRow& r) {
    ASSERT_EQ(r.n, next) << a << ".." << b;
    const auto n = static_cast<int32_t>(r.n);
    ASSERT_EQ(r.prime_pairs, static_cast<uint32_t>(o.prime_pairs(n))) << n;
    ASSERT_EQ(r.mixed_pairs, static_cast<uint32_t>(o.mixed_pairs(n))) << n;
    ASSERT_EQ(r.composite_pairs, static_cast<uint32_t>(o.composite_pairs(n))) << n;
    next += 2;
    ++rows;
  });
  EXPECT_EQ(rows, b >= a + a % 2 ? (b - (a + a % 2)) / 2 + 1 : 0) << a << ".." << b;
}

// Both ends of the smallest ranges, every n to 3000, random subranges (the
// cyclic fold depends on where the range starts), and the top of the
// workbench's range.
TEST(GoldbachConvolution, RangeCountsEqualPairsCountedOneByOne) {
  const testing::Oracle small(20000);
  expect_range(small, 6, 6);
  expect_range(small, 7, 7);
  expect_range(small, 6, 8);
  expect_range(small, 7, 3001);
  std::mt19937 rng(17);
  for (int i = 0; i < 40; ++i) {
    const uint32_t a = 6 + rng() % 19990, b = std::min<uint32_t>(20000, a + rng() % 400);
    expect_range(small, a, b);
  }
  const testing::Oracle big(2000000);
  expect_range(big, 1999901, 2000000);
  EXPECT_THROW(GoldbachRange(5, 8), std::invalid_argument);
  EXPECT_THROW(GoldbachRange(8, 6), std::invalid_argument);
  EXPECT_THROW(GoldbachRange(6, kGoldbachRangeTop + 1), std::invalid_argument);
}

// The top of the range command: the largest transform.
TEST(GoldbachConvolutionFull, RangeCountsAtTheTop) {
  if (!std::getenv("NTBENCH_FULL")) GTEST_SKIP() << "set NTBENCH_FULL for the largest transform";
  const testing::Oracle big(static_cast<int32_t>(kGoldbachRangeTop));
  expect_range(big, kGoldbachRangeTop - 100, kGoldbachRangeTop);
}

}  // namespace
}  // namespace ntb
