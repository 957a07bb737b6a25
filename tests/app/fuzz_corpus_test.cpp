// The fuzzer's corpus kept in the repository (fuzz/corpus: the seeds and
// every input that once broke the program) run as whole sessions in the
// quick suite, so that the compilers and sanitizers of every build see them
// too.  Each must end cleanly, with the screen and the session log flushed
// before every read and every log record whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/menus.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using testing::lines_of;
using testing::ScriptedConsole;

class CheckingLog final : public LogSink {
 public:
  void write(std::string_view bytes) override {
    text.append(bytes);
    pending = true;
  }
  void flush() override { pending = false; }
  std::string text;
  bool pending = false;
};

// The scripted console, counting the reads made with a channel unflushed.
class CheckingConsole final : public Console {
 public:
  CheckingConsole(std::vector<std::string> lines, const CheckingLog& log)
      : con(std::move(lines)), log_(log) {}
  bool read_line(std::string& line) override {
    check();
    return con.read_line(line);
  }
  bool read_key(char& c) override {
    check();
    return con.read_key(c);
  }
  void run_command(const std::string& command) override { con.run_command(command); }
  void write(std::string_view bytes) override {
    unflushed_ = true;
    con.write(bytes);
  }
  void flush() override { unflushed_ = false; }

  ScriptedConsole con;
  int unflushed_reads = 0;

 private:
  void check() { unflushed_reads += unflushed_ || log_.pending; }
  const CheckingLog& log_;
  bool unflushed_ = false;
};

TEST(FuzzCorpus, EveryInputEndsCleanly) {
  const std::filesystem::path dir = NTBENCH_FUZZ_CORPUS;
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    CheckingLog log;
    CheckingConsole con(lines_of(bytes.str()), log);
    run_workbench(con, log);
    EXPECT_EQ(con.unflushed_reads, 0);
    EXPECT_TRUE(log.text.empty() || log.text.ends_with("\r\n"));
    EXPECT_FALSE(log.pending);
    for (const auto& c : con.con.commands) EXPECT_GE(c.size(), 2u);
    ++inputs;
  }
  EXPECT_GE(inputs, 20);
}

}  // namespace
}  // namespace ntb
