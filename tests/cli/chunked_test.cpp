// The range commands run in chunks (--chunk, --checkpoint) against the same
// commands in one piece: byte for byte, in text and CSV, with chunk borders
// cut at awkward places (inside the gap of 114 after 492113, inside twin
// pairs, at A and at B, every number a chunk; the middle of a Goldbach N;
// an n without a prime); and the checkpoint file: the chunks read back
// rather than computed again, another run's file (runs killed and resumed,
// torn and damaged last lines: checkpoint_e2e.py).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/checkpoint.hpp"
#include "cli/command.hpp"
#include "cli/parser.hpp"
#include "run_support.hpp"

namespace ntb::cli::test {
namespace {

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

std::string joined(const std::vector<std::string>& args) {
  std::string s;
  for (const std::string& a : args) s += a + ' ';
  return s;
}

TEST(Chunked, EveryCutGivesTheOnePieceAnswer) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> lengths;  // --chunk S
  };
  const std::string near12 = "10^12", near12_end = "10^12+30000";
  const std::string near64 = "2^64-20000", top = "2^64-1";
  const std::vector<Case> cases = {
      // Every number its own chunk, and chunks ending inside twin pairs
      // (5|6, 11|12, 17|18 ...) and beside them.
      {{"primes", "0", "1000", "--count"}, {"1", "2", "7", "1000", "1001"}},
      {{"twins", "0", "3000", "--count"}, {"1", "6", "12", "13", "2999"}},
      {{"twins", "3", "3000"}, {"1", "6", "12", "100"}},
      {{"twins", "5", "7"}, {"1", "2"}},  // the pair at A and at B
      {{"twins", "4", "6", "--count"}, {"1"}},
      // The gap of 114 from 492113 to 492227: a border inside it, at it.
      {{"gaps", "114", "492000", "492300"}, {"1", "200", "113", "114", "301"}},
      {{"gaps", "114", "492113", "492227"}, {"1", "57", "114", "115"}},
      {{"gaps", "100", "120", "400000", "600000", "--no-index"}, {"1000", "113"}},
      {{"gaps", "2", "6", "0", "2000"}, {"1", "3", "11", "64"}},
      {{"gaps", "1", "200", "0", "20000", "--histogram"}, {"1", "7", "114", "5000"}},
      {{"gaps", "114", "0", "600000", "--histogram"}, {"200", "4913"}},
      {{"gaps", "7", "0", "100", "--histogram"}, {"5"}},  // no gap of 7: no rows
      {{"primes", "0", "0", "--count"}, {"1", "10"}},
      // Chunks of one number (half of them no even n), records across borders.
      {{"goldbach-verify", "4", "3000", "--records"}, {"1", "2", "3", "97", "1000", "988", "2996"}},
      {{"goldbach-verify", "5", "3000"}, {"1", "7"}},
      // Near 10^12 and near 2^64, short ranges.
      {{"primes", near12, near12_end, "--count"}, {"997", "30001"}},
      {{"twins", near12, near12_end}, {"1009", "4000"}},
      {{"gaps", "20", "40", near12, near12_end}, {"2048"}},
      {{"goldbach-verify", near12, near12_end, "--records"}, {"999", "30001"}},
      {{"primes", near64, top, "--count"}, {"3001"}},
      {{"twins", near64, top, "--count"}, {"1777"}},
      {{"gaps", "1", "1000", near64, top, "--histogram"}, {"4099"}},
      {{"gaps", "50", "200", near64, top}, {"1500"}},
      // goldbach N cuts the low members [0, N/2]: every one a chunk, the
      // middle N/2 = 1009 (an odd prime, its own partner) alone, first or
      // last in its chunk; the tables' answer up to 2000000, the sieve's above.
      {{"goldbach", "6"}, {"1", "2", "3"}},
      {{"goldbach", "100"}, {"1", "2", "7", "50", "51"}},
      {{"goldbach", "2018"}, {"1", "3", "505", "1009", "1010"}},
      {{"goldbach", "2000000"}, {"9999", "333333"}},
      {{"goldbach", "2000002"}, {"997", "1000001"}},
      {{"goldbach", "1e9"}, {"333333333"}},
      // goldbach-verify: the record n = 992 first in its chunk (988), the
      // last chunk [B, B] (2996), no even n at all; near 2^64.
      {{"goldbach-verify", "5", "5"}, {"1"}},
      {{"goldbach-verify", near64, top, "--records"}, {"3001"}},
  };
  for (const Case& c : cases) {
    for (const bool csv : {false, true}) {
      const auto args = csv ? with(c.args, {"--csv"}) : c.args;
      const Result whole = run(args);
      ASSERT_EQ(whole.status, 0) << joined(args) << whole.err;
      for (const std::string& s : c.lengths) {
        const auto cut = with(args, {"--chunk", s});
        const Result chunked = run(cut);
        EXPECT_EQ(chunked.status, 0) << joined(cut) << chunked.err;
        EXPECT_EQ(chunked.out, whole.out) << joined(cut);
        EXPECT_EQ(chunked.err, "") << joined(cut);
      }
    }
  }
}

