// Whole sessions of the main program driven by scripted answers: start-up,
// every menu with its exact lines, the table edits, the end of input at
// every kind of read, a command stopped by Ctrl-C, and the session log
// file's failures and refusals.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/menus.hpp"
#include "app/program.hpp"
#include "io/session_log.hpp"
#include "numtheory/interrupt.hpp"
#include "support/dialogue.hpp"
#include "support/files.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using ntb::testing::file_text;

using testing::asked;
using testing::crlf;
using testing::ScriptedConsole;
using testing::transcript;

// The menus as the screen shows them, kept under tests/data/sessions (the
// pseudo-terminal test reads the main menu from there too).
const std::vector<std::string> kMain = transcript("menu_main.screen");
const std::vector<std::string> kPrimes = transcript("menu_primes.screen");
const std::vector<std::string> kDivisors = transcript("menu_divisors.screen");
const std::vector<std::string> kInclusion = transcript("menu_inclusion.screen");
const std::vector<std::string> kTriplets = transcript("menu_triplets.screen");
// Lines 8 and 9 are longer than 79 characters and continue on a second line.
const std::vector<std::string> kGoldbach = transcript("menu_goldbach.screen");

// A menu followed by asknum: its lines, then the prompt and the echo.  The
// confirmation line read ends the screen line, so what follows starts
// right after the echo.
std::string menu(const std::vector<std::string>& lines, const std::string& number) {
  return crlf(lines) + asked(number);
}

const std::string kStart = "          0\r\n";
const std::string kPauseLine = testing::kPause + "\r\n";
// The questions of main-menu entry 7.
const std::string kWriteIndex = "   write the index of the prime you want to change\r\n";
const std::string kWriteComposite = "      write the odd composite < of the above prime\r\n";

struct Workbench {
  explicit Workbench(std::vector<std::string> lines) : con(std::move(lines)) {
    run_workbench(con, log);
  }
  ScriptedConsole con;
  MemoryLog log;
};

TEST(Session, StartUpAndExit) {
  Workbench r({"10", ""});
  EXPECT_EQ(r.con.screen, kStart + menu(kMain, "10"));
  EXPECT_EQ(r.log.text, "");
  EXPECT_TRUE(r.con.input.empty());
}

TEST(Session, EveryMenuWithItsExactLines) {
  Workbench r({"1",  "", "4",  "",  // primes, back
               "2",  "", "4",  "",  // divisors, back
               "3",  "", "5",  "",  // inclusion-exclusion, back
               "4",  "", "6",  "",  // triplets, back
               "5",  "", "10", "",  // Goldbach, back
               "9",  "",            // About
               "11", "",            // above the last entry: the menu again
               "10", ""});
  const std::string expected =
      kStart + menu(kMain, "1") + menu(kPrimes, "4") + menu(kMain, "2") + menu(kDivisors, "4") +
      menu(kMain, "3") + menu(kInclusion, "5") + menu(kMain, "4") + menu(kTriplets, "6") +
      menu(kMain, "5") + menu(kGoldbach, "10") + menu(kMain, "9") +
      "ntbench, a number-theory workbench: see its README and repository\r\n"
      "-No responsability accepted\r\n"
      "For help and description read \"readme\"\r\n"
      "Contact: the issue tracker of the ntbench repository\r\n" +
      menu(kMain, "11") + menu(kMain, "10");
  EXPECT_EQ(r.con.screen, expected);
  EXPECT_EQ(r.log.text, "");
}

