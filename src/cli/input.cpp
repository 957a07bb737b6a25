// The token reader of standard input: see input.hpp.
#include "cli/input.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace ntb::cli {

namespace {
bool blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

bool TokenReader::fill() {
  pos_ = end_ = 0;
  if (from_text_) {
    const size_t n = std::min(text_.size(), sizeof buf_);
    std::memcpy(buf_, text_.data(), n);
    text_.remove_prefix(n);
    end_ = n;
    return n > 0;
  }
  if (error_ != 0) return false;
  for (;;) {
    const ssize_t n = ::read(fd_, buf_, sizeof buf_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error_ = errno;
    end_ = n > 0 ? static_cast<size_t>(n) : 0;
    return n > 0;
  }
}

bool TokenReader::next(std::string& token) {
  token.clear();
  bool cut = false;
  for (;;) {
    if (pos_ == end_ && !fill()) return !token.empty();
    if (token.empty()) {
      while (pos_ < end_ && blank(buf_[pos_])) ++pos_;
      if (pos_ == end_) continue;
    }
    const size_t start = pos_;
    while (pos_ < end_ && !blank(buf_[pos_])) ++pos_;
    if (!cut) {
      const size_t room = kMaxToken - token.size();
      size_t i = start + std::min(room, pos_ - start);
      token.append(buf_ + start, i - start);
      // A full token loses its leading zeros to the bytes that follow, so
      // that a number with any count of leading zeros is read whole.
      while (i < pos_ && token[0] == '0') {
        if (buf_[i] == '0' && token.find_first_not_of('0') == std::string::npos) {
          while (i < pos_ && buf_[i] == '0') ++i;
          continue;
        }
        token.erase(0, 1);
        token += buf_[i++];
      }
      if (i < pos_) {
        token += "...";
        cut = true;
      }
    }
    if (pos_ < end_) return true;  // ended by a blank
  }
}

}  // namespace ntb::cli