// A runner as ntbench-mpi's may be: the chunks computed in descending
// order, and on a process that does not write the answer, nothing merged.
class DescendingRunner final : public ChunkRunner {
 public:
  explicit DescendingRunner(bool writer) : writer_(writer) {}
  void run(uint64_t chunks, const std::vector<bool>& done,
           const std::function<std::string(uint64_t)>& compute,
           const std::function<void(uint64_t, std::string_view)>& finished) override {
    ++runs;
    for (uint64_t i = chunks; i-- > 0;) {
      if ((!done.empty() && done[i]) || (lose_first && i == 0)) continue;
      const std::string line = compute(i);
      if (writer_) finished(i, line);
    }
  }
  bool writes_answer() const override { return writer_; }
  unsigned processes() const override { return 3; }
  int runs = 0;
  bool lose_first = false;  // returns without chunk 0, as a rank lost quietly would

 private:
  bool writer_;
};

Result run_with_runner(const std::vector<std::string>& args, ChunkRunner& runner) {
  std::vector<const char*> argv{"ntbench"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  const Request r = parse_command_line(static_cast<int>(argv.size()), argv.data());
  Result result{0, "", ""};
  Output out(r.csv ? Format::kCsv : Format::kText, -1, &result.out);
  TokenReader in(std::string_view{});
  Channels io{out, in, &result.err, &runner};
  result.status = r.command->run(r, io);
  out.flush();
  return result;
}

// Another runner always runs in chunks, each process entering it once; the
// writer merges the lines however late they come, the others write nothing.
TEST(Chunked, AnyRunnerGivesTheOnePieceAnswer) {
  const std::vector<std::vector<std::string>> commands = {
      {"primes", "0", "100000", "--count", "--chunk", "999"},
      {"twins", "0", "20000", "--chunk", "101", "--csv"},
      {"gaps", "114", "0", "600000", "--chunk", "5000"},
      {"gaps", "2", "40", "1e12", "1e12+2e4", "--histogram", "--chunk", "777"},
      {"twins", "0", "20000", "--count"},  // the default chunk length
      {"goldbach", "1e8", "--chunk", "9999999"},
      {"goldbach-verify", "4", "100000", "--records", "--chunk", "997"},
      {"goldbach", "3000002", "--chunk", "99991"},
  };
  for (const auto& args : commands) {
    const Result whole = run(args);
    DescendingRunner writer(true), other(false);
    const Result merged = run_with_runner(args, writer);
    EXPECT_EQ(merged.status, 0) << joined(args) << merged.err;
    EXPECT_EQ(merged.out, whole.out) << joined(args);
    EXPECT_EQ(writer.runs, 1) << joined(args);
    const Result quiet = run_with_runner(args, other);
    EXPECT_EQ(quiet.status, 0) << joined(args);
    EXPECT_EQ(quiet.out + quiet.err, "") << joined(args);
    EXPECT_EQ(other.runs, 1) << joined(args);
    // One that comes back with a chunk missing passes no answer off as
    // whole: status 1, the missing chunk named.
    DescendingRunner lossy(true);
    lossy.lose_first = true;
    const Result lost = run_with_runner(args, lossy);
    EXPECT_EQ(lost.status, 1) << joined(args);
    EXPECT_NE(lost.err.find("chunk 0 of"), std::string::npos) << lost.err;
  }
}

// goldbach-verify's rows and its status 3: an n left without a prime (p
// bounded by the tests' variable) ends a chunked run as the one-piece run,
// the same rows, status 3 and its line, the first of the unverified n
// however many chunks held them.
TEST(Chunked, GoldbachCounterexampleAsInOnePiece) {
  setenv("NTBENCH_TEST_GOLDBACH_MAX_P", "5", 1);
  // With p up to 5 the first n left is 30 (27 and 25 are composite).
  const Result small = run({"goldbach-verify", "4", "100"});
  EXPECT_EQ(small.status, 3);
  EXPECT_EQ(small.out, "49 12 5 7\n");
  EXPECT_EQ(small.err,
            "ntbench goldbach-verify: COUNTEREXAMPLE TO GOLDBACH'S CONJECTURE: 9 even numbers "
            "have no prime p with n - p prime, the first 30\n");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"goldbach-verify", "4", "100000"},
        std::vector<std::string>{"goldbach-verify", "1000", "100000", "--records"}}) {
    const Result whole = run(args);
    EXPECT_EQ(whole.status, 3);
    for (const char* length : {"1", "997"}) {
      const Result chunked = run(with(args, {"--chunk", length}));
      EXPECT_EQ(chunked.status, whole.status) << joined(args) << length;
      EXPECT_EQ(chunked.out, whole.out) << joined(args) << length;
      EXPECT_EQ(chunked.err, whole.err) << joined(args) << length;
    }
  }
  unsetenv("NTBENCH_TEST_GOLDBACH_MAX_P");
  // Without the bound: the row, and the last record (the engine's own
  // answers are tried against a plain sieve in the numtheory tests).
  EXPECT_EQ(run({"goldbach-verify", "4", "1000000"}).out, "499999 503222 523 502699\n");
  const std::string records = run({"goldbach-verify", "4", "1000000", "--records"}).out;
  EXPECT_EQ(records.substr(records.rfind('\n', records.size() - 2) + 1), "503222 523 502699\n");
  EXPECT_EQ(run({"goldbach-verify", "5", "5", "--csv"}).out, "checked,n,p,q\r\n0,0,0,0\r\n");
}

