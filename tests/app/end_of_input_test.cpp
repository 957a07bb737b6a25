// End of input after every read of one long session: every menu, a
// listing with page stops answered and quit, console pauses, the table
// edits.  The session is run whole once, noting at each read how much of
// the screen and of the session log file was out; then it is cut after
// each of its reads in turn.  Every cut run must end with status 0, its
// log file equal to the whole run's log up to that read and its screen
// equal to the whole run's screen up to that read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/program.hpp"
#include "support/files.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using ntb::testing::file_text;

using testing::ScriptedConsole;

// The scripted console, noting the screen and log sizes at every read.
class NotingConsole final : public Console {
 public:
  NotingConsole(std::vector<std::string> lines, std::string log_path)
      : con(std::move(lines)), path_(std::move(log_path)) {}
  bool read_line(std::string& line) override {
    note();
    return con.read_line(line);
  }
  bool read_key(char& c) override {
    note();
    return con.read_key(c);
  }
  void run_command(const std::string& command) override { con.run_command(command); }
  void write(std::string_view bytes) override { con.write(bytes); }
  void flush() override { con.flush(); }

  ScriptedConsole con;
  std::vector<size_t> screen_at, log_at;  // sizes when read i was asked

 private:
  void note() {
    struct stat st {};
    log_at.push_back(::stat(path_.c_str(), &st) == 0 ? static_cast<size_t>(st.st_size) : 0);
    screen_at.push_back(con.screen.size());
  }
  std::string path_;
};

// One long session: every menu and the commands reached from it; the
// listing of primes stops twice at its pager (answered, then quit).
const std::vector<std::string> kSession = {
    // main menu 0: a pause
    "0", "", "",
    // primes: Phi(100) and its pause; lista with two pager stops (a key,
    // then q) and its pauses; decom; back
    "1", "", "1", "", "100", "", "", "2", "", "0", "", "13", "", "1000", "", "", "x", "", "q", "",
    "3", "", "360", "", "4", "",
    // divisors: Euler, div and its pauses, back
    "2", "", "3", "", "36", "", "2", "", "12", "", "", "", "", "", "4", "",
    // inclusion-exclusion of 100, every term, its pauses; back
    "3", "", "1", "", "100", "", "0", "", "", "", "", "", "", "", "", "5", "",
    // triplets: one reverse-method run; back
    "4", "", "1", "", "30", "", "0", "", "", "", "", "", "6", "",
    // Goldbach: equal prime-pair counts; back
    "5", "", "2", "", "4", "", "", "10", "",
    // About; take out y(5); substitute y(4); restore; Exit
    "9", "", "6", "", "5", "", "7", "", "4", "", "9", "", "8", "", "10", ""};

TEST(EndOfInput, AfterEveryReadOfALongSession) {
  char dir[] = "/tmp/ntbench-eofXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/session7.dat";

  NotingConsole whole(kSession, path);
  ASSERT_EQ(run_program(whole, path.c_str()), 0);
  const std::string log = file_text(path);
  const std::string screen = testing::masked_time_of_day(whole.con.screen);
  // The session runs to Exit through every menu, with its listing and pauses.
  ASSERT_TRUE(whole.con.input.empty());
  ASSERT_EQ(whole.con.reads, static_cast<int>(kSession.size()));
  for (const char* seen :
       {"SUBMENU PRIMES", "SUBMENU DIVISORS", "SUBMENU inclusion-exclusion", "SUB MENU triplets",
        "SUBMENU  Goldbach", "press any key to continue,q to exit", "Pause - Please enter",
        "-No responsability accepted"})
    EXPECT_NE(screen.find(seen), std::string::npos) << seen;
  EXPECT_GT(log.size(), 1000u);

  // Cut after read k: the k answers given, the next read meets the end.
  for (size_t k = 0; k < kSession.size(); ++k) {
    SCOPED_TRACE("cut after read " + std::to_string(k));
    ScriptedConsole cut({kSession.begin(), kSession.begin() + static_cast<ptrdiff_t>(k)});
    unlink(path.c_str());  // a former log would keep its content until a record is written
    ASSERT_EQ(run_program(cut, path.c_str()), 0);
    EXPECT_EQ(cut.reads, static_cast<int>(k) + 1);
    EXPECT_EQ(file_text(path), log.substr(0, whole.log_at[k]));
    EXPECT_EQ(testing::masked_time_of_day(cut.screen), screen.substr(0, whole.screen_at[k]));
  }
  unlink(path.c_str());
  rmdir(dir);
}

}  // namespace
}  // namespace ntb
