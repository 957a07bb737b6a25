// The session log file: buffered records, written out before every read.
// An existing file keeps its former content until the run writes out its
// first record, which cuts it off; a run that writes nothing leaves it as it
// was.  The file only ever grows by whole records, and a failed write is
// cut back to the last of them.
#include "io/session_log.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ntb {

namespace {

// SIGINT and SIGTERM wait while an object of this class lives: the handler
// that ends the run then finds the buffer and the file in step.
class HeldSignals {
 public:
  HeldSignals() {
    sigset_t s;
    sigemptyset(&s);
    sigaddset(&s, SIGINT);
    sigaddset(&s, SIGTERM);
    sigprocmask(SIG_BLOCK, &s, &old_);
  }
  ~HeldSignals() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t old_;
};

// The end of the last record (CR LF) within the first n bytes of p, or 0.
size_t whole_records(const char* p, size_t n) {
  while (n >= 2 && !(p[n - 2] == '\r' && p[n - 1] == '\n')) --n;
  return n >= 2 ? n : 0;
}

}  // namespace

SessionLog::SessionLog(WriteCall write_call) : write_call_(write_call ? write_call : &::write) {}

SessionLog::~SessionLog() {
  close();
}

bool SessionLog::open(const char* path, std::string& error, bool follow_link) {
  path_ = path;
  // O_NONBLOCK: opening a FIFO must not wait for a reader.
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  if (!follow_link) flags |= O_NOFOLLOW;
  const int fd = ::open(path, flags, 0644);
  if (fd < 0) {
    const int err = errno;
    if (err == ELOOP && !follow_link) {
      error = "it is a symbolic link, which is not followed";
    } else if (err == ENXIO) {
      error = "not a regular file";  // a FIFO without a reader, a socket, a device
    } else {
      error = std::strerror(err);
    }
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    error = "not a regular file";
    return false;
  }
  const int fl = ::fcntl(fd, F_GETFL);
  if (fl >= 0) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  fd_ = fd;
  cut_pending_ = 1;
  whole_ = 0;
  return true;
}

int SessionLog::put(const char* p, size_t n) {
  if (cut_pending_) {
    // The first records of the run: the former content goes now.
    if (::ftruncate(fd_, 0) != 0) return errno;
    cut_pending_ = 0;
  }
  size_t done = 0;
  while (done < n) {
    const ssize_t w = write_call_(fd_, p + done, n - done);
    if (w > 0) {
      done += static_cast<size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    const int err = w < 0 ? errno : ENOSPC;
    // Keep the records written whole; drop the piece of the next one.
    const size_t keep = whole_records(p, done);
    if (::ftruncate(fd_, whole_ + static_cast<off_t>(keep)) == 0)
      whole_ += static_cast<off_t>(keep);
    return err;
  }
  whole_ += static_cast<off_t>(n);
  return 0;
}

void SessionLog::write_out(const char* p, size_t n) {
  int err = 0;
  {
    const HeldSignals held;
    if (failed_ == 0 && n > 0) err = put(p, n);
    if (p == buf_) len_.store(0, std::memory_order_relaxed);
    if (err != 0) failed_ = 1;
  }
  if (err != 0 && !warned_) {
    warned_ = true;  // one warning; later records are dropped
    std::fprintf(stderr, "ntbench: cannot write to the session log %s: %s\n", path_,
                 std::strerror(err));
  }
}

void SessionLog::write(std::string_view bytes) {
  if (fd_ < 0 || failed_ != 0) return;
  if (len_.load(std::memory_order_relaxed) + bytes.size() > kCap) {
    flush();
    if (failed_ != 0) return;
  }
  if (bytes.size() > kCap) {
    write_out(bytes.data(), bytes.size());
    return;
  }
  const size_t len = len_.load(std::memory_order_relaxed);
  std::memcpy(buf_ + len, bytes.data(), bytes.size());
  // The record is complete only now: a signal handler sees it whole or not at all.
  std::atomic_signal_fence(std::memory_order_release);
  len_.store(len + bytes.size(), std::memory_order_relaxed);
}

void SessionLog::flush() {
  if (fd_ < 0) return;
  write_out(buf_, len_.load(std::memory_order_relaxed));
}

void SessionLog::emergency_flush() {
  if (fd_ < 0 || failed_ != 0) return;
  const size_t n = len_.load(std::memory_order_relaxed);
  std::atomic_signal_fence(std::memory_order_acquire);
  if (n > 0) put(buf_, n);
}

void SessionLog::close() {
  if (fd_ < 0) return;
  flush();
  if (::close(fd_) != 0 && !warned_) {
    warned_ = true;
    failed_ = 1;
    std::fprintf(stderr, "ntbench: cannot write to the session log %s: %s\n", path_,
                 std::strerror(errno));
  }
  fd_ = -1;
}

}  // namespace ntb
