// The session log file "session7.dat": records are gathered in a buffer and
// written out before every keyboard read, when the buffer fills and at the
// end of the run.  Opening creates a missing file; an existing one loses
// its former content when the first record is written, not before.  A signal that ends the run
// writes out the records complete so far (emergency_flush is safe to call from a signal handler).
#pragma once

#include <cstddef>
#include <string>

#include "io/io.hpp"

namespace ntb {

class SessionLog final : public LogSink {
 public:
  SessionLog() = default;
  ~SessionLog() override;
  SessionLog(const SessionLog&) = delete;
  SessionLog& operator=(const SessionLog&) = delete;

  // Opens the file for writing, creating it when missing; false with the
  // reason in `error`.
  bool open(const char* path, std::string& error);
  void write(std::string_view bytes) override;
  void flush() override;
  // Flushes and closes; the file keeps every record.
  void close();
  // A write has failed during the run (the run goes on; its status is 1).
  bool failed() const { return failed_; }

  // Writes the complete records still in the buffer; for signal handlers.
  void emergency_flush();

 private:
  void fail(int err);

  int fd_ = -1;
  const char* path_ = "";
  bool failed_ = false;
  bool cut_pending_ = false;  // the former content is still to be cut off
  static constexpr size_t kCap = 1 << 16;
  char buf_[kCap];
  volatile size_t len_ = 0;      // bytes of complete records in buf_
  volatile size_t written_ = 0;  // of which already in the file
};

}  // namespace ntb
