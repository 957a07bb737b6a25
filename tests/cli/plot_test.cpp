// --plot as a user runs it: each kind of picture drawn as SVG by the real
// gnuplot, parsed as XML, holding its title and one mark per row of the
// table (the marks counted by the colour of their series); gnuplot missing
// from PATH; a wrong extension.
#include "cli/plot.hpp"

#include <expat.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.hpp"

namespace ntb::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(std::vector<std::string> args) {
  Outcome r;
  r.status = run_in_memory(args, "", r.out, r.err);
  return r;
}

// An SVG read by the XML parser: its error (empty when it is well-formed)
// and the text of its elements, entities decoded.
struct Xml {
  std::string error, text;
};
Xml parse_xml(const std::string& svg) {
  Xml r;
  XML_Parser p = XML_ParserCreate(nullptr);
  XML_SetUserData(p, &r.text);
  XML_SetCharacterDataHandler(p, [](void* text, const XML_Char* s, int len) {
    static_cast<std::string*>(text)->append(s, static_cast<size_t>(len));
  });
  if (XML_Parse(p, svg.data(), static_cast<int>(svg.size()), 1) != XML_STATUS_OK)
    r.error = std::string(XML_ErrorString(XML_GetErrorCode(p))) + " at line " +
              std::to_string(XML_GetCurrentLineNumber(p));
  XML_ParserFree(p);
  return r;
}

size_t count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

// The marks of the series drawn in `color` (as gnuplot writes it in SVG),
// its legend sample left out: dots, bars, or the vertices of a curve.
size_t marks(const std::string& svg, PlotStyle style, const std::string& color) {
  switch (style) {
    case PlotStyle::kDots:
    case PlotStyle::kPoints: {
      // A disc (point type 7) is gnuplot's gpPt6; the legend shows one more.
      const bool discs = style == PlotStyle::kPoints;
      size_t dots = 0;
      const std::string dot =
          discs ? "<use xlink:href='#gpPt6' transform" : "<use xlink:href='#gpDot'";
      for (size_t at = svg.find(dot); at != std::string::npos; at = svg.find(dot, at + 1))
        dots += svg.substr(at, svg.find("/>", at) - at).ends_with("color='" + color + "'");
      return discs ? dots - 1 : dots;
    }
    case PlotStyle::kBoxes:
      return count(svg, "<polygon fill = '" + color + "'") - 1;
    case PlotStyle::kLines: {
      size_t vertices = 0;
      const std::string path = "<path stroke='" + color + "'  d='";
      for (size_t at = svg.find(path); at != std::string::npos; at = svg.find(path, at + 1)) {
        const size_t end = svg.find('\'', at + path.size());
        const std::string d = svg.substr(at + path.size(), end - at - path.size());
        vertices += count(d, "M") + count(d, "L");
      }
      return vertices - 2;
    }
  }
  return 0;
}

const char* const kSeriesColors[] = {"rgb( 31,  95, 168)", "rgb(208, 112,  28)",
                                     "rgb( 46, 156,  71)"};

std::string temp_picture(const std::string& name) {
  return (fs::temp_directory_path() / ("ntbench-plot-" + std::to_string(getpid()) + "-" + name))
      .string();
}

TEST(Plots, EachKindDrawsItsTableAsSvg) {
  if (find_gnuplot().empty())
    GTEST_SKIP() << "gnuplot is not installed (Debian package gnuplot-nox): no picture checked";
  struct Kind {
    std::vector<std::string> args;  // the table's command; --plot FILE is added
    std::string title;
    PlotStyle style;
    size_t series;
  };
  const std::vector<Kind> kinds = {
      {{"pi", "2", "1000", "--step", "10"},
       "ntbench pi 2 1000 --step 10: pi(x) against x/ln(x) and li(x)",
       PlotStyle::kLines,
       3},
      {{"gaps", "1", "40", "2", "100000", "--histogram"},
       "ntbench gaps 1 40 2 100000 --histogram",
       PlotStyle::kBoxes,
       1},
      // A short range is drawn with discs, a long one with dots.
      {{"goldbach", "6", "1000"},
       "ntbench goldbach 6 1000: Goldbach's comet",
       PlotStyle::kPoints,
       1},
      {{"goldbach", "6", "300", "--all"}, "ntbench goldbach 6 300", PlotStyle::kPoints, 3},
      {{"goldbach", "6", "10000"}, "ntbench goldbach 6 10000", PlotStyle::kDots, 1},
      {{"divisor-counts", "100000"},
       "ntbench divisor-counts 100000: numbers n <= N by their divisors",
       PlotStyle::kBoxes,
       1},
  };
  for (const Kind& k : kinds) {
    const std::string file = temp_picture("kind.svg");
    std::vector<std::string> args = k.args;
    std::vector<std::string> table_args = args;
    std::erase(table_args, "--all");  // a table has no --all
    const Outcome table = run(table_args);
    ASSERT_EQ(table.status, 0) << table.err;
    const size_t rows = count(table.out, "\n");
    args.insert(args.end(), {"--plot", file});
    const Outcome drawn = run(args);
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_EQ(drawn.out, "") << "a picture, not the table";
    std::ifstream in(file);
    std::stringstream svg;
    svg << in.rdbuf();
    fs::remove(file);
    const Xml xml = parse_xml(svg.str());
    EXPECT_EQ(xml.error, "") << k.title;
    EXPECT_NE(xml.text.find(k.title), std::string::npos) << k.title;
    for (size_t i = 0; i < k.series; ++i)
      EXPECT_EQ(marks(svg.str(), k.style, kSeriesColors[i]), rows) << k.title << ", series " << i;
  }
}

// The command with PATH set to a directory of our own.
Outcome run_with_path(const std::string& dir, const std::vector<std::string>& args) {
  const std::string saved = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  setenv("PATH", dir.c_str(), 1);
  Outcome r = run(args);
  setenv("PATH", saved.c_str(), 1);
  return r;
}

// No gnuplot on PATH, and a gnuplot that fails after writing half a
// picture: one line (naming the package, or what gnuplot said), status 1,
// no file.  An extension other than .svg and .png is a usage error.
TEST(Plots, FailuresLeaveNoFile) {
  const std::string file = temp_picture("failed.png");
  const std::string bin = temp_picture("bin");
  fs::create_directory(bin);
  const Outcome missing = run_with_path(bin, {"pi", "2", "100", "--step", "1", "--plot", file});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(count(missing.err, "\n"), 1u) << missing.err;
  EXPECT_NE(missing.err.find("gnuplot-nox"), std::string::npos) << missing.err;
  EXPECT_FALSE(fs::exists(file));

  std::ofstream(bin + "/gnuplot") << "#!/bin/sh\nread line\necho half a picture\n"
                                     "echo 'line 1: no such terminal' >&2\nexit 3\n";
  fs::permissions(bin + "/gnuplot", fs::perms::owner_all);
  const Outcome failed = run_with_path(bin, {"pi", "2", "100", "--step", "1", "--plot", file});
  fs::remove_all(bin);
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err,
            "ntbench pi: --plot: gnuplot failed (status 3): line 1: no such terminal; no picture "
            "drawn\n");
  EXPECT_FALSE(fs::exists(file));

  const Outcome wrong =
      run({"gaps", "2", "2", "100", "--histogram", "--plot", temp_picture("x.pdf")});
  EXPECT_EQ(wrong.status, 2);
  EXPECT_NE(wrong.err.find(".svg or .png"), std::string::npos) << wrong.err;
  EXPECT_FALSE(fs::exists(temp_picture("x.pdf")));
}

}  // namespace
}  // namespace ntb::cli
