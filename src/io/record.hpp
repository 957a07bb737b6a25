// Record layouts: turns a layout string such as "(1X,A40,2F11.0)" and a list
// of items into fixed-column records, and formats list-directed records.
//
// A layout holds the edit descriptors nX, 'text', Aw, Iw, Fw.d, the colon and
// repeat counts (rD).  A data descriptor takes the next item; when no item
// remains the record ends there (or at a colon).  When the closing
// parenthesis is reached with items left, the layout starts again on a new
// record (reversion).  Records are returned without line ends and keep their
// first character (carriage control is a screen matter, see io.hpp).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ntb {

// One output item: a text (its length is what an A descriptor sees, trailing
// blanks included), a 32-bit whole number, or a 64-bit real.
class Item {
 public:
  enum class Kind { Text, Int, Real };

  Item(const char* s) : kind_(Kind::Text), text_(s) {}
  Item(std::string_view s) : kind_(Kind::Text), text_(s) {}
  Item(const std::string& s) : kind_(Kind::Text), text_(s) {}
  Item(int32_t v) : kind_(Kind::Int), int_(v) {}
  Item(double v) : kind_(Kind::Real), real_(v) {}

  Kind kind() const { return kind_; }
  std::string_view text() const { return text_; }
  int32_t whole() const { return int_; }
  double real() const { return real_; }

 private:
  Kind kind_;
  std::string_view text_;
  int32_t int_ = 0;
  double real_ = 0.0;
};

using Items = std::initializer_list<Item>;

// s blank-padded (or cut) to exactly w characters.  An A field sees the
// whole length of its text, trailing blanks and tabs included, so report
// texts are built at the exact lengths their records need.
inline std::string pad(std::string_view s, size_t w) {
  std::string r(s.substr(0, w));
  r.resize(w, ' ');
  return r;
}

// Appends to `records` the records that `layout` writes for `items`.
void format_records(std::string_view layout, std::span<const Item> items,
                    std::vector<std::string>& records);

// The same records for the screen, whose first character is carriage
// control: a record that starts with a non-blank character of a numeric
// field (Iw, Fw.d: a digit, a sign, or the asterisks of a number too wide)
// gets a blank in front, so that the whole number is shown on a new line.
// Records that start with a blank, a text or a literal are left as they are.
void format_screen_records(std::string_view layout, std::span<const Item> items,
                           std::vector<std::string>& records);

// Appends to `records` the list-directed records for `items`: each starts
// with one blank and holds at most 79 characters after it.
void format_list(std::span<const Item> items, std::vector<std::string>& records);

// Single fields, for callers and tests: Iw, Fw.d and the list-directed real.
std::string format_int(int32_t v, int w);
std::string format_fixed(double v, int w, int d);
std::string format_list_real(double v);  // 24 characters

}  // namespace ntb
