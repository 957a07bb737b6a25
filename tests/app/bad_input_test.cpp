// Bad answers at every number prompt of every menu and command.  Each case
// is a whole session typed as bytes (read line by line as the terminal
// console reads a file): the way to the prompt, one kind of bad answer,
// then the good answer and the rest of the session.  A refused answer must
// only bring the prompt back, and everything after the good answer (screen
// and log) must be what the session without the bad answer shows; answers
// that asknum takes as a number (a decimal, an exponent, a quoted value,
// CR LF line ends) are written so that they stand for the good answer and
// must give exactly its run; end of input ends the run where it stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/menus.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using testing::lines_of;
using testing::ScriptedConsole;

struct Run {
  std::string screen, log;
  int reads = 0;
};

Run run_bytes(const std::string& bytes) {
  ScriptedConsole con(lines_of(bytes));
  MemoryLog log;
  run_workbench(con, log);
  return {testing::masked_time_of_day(con.screen), log.text, con.reads};
}

std::string lines(const std::vector<std::string>& ls) {
  std::string s;
  for (const auto& l : ls) s += l + "\n";
  return s;
}

// A number typed at asknum and confirmed with an empty line.
std::vector<std::string> typed(const std::string& n) {
  return {n, ""};
}
std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Prompt {
  const char* name;
  std::vector<std::string> before;   // from start-up to the prompt
  std::string good;                  // the good answer
  std::vector<std::string> after;    // what follows its confirmation
  std::vector<std::string> outside;  // lines of an answer out of the command's range; {} if none
  std::string result;                // a piece of the screen the good answer must give
};

const std::vector<std::string> P = {""};  // a pause (or a pager key) answered
std::vector<std::string> pauses(int n) {
  return std::vector<std::string>(n, "");
}

