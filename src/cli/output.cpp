// The buffered writer of the one-shot commands: see output.hpp.
#include "cli/output.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "numtheory/decimal_digits.hpp"

namespace ntb::cli {

Output::Output(Format format, int fd, std::string* capture)
    : format_(format), fd_(fd), capture_(capture) {}

// The destructor writes what is left only when nothing failed; a failure is
// reported by the flush() of the command's own path.
Output::~Output() {
  try {
    flush();
  } catch (...) {
  }
}

void Output::header(std::initializer_list<std::string_view> names) {
  if (!csv()) return;
  for (const std::string_view name : names) field(name);
  end_row();
}

void Output::field(std::string_view text) {
  separate();
  if (!csv() || text.find_first_of(",\"\r\n") == std::string_view::npos) {
    raw(text);
    return;
  }
  raw('"');
  for (const char c : text) {
    if (c == '"') raw('"');
    raw(c);
  }
  raw('"');
}

void Output::end_row() {
  if (csv()) raw('\r');
  raw('\n');
  in_row_ = false;
}

void Output::raw(std::string_view bytes) {
  while (!bytes.empty()) {
    if (fill_ == kSize) drain();
    const size_t n = std::min(bytes.size(), kSize - fill_);
    std::memcpy(buf_ + fill_, bytes.data(), n);
    fill_ += n;
    bytes.remove_prefix(n);
  }
}

void Output::digits(unsigned __int128 v) {
  char tmp[kMaxDigits128];
  char* const end = tmp + sizeof tmp;
  const char* const p = decimal_digits(v, end);
  const auto n = static_cast<size_t>(end - p);
  if (kSize - fill_ < n) drain();
  std::memcpy(buf_ + fill_, p, n);
  fill_ += n;
}

void Output::drain() {
  if (capture_ != nullptr) {
    capture_->append(buf_, fill_);
    fill_ = 0;
    return;
  }
  size_t done = 0;
  while (done < fill_) {
    const ssize_t n = ::write(fd_, buf_ + done, fill_ - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fill_ = 0;
      if (errno == EPIPE) throw OutputClosed{};
      throw OutputError{errno};
    }
    done += static_cast<size_t>(n);
  }
  fill_ = 0;
}

void Output::flush() {
  drain();
}

}  // namespace ntb::cli