TEST(Session, ZeroShowsTheSameSubmenuAndPausesAtTheMainMenu) {
  Workbench r({"0",  "", "",                 // main menu 0: the console pause
               "1",  "", "0", "", "4",  "",  // primes
               "2",  "", "0", "", "4",  "",  // divisors
               "3",  "", "0", "", "5",  "",  // inclusion-exclusion
               "4",  "", "0", "", "6",  "",  // triplets
               "5",  "", "0", "", "10", "",  // Goldbach
               "10", ""});
  const std::string expected = kStart + menu(kMain, "0") + kPauseLine + menu(kMain, "1") +
                               menu(kPrimes, "0") + menu(kPrimes, "4") + menu(kMain, "2") +
                               menu(kDivisors, "0") + menu(kDivisors, "4") + menu(kMain, "3") +
                               menu(kInclusion, "0") + menu(kInclusion, "5") + menu(kMain, "4") +
                               menu(kTriplets, "0") + menu(kTriplets, "6") + menu(kMain, "5") +
                               menu(kGoldbach, "0") + menu(kGoldbach, "10") + menu(kMain, "10");
  EXPECT_EQ(r.con.screen, expected);
}

TEST(Session, TakeOutSubstituteAndRestore) {
  Workbench r({"6",  "", "0", "", "149001", "", "1", "",  // position 0 and 149001 asked again
               "7",  "", "1", "", "9",      "",           // entry 1 is now 3: replace it by 9
               "8",  "",                                  // restore
               "7",  "", "1", "", "2",      "",           // entry 1 is 2 again
               "10", ""});
  const std::string expected =
      kStart + menu(kMain, "6") + "ENTER THE POSITION OF PRIME TO ELIMINATE\r\n" + asked("0") +
      asked("149001") + asked("1") + kStart + menu(kMain, "7") + kWriteIndex + asked("1") +
      "          1           3\r\n" + kWriteComposite + asked("9") + "          1           9\r\n" +
      menu(kMain, "8") + kStart + menu(kMain, "7") + kWriteIndex + asked("1") +
      "          1           2\r\n" + kWriteComposite + asked("2") + "          1           2\r\n" +
      menu(kMain, "10");
  EXPECT_EQ(r.con.screen, expected);
}

// Entry 7 puts 1 into y(1); div then tests it as a divisor: 1 divides
// every number, so 4 lists 1, 2, 4 and the prime 13 lists 1 and 13.
TEST(Session, AOneSubstitutedIntoYIsADivisorForDiv) {
  Workbench r({"7", "", "1",  "", "1", "",                  // y(1) = 2 becomes 1
               "2", "", "2",  "", "4", "", "", "", "", "",  // div 4 and its four pauses
               "2", "", "13", "", "",  "", "", "",          // div 13
               "4", "", "10", ""});
  const auto listed = [](const std::vector<int32_t>& d, int64_t sum) {
    std::string s = kPauseLine;
    for (size_t c = 1; c <= d.size(); ++c) {
      char row[32];
      std::snprintf(row, sizeof row, "%11zu%12d\r\n", c, d[c - 1]);
      s += row;
    }
    char line[64];
    std::snprintf(line, sizeof line, "     sum of divisors%13lld.\r\n",
                  static_cast<long long>(sum));
    return s + line + kPauseLine + std::string(45, '_') + "\r\n" + kPauseLine + kPauseLine;
  };
  const std::string expected =
      kStart + menu(kMain, "7") + kWriteIndex + asked("1") + "          1           2\r\n" +
      kWriteComposite + asked("1") + "          1           1\r\n" + menu(kMain, "2") +
      menu(kDivisors, "2") + asked("4") + listed({1, 2, 4}, 7) + menu(kDivisors, "2") +
      asked("13") + listed({1, 13}, 14) + menu(kDivisors, "4") + menu(kMain, "10");
  EXPECT_EQ(r.con.screen, expected);
  const std::string rule = testing::kLogRule + "\r\n";
  EXPECT_EQ(r.log.text,
            "    divisors of          4\r\n"
            "    1         1\r\n    2         2\r\n    3         4\r\n"
            "      sum of divisors            7.\r\n" +
                rule +
                "    divisors of         13\r\n"
                "    1         1\r\n    2        13\r\n"
                "      sum of divisors           14.\r\n" +
                rule);
  EXPECT_TRUE(r.con.input.empty());
}

