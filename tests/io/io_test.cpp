// The console prompts (asknum, pagestop, rule, the console pause, the
// single-key read) and the screen's carriage control, driven through a
// scripted console.
#include "io/io.hpp"

#include <gtest/gtest.h>

#include "io/list_input.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using testing::ScriptedConsole;

struct IoRig {
  explicit IoRig(std::vector<std::string> lines) : con(std::move(lines)), io(con, log) {}
  ScriptedConsole con;
  MemoryLog log;
  Io io{con, log};
};

// asknum with the given answers: the value, or -1 when input ran out.
int64_t ask(std::vector<std::string> lines, int* prompts = nullptr) {
  IoRig r(std::move(lines));
  int32_t n = -7;
  try {
    r.io.asknum(n);
  } catch (const EndOfInput&) {
    n = -1;
  }
  if (prompts) {
    *prompts = 0;
    for (size_t p = r.con.screen.find("enter number"); p != std::string::npos;
         p = r.con.screen.find("enter number", p + 1))
      ++*prompts;
  }
  return n;
}

TEST(Asknum, ConfirmationAndRefusals) {
  int prompts = 0;
  EXPECT_EQ(ask({"25", "N", "31", ""}, &prompts), 31);  // N asks again
  EXPECT_EQ(prompts, 2);
  EXPECT_EQ(ask({"25", "n", "26", "y"}), 26);
  EXPECT_EQ(ask({"25", ""}), 25);
  EXPECT_EQ(ask({"-5", "", "7", ""}, &prompts), 7);  // first character not a digit
  EXPECT_EQ(prompts, 2);
  EXPECT_EQ(ask({"x7", "", "8", ""}), 8);
  EXPECT_EQ(ask({"12a", "", "9", ""}), 9);  // not a number in its first 11 characters
  EXPECT_EQ(ask({"2147483647", ""}), 2147483647);
  EXPECT_EQ(ask({"2147483648", "", "5", ""}), 5);
  EXPECT_EQ(ask({"123456789012", "", "5", ""}), 5);  // first 11 digits exceed the range
  EXPECT_EQ(ask({"12.7", ""}), 12);
  EXPECT_EQ(ask({"  42   junk", ""}), 42);  // the first value of the line
  EXPECT_EQ(ask({"'1 2'", ""}), 12);        // quoted: blanks inside are ignored
  EXPECT_EQ(ask({"1e3", ""}), 1000);
  EXPECT_EQ(ask({"0", ""}), 0);
}

TEST(Asknum, EmptyLineAsksAtOnceWithoutEcho) {
  IoRig r({"", "   ", "4", ""});
  EXPECT_EQ(r.io.asknum(), 4);
  // Three prompts, one echo: the empty lines were neither echoed nor
  // confirmed.  Each typed line ends the screen line (on a terminal its
  // echo shows the line end), so the records follow without a break.
  EXPECT_EQ(r.con.screen,
            "enter numberenter numberenter number   4                     OK? Yes=any key N/n=no");
  EXPECT_EQ(r.con.reads, 4);
}

TEST(Asknum, EndOfInputThrowsAtEveryRead) {
  EXPECT_EQ(ask({}), -1);
  EXPECT_EQ(ask({"25"}), -1);  // at the confirmation
}

TEST(ListInput, FirstValueAndF11) {
  std::string t;
  EXPECT_FALSE(first_list_value("", t));
  EXPECT_FALSE(first_list_value(" \t ", t));
  ASSERT_TRUE(first_list_value("  abc def", t));
  EXPECT_EQ(t, "abc");
  ASSERT_TRUE(first_list_value("12,13", t));
  EXPECT_EQ(t, "12");
  ASSERT_TRUE(first_list_value("'it''s' x", t));
  EXPECT_EQ(t, "it's");
  double v = -1;
  EXPECT_TRUE(read_f11("12345      ", v));
  EXPECT_EQ(v, 12345);
  EXPECT_TRUE(read_f11("1 2 3", v));
  EXPECT_EQ(v, 123);
  EXPECT_TRUE(read_f11("1.5D2", v));
  EXPECT_EQ(v, 150);
  EXPECT_TRUE(read_f11("2+3", v));
  EXPECT_EQ(v, 2000);
  EXPECT_FALSE(read_f11("12a", v));
  EXPECT_FALSE(read_f11("1e", v));
  EXPECT_FALSE(read_f11(".", v));
}

TEST(Pagestop, StopsOnlyAtMultiplesOfTwenty) {
  for (int32_t line : {19, 21, 1}) {
    IoRig r({});
    int32_t quit = 0;
    r.io.pagestop(line, quit);  // no read: input is empty and nothing throws
    EXPECT_EQ(quit, 0);
    EXPECT_EQ(r.con.screen, "");
  }
  IoRig q({"q"});
  int32_t quit = 0;
  q.io.pagestop(20, quit);
  EXPECT_EQ(quit, 1);
  EXPECT_EQ(q.con.screen, "press any key to continue,q to exit");  // no pause
  IoRig zero({"q"});
  quit = 0;
  zero.io.pagestop(0, quit);
  EXPECT_EQ(quit, 1);
}

