// A command's table, printed or drawn.  The command computes its rows once
// and hands each to `emit`; without --plot they go to standard output (text
// or CSV, reals with three decimals), with --plot FILE to gnuplot, which
// draws them into FILE, and standard output stays empty.  Also the tables
// that draw, each in a file of its own, for the commands that answer with
// them.
#pragma once

#include <charconv>
#include <initializer_list>
#include <string>
#include <string_view>

#include "cli/command.hpp"
#include "cli/number_expression.hpp"
#include "cli/parser.hpp"
#include "cli/plot.hpp"
#include "numtheory/decimal_digits.hpp"

namespace ntb::cli {

// --plot FILE: the table drawn into FILE by gnuplot, SVG or PNG by its extension.
inline CommandOption plot_option(std::string_view help) {
  return {"--plot", help, CommandOption::Kind::kText, {"FILE"}};
}

// The check of --plot shared by the commands that draw: a file name that is
// not empty, no --csv beside it (the rows go to the picture, not to
// standard output), whether this table is one that draws (`refused` says
// why not), and the extension; an empty text, or the usage error.
inline std::string plot_usage_error(const Request& r, bool drawable, std::string_view refused) {
  if (!r.flag("--plot")) return "";
  const std::string plot = r.text("--plot");
  if (plot.empty()) return "the picture's file name is empty";
  if (r.csv) return "--csv and --plot cannot go together";
  if (!drawable) return std::string(refused);
  if (!plot_format(plot)) return "--plot FILE must end in .svg or .png, got " + quote_token(plot);
  return "";
}

inline void print_field(Output& out, double v) {
  char text[48];
  const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 3).ptr;
  out.field(std::string_view(text, static_cast<size_t>(end - text)));
}
template <typename Int>
void print_field(Output& out, Int v) {
  out.field(v);
}

// Runs body(emit) and sends its rows to standard output under `header`, or
// into the picture of --plot.  The status: 0, or 1 when the picture could
// not be drawn (one line on standard error names why; no file is left).
template <class Body>
int print_or_plot(const Request& r, Channels& io, std::initializer_list<std::string_view> header,
                  const PlotLayout& layout, Body&& body) {
  const std::string path = r.text("--plot");
  if (path.empty()) {
    io.out.header(header);
    body([&](const auto&... fields) {
      (print_field(io.out, fields), ...);
      io.out.end_row();
    });
    return 0;
  }
  PlotWriter plot(layout, path);
  if (!plot.failed()) {
    body([&](const auto&... fields) { plot.row(fields...); });
    if (plot.finish() == 0) return 0;
  }
  io.error("ntbench " + std::string(r.command->name) + ": " + plot.error());
  return 1;
}

// "ntbench goldbach 6 2000000" from the command's name and numbers.
inline std::string command_title(const Request& r) {
  std::string s = "ntbench ";
  s += r.command->name;
  for (const Whole n : r.numbers) {
    s += ' ';
    s += decimal_string(n);
  }
  return s;
}

// The tables that draw: pi A B --step S (pi_steps.cpp), gaps ...
// --histogram (gap_histogram.cpp), goldbach A B (goldbach_range.cpp), and
// Goldbach's comet, the picture of any goldbach table.
int run_pi_steps(const Request& r, Channels& io);
int run_gap_histogram(const Request& r, Channels& io);
int run_goldbach_range(const Request& r, Channels& io);
PlotLayout comet_layout(const Request& r);

}  // namespace ntb::cli