const std::vector<Prompt>& prompts() {
  static const std::vector<Prompt> table = {
      {"main menu", {}, "9", typed("10"), typed("11"), "-No responsability accepted"},
      {"take out position", typed("6"), "5", typed("10"), typed("149001"), "          0"},
      {"substitute position", typed("7"), "4", typed("5"), typed("0"), "          4           7"},
      {"substitute value",
       typed("7") + typed("4"),
       "5",
       typed("10"),
       {},
       "          4           5"},
      {"primes menu", typed("1"), "4", typed("10"), typed("5"), "        MENU"},
      {"prime count N", typed("1") + typed("1"), "100", P + typed("4"), typed("10"),
       "prime numbers up to"},
      {"lista mode", typed("1") + typed("2"), "0", typed("13") + typed("100") + P, typed("3"),
       "there are           20 primes from N1 to N2"},
      {"lista gap",
       typed("1") + typed("2") + typed("1"),
       "4",
       typed("13") + typed("200") + P,
       {},
       "there are           41 primes from N1 to N2"},
      {"lista first gap",
       typed("1") + typed("2") + typed("2"),
       "4",
       typed("6") + typed("13"),
       {},
       "enter even numbe >= 4"},
      {"lista N1", typed("1") + typed("2") + typed("0"), "13", typed("100") + P, typed("12"),
       "there are           20 primes from N1 to N2"},
      {"lista N2", typed("1") + typed("2") + typed("0") + typed("13"), "100", P + P, typed("2"),
       "there are           20 primes from N1 to N2"},
      {"decom N", typed("1") + typed("3"), "360", P, typed("1"),
       "         2          3\r\n         3          2\r\n         5          1"},
      {"divisors menu", typed("2"), "4", typed("10"), typed("5"), "        MENU"},
      {"vetto1 N", typed("2") + typed("1"), "100", pauses(3), typed("0"),
       "there are          25 prime numbers"},
      {"vetto1 divisor count",
       typed("2") + typed("1") + typed("100") + pauses(3),
       "4",
       pauses(4),
       {},
       "          8            15.            4"},
      {"div N", typed("2") + typed("2"), "12", pauses(3), {}, "          6          12"},
      {"Euler N", typed("2") + typed("3"), "36", P, typed("1"), "         12"},
      {"inclusion menu", typed("3"), "5", typed("10"), typed("6"), "        MENU"},
      {"inclusion N", typed("3") + typed("1"), "100", typed("1") + pauses(3),
       typed("8") + typed("1"), "set N        1.  relevant to prime          2 =         50"},
      {"inclusion print choice",
       typed("3") + typed("1") + typed("100"),
       "1",
       pauses(3),
       {},
       "set N        1.  relevant to prime          2 =         50"},
      {"reverse N",
       typed("3") + typed("2"),
       "100",
       typed("1") + pauses(3),
       {},
       "set N        1.  relevant to prine          2 =         49        12"},
      {"reverse print choice",
       typed("3") + typed("2") + typed("100"),
       "1",
       pauses(3),
       {},
       "set N        1.  relevant to prine          2 =         49        12"},
      {"triplets menu", typed("4"), "6", typed("10"), typed("7"), "        MENU"},
      {"triplet N1", typed("4") + typed("1"), "1000", typed("1") + pauses(3), typed("2000001"),
       "set N        1.  relevant to prine          2 =        499        56"},
      {"Goldbach menu", typed("5"), "10", typed("10"), typed("11"), "        MENU"},
      {"Goldbach1 N", typed("5") + typed("1"), "100", pauses(2), typed("101"), "100"},
      {"Goldbach2 K", typed("5") + typed("2"), "4", pauses(4), typed("101"), "numbers with"},
      {"Goldbach3 K", typed("5") + typed("3"), "4", pauses(4), typed("101"), "numbers with"},
      {"Goldbach4 K", typed("5") + typed("4"), "4", pauses(4), typed("101"), "numbers with"},
      {"gold N", typed("5") + typed("5"), "1000", typed("0") + pauses(3), typed("1001"), "1000"},
      {"gold print choice", typed("5") + typed("5") + typed("1000"), "0", pauses(3), {}, "1000"},
      {"gold1 N", typed("5") + typed("6"), "1000", typed("0") + pauses(3), typed("999"), "1000"},
      {"mixed1 N", typed("5") + typed("7"), "100", pauses(3), typed("99"), "100"},
      {"mixed N", typed("5") + typed("8"), "100", pauses(3), typed("2000002"), "100"},
      {"composite N", typed("5") + typed("9"), "100", pauses(3), typed("5"), "100"},
  };
  return table;
}

enum class Expect { AskedAgain, SameAsGood, Ends };

struct Kind {
  const char* name;
  Expect expect;
  // The bytes typed for this kind of answer, given the good answer.
  std::string (*bytes)(const std::string& good, const Prompt& p);
};

std::string confirm(const std::string& answer) {
  return answer + "\n\n";
}

