// The thinning of a picture's rows: see plot_thinning.hpp.
#include "cli/plot_thinning.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace ntb::cli {

namespace {

constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();

// v >> d for any d >= 0: v / 2^d rounded down.
int64_t shift_down(int64_t v, int d) {
  return d >= 63 ? (v < 0 ? -1 : 0) : v >> d;
}

// The number of the cell of height 2^exponent that holds t.
int64_t cell_of(double t, int exponent) {
  return static_cast<int64_t>(std::floor(std::ldexp(t, -exponent)));
}

// Which of n equal cells from `from` to `to` holds v, held in 0..n-1 (0
// for a range or a value that is not a number).
int cell_index(double v, double from, double to, int n) {
  const double at = (v - from) / (to - from) * n;
  return at >= 0 && at < n ? static_cast<int>(at) : at >= n ? n - 1 : 0;
}

PlotField real_field(double v) {
  PlotField f;
  f.real = v;
  return f;
}

}  // namespace

void DotCells::add(int c, double t) {
  if (c < 0 || c >= columns_ || !std::isfinite(t)) return;
  if (empty_) exponent_ = (t == 0 ? 0 : std::ilogb(t)) - 40;
  // Cells coarse enough that a cell number stays below 2^61 in magnitude.
  int coarser = t == 0 ? 0 : std::max(0, std::ilogb(t) - exponent_ - 60);
  int64_t cell = cell_of(t, exponent_ + coarser);
  if (empty_) {
    exponent_ += coarser;
    bits_.assign(static_cast<size_t>(columns_) * kWords, 0);
    origin_ = cell - kCells / 4;
    low_ = high_ = cell;
    empty_ = false;
  } else if (coarser > 0 || cell < origin_ || cell - origin_ >= kCells) {
    // Out of the window: coarsen until the marks and t spread over less than
    // half a window, which then starts a quarter of a window below them.
    int64_t low = 0, high = 0;
    for (;; ++coarser) {
      cell = cell_of(t, exponent_ + coarser);
      low = std::min(shift_down(low_, coarser), cell);
      high = std::max(shift_down(high_, coarser), cell);
      if (high - low < kCells / 2) break;
    }
    remap(coarser, low - kCells / 4);
    low_ = low;
    high_ = high;
  }
  low_ = std::min(low_, cell);
  high_ = std::max(high_, cell);
  const int64_t r = cell - origin_;
  bits_[static_cast<size_t>(c) * kWords + static_cast<size_t>(r / 64)] |= uint64_t{1} << (r % 64);
}

void DotCells::remap(int coarser, int64_t origin) {
  std::vector<uint64_t> moved(bits_.size(), 0);
  for (size_t w = 0; w < bits_.size(); ++w)
    for (uint64_t word = bits_[w]; word != 0; word &= word - 1) {
      const int64_t cell = origin_ + static_cast<int64_t>(w % kWords) * 64 + std::countr_zero(word);
      const int64_t r = shift_down(cell, coarser) - origin;
      if (r < 0 || r >= kCells) continue;  // cannot happen: the window holds every mark
      moved[w - w % kWords + static_cast<size_t>(r / 64)] |= uint64_t{1} << (r % 64);
    }
  bits_.swap(moved);
  exponent_ += coarser;
  origin_ = origin;
}

void DotCells::each(const std::function<void(int, double)>& f) const {
  if (empty_) return;
  for (size_t w = 0; w < bits_.size(); ++w)
    for (uint64_t word = bits_[w]; word != 0; word &= word - 1) {
      const int64_t cell = origin_ + static_cast<int64_t>(w % kWords) * 64 + std::countr_zero(word);
      f(static_cast<int>(w / kWords), std::ldexp(static_cast<double>(cell) + 0.5, exponent_));
    }
}

PlotThinning::PlotThinning(const PlotLayout& layout, Sink sink, size_t exact_rows, int columns,
                           int rows)
    : log_y_(layout.log_y),
      x_from_(std::min(layout.x_from, layout.x_to)),
      x_to_(std::max(layout.x_from, layout.x_to)),
      columns_(std::max(columns, 1)),
      rows_(std::max(rows, 1)),
      sink_(std::move(sink)),
      exact_rows_(exact_rows),
      t_low_(std::numeric_limits<double>::infinity()),
      t_high_(-std::numeric_limits<double>::infinity()) {
  for (const PlotSeries& s : layout.series) {
    styles_.push_back(s.style);
    curves_ = curves_ || s.style != PlotStyle::kDots;
    cells_.emplace_back(columns_);
  }
  kept_.resize(2 + 2 * styles_.size());
  extremes_.resize(styles_.size());
}

double PlotThinning::on_axis(double y) const {
  const double t = log_y_ ? (y > 0 ? std::log10(y) : kUndefined) : y;
  return std::isfinite(t) ? t : kUndefined;
}

