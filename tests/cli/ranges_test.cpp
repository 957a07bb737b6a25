// The range tables against the commands that answer one item: pi with
// --step against pi of each x (and x/ln(x), li(x) against known values),
// the gap histogram against the gaps rows counted here, the Goldbach range
// against the one-number goldbach, on random subranges and at both ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.hpp"

namespace ntb::cli {
namespace {

// The rows of a command's plain text, split at blanks; status 0 expected.
std::vector<std::vector<std::string>> rows_of(const std::vector<std::string>& args) {
  std::string out, err;
  const int status = run_in_memory(args, "", out, err);
  EXPECT_EQ(status, 0) << err;
  EXPECT_EQ(err, "");
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    rows.emplace_back();
    for (std::string f; fields >> f;) rows.back().push_back(f);
  }
  return rows;
}

TEST(RangeTables, PiStepsAgreeWithPiOfEachX) {
  struct Case {
    int64_t a, b, s;
  };
  std::vector<Case> cases = {{2, 2, 1},
                             {2, 100, 1},
                             {9, 5000000, 49999},
                             {1999000, 2001000, 97},
                             {2, 2147483647, 536870911},
                             {2147483600, 2147483647, 7}};
  std::mt19937 rng(20);
  for (int i = 0; i < 4; ++i) {
    const int64_t a = 2 + static_cast<int64_t>(rng() % 100000000);
    const int64_t b = a + static_cast<int64_t>(rng() % 30000000);
    cases.push_back({a, b, 1 + static_cast<int64_t>(rng() % 300000)});
  }
  for (const auto& [a, b, s] : cases) {
    const auto steps =
        rows_of({"pi", std::to_string(a), std::to_string(b), "--step", std::to_string(s)});
    std::vector<std::string> each = {"pi"};
    for (int64_t x = a; x <= b; x += s) each.push_back(std::to_string(x));
    const auto pis = rows_of(each);
    ASSERT_EQ(steps.size(), pis.size()) << a << " " << b << " " << s;
    for (size_t i = 0; i < steps.size(); ++i) {
      ASSERT_EQ(steps[i].size(), 4u);
      ASSERT_EQ(steps[i][0], pis[i][0]);
      ASSERT_EQ(steps[i][1], pis[i][1]) << "pi(" << steps[i][0] << ")";
    }
  }
  // x/ln(x) and li(x), the logarithmic integral from 0, to three decimals.
  const auto known = rows_of({"pi", "2", "1000000", "--step", "999998"});
  ASSERT_EQ(known.size(), 2u);
  EXPECT_EQ(known[0], (std::vector<std::string>{"2", "1", "2.885", "1.045"}));
  EXPECT_EQ(known[1], (std::vector<std::string>{"1000000", "78498", "72382.414", "78627.549"}));
  const auto top = rows_of({"pi", "1000000000", "1000000000", "--step", "1"});
  EXPECT_EQ(top.at(0),
            (std::vector<std::string>{"1000000000", "50847534", "48254942.434", "50849234.957"}));
}

TEST(RangeTables, GoldbachRangeAgreesWithEachN) {
  std::vector<std::pair<int64_t, int64_t>> cases = {{6, 6},   {6, 7}, {7, 7},
                                                    {7, 300}, {5, 5}, {1999000, 2000000}};
  std::mt19937 rng(6);
  for (int i = 0; i < 6; ++i) {
    const int64_t a = 6 + static_cast<int64_t>(rng() % 1999000);
    cases.emplace_back(a, std::min<int64_t>(2000000, a + static_cast<int64_t>(rng() % 500)));
  }
  for (const auto& [a, b] : cases) {
    if (a < 6) {
      std::string out, err;
      EXPECT_EQ(run_in_memory({"goldbach", std::to_string(a), "100"}, "", out, err), 2);
      continue;
    }
    // Each n of the range as its own N, padded in front with 6s to three
    // numbers or more (one or two numbers would be N or a range).
    std::vector<std::string> each = {"goldbach"};
    for (int64_t n = a + a % 2; n <= b; n += 2) each.push_back(std::to_string(n));
    const ptrdiff_t padding = std::max<ptrdiff_t>(0, 4 - static_cast<ptrdiff_t>(each.size()));
    each.insert(each.begin() + 1, static_cast<size_t>(padding), "6");
    auto expected = rows_of(each);
    expected.erase(expected.begin(), expected.begin() + padding);
    EXPECT_EQ(rows_of({"goldbach", std::to_string(a), std::to_string(b)}), expected)
        << a << ".." << b;
  }
}

TEST(RangeTables, HistogramCountsTheGapsRows) {
  struct Case {
    int64_t g1, g2, a, b;
  };
  std::vector<Case> cases = {{0, 10, 0, 2},    {1, 1, 2, 3},      {1, 400, 0, 3000000},
                             {6, 6, 100, 200}, {3, 5, 2, 100000}, {2, 100, 2147000000, 2147483647}};
  std::mt19937 rng(17);
  for (int i = 0; i < 4; ++i) {
    const int64_t a = static_cast<int64_t>(rng() % 2000000000),
                  g1 = static_cast<int64_t>(rng() % 40);
    cases.push_back(
        {g1, g1 + static_cast<int64_t>(rng() % 100), a, a + static_cast<int64_t>(rng() % 2000000)});
  }
  for (const auto& [g1, g2, a, b] : cases) {
    const std::vector<std::string> args = {"gaps", std::to_string(g1), std::to_string(g2),
                                           std::to_string(a), std::to_string(b)};
    std::map<std::string, int64_t> counted;
    for (const auto& row : rows_of(args)) ++counted[row.at(4)];
    std::vector<std::string> histogram_args = args;
    histogram_args.push_back("--histogram");
    std::map<std::string, int64_t> histogram;
    int64_t last = -1;
    for (const auto& row : rows_of(histogram_args)) {
      ASSERT_EQ(row.size(), 2u);
      ASSERT_GT(std::stoll(row[0]), last) << "gap sizes ascending";
      last = std::stoll(row[0]);
      histogram[row[0]] = std::stoll(row[1]);
    }
    EXPECT_EQ(histogram, counted) << g1 << " " << g2 << " " << a << " " << b;
  }
}

}  // namespace
}  // namespace ntb::cli
