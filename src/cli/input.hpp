// Standard input of factor and totient, read a large block at a time and
// cut into tokens at blanks, tabs and line ends.  A token longer than
// kMaxToken keeps only its first bytes (and is refused as a number; leading
// zeros are dropped first, so a number is read whatever their count), so a
// line of gigabytes takes no more memory than a short one.  A read that
// fails (a closed descriptor, a directory) ends the tokens and is kept, for
// the command to report rather than take it for the end of the input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ntb::cli {

class TokenReader {
 public:
  static constexpr size_t kMaxToken = 64;
  // Reads file descriptor fd (a negative one fails as a closed one would).
  explicit TokenReader(int fd) : fd_(fd) {}
  // Reads the text `from`.
  explicit TokenReader(std::string_view from) : from_text_(true), text_(from) {}

  // The next token, or false at the end of the input.  A token cut at
  // kMaxToken bytes ends with "...".
  bool next(std::string& token);

  // The errno of the read that failed, 0 when none did.
  int error() const { return error_; }

 private:
  bool fill();
  int fd_ = -1;
  bool from_text_ = false;
  std::string_view text_;
  int error_ = 0;
  size_t pos_ = 0, end_ = 0;
  char buf_[1 << 16];
};

}  // namespace ntb::cli
