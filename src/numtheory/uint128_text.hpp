// Unsigned 128-bit integers in decimal: prime counts past 2^64 (pi(x) for x
// up to 10^31) travel as unsigned __int128 and are read and written here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ntb {

using uint128 = unsigned __int128;

// v in decimal digits, no sign, no leading zeros ("0" for zero).
std::string to_decimal(uint128 v);

// The value of a string of decimal digits (at least one, nothing else);
// nothing when the text holds another character or the value passes
// 2^128 - 1.
std::optional<uint128> parse_decimal(std::string_view text);

}  // namespace ntb
