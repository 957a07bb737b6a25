// Report texts of fixed length.  An A field sees the whole length of its
// text, trailing blanks and tabs included: a text shorter than the field is
// pushed to the right, a longer one is cut.  So the report texts are built
// at the exact lengths the records need.
#pragma once

#include <cstddef>
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

}  // namespace ntb