TEST(Session, RebuildsContinueAtTheirMenus) {
  Workbench r({"3", "", "3", "", "",  // take away 2, 3, 5, 7: pause, rebuild, this submenu
               "4", "",               // restore from the submenu: this submenu again
               "5", "", "10", ""});
  const std::string one = "          1\r\n";
  const std::string expected = kStart + menu(kMain, "3") + menu(kInclusion, "3") + kPauseLine +
                               one + menu(kInclusion, "4") + one + menu(kInclusion, "5") +
                               menu(kMain, "10");
  EXPECT_EQ(r.con.screen, expected);
}

TEST(Session, EndOfInputAtEveryKindOfReadEndsTheRun) {
  // At a menu number, at its confirmation, at the console pause, inside a
  // submenu and in the middle of an edit: the run simply ends.
  for (std::vector<std::string> script : {std::vector<std::string>{},
                                          {"1"},
                                          {"0", ""},
                                          {"5", "", "7", ""},
                                          {"6", ""},
                                          {"7", "", "3", ""},
                                          {"3", "", "3", ""}}) {
    Workbench r(script);
    EXPECT_TRUE(r.con.input.empty());
    EXPECT_EQ(r.con.reads, static_cast<int>(script.size()) + 1);
  }
}

}  // namespace
}  // namespace ntb

namespace ntb {
namespace {

TEST(Program, LogThatCannotBeCreatedStopsBeforeTheMenu) {
  ScriptedConsole con({"10", ""});
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(run_program(con, "/nonexistent-dir/session7.dat"), 1);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("/nonexistent-dir/session7.dat"), std::string::npos);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
  EXPECT_EQ(con.screen, "");
  EXPECT_EQ(con.reads, 0);
}

TEST(Program, FullDiskGoesOnAndEndsWithStatusOne) {
  // A file-size limit of 0 fails every write to the log as a full disk does
  // (EFBIG instead of ENOSPC); the prime count writes to it, the run goes on
  // to Exit and the file stays empty.
  char dir[] = "/tmp/ntbench-fullXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/session7.dat";
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto old_xfsz = std::signal(SIGXFSZ, SIG_IGN);
  rlimit none = old;
  none.rlim_cur = 0;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
  ScriptedConsole con({"1", "", "1", "", "100", "", "", "4", "", "10", ""});
  const int status = run_program(con, path.c_str());
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, old_xfsz);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(con.input.empty());
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_size, 0);
  unlink(path.c_str());
  rmdir(dir);
}

TEST(Program, ExitAndEndOfInputGiveStatusZeroAndAnEmptyLog) {
  char dir[] = "/tmp/ntbench-runXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/session7.dat";
  for (auto script : {std::vector<std::string>{"10", ""}, std::vector<std::string>{"9"}}) {
    ScriptedConsole con(script);
    EXPECT_EQ(run_program(con, path.c_str()), 0);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
  }
  unlink(path.c_str());
  rmdir(dir);
}

}  // namespace
}  // namespace ntb