TEST(Pagestop, OtherKeyGivesThePauseAndNeverClearsTheFlag) {
  IoRig r({"Q", ""});
  int32_t quit = 1;
  r.io.pagestop(40, quit);
  EXPECT_EQ(quit, 1);
  EXPECT_EQ(r.con.screen,
            "press any key to continue,q to exit\r\n"
            "Pause - Please enter a blank line (to continue) or a DOS command.\r\n");
  EXPECT_TRUE(r.con.input.empty());
}

TEST(Rule, BothChannels) {
  IoRig r({});
  r.io.rule();
  EXPECT_EQ(r.con.screen, std::string(45, '_'));
  EXPECT_EQ(r.log.text, " " + std::string(45, '_') + "\r\n");
}

TEST(Pause, RunsOnlyLinesOfTwoOrMoreCharacters) {
  IoRig r({"", "x", "   \t", "ls -l  \t ", std::string(200, 'a')});
  for (int i = 0; i < 5; ++i) r.io.pause();
  ASSERT_EQ(r.con.commands.size(), 2u);
  EXPECT_EQ(r.con.commands[0], "ls -l");
  EXPECT_EQ(r.con.commands[1], std::string(128, 'a'));
}

TEST(Screen, CarriageControlAndLineBreaks) {
  IoRig r({"", ""});
  r.io.lst({"first"});         // the run's first record: no line break before it
  r.io.scr("(A4)", {"0two"});  // '0': an empty line first
  r.io.scr("(A4)", {"+ovr"});  // '+': back to the start of the line
  r.io.scr("(A4)", {"1pge"});  // '1': a new page
  r.io.read_line();            // the typed line takes the place of the break
  r.io.lst({"after read"});
  r.io.getkey();  // a key read does not
  r.io.lst({"after key"});
  EXPECT_EQ(r.con.screen, "first\r\n\r\ntwo\rovr\r\n\fpgeafter read\r\nafter key");
}

// A number that fills its field at the left edge of a screen record is shown
// whole on a new line; a record opened by a blank, a text or a literal keeps
// its first character as carriage control.  The log keeps every record as
// the layout writes it, so the screen is checked against the log.
TEST(Screen, NumbersInTheFirstColumnAreShownWhole) {
  struct Case {
    const char* layout;
    std::vector<Item> items;
    bool numeric_first;  // the layout opens with an I or F field
  };
  const std::string plus = " +", eq = " =", minus = " -", hat = "^", star = " *", one = "^1";
  const Case cases[] = {
      {"(4F10.0)", {105097565.0}, true},  // the count of primes up to 2^31 - 1
      {"(4F10.0)", {5.0}, true},
      {"(4F10.0)", {-12345678.0}, true},
      {"(4F10.0)", {1e10}, true},  // too wide: asterisks
      {"(8I7)", {1000000, 1000000, 1100000}, true},
      {"(8I7)", {999, 2, 3, 4, 5, 6, 7, 8, 1234567, 1000000, 1}, true},  // reversion
      {"(8I7)", {-123456}, true},
      {"(2F6.0,A2,1F6.0,A2,1F6.0,A2,1F6.0,A2,1F6.0)",
       {16384.0, 0.0, plus, 1.0, eq, 1.0, minus, 2.0, eq, -1.0},
       true},
      {"(2F6.0,A2,1F6.0,A2,1F6.0,A2,1F6.0,A2,1F6.0)",
       {524288.0, 0.0, plus, 0.0, eq, 0.0, minus, 1.0, eq, -1.0},
       true},
      {"(2F6.0,A2,1F6.0,A2,1F6.0,A2,1F6.0,A2,1F6.0)",
       {9999.0, 1.0, plus, 1.0, eq, 2.0, minus, 2.0, eq, 0.0},
       true},
      {"(I7,A1,F3.0,:)", {1000003, hat, 1.0}, true},
      {"(I7,A1,F3.0,A2,I7,A2,:)", {2, hat, 1.0, star, 1000003, one}, true},
      {"(2I9,2F9.0,1I9)", {100000000, 6, 1.0, -1.0, 0}, true},
      {"(1I9,1F12.3,1I8,1F10.0,1F10.0,1I10)", {18, 25.0, 7, 3.0, 74.0, 4}, true},
      {"(1I8,5F13.0)", {2000000, 1.0, 2.0, 3.0, 4.0}, true},
      {"(3I11)", {2147483647}, true},
      {"(I10)", {1000000000}, true},
      {"(A3,F11.0)", {"   ", 2147483647.0}, false},
      {"(A1,I5,A1,I10,A2,I5,A1,I10,:)", {" ", 1, " ", 1, "|", 2, " ", 1000000000}, false},
      {"(' ',I7,'  ',I10,'   ',F12.0,'   ',I10)", {1, 2, 3.0, 1}, false},
      {"(1X,4F12.0)", {100000000000.0}, false},
      {"(A6,1F10.0,A20,1I10,A3,2I10)", {"set N", 1.0, " relevant to prime ", 2, " = ", 49}, false},
  };
  int whole = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    IoRig r({});
    r.io.scr(c.layout, c.items);
    r.io.log(c.layout, c.items);
    std::vector<std::string> shown;
    for (const std::string& rec : ScriptedConsole::split_crlf(r.log.text)) {
      if (rec.empty()) continue;  // after the last CR LF
      const bool number_first = c.numeric_first && rec[0] != ' ';
      whole += number_first;
      shown.push_back(number_first ? rec : rec.substr(1));
    }
    EXPECT_EQ(r.con.screen_lines(), shown);
    EXPECT_EQ(r.con.screen.find('\f'), std::string::npos);  // no digit taken for a new page
  }
  EXPECT_EQ(whole, 11);

  // What the log holds for the first cases, and a text still has its
  // carriage control: a 1 there starts a new page.
  IoRig r({});
  r.io.scr("(4F10.0)", {105097565.0});
  r.io.scr("(4F10.0)", {5.0});
  r.io.scr("(8I7)", {1000000, 1000000, 1100000});
  r.io.scr("(A4)", {"1pge"});
  r.io.log("(4F10.0)", {105097565.0});
  r.io.log("(8I7)", {1000000, 1000000, 1100000});
  EXPECT_EQ(r.con.screen, "105097565.\r\n       5.\r\n100000010000001100000\r\n\fpge");
  EXPECT_EQ(r.log.text, "105097565.\r\n100000010000001100000\r\n");
}