class Checkpointed : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("ntbench_chunked_test_" + std::to_string(::getpid()) + ".ckpt"))
                .string();
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }

  std::vector<std::string> lines() const {
    std::ifstream in(path_, std::ios::binary);
    std::vector<std::string> all;
    for (std::string line; std::getline(in, line);) all.push_back(line);
    return all;
  }
  void write(const std::string& bytes) const {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string bytes() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string path_;
};

// The chunks a checkpoint holds are read back, not computed again: a count
// written into the file shows in the answer.
TEST_F(Checkpointed, HeldChunksAreReadBack) {
  const std::vector<std::string> args = {"primes",  "0",   "1000",         "--count",
                                         "--chunk", "100", "--checkpoint", path_};
  ASSERT_EQ(run(args).out, "168\n");
  std::vector<std::string> all = lines();
  ASSERT_EQ(all.size(), 12u);  // the header and chunks 0..10
  EXPECT_EQ(all[1], checkpoint_line(0, "25").substr(0, all[1].size()));
  all[1] = checkpoint_line(0, "1025");
  all[1].pop_back();
  std::string text;
  for (const std::string& l : all) text += l + '\n';
  write(text);
  EXPECT_EQ(run(args).out, "1168\n");
}

TEST_F(Checkpointed, AnotherRunsFileIsRefused) {
  // The file written by `first`, refused to `second` and left as it is:
  // another range, chunk length, form, or --records for a verification.
  const std::vector<std::string> twins = {"twins", "0", "1000", "--count", "--checkpoint", path_};
  const std::vector<std::string> verify = {"goldbach-verify", "4", "1000", "--checkpoint", path_};
  const std::string twins_run = "twins --count 0 1000 --chunk 1073741824";
  const struct {
    std::vector<std::string> first, second;
    std::string run;
  } refused[] = {
      {twins, {"twins", "0", "1001", "--count", "--checkpoint", path_}, twins_run},
      {twins, {"twins", "0", "1000", "--count", "--chunk", "10", "--checkpoint", path_}, twins_run},
      {twins, {"twins", "0", "1000", "--checkpoint", path_}, twins_run},
      {verify, with(verify, {"--records"}), "goldbach-verify 4 1000 --chunk 1073741824"},
  };
  for (const auto& c : refused) {
    std::filesystem::remove(path_);
    ASSERT_EQ(run(c.first).status, 0);
    const std::string kept = bytes();
    const Result r = run(c.second);
    EXPECT_EQ(r.status, 2) << joined(c.second);
    EXPECT_EQ(r.out, "") << joined(c.second);
    EXPECT_EQ(r.err, "ntbench: checkpoint " + path_ + " holds another run (" + c.run + ")\n");
    EXPECT_EQ(bytes(), kept);
  }
  std::filesystem::remove(path_);
  ASSERT_EQ(run(twins).status, 0);
  const std::string kept = bytes();
  // A file that is no checkpoint is left as it is.
  write("some notes\n");
  const Result notes = run(twins);
  EXPECT_EQ(notes.status, 2);
  EXPECT_EQ(notes.err, "ntbench: checkpoint " + path_ + " is not a checkpoint of ntbench\n");
  EXPECT_EQ(bytes(), "some notes\n");
  // A header torn before its line end is started afresh.
  write("ntbench checkpoint: twi");
  EXPECT_EQ(run(twins).out, "35\n");
  EXPECT_EQ(bytes(), kept);
  // A refusal still enters the runner once (with every chunk done), so that
  // the processes waiting for chunks are let go.
  DescendingRunner writer(true);
  const Result foreign = run_with_runner({"twins", "0", "1000", "--checkpoint", path_}, writer);
  EXPECT_EQ(foreign.status, 2);
  EXPECT_EQ(foreign.out, "");
  EXPECT_EQ(writer.runs, 1);
  // A file that cannot be created.
  const Result nowhere =
      run({"primes", "0", "10", "--count", "--checkpoint", path_ + ".d/no/such"});
  EXPECT_EQ(nowhere.status, 2);
  EXPECT_EQ(nowhere.err,
            "ntbench: checkpoint " + path_ + ".d/no/such: No such file or directory\n");
}

}  // namespace
}  // namespace ntb::cli::test
