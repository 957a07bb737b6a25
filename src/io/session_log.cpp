// The session log file: buffered records, written through before every read.
// An existing file keeps its former content until the run writes its first
// record, which cuts it off; a run that writes nothing leaves it as it was.
#include "io/session_log.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ntb {

namespace {

// Writes all of [p, p+n); the errno of the first failure, or 0.
int write_all(int fd, const char* p, size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return 0;
}

}  // namespace

SessionLog::~SessionLog() {
  close();
}

bool SessionLog::open(const char* path, std::string& error) {
  path_ = path;
  fd_ = ::open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    error = std::strerror(errno);
    return false;
  }
  struct stat st {};
  // Only a regular file has a former content to cut; devices and pipes
  // are written as they are.
  cut_pending_ = ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
  return true;
}

void SessionLog::fail(int err) {
  if (!failed_)
    std::fprintf(stderr, "ntbench: cannot write to the session log %s: %s\n", path_,
                 std::strerror(err));
  failed_ = true;
}

void SessionLog::write(std::string_view bytes) {
  if (fd_ < 0) return;
  if (cut_pending_) {
    // The first record of the run: the former content goes now.
    cut_pending_ = false;
    if (::ftruncate(fd_, 0) != 0) fail(errno);
  }
  if (len_ + bytes.size() > kCap) flush();
  if (bytes.size() > kCap) {
    if (int err = write_all(fd_, bytes.data(), bytes.size())) fail(err);
    return;
  }
  std::memcpy(buf_ + len_, bytes.data(), bytes.size());
  len_ = len_ + bytes.size();  // the record is complete only now
}

void SessionLog::flush() {
  if (fd_ < 0) return;
  // written_ follows the progress, so that a signal in the middle of this
  // loop writes out only the rest.
  while (!failed_ && written_ < len_) {
    const ssize_t w = ::write(fd_, buf_ + written_, len_ - written_);
    if (w < 0) {
      if (errno == EINTR) continue;
      fail(errno);  // one warning; later records are dropped
      break;
    }
    written_ = written_ + static_cast<size_t>(w);
  }
  len_ = 0;
  written_ = 0;
}

void SessionLog::emergency_flush() {
  if (fd_ < 0 || failed_) return;
  const size_t from = written_, to = len_;
  if (to > from) write_all(fd_, buf_ + from, to - from);
}

void SessionLog::close() {
  if (fd_ < 0) return;
  flush();
  if (::close(fd_) != 0) fail(errno);
  fd_ = -1;
}

}  // namespace ntb
