// The command line's answers besides the numbers: usage errors and their
// statuses (one line naming the argument and its range, nothing on standard
// output, status 2), help and version, and the same rows in text and CSV.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/command.hpp"
#include "run_support.hpp"

namespace ntb::cli::test {
namespace {

TEST(Usage, EveryWrongCommandLineIsOneLineAndStatusTwo) {
  struct Case {
    std::vector<std::string> args;
    std::string message;  // the whole line on standard error
  };
  const std::string see = "; see 'ntbench --help'";
  const std::vector<Case> cases = {
      {{"pi", "10^31+1"},
       "ntbench pi: N must be a whole number from 0 to 10000000000000000000000000000000, got "
       "'10^31+1'"},
      {{"pi", "10", "-1"},
       "ntbench pi: N must be a whole number from 0 to 10000000000000000000000000000000, got '-1'"},
      {{"pi", "1e-3"},
       "ntbench pi: N must be a whole number from 0 to 10000000000000000000000000000000, got "
       "'1e-3' (not a whole number)"},
      {{"pi", ""},
       "ntbench pi: N must be a whole number from 0 to 10000000000000000000000000000000, got ''"},
      {{"pi", "99999999999999999999999999999999"},
       "ntbench pi: N must be a whole number from 0 to 10000000000000000000000000000000, got "
       "'99999999999999999999999999999999'"},
      {{"pi"},
       "ntbench pi: missing N, a whole number from 0 to 10000000000000000000000000000000; see "
       "'ntbench "
       "pi --help'"},
      {{"primes", "7"},
       "ntbench primes: missing B, a whole number from 0 to 18446744073709551615; see 'ntbench "
       "primes "
       "--help'"},
      {{"primes", "7", "5"}, "ntbench primes: A must be at most B, got A = 7 and B = 5"},
      {{"primes", "1", "2", "3"},
       "ntbench primes: unexpected argument '3'; see 'ntbench primes --help'"},
      {{"gaps", "8", "2", "1", "9"}, "ntbench gaps: G1 must be at most G2, got G1 = 8 and G2 = 2"},
      {{"gaps", "2", "1", "2", "3", "4"},
       "ntbench gaps: unexpected argument '4'; see 'ntbench gaps --help'"},
      {{"primes", "0", "100", "--checkpoint", "x"},
       "ntbench primes: --checkpoint and --chunk need --count"},
      {{"twins", "0", "1e12", "--chunk", "2"},
       "ntbench twins: --chunk 2 cuts 0..1000000000000 into 500000000001 chunks, more than "
       "1000000"},
      {{"gaps", "2", "0", "9", "--checkpoint", ""},
       "ntbench gaps: the checkpoint's file name is empty"},
      {{"goldbach", "1000", "--list", "--chunk", "9"},
       "ntbench goldbach: --checkpoint and --chunk take one N without --list"},
      {{"goldbach", "6", "100", "--checkpoint", "x"},
       "ntbench goldbach: --checkpoint and --chunk take one N without --list"},
      {{"goldbach", "1e12", "--chunk", "2"},
       "ntbench goldbach: --chunk 2 cuts 0..500000000000 into 250000000001 chunks, more than "
       "1000000"},
      {{"twins", "9", "x"},
       "ntbench twins: B must be a whole number from 0 to 18446744073709551615, got 'x'"},
      {{"totient", "0"},
       "ntbench totient: N must be a whole number from 1 to 18446744073709551615, got '0'"},
      {{"divisors", "1", "2"},
       "ntbench divisors: unexpected argument '2'; see 'ntbench divisors --help'"},
      {{"divisors", "12", "--bogus"},
       "ntbench divisors: unknown option '--bogus'; see 'ntbench divisors --help'"},
      {{"pi", "--csv=yes", "3"}, "ntbench pi: unknown option '--csv=yes'; see 'ntbench pi --help'"},
      {{"factor", "--count", "3"},
       "ntbench factor: unknown option '--count'; see 'ntbench factor --help'"},
      {{"pi", "-x", "3"}, "ntbench pi: unknown option '-x'; see 'ntbench pi --help'"},
      {{"pi", "--", "--csv"},
       "ntbench pi: N must be a whole number from 0 to 10000000000000000000000000000000, got "
       "'--csv'"},
      {{"--log", "x.log", "pi", "3"},
       "ntbench pi: --log is an option of the workbench; the commands keep no session log"},
      {{"prime", "3"}, "ntbench: unknown command 'prime'" + see + "; did you mean 'primes'?"},
      {{"--", "bogus", "3"}, "ntbench: unknown command 'bogus'" + see},
      {{"--bogus", "pi", "3"}, "ntbench: unknown option '--bogus'" + see},
      {{"help", "bogus"}, "ntbench help: unknown command 'bogus'; see 'ntbench help'"},
      {{"help", "pi", "--csv"}, "ntbench help: unknown option '--csv'; see 'ntbench help'"},
      // The range tables and their pictures.
      {{"pi", "1", "9", "--step", "2"},
       "ntbench pi: A and B must be whole numbers from 2 to 18446744073709551615 with --step, "
       "got '1'"},
      {{"pi", "9", "--step", "2"}, "ntbench pi: --step needs two numbers A B, got 1"},
      {{"pi", "9", "5", "--step", "2"}, "ntbench pi: A must be at most B, got A = 9 and B = 5"},
      {{"pi", "2", "9", "--step", "0"},
       "ntbench pi: S must be a whole number from 1 to 2147483647, got '0'"},
      {{"pi", "9", "--plot", "p.png"}, "ntbench pi: --plot needs --step S"},
      {{"pi", "2", "9", "--step", "1", "--plot", "p.pdf"},
       "ntbench pi: --plot FILE must end in .svg or .png, got 'p.pdf'"},
      {{"gaps", "2", "1", "9", "--plot", "g.svg"}, "ntbench gaps: --plot needs --histogram"},
      {{"goldbach", "6", "8000002"},
       "ntbench goldbach: B must be a whole number from 6 to 8000000, got '8000002'"},
      {{"goldbach", "8", "6"}, "ntbench goldbach: A must be at most B, got A = 8 and B = 6"},
      {{"goldbach", "6", "100", "--all"}, "ntbench goldbach: --all needs --plot FILE"},
      {{"goldbach", "100", "--list", "--plot", "c.svg"},
       "ntbench goldbach: --plot draws the counts; it does not take --list"},
      {{"divisor-counts", "100", "--tau", "4", "--plot", "d.svg"},
       "ntbench divisor-counts: --plot draws the counts by k; it does not take --tau"},
      {{"p\x1b[2Ji"}, "ntbench: unknown command 'p\\x1B[2Ji'" + see},
      {{"goldbach", "7"},
       "ntbench goldbach: N must be an even whole number from 6 to 18446744073709551614, got '7'"},
      {{"goldbach", "4"},
       "ntbench goldbach: N must be an even whole number from 6 to 18446744073709551614, got '4'"},
      {{"goldbach", "2^64"},
       "ntbench goldbach: N must be an even whole number from 6 to 18446744073709551614, got "
       "'2^64'"},
      {{"goldbach", "10", "12", "--list"}, "ntbench goldbach: --list takes one N, got 2"},
      {{"goldbach-verify", "3", "10"},
       "ntbench goldbach-verify: A must be a whole number from 4 to 18446744073709551615, got '3'"},
      {{"goldbach-verify", "12", "10"},
       "ntbench goldbach-verify: A must be at most B, got A = 12 and B = 10"},
      {{"goldbach-verify", "4", "2^64"},
       "ntbench goldbach-verify: B must be a whole number from 4 to 18446744073709551615, got "
       "'2^64'"},
      {{"goldbach-verify", "4", "10", "-t", "0"},
       "ntbench goldbach-verify: THREADS must be a whole number from 1 to 256, got '0'"},
      {{"divisor-counts", "0"},
       "ntbench divisor-counts: N must be a whole number from 1 to 2147483647, got '0'"},
      {{"divisor-counts", "10", "--tau", "0"},
       "ntbench divisor-counts: K must be a whole number from 1 to 2147483647, got '0'"},
      {{"steps", "inclusion", "8"},
       "ntbench steps: N must be a whole number from 9 to 2147483647 for inclusion, got '8'"},
      {{"steps", "sieve", "8"},
       "ntbench steps: METHOD must be 'inclusion' or 'reverse', got 'sieve'"},
      // Numbers past 2^63 and 2^64, and the empty value of `--opt=`.
      {{"divisor-counts", "9999999999999999999"},
       "ntbench divisor-counts: N must be a whole number from 1 to 2147483647, got "
       "'9999999999999999999'"},
      {{"divisor-counts", "9223372036854775808"},
       "ntbench divisor-counts: N must be a whole number from 1 to 2147483647, got "
       "'9223372036854775808'"},
      {{"divisor-counts", "18446744073709551616"},
       "ntbench divisor-counts: N must be a whole number from 1 to 2147483647, got "
       "'18446744073709551616'"},
      {{"divisor-counts", "10", "--tau", "9300000000000000000"},
       "ntbench divisor-counts: K must be a whole number from 1 to 2147483647, got "
       "'9300000000000000000'"},
      {{"pi", "--step=", "20", "2", "30"},
       "ntbench pi: S must be a whole number from 1 to 2147483647, got ''"},
      {{"divisor-counts", "10", "--tau=", "--csv"},
       "ntbench divisor-counts: K must be a whole number from 1 to 2147483647, got ''"},
      // --plot: an empty name, a name that is not one line, --csv beside it.
      {{"gaps", "1", "2", "100", "--histogram", "--plot", ""},
       "ntbench gaps: the picture's file name is empty"},
      {{"goldbach", "6", "100", "--plot", "", "--all"},
       "ntbench goldbach: the picture's file name is empty"},
      {{"pi", "2", "20", "--step", "5", "--plot="}, "ntbench pi: the picture's file name is empty"},
      {{"goldbach", "6", "100", "--plot", "x\ny.txt"},
       "ntbench goldbach: --plot FILE must end in .svg or .png, got 'x\\x0Ay.txt'"},
      {{"pi", "2", "20", "--step", "5", "--plot", "x.png", "--csv"},
       "ntbench pi: --csv and --plot cannot go together"},
      {{"gaps", "1", "2", "100", "--histogram", "--csv", "--plot", "g.svg"},
       "ntbench gaps: --csv and --plot cannot go together"},
      {{"goldbach", "6", "100", "--plot", "c.svg", "--csv"},
       "ntbench goldbach: --csv and --plot cannot go together"},
      {{"divisor-counts", "100", "--csv", "--plot", "d.svg"},
       "ntbench divisor-counts: --csv and --plot cannot go together"},
  };
  for (const Case& c : cases) {
    const Result r = run(c.args);
    EXPECT_EQ(r.status, 2) << c.message;
    EXPECT_EQ(r.out, "") << c.message;
    EXPECT_EQ(r.err, c.message + "\n");
  }
}

TEST(Usage, HelpAndVersionAnswerWithStatusZero) {
  std::vector<std::vector<std::string>> asks = {{"help"}, {"--help"}, {"-h"}, {"-V"}};
  for (const Command* c : commands()) {
    const std::string name(c->name);
    asks.push_back({name, "--help"});
    asks.push_back({"help", name});
    asks.push_back({name, "1", "-h", "--bogus"});  // help decides before a later wrong argument
  }
  for (const auto& args : asks) {
    const Result r = run(args);
    EXPECT_EQ(r.status, 0) << args[0];
    EXPECT_EQ(r.err, "") << args[0];
    ASSERT_FALSE(r.out.empty()) << args[0];
    EXPECT_EQ(r.out.back(), '\n');
    size_t start = 0;
    for (size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1)
      EXPECT_LE(end - start, 79u) << r.out.substr(start, end - start);
  }
  // The list names every command; a command's help its columns.
  const std::string all = run({"help"}).out;
  for (const Command* c : commands()) {
    EXPECT_NE(all.find("  " + std::string(c->name) + " "), std::string::npos) << c->name;
    EXPECT_NE(run({std::string(c->name), "--help"}).out.find("Columns: " + std::string(c->columns)),
              std::string::npos);
  }
  EXPECT_EQ(run({"--version"}).out.rfind("ntbench ", 0), 0u);
}

// What a newcomer stumbles on: the nearest command or option named after an
// unknown one, the command after `--`, the options in the list of commands,
// and pictures that cannot be drawn (a comet without a range; an empty
// table: gnuplot, here off PATH, not started, no file).
TEST(Usage, NewcomerLinesSayWhatWasMeant) {
  const std::string png = (std::filesystem::temp_directory_path() / "ntbench-empty.png").string();
  struct Case {
    std::vector<std::string> args;
    std::string err;  // the whole of standard error
    int status = 2;
    std::string out = "";  // what standard output starts with
  };
  const std::string see = "; see 'ntbench --help'", pi_help = "Usage: ntbench pi N...";
  const std::vector<Case> cases = {
      {{"prmes", "10"}, "ntbench: unknown command 'prmes'" + see + "; did you mean 'primes'?"},
      {{"primes", "1", "10", "--cout"},
       "ntbench primes: unknown option '--cout'; see 'ntbench primes --help'; did you mean "
       "'--count'?"},
      {{"--logg", "x"}, "ntbench: unknown option '--logg'" + see + "; did you mean '--log'?"},
      {{"help", "goldbch"},
       "ntbench help: unknown command 'goldbch'; see 'ntbench help'; did you mean 'goldbach'?"},
      {{"--", "prmes"}, "ntbench: unknown command 'prmes'" + see + "; did you mean 'primes'?"},
      {{"pj", "3"}, "ntbench: unknown command 'pj'" + see},  // too short to guess
      {{"--", "pi", "10"}, "", 0, "10 4\n"},
      {{"help", "--", "pi"}, "", 0, pi_help},
      {{"--", "help", "pi"}, "", 0, pi_help},
      {{"goldbach", "100", "--plot", png},
       "ntbench goldbach: --plot draws Goldbach's comet of a range A B, got 1 number"},
      {{"gaps", "7", "7", "0", "100", "--histogram", "--plot", png},
       "ntbench gaps: no gap from 7 to 7 between 0 and 100: nothing to draw",
       1},
      {{"goldbach", "7", "7", "--plot", png},
       "ntbench goldbach: no even n from 7 to 7: nothing to draw",
       1},
  };
  const std::string saved = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  setenv("PATH", "/nonexistent", 1);
  for (const Case& c : cases) {
    const Result r = run(c.args);
    EXPECT_EQ(r.status, c.status) << c.err;
    EXPECT_TRUE(c.out.empty() ? r.out.empty() : r.out.starts_with(c.out)) << r.out;
    EXPECT_EQ(r.err, c.err.empty() ? "" : c.err + "\n");
    EXPECT_FALSE(std::filesystem::exists(png)) << c.err;
  }
  setenv("PATH", saved.c_str(), 1);
  const std::string all = run({"--help"}).out;  // every option of every command, in brief
  for (const Command* c : commands())
    for (const CommandOption& o : c->options)
      EXPECT_NE(all.find(std::string(1, '[').append(o.name)), std::string::npos) << o.name;
}

// CSV: the header naming the columns, then the text rows with commas for
// blanks and CR LF line ends (factor's "N:" becomes the field N).
TEST(Usage, TextAndCsvHoldTheSameRows) {
  const std::vector<std::vector<std::string>> listings = {
      {"pi", "0", "1", "2000000"},
      {"primes", "1999900", "2000100"},
      {"primes", "10", "99", "--count"},
      {"gaps", "4", "6", "1", "500"},
      {"twins", "0", "1000"},
      {"factor", "0", "1", "720720", "2147483646"},
      {"totient", "1", "36", "2147483647"},
      {"divisors", "720720"},
      {"divisors", "720720", "--summary"},
      {"divisor-counts", "100000"},
      {"goldbach", "6", "100", "2000000"},
      {"triplets"},
  };
  for (auto args : listings) {
    const Result text = run(args);
    args.push_back("--csv");
    const Result csv = run(args);
    ASSERT_EQ(text.status, 0);
    ASSERT_EQ(csv.status, 0);
    std::string expected;
    for (const char ch : text.out) {
      if (ch == '\n') expected += '\r';
      expected += ch == ' ' ? ',' : ch;
    }
    if (args[0] == "factor") {  // "720720:,2,2" -> "720720,2 2"
      expected.clear();
      size_t start = 0;
      for (size_t end; (end = text.out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.out.substr(start, end - start);
        const size_t colon = line.find(':');
        expected += line.substr(0, colon) + "," +
                    (colon + 1 < line.size() ? line.substr(colon + 2) : "") + "\r\n";
      }
    }
    const size_t header_end = csv.out.find("\r\n");
    ASSERT_NE(header_end, std::string::npos);
    EXPECT_EQ(csv.out.substr(header_end + 2), expected) << args[0];
    const std::string header = csv.out.substr(0, header_end);
    const Command& c = *find_command(args[0]);
    std::string named(c.columns);
    for (char& ch : named) ch = ch == ' ' ? ',' : ch;
    if (args.size() > 2 &&
        (args[args.size() - 2] == "--count" || args[args.size() - 2] == "--summary"))
      named = args[0] == "primes" ? "count" : "n,tau,sigma";
    EXPECT_EQ(header, named) << args[0];
  }
}

}  // namespace
}  // namespace ntb::cli::test