TEST(Screen, LayoutRecordsGoToTheirChannelOnly) {
  IoRig r({});
  r.io.scr("(1X,A40,2F11.0)", {"  prime numbers up to ", 2000000.0});
  r.io.log("(4F10.0)", {148933.0});
  EXPECT_EQ(r.con.screen, std::string(18, ' ') + "  prime numbers up to    2000000.");
  EXPECT_EQ(r.log.text, "   148933.\r\n");
}

// both: on each channel what scr and log write there, reversion included.
TEST(Screen, BothWritesWhatScrAndLogWrite) {
  IoRig one({}), two({});
  one.io.both("(1X,2I5)", {1, 22, 333});
  two.io.scr("(1X,2I5)", {1, 22, 333});
  two.io.log("(1X,2I5)", {1, 22, 333});
  EXPECT_EQ(one.con.screen, two.con.screen);
  EXPECT_EQ(one.log.text, two.log.text);
  EXPECT_EQ(one.log.text, "     1   22\r\n   333\r\n");
}

TEST(Screen, BothChannelsFlushedBeforeEveryRead) {
  struct CountingLog : LogSink {
    void write(std::string_view) override { ++writes; }
    void flush() override { ++flushes; }
    int writes = 0, flushes = 0;
  } log;
  ScriptedConsole con({"5", "", "k", ""});
  Io io(con, log);
  io.asknum();
  io.getkey();
  io.pause();
  EXPECT_EQ(con.flushes, 4);
  EXPECT_EQ(log.flushes, 4);
}

TEST(Getkey, ScriptedKeysAndEndOfInput) {
  IoRig r({"", "qx"});
  EXPECT_EQ(r.io.getkey(), '\r');
  EXPECT_EQ(r.io.getkey(), 'q');
  EXPECT_THROW(r.io.getkey(), EndOfInput);
  EXPECT_THROW(r.io.pause(), EndOfInput);
  EXPECT_THROW(r.io.read_a1(), EndOfInput);
}

}  // namespace
}  // namespace ntb

namespace ntb {
namespace {

// What a terminal delivers for one key press, and what is left after it.
TEST(Getkey, KeysOfSeveralBytesAreTakenWhole) {
  struct Case {
    std::string bytes;
    char key;
    int next;
    size_t used;
  };
  const Case cases[] = {
      {"q", 'q', -1, 1},
      {"q\n", 'q', -1, 1},                    // type-ahead stays for later reads
      {"\n", '\r', -1, 1},                    // Enter
      {"\x1b[A", '\0', 'A', 3},               // arrow up
      {"\x1b[A5\n", '\0', 'A', 3},            // ... followed by a typed line
      {"\x1b[15~", '\0', '~', 5},             // F5
      {"\x1bOP", '\0', 'P', 3},               // F1
      {"\x1b", '\x1b', -1, 1},                // the Esc key alone
      {"\x1bx", '\0', 'x', 2},                // Alt-x
      {std::string("\0H", 2), '\0', 'H', 2},  // a two-byte key code
      {std::string("\0", 1), '\0', -1, 1},    // its second byte not there
      {"\xE0H", '\0', 'H', 2},                // the other two-byte prefix
      {"\xE0\xA4\x85", '\0', 0xA4, 3},        // a three-byte character from E0
      {"\xC3\xA9"
       "5",
       '\xC3', -1, 2},                      // a two-byte character, then more
      {"\xF0\x9F\x98\x80", '\xF0', -1, 4},  // a four-byte character
  };
  for (const Case& c : cases) {
    const KeyPress k = split_key(c.bytes);
    EXPECT_EQ(k.key, c.key) << c.bytes;
    EXPECT_EQ(k.next, c.next) << c.bytes;
    EXPECT_EQ(k.used, c.used) << c.bytes;
  }
}

}  // namespace
}  // namespace ntb
