// The whole numbers of the command line: the type that holds an argument's
// value and its bounds, wide enough for any range a command may accept (up
// to 2^128 - 1), and the one function that reads a number from its text.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ntb::cli {

using Whole = unsigned __int128;

// The value of a text of decimal digits; none when the text is empty, holds
// anything but the digits 0-9, has more than max_digits of them, or its
// value does not fit in a Whole.
std::optional<Whole> read_whole(std::string_view text, size_t max_digits);

}  // namespace ntb::cli
