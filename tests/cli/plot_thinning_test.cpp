// The thinning of a picture's rows against the whole table: a curve keeps
// its spike and its ends in a bounded number of rows; every dot of the
// comet stays in its pixel column, within a pixel row of where it was; the
// cells of a logarithmic axis are steps of the logarithm; a small table
// goes whole.
#include "cli/plot_thinning.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace ntb::cli {
namespace {

PlotField whole(uint64_t v) {
  return {true, v, 0};
}

struct Drawn {
  std::vector<std::vector<double>> rows;  // each row's values
  size_t sets = 1;                        // data sets
};

Drawn thin(const PlotLayout& layout, const std::vector<std::vector<PlotField>>& table,
           size_t exact_rows = 0) {
  Drawn d;
  PlotThinning t(
      layout,
      [&](std::span<const PlotField> row) {
        if (row.empty()) ++d.sets;
        std::vector<double> values;
        for (const PlotField& f : row) values.push_back(f.value());
        if (!values.empty()) d.rows.push_back(values);
      },
      exact_rows);
  for (const auto& row : table) t.add(row);
  t.finish();
  return d;
}

TEST(PlotThinning, CurvesKeepSpikesAndEndsInFewRows) {
  const PlotLayout layout{
      "", "", "", false, {{"up", PlotStyle::kLines}, {"spike", PlotStyle::kLines}}, 0, 999999};
  std::vector<std::vector<PlotField>> table;
  for (uint64_t x = 0; x < 1000000; ++x)
    table.push_back({whole(x), whole(3 * x + 7), whole(x == 654321 ? 5000 : 10)});
  const Drawn d = thin(layout, table);
  EXPECT_LE(d.rows.size(), 1200u * 6);  // first, last, and each series' lowest and highest
  ASSERT_FALSE(d.rows.empty());
  EXPECT_EQ(d.rows.front(), (std::vector<double>{0, 7, 10}));
  EXPECT_EQ(d.rows.back(), (std::vector<double>{999999, 3 * 999999 + 7, 10}));
  size_t spikes = 0;
  for (size_t i = 0; i < d.rows.size(); ++i) {
    spikes += d.rows[i][2] == 5000;
    if (i > 0) {
      EXPECT_LT(d.rows[i - 1][0], d.rows[i][0]) << "the table's order";
    }
  }
  EXPECT_EQ(spikes, 1u);
}

TEST(PlotThinning, EveryDotStaysInItsPixelColumnWithinAPixelRow) {
  const int columns = 1200, rows = 800;
  const PlotLayout layout{"", "", "", false, {{"comet", PlotStyle::kDots}}, 6, 4000004};
  std::mt19937_64 random(7);
  std::vector<std::vector<PlotField>> table;
  double y_low = 1e300, y_high = -1e300;
  for (uint64_t n = 6; n <= 4000004; n += 2) {  // a comet-like band, and a few lone dots
    const uint64_t y = n % 7 == 0 ? n / 3 : n / 60 + random() % (n / 40 + 1);
    table.push_back({whole(n), whole(y)});
    y_low = std::min(y_low, double(y)), y_high = std::max(y_high, double(y));
  }
  const Drawn d = thin(layout, table);
  const auto cell = [&](double x, double y) {
    const auto c = std::min(columns - 1, static_cast<int>((x - 6) / (4000004 - 6) * columns));
    const auto r = static_cast<int>((y - y_low) / (y_high - y_low) * rows);
    return std::pair{c, r};
  };
  std::set<std::pair<int, int>> kept, hit;
  for (const auto& row : d.rows) {
    EXPECT_TRUE(row[1] >= y_low && row[1] <= y_high) << row[1];
    kept.insert(cell(row[0], row[1]));
  }
  for (const auto& row : table) hit.insert(cell(row[0].value(), row[1].value()));
  EXPECT_LE(d.rows.size(), hit.size() * 2 + 4);
  EXPECT_LT(d.rows.size(), table.size() / 10);
  size_t lost = 0;
  for (const auto& [c, r] : hit)
    lost += !kept.contains({c, r}) && !kept.contains({c, r - 1}) && !kept.contains({c, r + 1});
  EXPECT_EQ(lost, 0u) << "of " << hit.size() << " cells";
}

TEST(PlotThinning, LogarithmicCellsAndSmallTablesWhole) {
  // 1 and 2 lie a third of a decade apart on a log axis over nine decades,
  // 1e9 and 1.0001e9 in one pixel; on a linear axis 1 and 2 share one too.
  std::vector<std::vector<PlotField>> table;
  for (int i = 0; i < 100; ++i)
    for (const uint64_t y : {1, 2, 1000000000, 1000100000}) table.push_back({whole(50), whole(y)});
  for (const bool log_y : {true, false}) {
    const PlotLayout layout{"", "", "", log_y, {{"d", PlotStyle::kDots}}, 0, 100};
    std::set<double> ys;
    for (const auto& row : thin(layout, table).rows) ys.insert(row[1]);
    // The four real extremes (1 and 1.0001e9) and the cells' centres.
    EXPECT_EQ(ys.size(), log_y ? 5u : 4u) << "log " << log_y;
  }
  // Values of every size, infinite or undefined, short rows: two data sets.
  const double odd[] = {0, 5e-324, -1e300, 1.7e308, -1.7e308, INFINITY, NAN, 3};
  for (const bool log_y : {true, false}) {
    const PlotLayout any{
        "", "", "", log_y, {{"d", PlotStyle::kDots}, {"l", PlotStyle::kLines}}, -1e308, 1e308};
    std::vector<std::vector<PlotField>> rows;
    for (uint64_t i = 0; i < 512; ++i)
      rows.push_back({{false, 0, odd[i % 8]}, {false, 0, odd[i / 8 % 8]}, whole(i << 50)});
    EXPECT_EQ(thin(any, rows).sets, 2u);
  }
  // Under the limit the rows go whole, in one data set.
  const PlotLayout comet{"", "", "", false, {{"d", PlotStyle::kDots}, {"e", PlotStyle::kDots}},
                         0,  9};
  std::vector<std::vector<PlotField>> small;
  for (uint64_t x = 0; x < 10; ++x) small.push_back({whole(x), whole(x % 3), whole(5)});
  const Drawn d = thin(comet, small, 10);
  EXPECT_EQ(d.sets, 1u);
  ASSERT_EQ(d.rows.size(), 10u);
  for (uint64_t x = 0; x < 10; ++x)
    EXPECT_EQ(d.rows[x], (std::vector<double>{double(x), double(x % 3), 5}));
}

}  // namespace
}  // namespace ntb::cli