namespace ntb {
namespace {

void put_file(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

TEST(Program, AnOldLogLosesItsContentAtTheFirstRecordOnly) {
  char dir[] = "/tmp/ntbench-oldXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/session7.dat";
  // Longer than what the run below writes, so a leftover tail would show.
  const std::string old(5000, 'o');
  put_file(path, old);

  // A run that writes no record leaves the former log as it was.
  for (auto script : {std::vector<std::string>{"10", ""}, std::vector<std::string>{"9", "", "1"}}) {
    ScriptedConsole con(script);
    EXPECT_EQ(run_program(con, path.c_str()), 0);
    EXPECT_EQ(file_text(path), old);
  }

  // The first record cuts it off: the file holds this run's records only.
  ScriptedConsole con({"1", "", "1", "", "100", "", "", "4", "", "10", ""});
  EXPECT_EQ(run_program(con, path.c_str()), 0);
  const std::string up_to = "  prime numbers up to ";
  std::string expected(41 - up_to.size(), ' ');  // 1X and the text right-aligned in A40
  expected += up_to;
  expected += "       100.\r\n";    // F11.0
  expected += "       25.\r\n";     // (4F10.0)
  expected += std::string(7, ' ');  // 1X and 39 underscores in A45
  expected += std::string(39, '_');
  expected += "\r\n";
  EXPECT_EQ(file_text(path), expected);
  unlink(path.c_str());
  rmdir(dir);
}

}  // namespace
}  // namespace ntb

namespace ntb {
namespace {

TEST(Session, SubstitutionInTheUnfilledTailSurvivesARestore) {
  // Entry 7 asks again for positions outside 1..149000; slot 149000 is not
  // filled by a build, so what entry 7 writes there outlives entry 8.
  Workbench r({"7",  "", "0",      "", "149001", "", "149000", "", "5", "",  // write 5 at the end
               "8",  "",                                                     // restore
               "7",  "", "149000", "", "6",      "",                         // still 5 there; now 6
               "10", ""});
  const std::string expected = kStart + menu(kMain, "7") + kWriteIndex + asked("0") +
                               asked("149001") + asked("149000") + "     149000           0\r\n" +
                               kWriteComposite + asked("5") + "     149000           5\r\n" +
                               menu(kMain, "8") + kStart + menu(kMain, "7") + kWriteIndex +
                               asked("149000") + "     149000           5\r\n" + kWriteComposite +
                               asked("6") + "     149000           6\r\n" + menu(kMain, "10");
  EXPECT_EQ(r.con.screen, expected);
}

}  // namespace
}  // namespace ntb

namespace ntb {
namespace {

// Does what the Ctrl-C handler does while a command runs: sets the stop flag
// once the screen has received `rows` rows of a listing (lines with '|').
class CtrlCAfterRows final : public Console {
 public:
  CtrlCAfterRows(std::vector<std::string> lines, int rows) : con(std::move(lines)), rows_(rows) {}
  bool read_line(std::string& line) override { return con.read_line(line); }
  bool read_key(char& c) override { return con.read_key(c); }
  void run_command(const std::string& command) override { con.run_command(command); }
  void write(std::string_view bytes) override {
    con.write(bytes);
    if (bytes.find('|') != std::string_view::npos && --rows_ == 0) g_interrupt_requested = 1;
  }
  void flush() override { con.flush(); }
  ScriptedConsole con;

 private:
  int rows_;
};

// The lines of `lines` up to and including the k-th that holds '|', each
// followed by CR LF.
std::string up_to_row(const std::vector<std::string>& lines, int k) {
  std::string out;
  for (const auto& l : lines) {
    out += l + "\r\n";
    if (l.find('|') != std::string::npos && --k == 0) return out;
  }
  ADD_FAILURE() << "fewer rows than " << k;
  return out;
}

TEST(Session, CtrlCStopsTheListingAndComesBackToItsMenu) {
  // lista from 13 to 100000: a stop asked after row 5 unwinds at the next
  // group; one asked after row 20 unwinds at the page stop's key read, which
  // reads nothing.  The oracle is the same listing quit with q at its first
  // page stop: the screen and the log up to the stopped row are its own,
  // then one line, the primes submenu again, and nothing more in the log.
  const std::vector<std::string> dialogue = {"1", "", "2", "", "0", "", "13", "", "100000", "", ""};
  std::vector<std::string> quit_script = dialogue;
  for (const char* l : {"q", "", "4", "", "10", ""}) quit_script.emplace_back(l);
  ScriptedConsole quit_con(quit_script);
  MemoryLog quit_log;
  run_workbench(quit_con, quit_log);
  ASSERT_TRUE(quit_con.input.empty());
  const auto quit_screen = quit_con.screen_lines();
  const auto quit_records = ScriptedConsole::split_crlf(quit_log.text);

  for (const int rows : {5, 20}) {
    SCOPED_TRACE(rows);
    std::vector<std::string> script = dialogue;
    for (const char* l : {"4", "", "10", ""}) script.emplace_back(l);
    CtrlCAfterRows con(script, rows);
    MemoryLog log;
    run_workbench(con, log);
    EXPECT_EQ(g_interrupt_requested, 0);
    EXPECT_TRUE(con.con.input.empty());
    std::string screen = up_to_row(quit_screen, rows);
    if (rows == 20) screen += "press any key to continue,q to exit\r\n";
    screen += "Interrupted (Ctrl-C): back to the menu\r\n" + menu(kPrimes, "4") + menu(kMain, "10");
    EXPECT_EQ(con.con.screen, screen);
    EXPECT_EQ(log.text, up_to_row(quit_records, rows));
  }
}

// Sets the stop flag when the screen has shown `pauses` pauses.
class CtrlCAfterPauses final : public Console {
 public:
  CtrlCAfterPauses(std::vector<std::string> lines, int pauses)
      : con(std::move(lines)), pauses_(pauses) {}
  bool read_line(std::string& line) override { return con.read_line(line); }
  bool read_key(char& c) override { return con.read_key(c); }
  void run_command(const std::string& command) override { con.run_command(command); }
  void write(std::string_view bytes) override {
    con.write(bytes);
    if (bytes.find("Pause - Please") != std::string_view::npos && --pauses_ == 0)
      g_interrupt_requested = 1;
  }
  void flush() override { con.flush(); }
  ScriptedConsole con;

