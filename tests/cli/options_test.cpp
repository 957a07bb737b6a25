// The command line parsed without starting a process, as the workbench sees
// it: which argument decides, where the session log goes, and what a wrong
// argument says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/help.hpp"
#include "cli/parser.hpp"

namespace ntb::cli {
namespace {

Request parse(std::vector<const char*> args) {
  args.insert(args.begin(), "ntbench");
  return parse_command_line(static_cast<int>(args.size()), args.data());
}

TEST(Options, LogNameAndWhoGaveIt) {
  const Request none = parse({});
  EXPECT_EQ(none.outcome, Outcome::kWorkbench);
  EXPECT_EQ(none.log_path, "session7.dat");
  EXPECT_FALSE(none.log_named_by_user);

  for (const auto& args : std::vector<std::vector<const char*>>{
           {"--log", "runs/a.log"}, {"--log=runs/a.log"}, {"--log", "first", "--log=runs/a.log"}}) {
    const Request o = parse(args);
    EXPECT_EQ(o.outcome, Outcome::kWorkbench) << args[0];
    EXPECT_EQ(o.log_path, "runs/a.log") << args[0];
    EXPECT_TRUE(o.log_named_by_user) << args[0];
  }
  // A name that looks like an option is still the file name of --log.
  EXPECT_EQ(parse({"--log", "--help"}).log_path, "--help");
}

TEST(Options, TheFirstDecisiveArgumentWins) {
  EXPECT_EQ(parse({"-h"}).outcome, Outcome::kHelp);
  EXPECT_EQ(parse({"--version"}).outcome, Outcome::kVersion);
  EXPECT_EQ(parse({"--log", "x.log", "-V", "--bogus"}).outcome, Outcome::kVersion);
  EXPECT_EQ(parse({"--help", "extra"}).outcome, Outcome::kHelp);
  EXPECT_EQ(parse({"extra", "--help"}).outcome, Outcome::kError);
  EXPECT_EQ(parse({"--bogus", "--version"}).outcome, Outcome::kError);
}

TEST(Options, AWrongArgumentIsNamedOnOneLine) {
  struct Case {
    std::vector<const char*> args;
    std::string named;
  };
  const std::vector<Case> cases = {
      {{"--bogus"}, "'--bogus'"},
      {{"-"}, "'-'"},
      {{"-hV"}, "'-hV'"},
      {{"--help=yes"}, "'--help=yes'"},
      {{"extra"}, "'extra'"},
      {{"--log"}, "'--log'"},
      {{"--log="}, "'--log'"},
      {{"--log", ""}, "'--log'"},
      {{"--log", "-"}, "'-'"},
      {{"--log=-"}, "'-'"},
      {{"two\nlines\x1b[2J"}, "'two\\x0Alines\\x1B[2J'"},
  };
  for (const Case& c : cases) {
    const Request o = parse(c.args);
    EXPECT_EQ(o.outcome, Outcome::kError) << c.named;
    EXPECT_NE(o.error.find(c.named), std::string::npos) << o.error;
    EXPECT_NE(o.error.find("ntbench --help"), std::string::npos) << o.error;
    EXPECT_EQ(o.error.find_first_of("\n\r\x1b"), std::string::npos) << o.error;
  }
}

TEST(Options, UsageTextFitsAnEightyColumnTerminal) {
  const std::string text = help_text();
  for (const char* word : {"-h, --help", "-V, --version", "--log FILE", "session7.dat"})
    EXPECT_NE(text.find(word), std::string::npos) << word;
  size_t start = 0;
  for (size_t end = 0; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    EXPECT_LE(end - start, 79u) << text.substr(start, end - start);
  EXPECT_EQ(start, text.size()) << "the text ends with a line feed";
}

}  // namespace
}  // namespace ntb::cli
