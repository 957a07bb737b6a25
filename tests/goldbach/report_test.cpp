// Whole counts that pass 32 bits in fields built for 32-bit numbers, and
// the even numbers the Goldbach entries take.
#include "goldbach/report.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ntb {
namespace {

std::string record(std::string_view layout, Items items) {
  std::vector<std::string> out;
  format_records(layout, std::span<const Item>(items.begin(), items.size()), out);
  return out.at(0);
}

TEST(GoldbachReport, WholeCountsInIntegerFields) {
  EXPECT_EQ(record("(1X,2I10)", {WholeField(140, 10), WholeField(-7, 10)}),
            "        140        -7");
  EXPECT_EQ(record("(1X,I10)", {WholeField(2147483647.0, 10)}), " 2147483647");
  // Beyond 32 bits: the digits while they fit the field, asterisks beyond.
  EXPECT_EQ(record("(1X,I10)", {WholeField(5987129787.0, 10)}), " 5987129787");
  EXPECT_EQ(record("(1X,I10)", {WholeField(33030000000.0, 10)}), " **********");
  EXPECT_EQ(record("(1X,I12)", {WholeField(33030000000.0, 12)}), "  33030000000");
  std::vector<std::string> out;
  const Items items = {list_whole(12.0), list_whole(3.3e10)};
  format_list(std::span<const Item>(items.begin(), items.size()), out);
  EXPECT_EQ(out.at(0), "          12   3.300000000000000E+010");
}

TEST(GoldbachReport, AcceptedEvenNumbers) {
  for (double n : {6.0, 8.0, 100.0, 1999998.0, 2000000.0}) EXPECT_TRUE(accepted_even(n)) << n;
  for (double n : {0.0, 2.0, 4.0, 5.0, 7.0, 99.0, 2000001.0, 2000002.0, 2147483647.0})
    EXPECT_FALSE(accepted_even(n)) << n;
  EXPECT_EQ(pad("abc", 5), "abc  ");
  EXPECT_EQ(pad("abcdef", 4), "abcd");
}

}  // namespace
}  // namespace ntb
