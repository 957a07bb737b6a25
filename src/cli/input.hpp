// Standard input of factor and totient, read a large block at a time and
// cut into tokens at blanks, tabs and line ends.  A token longer than
// kMaxToken keeps only its first bytes (and is refused as a number; leading
// zeros are dropped first, so a number is read whatever their count), so a
// line of gigabytes takes no more memory than a short one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ntb::cli {

class TokenReader {
 public:
  static constexpr size_t kMaxToken = 64;
  // Reads file descriptor fd, or the text `from` when fd is -1.
  explicit TokenReader(int fd, std::string_view from = {});

  // The next token, or false at the end of the input.  A token cut at
  // kMaxToken bytes ends with "...".
  bool next(std::string& token);

 private:
  bool fill();
  int fd_;
  std::string_view text_;
  size_t pos_ = 0, end_ = 0;
  char buf_[1 << 16];
};

}  // namespace ntb::cli
