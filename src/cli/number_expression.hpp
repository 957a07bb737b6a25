// Reading the numbers a user types: the integer expressions of the command
// line's arguments (1e10, 2.5e9, 10^12, 2^64-1, 1e12 + 1e10, (2^32-1)*3),
// the plain decimals of standard input, and the text of numbers and tokens
// for messages.  Only the standard library: the parser decides the ranges
// and words the messages.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ntb::cli {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

enum class ExpressionError {
  kNone,
  kMalformed,       // not an expression: empty, a wrong character, a missing ')'
  kNotWhole,        // 1.5, 2.5e0, 1e-3, 2^-1
  kOverflow,        // a value of the evaluation beyond 128 bits, or a result beyond Int128
  kDivisionByZero,  // x/0, 0^-1
};

struct ExpressionResult {
  ExpressionError error = ExpressionError::kNone;
  Int128 value = 0;    // the value when error is kNone
  size_t where = 0;    // the byte of the text where the fault was found
  std::string reason;  // a few words for a message: "too large", "unexpected 'x' at character 3"
  bool ok() const { return error == ExpressionError::kNone; }
};

// The value of an integer expression, exact or refused.
//   numbers    decimal digits, leading zeros of any length; N.D, NeK, N.DeK
//              (e or E, K may carry a sign) when the value is whole
//   operators  ^ (right-associative, above unary minus: -2^2 = -4),
//              * and / (division truncates toward zero), binary + and -,
//              unary - and +, parentheses
//   blanks     spaces and tabs between the numbers and operators
// Every intermediate value must lie within +-(2^128 - 1) and the result
// within Int128.  A malformed text is reported before a fault of its values.
ExpressionResult evaluate_number_expression(std::string_view text);

// A plain decimal of standard input: digits only, leading zeros of any
// length, at most `max`; anything else is nullopt.
std::optional<UInt128> parse_plain_decimal(std::string_view text, UInt128 max);

// The token in single quotes for a message: every byte below 0x20, DEL and
// every byte from 0x80 up as \xNN, so that the message stays one line of
// plain ASCII; a token longer than kQuotedMax bytes is cut there and ends
// in "..." inside the quotes.
inline constexpr size_t kQuotedMax = 60;
std::string quote_token(std::string_view token);

// Decimal text of 128-bit numbers.
std::string to_decimal(UInt128 n);
std::string to_decimal(Int128 n);

}  // namespace ntb::cli
