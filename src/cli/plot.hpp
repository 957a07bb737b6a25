// Pictures of the range tables, drawn by gnuplot.
//
// The rows are thinned to what the picture can show as they are computed
// (plot_thinning.hpp), so that neither this program nor gnuplot holds a
// million-row table.  Once the table is done the program starts `gnuplot`
// itself (found on PATH), with a pipe for its standard input and a
// temporary file beside the picture as its standard output, and writes the
// script on the pipe: the settings, the rows kept as an inline data block,
// and the plot command.  The temporary file takes the picture's name only
// once gnuplot has drawn it in full: a file already under that name stays
// as it was when the picture fails or a signal stops the run
// (plot_signals.hpp).  The file's extension chooses the terminal: .svg for
// SVG, .png for PNG; both 1200 x 800.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace ntb::cli {

enum class PlotFormat { kSvg, kPng };

// The format named by the extension of path (.svg or .png, in any case);
// none for any other.
std::optional<PlotFormat> plot_format(std::string_view path);

enum class PlotStyle {
  kDots,    // one dot per row (Goldbach's comet)
  kPoints,  // one disc per row (a comet of a short range, where dots would not show)
  kLines,   // a curve through the rows
  kBoxes,   // one bar per row (histograms)
};

struct PlotSeries {
  std::string title;  // the legend's text
  PlotStyle style = PlotStyle::kDots;
};

struct PlotLayout {
  std::string title;  // names the command and its range
  std::string xlabel, ylabel;
  bool log_y = false;              // logarithmic count axis
  std::vector<PlotSeries> series;  // series i is column i + 2 of each row; x is column 1
  double x_from = 0, x_to = 0;     // the x range of the table (the thinning's columns)
  // When set, the series from this one on are drawn in a second panel below
  // the first (gnuplot's multiplot), on an axis of their own named by
  // lower_ylabel.
  size_t lower_from = 0;
  std::string lower_ylabel = {};
};

// One field of a row: a whole number (written exactly) or a real.
struct PlotField {
  bool whole = false;
  uint64_t whole_value = 0;
  double real = 0;
  double value() const { return whole ? static_cast<double>(whole_value) : real; }
};

class PlotSignals;
class PlotThinning;

// One picture being drawn.  Rows are whole numbers or reals, x first, then
// one value per series.
class PlotWriter {
 public:
  // Makes ready the picture in path.  When gnuplot is not found, or the
  // temporary file cannot be made, failed() is true at once, error() says
  // why in one line and no file is left.
  PlotWriter(const PlotLayout& layout, std::string path);
  ~PlotWriter();
  PlotWriter(const PlotWriter&) = delete;
  PlotWriter& operator=(const PlotWriter&) = delete;

  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

  template <typename Int, std::enable_if_t<std::is_integral_v<Int>, int> = 0>
  void field(Int v) {
    if constexpr (std::is_signed_v<Int>)
      if (v < 0) return field(static_cast<double>(v));
    whole(static_cast<uint64_t>(v));
  }
  void field(double v);
  void end_row();
  template <typename... Fields>
  void row(const Fields&... fields) {
    (field(fields), ...);
    end_row();
  }

  // Starts gnuplot, sends it the script and waits for it: 0 when the
  // picture is drawn and has taken its name, else 1 with error() set and the
  // temporary file removed.
  int finish();

 private:
  void whole(uint64_t v);
  bool start();
  void send(std::span<const PlotField> row);
  void flush();
  void drain_errors(bool wait);
  void fail(std::string why);
  int end_child();

  PlotLayout layout_;
  std::string path_;
  std::string gnuplot_;    // the program
  std::string temp_path_;  // where gnuplot draws, beside path_
  std::string buf_;
  std::string error_;
  std::string gnuplot_errors_;  // what gnuplot wrote on its standard error
  std::vector<PlotField> row_;  // the row being given
  std::unique_ptr<PlotThinning> thinning_;
  std::unique_ptr<PlotSignals> signals_;
  bool temp_made_ = false;
  int file_ = -1;  // the temporary file, until gnuplot has it
  pid_t pid_ = -1;
  int to_gnuplot_ = -1;    // the write end of gnuplot's standard input
  int from_gnuplot_ = -1;  // the read end of its standard error
};

// Where gnuplot would be started from: the first executable `gnuplot` on
// PATH, or empty.
std::string find_gnuplot();

}  // namespace ntb::cli