const std::vector<Kind>& kinds() {
  static const std::vector<Kind> table = {
      {"letters", Expect::AskedAgain, [](auto&, auto&) { return confirm("abc"); }},
      {"lone sign", Expect::AskedAgain, [](auto&, auto&) { return confirm("-"); }},
      {"empty line", Expect::AskedAgain, [](auto&, auto&) { return std::string("\n"); }},
      {"digits then a letter", Expect::AskedAgain, [](auto&, auto&) { return confirm("12a"); }},
      {"quoted letters", Expect::AskedAgain, [](auto&, auto&) { return confirm("'x1'"); }},
      {"eleven digits", Expect::AskedAgain, [](auto&, auto&) { return confirm("12345678901"); }},
      {"2147483648", Expect::AskedAgain, [](auto&, auto&) { return confirm("2147483648"); }},
      {"negative", Expect::AskedAgain, [](auto& g, auto&) { return confirm("-" + g); }},
      {"NUL byte", Expect::AskedAgain,
       [](auto& g, auto&) { return confirm(g + std::string(1, '\0') + "1"); }},
      {"invalid UTF-8", Expect::AskedAgain, [](auto& g, auto&) { return confirm(g + "\xC3\x28"); }},
      {"megabyte line", Expect::AskedAgain,
       [](auto&, auto&) { return confirm(std::string(1 << 20, '7')); }},
      {"answered N", Expect::AskedAgain, [](auto& g, auto&) { return g + "\nN\n"; }},
      {"out of range", Expect::AskedAgain, [](auto&, auto& p) { return lines(p.outside); }},
      {"decimal", Expect::SameAsGood, [](auto& g, auto&) { return confirm(g + ".7"); }},
      {"exponent", Expect::SameAsGood,
       [](auto& g, auto&) {
         // 1000 as 1e3, 100 as 1E2, other values with a zero exponent.
         size_t zeros = 0;
         while (zeros + 1 < g.size() && g[g.size() - 1 - zeros] == '0') ++zeros;
         return confirm(g.substr(0, g.size() - zeros) + "e" + std::to_string(zeros));
       }},
      {"quoted number", Expect::SameAsGood, [](auto& g, auto&) { return confirm("'" + g + "'"); }},
      {"CR LF", Expect::SameAsGood, [](auto& g, auto&) { return g + "\r\n\r\n"; }},
      {"end of input", Expect::Ends, [](auto&, auto&) { return std::string(); }},
  };
  return table;
}

// Lines of the screen text `s` split at CR LF.
std::vector<std::string> screen_lines(const std::string& s) {
  return ScriptedConsole::split_crlf(s);
}

bool starts_with(const std::string& s, const std::string& p) {
  return s.compare(0, p.size(), p) == 0;
}
bool ends_with(const std::string& s, const std::string& e) {
  return s.size() >= e.size() && s.compare(s.size() - e.size(), e.size(), e) == 0;
}

// The session cut at the prompt and the session with the good answer.
struct Reference {
  Run at, full;
  std::string rest_screen, rest_log;  // what the good answer adds
};

Reference reference(const Prompt& p) {
  SCOPED_TRACE(p.name);
  Reference r{run_bytes(lines(p.before)),
              run_bytes(lines(p.before) + confirm(p.good) + lines(p.after)),
              {},
              {}};
  EXPECT_TRUE(starts_with(r.full.screen, r.at.screen));
  EXPECT_TRUE(ends_with(r.at.screen, "enter number"));
  EXPECT_TRUE(starts_with(r.full.log, r.at.log));
  r.rest_screen = r.full.screen.substr(std::min(r.at.screen.size(), r.full.screen.size()));
  r.rest_log = r.full.log.substr(std::min(r.at.log.size(), r.full.log.size()));
  EXPECT_NE(r.rest_screen.find(p.result), std::string::npos) << r.rest_screen;
  return r;
}

// A screen line is made of prompts with their echoes ("enter number", the
// typed text, the confirmation question), the reads standing in for the
// line breaks, and at most one other record after them: that record.
std::string without_prompts(std::string line) {
  static const std::string kPrompt = "enter number", kOk = "  OK? Yes=any key N/n=no";
  for (;;) {
    if (starts_with(line, kPrompt)) {
      line.erase(0, kPrompt.size());
      continue;
    }
    const size_t ok = line.find(kOk);
    if (starts_with(line, "   ") && ok != std::string::npos) {
      line.erase(0, ok + kOk.size());
      continue;
    }
    return line;
  }
}

std::vector<std::string> questions(const std::string& screen) {
  std::vector<std::string> out;
  for (const auto& l : screen_lines(screen)) out.push_back(without_prompts(l));
  return out;
}

