// The session log file: every record kept and an old file cut off, the
// emergency flush, and faults: a write that fails part-way (a full disk)
// leaves whole records only, and a signal that ends the run in the middle
// of a flush writes no record twice.
#include "io/session_log.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "support/files.hpp"

namespace ntb {
namespace {

using ntb::testing::file_text;

std::string temp_file() {
  char path[] = "/tmp/ntbench-slogXXXXXX";
  const int fd = mkstemp(path);
  if (fd >= 0) close(fd);
  return path;
}

// A disk with room for g_room more bytes: writes what fits, then ENOSPC.
size_t g_room = 0;
ssize_t write_into_room(int fd, const void* p, size_t n) {
  if (g_room == 0) {
    errno = ENOSPC;
    return -1;
  }
  const ssize_t w = ::write(fd, p, std::min(n, g_room));
  if (w > 0) g_room -= static_cast<size_t>(w);
  return w;
}

TEST(SessionLog, AFullDiskLeavesWholeRecordsAndWarnsOnce) {
  // Every size of free room, records flushed in threes: the file keeps the
  // longest run of whole records that fits, whether the disk fills in the
  // first flush or a later one, at a record's end or inside one.
  std::vector<std::string> recs;
  for (int i = 0; i < 10; ++i) {
    std::string r(2 + 7 * i % 11, static_cast<char>('a' + i));
    r.front() = ' ';
    r.append("\r\n");
    recs.push_back(r);
  }
  std::string all;
  for (const auto& r : recs) all += r;
  for (size_t room = 0; room <= all.size(); ++room) {
    SCOPED_TRACE(room);
    const std::string path = temp_file();
    g_room = room;
    ::testing::internal::CaptureStderr();
    bool failed = false;
    {
      SessionLog log(write_into_room);
      std::string error;
      EXPECT_TRUE(log.open(path.c_str(), error));
      for (size_t i = 0; i < recs.size(); ++i) {
        log.write(recs[i]);
        if (i % 3 == 2) log.flush();
      }
      log.close();
      failed = log.failed();
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    std::string expected;
    for (const auto& r : recs) {
      if (expected.size() + r.size() > room) break;
      expected += r;
    }
    EXPECT_EQ(file_text(path), expected);
    EXPECT_EQ(failed, room < all.size());
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), failed ? 1 : 0);
    if (failed) {
      EXPECT_NE(err.find(path), std::string::npos);
    }
    unlink(path.c_str());
  }
}

SessionLog* g_signalled_log = nullptr;
volatile std::sig_atomic_t g_handled = 0;

// The handler that ends a run flushes once (and exits).
extern "C" void flush_as_the_run_ends(int) {
  g_handled = g_handled + 1;
  if (g_handled == 1 && g_signalled_log) g_signalled_log->emergency_flush();
}

// Writes half of what it is given and raises SIGTERM: a signal that comes
// while the write is under way.
ssize_t write_half_then_signal(int fd, const void* p, size_t n) {
  const ssize_t w = ::write(fd, p, n > 1 ? n / 2 : n);
  std::raise(SIGTERM);
  return w;
}

TEST(SessionLog, ASignalDuringAFlushWritesNoRecordTwice) {
  // The handler that ends the run writes out the buffer; it must find the
  // bytes that the interrupted flush already wrote accounted for.
  const std::string path = temp_file();
  struct sigaction sa {
  }, old{};
  sa.sa_handler = flush_as_the_run_ends;
  sigemptyset(&sa.sa_mask);
  ASSERT_EQ(sigaction(SIGTERM, &sa, &old), 0);
  {
    SessionLog log(write_half_then_signal);
    std::string error;
    ASSERT_TRUE(log.open(path.c_str(), error));
    g_signalled_log = &log;
    log.write(" one\r\n");
    log.write(" two\r\n");
    log.flush();
    log.write(" three\r\n");
    log.flush();
    g_signalled_log = nullptr;
  }
  sigaction(SIGTERM, &old, nullptr);
  EXPECT_GT(g_handled, 0);
  EXPECT_EQ(file_text(path), " one\r\n two\r\n three\r\n");
  unlink(path.c_str());
}

TEST(SessionLog, CannotBeCreated) {
  SessionLog log;
  std::string error;
  EXPECT_FALSE(log.open("/nonexistent-dir/session7.dat", error));
  EXPECT_FALSE(error.empty());
  char dir[] = "/tmp/ntbench-logdirXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  SessionLog on_dir;
  EXPECT_FALSE(on_dir.open(dir, error));  // the name is a directory
  rmdir(dir);
}

TEST(SessionLog, KeepsEveryRecordAndTruncatesAnOldFile) {
  char path[] = "/tmp/ntbench-logXXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, "old content\r\n", 13), 13);
  close(fd);
  {
    SessionLog log;
    std::string error;
    ASSERT_TRUE(log.open(path, error));
    std::string big(100000, 'x');  // larger than the buffer
    log.write(" a\r\n");
    log.write(big);
    log.write(" b\r\n");
    log.close();
    EXPECT_FALSE(log.failed());
  }
  FILE* f = std::fopen(path, "rb");
  std::string got(200000, '\0');
  got.resize(std::fread(got.data(), 1, got.size(), f));
  std::fclose(f);
  unlink(path);
  EXPECT_EQ(got, " a\r\n" + std::string(100000, 'x') + " b\r\n");
}

TEST(SessionLog, EmergencyFlushWritesEveryCompleteRecord) {
  char path[] = "/tmp/ntbench-sigXXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  SessionLog log;
  std::string error;
  ASSERT_TRUE(log.open(path, error));
  log.write(" one\r\n");
  log.flush();
  log.write(" two\r\n");
  log.write(" three\r\n");
  log.emergency_flush();  // as a signal handler would, without a flush
  FILE* f = std::fopen(path, "rb");
  char buf[64] = {};
  const size_t n = std::fread(buf, 1, sizeof buf, f);
  std::fclose(f);
  unlink(path);
  EXPECT_EQ(std::string(buf, n), " one\r\n two\r\n three\r\n");
}

}  // namespace
}  // namespace ntb
