// Small pieces of the Goldbach dialogue: whole counts for fields that
// expect 32 bits.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "goldbach/engine/counts.hpp"
#include "io/io.hpp"

namespace ntb {

// A whole count for an Iw field.  Up to 2^31 - 1 it is the number itself;
// beyond, its digits as a w-character text, right-aligned (asterisks when
// they need more than w characters), which is what the field would show.
class WholeField {
 public:
  WholeField(double v, int w) : v_(std::trunc(v)) {
    if (v_ >= -2147483648.0 && v_ <= 2147483647.0) return;
    wide_ = true;
    std::string digits = std::to_string(static_cast<long long>(v_));
    text_ = digits.size() > static_cast<size_t>(w)
                ? std::string(static_cast<size_t>(w), '*')
                : std::string(static_cast<size_t>(w) - digits.size(), ' ') + digits;
  }
  operator Item() const {
    if (wide_) return Item(std::string_view(text_));
    return Item(static_cast<int32_t>(v_));
  }

 private:
  double v_;
  bool wide_ = false;
  std::string text_;
};

// A whole count for a list-directed record: a whole number while it fits
// 32 bits, a real beyond.
inline Item list_whole(double v) {
  v = std::trunc(v);
  if (v >= -2147483648.0 && v <= 2147483647.0) return Item(static_cast<int32_t>(v));
  return Item(v);
}

}  // namespace ntb
