// The checkpoint file: loaded once at the start of a run (header checked,
// results located, a torn tail cut off), then appended to a chunk at a time
// with write and fsync.  The file is held under an exclusive lock for the
// run, so that two runs never append to the same file.
#include "cli/checkpoint.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace ntb::cli {

namespace {

constexpr std::string_view kMagic = "ntbench checkpoint: ";

uint64_t fnv1a(std::string_view text) {
  uint64_t h = 14695981039346656037u;
  for (const char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211u;
  }
  return h;
}

std::string hex16(uint64_t v) {
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) s[static_cast<size_t>(i)] = "0123456789abcdef"[v & 15];
  return s;
}

// A chunk line without its line end: "chunk I RESULT HASH", read into its
// index and the place of its result in the line; false when it is not one.
bool read_chunk_line(std::string_view line, uint64_t& index, size_t& result_at,
                     size_t& result_length) {
  constexpr std::string_view kChunk = "chunk ";
  if (line.substr(0, kChunk.size()) != kChunk) return false;
  const size_t hash_at = line.rfind(' ');
  if (hash_at == std::string_view::npos || line.size() - hash_at != 17) return false;
  if (hex16(fnv1a(line.substr(0, hash_at))) != line.substr(hash_at + 1)) return false;
  const char* first = line.data() + kChunk.size();
  const auto [end, ec] = std::from_chars(first, line.data() + hash_at, index);
  if (ec != std::errc() || end == first || *end != ' ') return false;
  result_at = static_cast<size_t>(end + 1 - line.data());
  result_length = hash_at >= result_at ? hash_at - result_at : 0;
  return hash_at >= result_at;
}

}  // namespace

std::string checkpoint_line(uint64_t chunk, std::string_view result) {
  std::string line = "chunk " + std::to_string(chunk) + ' ';
  line += result;
  line += ' ' + hex16(fnv1a(line)) + '\n';
  return line;
}

Checkpoint::Checkpoint(std::string path, std::string_view job, uint64_t chunks)
    : path_(std::move(path)), done_(chunks, false), places_(chunks) {
  fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd_ < 0) throw CheckpointProblem{"checkpoint " + path_ + ": " + std::strerror(errno), 2};
  try {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw fault(errno);
    if (!S_ISREG(st.st_mode))
      throw CheckpointProblem{"checkpoint " + path_ + " is not a regular file", 2};
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK)
        throw CheckpointProblem{"checkpoint " + path_ + " is in use by another run", 2};
      throw fault(errno);
    }
    load(job);
  } catch (...) {
    ::close(fd_);
    throw;
  }
}

Checkpoint::~Checkpoint() {
  ::close(fd_);
}

CheckpointProblem Checkpoint::fault(int error_number) const {
  return {"checkpoint " + path_ + ": " + std::strerror(error_number), 1};
}

void Checkpoint::load(std::string_view job) {
  const std::string header = std::string(kMagic) + std::string(job);
  uint64_t offset = 0;    // of the first byte not yet read into `line`
  uint64_t good_end = 0;  // the end of the last good line
  bool header_read = false, stopped = false;
  std::string line;
  char buffer[1 << 16];
  // Each complete line: the header first, then chunk lines until the first
  // that does not read as one.
  const auto take = [&](uint64_t line_start) {
    if (!header_read) {
      if (line != header) {
        if (line.substr(0, kMagic.size()) == kMagic)
          throw CheckpointProblem{
              "checkpoint " + path_ + " holds another run (" + line.substr(kMagic.size()) + ")", 2};
        throw CheckpointProblem{"checkpoint " + path_ + " is not a checkpoint of ntbench", 2};
      }
      header_read = true;
    } else {
      uint64_t index = 0;
      size_t at = 0, length = 0;
      if (!read_chunk_line(line, index, at, length) || index >= done_.size()) {
        stopped = true;
        return;
      }
      if (!done_[index]) {
        done_[index] = true;
        places_[index] = {line_start + at, length};
      }
    }
    good_end = line_start + line.size() + 1;
  };
  uint64_t line_start = 0;
  while (!stopped) {
    const ssize_t got = ::pread(fd_, buffer, sizeof buffer, static_cast<off_t>(offset));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw fault(errno);
    }
    if (got == 0) break;
    const char* p = buffer;
    const char* const end = buffer + got;
    while (p < end && !stopped) {
      const auto* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      if (nl == nullptr) {
        line.append(p, end);
        break;
      }
      line.append(p, nl);
      take(line_start);
      line_start = offset + static_cast<uint64_t>(nl + 1 - buffer);
      line.clear();
      p = nl + 1;
    }
    offset += static_cast<uint64_t>(got);
  }
  if (!header_read) {
    // Empty, or a header torn before its line end: begin afresh, but never
    // over a file that is something else.
    if (std::string_view(header).substr(0, line.size()) != line) take(0);  // refuses it
    if (::ftruncate(fd_, 0) != 0) throw fault(errno);
    write_all(header + '\n');
    return;
  }
  // A torn last line, or lines past one that does not read: cut them off.
  if (stopped || !line.empty()) {
    if (::ftruncate(fd_, static_cast<off_t>(good_end)) != 0 || ::fsync(fd_) != 0)
      throw fault(errno);
  }
}

void Checkpoint::write_all(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      throw fault(errno);
    }
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  if (::fsync(fd_) != 0) throw fault(errno);
}

std::string Checkpoint::result(uint64_t chunk) const {
  const Place& at = places_[chunk];
  std::string text(at.length, '\0');
  size_t have = 0;
  while (have < text.size()) {
    const ssize_t got =
        ::pread(fd_, text.data() + have, text.size() - have, static_cast<off_t>(at.offset + have));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) throw fault(got < 0 ? errno : EIO);
    have += static_cast<size_t>(got);
  }
  return text;
}

void Checkpoint::append(uint64_t chunk, std::string_view result) {
  write_all(checkpoint_line(chunk, result));
}

}  // namespace ntb::cli