// Checks one prompt against one kind of bad answer.
void check(const Prompt& p, const Reference& ref, const Kind& k) {
  SCOPED_TRACE(std::string(p.name) + ", " + k.name);
  const std::string to_prompt = lines(p.before);
  const std::string good = confirm(p.good) + lines(p.after);
  const Run& at = ref.at;
  const Run& full = ref.full;
  const std::string& rest_screen = ref.rest_screen;
  const std::string& rest_log = ref.rest_log;

  // The bad answer, then the good one; an answer that stands for the good
  // one is followed by the rest of the session only.
  const std::string then = k.expect == Expect::Ends         ? ""
                           : k.expect == Expect::SameAsGood ? lines(p.after)
                                                            : good;
  const Run bad = run_bytes(to_prompt + k.bytes(p.good, p) + then);
  switch (k.expect) {
    case Expect::Ends:
      EXPECT_EQ(bad.screen, at.screen);
      EXPECT_EQ(bad.log, at.log);
      EXPECT_EQ(bad.reads, at.reads);
      break;
    case Expect::SameAsGood: {
      // Only the echo of what was typed differs.
      const auto got = screen_lines(bad.screen), want = screen_lines(full.screen);
      ASSERT_EQ(got.size(), want.size());
      for (size_t i = 0; i < got.size(); ++i)
        if (got[i] != want[i]) {
          EXPECT_TRUE(starts_with(got[i], "enter number   ")) << got[i];
        }
      EXPECT_EQ(bad.log, full.log);
      break;
    }
    case Expect::AskedAgain: {
      ASSERT_TRUE(starts_with(bad.screen, at.screen));
      ASSERT_TRUE(ends_with(bad.screen, rest_screen)) << bad.screen.substr(at.screen.size());
      EXPECT_TRUE(starts_with(bad.log, at.log));
      EXPECT_TRUE(ends_with(bad.log, rest_log));
      // Between the two: the echo of the refused answer and the question
      // again, nothing else (no result, no other record).
      const std::string between = bad.screen.substr(
          at.screen.size(), bad.screen.size() - at.screen.size() - rest_screen.size());
      ASSERT_TRUE(ends_with(between, "enter number")) << between;
      // The question is what the screen showed just before the prompt, or
      // (a question the command asks once more before taking the number
      // again) just after the good answer.
      const auto before = questions(at.screen), after = questions(rest_screen);
      const auto question = [&](const std::string& line) {
        const size_t b = std::min<size_t>(before.size(), 16),
                     a = std::min<size_t>(after.size(), 16);
        return line.empty() || std::find(before.end() - b, before.end(), line) != before.end() ||
               std::find(after.begin(), after.begin() + a, line) != after.begin() + a;
      };
      for (const auto& line : screen_lines(between)) {
        const std::string rest = without_prompts(line);
        EXPECT_TRUE(question(rest)) << "unexpected line: " << line;
      }
      break;
    }
  }
}

void check_all(bool sampled) {
  const auto& ps = prompts();
  const auto& ks = kinds();
  for (size_t i = 0; i < ps.size(); ++i) {
    const Reference ref = reference(ps[i]);
    for (size_t j = 0; j < ks.size(); ++j) {
      if (ks[j].expect == Expect::AskedAgain && std::string(ks[j].name) == "out of range" &&
          ps[i].outside.empty())
        continue;
      // The sample: each prompt meets every fourth kind, each kind a quarter
      // of the prompts; the kinds that must be refused at once everywhere
      // (end of input, the out-of-range value) are always tried.
      if (sampled && (i + j) % 4 != 0 && ks[j].expect != Expect::Ends &&
          std::string(ks[j].name) != "out of range")
        continue;
      check(ps[i], ref, ks[j]);
    }
  }
}

TEST(BadInput, EveryPromptSampledKinds) {
  check_all(true);
}

TEST(BadInput, EveryPromptEveryKindFull) {
  if (!std::getenv("NTBENCH_FULL")) GTEST_SKIP() << "set NTBENCH_FULL for the full cross product";
  check_all(false);
}

}  // namespace
}  // namespace ntb
