// The rows of a picture thinned to what the picture can show.  A table of
// millions of rows would make gnuplot hold every row (about a hundred bytes
// a point, a gigabyte for Goldbach's comet up to eight million), while the
// picture is 1200 x 800 pixels.  A table of at most kExactRows rows is drawn
// as it is.  Past that the x range is cut into one column per pixel and:
//   - curves and bars (their rows come in x order) keep, in each column,
//     its first and last row and the rows of each series' lowest and
//     highest value, so that no spike is lost and a curve's ends stay where
//     they are;
//   - dots (Goldbach's comet) keep one dot per occupied cell of the
//     picture's pixel grid: each series marks the cells it hits in a bitmap
//     of its own, fine enough whatever its range turns out to be, and the
//     marks are read out on a grid of one cell per pixel of the y range of
//     all series once the table is done.  The real extreme points of each
//     series go out too, so that gnuplot scales the axes as for the whole
//     table.
// The y cells follow the axis: on a logarithmic one they are equal steps of
// the logarithm.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "cli/plot.hpp"

namespace ntb::cli {

// The marks of one dots series, one bit per cell: columns of kCells cells
// of height 2^exponent over a window that moves down and coarsens (cells
// merged two by two) as the values spread.
class DotCells {
 public:
  explicit DotCells(int columns) : columns_(columns) {}
  // Marks the cell of value t (already on the axis' scale) in column c.
  void add(int c, double t);
  // Each marked cell, column by column, upwards: f(column, centre of the cell).
  void each(const std::function<void(int, double)>& f) const;

 private:
  static constexpr int kCells = 4096;  // a window's cells: the spread fills a quarter to a half
  static constexpr int kWords = kCells / 64;
  void remap(int coarser, int64_t origin);

  int columns_;
  int exponent_ = 0;            // a cell is 2^exponent_ high
  int64_t origin_ = 0;          // the cell number at the bottom of the window
  int64_t low_ = 0, high_ = 0;  // the lowest and highest cell marked
  bool empty_ = true;
  std::vector<uint64_t> bits_;  // columns_ x kWords words, from the first mark
};

class PlotThinning {
 public:
  static constexpr size_t kExactRows = size_t{1} << 16;
  // Takes the rows to draw, each x first; an empty row starts the next data
  // set (two blank lines in gnuplot's data).
  using Sink = std::function<void(std::span<const PlotField>)>;

  // For the series of layout, in a picture of `columns` x `rows` pixels.
  PlotThinning(const PlotLayout& layout, Sink sink, size_t exact_rows = kExactRows,
               int columns = 1200, int rows = 800);

  // One row of the table: x, then one field per series (missing ones count
  // as undefined).
  void add(std::span<const PlotField> row);
  // Sends what is left.
  void finish();

  // After finish(): where series i went, as gnuplot's `index` (-1: the table
  // went whole, in one data set) and `using 1:column`.
  struct Source {
    int index;
    int column;
  };
  Source source(size_t series) const;

 private:
  struct Kept {
    uint64_t order = 0;  // the row's place in the table
    bool used = false;
    double t = 0;  // the series' value on the axis' scale (lowest and highest)
    std::vector<PlotField> row;
  };
  struct Point {
    PlotField x, y;
  };
  // The real points of a dots series that set the axes' ranges: its lowest
  // and highest x, its lowest and highest y.
  struct Extremes {
    bool seen = false;
    Point ends[4];
  };
  void thin(std::span<const PlotField> row);
  static void keep(Kept& slot, std::span<const PlotField> row, uint64_t order, double t);
  void end_column();
  double on_axis(double y) const;  // y on the axis' scale, NaN where not drawn

  std::vector<PlotStyle> styles_;
  bool log_y_;
  double x_from_, x_to_;
  int columns_, rows_;
  Sink sink_;
  size_t exact_rows_;
  std::vector<PlotField> padded_;  // a short row made whole
  std::vector<PlotField> held_;    // the rows so far while the table may go whole
  size_t held_rows_ = 0;
  bool thinning_ = false;
  bool curves_ = false;  // some series is drawn from the rows kept per column
  uint64_t order_ = 0;
  int column_ = -1;
  std::vector<Kept> kept_;  // first, last, then lowest and highest of each series
  std::vector<DotCells> cells_;
  std::vector<Extremes> extremes_;
  double t_low_, t_high_;  // the y range of all series, on the axis' scale
};

}  // namespace ntb::cli
