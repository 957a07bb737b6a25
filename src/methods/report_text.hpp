// Report texts of fixed length for the methods' records: pad (io/record.hpp)
// and runs of one character.  An A field sees the whole length of its text,
// trailing blanks and tabs included: a text shorter than the field is pushed
// to the right, a longer one is cut.
#pragma once

#include <cstddef>
#include <string>

#include "io/record.hpp"

namespace ntb {

// n copies of c.
inline std::string repeated(char c, std::size_t n) {
  return std::string(n, c);
}

}  // namespace ntb
