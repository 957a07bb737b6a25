// Reading a whole number of the command line: see whole_number.hpp.
#include "cli/whole_number.hpp"

namespace ntb::cli {

std::optional<Whole> read_whole(std::string_view text, size_t max_digits) {
  if (text.empty() || text.size() > max_digits) return std::nullopt;
  constexpr Whole kMax = ~Whole{0};
  Whole v = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    const auto d = static_cast<unsigned>(ch - '0');
    if (v > (kMax - d) / 10) return std::nullopt;  // v * 10 + d would not fit
    v = v * 10 + d;
  }
  return v;
}

}  // namespace ntb::cli
