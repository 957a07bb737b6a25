// The session log file "session7.dat": records are gathered in a buffer and
// written out before every keyboard read, when the buffer fills and at the
// end of the run.  The file is always a sequence of whole records:
//   - an existing file keeps its former content until the first record is
//     written out, which cuts it off;
//   - a write that fails (a full disk) cuts the file back to the end of its
//     last whole record, warns once, and later records are dropped;
//   - a signal that ends the run writes out the buffered records with
//     emergency_flush (safe in a signal handler).  SIGINT and SIGTERM are held
//     back while a flush runs, so a handler never sees a count of written
//     bytes that lags behind the file and never writes a record twice.
// Only a regular file is accepted: opening never blocks (a FIFO), and a
// symbolic link is followed only when asked (a name the user gave).
#pragma once

#include <sys/types.h>

#include <atomic>
#include <csignal>
#include <cstddef>
#include <string>

#include "io/io.hpp"

namespace ntb {

class SessionLog final : public LogSink {
 public:
  // The system call that writes to the file; a test may put one in its place
  // that fails the way a full disk does.
  using WriteCall = ssize_t (*)(int fd, const void* bytes, size_t n);

  explicit SessionLog(WriteCall write_call = nullptr);
  ~SessionLog() override;
  SessionLog(const SessionLog&) = delete;
  SessionLog& operator=(const SessionLog&) = delete;

  // Opens the file for writing, creating it when missing; false with the
  // reason in `error` when it cannot, when it is not a regular file, or when
  // it is a symbolic link and `follow_link` is false.
  bool open(const char* path, std::string& error, bool follow_link = false);
  void write(std::string_view bytes) override;
  void flush() override;
  // Flushes and closes; the file keeps every record.
  void close();
  // A write has failed during the run (the run goes on; its status is 1).
  bool failed() const { return failed_ != 0; }

  // Writes the complete records still in the buffer; for signal handlers.
  void emergency_flush();

 private:
  // Writes whole records [p, p + n) at the end of the file; on a failure
  // cuts the file back to its last whole record and returns the errno.
  int put(const char* p, size_t n);
  // Writes out n bytes of whole records with SIGINT and SIGTERM held back.
  void write_out(const char* p, size_t n);

  WriteCall write_call_;
  int fd_ = -1;
  const char* path_ = "";
  bool warned_ = false;
  volatile std::sig_atomic_t failed_ = 0;
  volatile std::sig_atomic_t cut_pending_ = 0;  // the former content is still to be cut off
  off_t whole_ = 0;                             // length of the file in whole records of this run
  static constexpr size_t kCap = 1 << 16;
  char buf_[kCap];
  std::atomic<size_t> len_{0};  // bytes of complete records in buf_, none of them in the file
  static_assert(std::atomic<size_t>::is_always_lock_free);
};

}  // namespace ntb