 private:
  int pauses_;
};

TEST(Session, CtrlCStopsTheInclusionTotalsBetweenTwoSets) {
  // Inclusion-exclusion at 2147483647 without rows: a stop asked at the
  // tenth pause of the session unwinds at the pass after the next set line,
  // with no later set and no final report, and the inclusion-exclusion
  // submenu takes the rest of the input.
  std::vector<std::string> script = {"3", "", "1", "", "2147483647", "", "1", ""};
  for (int i = 0; i < 12; ++i) script.emplace_back("");
  for (const char* l : {"5", "", "10", ""}) script.emplace_back(l);
  CtrlCAfterPauses con(script, 10);
  MemoryLog log;
  run_workbench(con, log);
  EXPECT_EQ(g_interrupt_requested, 0);
  EXPECT_TRUE(con.con.input.empty());
  const std::string& screen = con.con.screen;
  EXPECT_NE(screen.find("set N        9.  relevant to prime         23 ="), std::string::npos);
  EXPECT_EQ(screen.find("set N       10."), std::string::npos);
  EXPECT_NE(screen.find("set N        8."), std::string::npos);
  EXPECT_NE(screen.find("Interrupted (Ctrl-C): back to the menu\r\n      SUBMENU inclusion"),
            std::string::npos);
  EXPECT_EQ(screen.find("totalizer"), std::string::npos);
  EXPECT_EQ(log.text.find("end inclusion"), std::string::npos);
}

TEST(Program, ALinkIsFollowedOnlyToARegularFileTheUserNamed) {
  // (The default name never follows a link: the end-to-end tests.)
  char dir[] = "/tmp/ntbench-linkXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string d = dir, target = d + "/mine.txt", link = d + "/my.log", fifo = d + "/fifo",
                    fifo_link = d + "/fifo.log";
  put_file(target, "old\n");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(symlink(fifo.c_str(), fifo_link.c_str()), 0);
  const std::vector<std::string> count = {"1", "", "1", "", "100", "", "", "4", "", "10", ""};

  ScriptedConsole to_fifo(count);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(run_program(to_fifo, fifo_link.c_str(), true), 1);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(fifo_link + ": not a regular file"),
            std::string::npos);
  EXPECT_EQ(to_fifo.reads, 0);

  ScriptedConsole to_file(count);
  EXPECT_EQ(run_program(to_file, link.c_str(), true), 0);
  EXPECT_NE(file_text(target).find("prime numbers up to"), std::string::npos);
  for (const auto& p : {link, fifo_link, fifo, target}) unlink(p.c_str());
  rmdir(dir);
}

}  // namespace
}  // namespace ntb
