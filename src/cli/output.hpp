// The output of the one-shot commands: rows of fields, written to standard
// output in large blocks (or to a string, for the tests), as plain text
// (fields separated by one blank, no header) or as CSV (a header row, then
// RFC 4180 rows ending with CR LF, a field quoted when it holds a comma, a
// quote or a line end).  Whole numbers, up to 128 bits, are written by the
// digit writer of numtheory/decimal_digits.hpp.
//
// A write that fails throws: OutputClosed when the reader went away (EPIPE,
// e.g. `| head -3`; the command ends quietly), OutputError otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace ntb::cli {

enum class Format { kText, kCsv };

struct OutputClosed {};
struct OutputError {
  int error_number;
};

class Output {
 public:
  // Writes to file descriptor fd, or appends to *capture when it is given.
  explicit Output(Format format, int fd = 1, std::string* capture = nullptr);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  Format format() const { return format_; }
  bool csv() const { return format_ == Format::kCsv; }

  // The CSV header row naming the columns; nothing in plain text.
  void header(std::initializer_list<std::string_view> names);

  // One row of fields, e.g. row(index, prime).
  template <typename... Fields>
  void row(const Fields&... fields) {
    (field(fields), ...);
    end_row();
  }

  // The fields of a row one at a time; end_row() closes the row.
  void field(std::string_view text);
  void field(const char* text) { field(std::string_view(text)); }
  template <typename Int, std::enable_if_t<std::is_integral_v<Int>, int> = 0>
  void field(Int value) {
    separate();
    number(value);
  }
  void field(unsigned __int128 value) {
    separate();
    number(value);
  }
  void end_row();
  // One field of numbers separated by blanks (the prime factors of a row):
  // in text they read as further columns, in CSV they stay one field.
  template <typename Int>
  void list_field(const Int* values, size_t count) {
    separate();
    for (size_t i = 0; i < count; ++i) {
      if (i > 0) raw(' ');
      number(values[i]);
    }
  }

  // Bytes as they are, for lines that are not rows of fields (factor's).
  void raw(std::string_view bytes);
  void raw(char c) {
    if (fill_ == kSize) drain();
    buf_[fill_++] = c;
  }
  // A whole number as decimal digits, without a separator.
  template <typename Int>
  void number(Int value) {
    if constexpr (std::is_signed_v<Int>) {
      if (value < 0) {
        raw('-');
        digits(0 - static_cast<uint64_t>(value));
        return;
      }
    }
    digits(static_cast<uint64_t>(value));
  }
  void number(unsigned __int128 value) { digits(value); }

  // Everything written so far goes out.
  void flush();

 private:
  static constexpr size_t kSize = 1 << 16;
  void separate() {
    if (in_row_) raw(csv() ? ',' : ' ');
    in_row_ = true;
  }
  void digits(unsigned __int128 v);
  void drain();

  Format format_;
  int fd_;
  std::string* capture_;
  bool in_row_ = false;
  size_t fill_ = 0;
  char buf_[kSize];
};

}  // namespace ntb::cli