void PlotThinning::add(std::span<const PlotField> row) {
  const size_t width = 1 + styles_.size();
  if (row.size() < width) {
    padded_.assign(row.begin(), row.end());
    padded_.resize(width, real_field(kUndefined));
    row = padded_;
  }
  row = row.first(width);
  if (thinning_) return thin(row);
  held_.insert(held_.end(), row.begin(), row.end());
  if (++held_rows_ <= exact_rows_) return;
  // Too many rows to draw them all: from here on, thinned.
  thinning_ = true;
  std::vector<PlotField> held;
  held.swap(held_);
  for (size_t i = 0; i < held_rows_; ++i) thin(std::span(held).subspan(i * width, width));
}

void PlotThinning::keep(Kept& slot, std::span<const PlotField> row, uint64_t order, double t) {
  slot.used = true;
  slot.order = order;
  slot.t = t;
  slot.row.assign(row.begin(), row.end());
}

void PlotThinning::thin(std::span<const PlotField> row) {
  const double x = row[0].value();
  if (std::isnan(x)) return;  // gnuplot would skip it
  const int c = cell_index(x, x_from_, x_to_, columns_);
  if (curves_ && c != column_) {
    end_column();
    column_ = c;
  }
  const uint64_t order = order_++;
  if (curves_) {
    if (!kept_[0].used) keep(kept_[0], row, order, 0);
    keep(kept_[1], row, order, 0);
  }
  for (size_t i = 0; i < styles_.size(); ++i) {
    const double t = on_axis(row[1 + i].value());
    if (std::isnan(t)) continue;
    t_low_ = std::min(t_low_, t);
    t_high_ = std::max(t_high_, t);
    if (styles_[i] != PlotStyle::kDots) {
      Kept& low = kept_[2 + 2 * i];
      Kept& high = kept_[3 + 2 * i];
      if (!low.used || t < low.t) keep(low, row, order, t);
      if (!high.used || t > high.t) keep(high, row, order, t);
      continue;
    }
    cells_[i].add(c, t);
    Extremes& e = extremes_[i];
    const Point p{row[0], row[1 + i]};
    if (!e.seen || x < e.ends[0].x.value()) e.ends[0] = p;
    if (!e.seen || x > e.ends[1].x.value()) e.ends[1] = p;
    if (!e.seen || t < on_axis(e.ends[2].y.value())) e.ends[2] = p;
    if (!e.seen || t > on_axis(e.ends[3].y.value())) e.ends[3] = p;
    e.seen = true;
  }
}

// The rows kept for the column just ended, in the table's order.
void PlotThinning::end_column() {
  std::vector<Kept*> used;
  for (Kept& k : kept_)
    if (k.used) used.push_back(&k);
  std::sort(used.begin(), used.end(),
            [](const Kept* a, const Kept* b) { return a->order < b->order; });
  for (size_t i = 0; i < used.size(); ++i)
    if (i == 0 || used[i]->order != used[i - 1]->order) sink_(used[i]->row);
  for (Kept& k : kept_) k.used = false;
}

void PlotThinning::finish() {
  const size_t width = 1 + styles_.size();
  if (!thinning_) {
    for (size_t i = 0; i < held_rows_; ++i) sink_(std::span(held_).subspan(i * width, width));
    return;
  }
  if (curves_) end_column();
  bool first_set = !curves_;
  for (size_t i = 0; i < styles_.size(); ++i) {
    if (styles_[i] != PlotStyle::kDots) continue;
    if (!first_set) sink_({});
    first_set = false;
    const Extremes& e = extremes_[i];
    if (!e.seen) {  // nothing to draw: one undefined point keeps the data set
      const PlotField none[2] = {real_field(x_from_), real_field(kUndefined)};
      sink_(none);
      continue;
    }
    for (const Point& p : e.ends) {
      const PlotField point[2] = {p.x, p.y};
      sink_(point);
    }
    // The cells' centres, held inside the real extremes so that the axes
    // are scaled as for the whole table.
    const double t_low = on_axis(e.ends[2].y.value()), t_high = on_axis(e.ends[3].y.value());
    const double x_low = e.ends[0].x.value(), x_high = e.ends[1].x.value();
    int last_c = -1;
    int last_r = -1;
    cells_[i].each([&](int c, double t) {
      t = std::clamp(t, t_low, t_high);
      const int r = cell_index(t, t_low_, t_high_, rows_);
      if (c == last_c && r == last_r) return;
      last_c = c;
      last_r = r;
      const double x = x_from_ + (c + 0.5) * (x_to_ - x_from_) / columns_;
      const PlotField point[2] = {real_field(std::clamp(x, x_low, x_high)),
                                  real_field(log_y_ ? std::pow(10.0, t) : t)};
      sink_(point);
    });
  }
}

PlotThinning::Source PlotThinning::source(size_t series) const {
  if (!thinning_ || series >= styles_.size()) return {-1, static_cast<int>(series) + 2};
  if (styles_[series] != PlotStyle::kDots) return {0, static_cast<int>(series) + 2};
  int index = curves_ ? 1 : 0;
  for (size_t i = 0; i < series; ++i) index += styles_[i] == PlotStyle::kDots;
  return {index, 2};
}

}  // namespace ntb::cli
