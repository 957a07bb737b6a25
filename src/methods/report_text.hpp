// Report texts of fixed length, and whole numbers for the I fields.  An A field sees the whole
// length of its text, trailing blanks and tabs included: a text shorter than the field is pushed to
// the right, a longer one is cut.  So the report texts are built at the exact lengths the records
// need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ntb {

// s followed by blanks up to len characters (s itself when not shorter).
inline std::string padded(std::string_view s, std::size_t len) {
  std::string r(s);
  if (r.size() < len) r.resize(len, ' ');
  return r;
}

// n copies of c.
inline std::string repeated(char c, std::size_t n) {
  return std::string(n, c);
}

// A whole value for an I field: truncated toward zero and held at the
// 32-bit bounds (reached only on a strangely edited table).
inline int32_t whole32(double v) {
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}
inline int32_t whole32(int64_t v) {
  return whole32(static_cast<double>(v));
}

}  // namespace ntb
