// Reading typed numbers: the integer expressions (forms, precedence, every
// refusal at the 2^127 and 2^128 boundaries), the plain decimals of standard
// input, the quoting of tokens, and a round trip of random 128-bit numbers
// through their decimal text.
#include "cli/number_expression.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "cli/parser.hpp"

namespace ntb::cli {
namespace {

// The kind of result that a row's expected text stands for.
ExpressionError kind_of(const std::string& expected) {
  if (expected.find_first_not_of("-0123456789") == std::string::npos) return ExpressionError::kNone;
  if (expected == "too large" || expected == "too small") return ExpressionError::kOverflow;
  if (expected == "not a whole number") return ExpressionError::kNotWhole;
  if (expected == "division by zero") return ExpressionError::kDivisionByZero;
  return ExpressionError::kMalformed;
}

TEST(NumberExpression, FormsPrecedenceAndRefusals) {
  const std::string p150 = std::string(150, '(') + "1" + std::string(150, ')');
  const std::string p300 = std::string(300, '(') + "1" + std::string(300, ')');
  const std::string min = "-170141183460469231731687303715884105728";  // -2^127
  // Each row: the text and its value, or the text and the reason it is refused.
  // clang-format off
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"0", "0"}, {"007", "7"}, {std::string(60, '0') + "12", "12"}, {p150, "1"},
      {"9999999999999999999", "9999999999999999999"},
      {"99999999999999999999", "99999999999999999999"},
      {"1e10", "10000000000"}, {"1E3", "1000"}, {"1e+3", "1000"}, {"2.5e9", "2500000000"},
      {"2.0", "2"}, {"100e-2", "1"}, {"0.00e-99999999999999999999", "0"},
      {"1.7e38", "170000000000000000000000000000000000000"}, {"10^12", "1000000000000"},
      {"10^31", "10000000000000000000000000000000"}, {"2^32", "4294967296"},
      {"2^63", "9223372036854775808"}, {"2^64", "18446744073709551616"},
      {"2^64-1", "18446744073709551615"}, {"1e12+1e10", "1010000000000"},
      {" 1e12 +\t1e10 ", "1010000000000"}, {"2^3^2", "512"}, {"-2^2", "-4"}, {"(-2)^3", "-8"},
      {"2+3*4", "14"}, {"10-2-3", "5"}, {"100/10/5", "2"}, {"7/2", "3"}, {"-7/2", "-3"},
      {"--1", "1"}, {"-0", "0"}, {"0^0", "1"}, {"1^-5", "1"}, {"(-1)^-3", "-1"},
      {"3^80", "147808829414345923316083210206383297601"},
      {"2^127-1", "170141183460469231731687303715884105727"}, {"-2^127", min}, {"(-2)^127", min},
      // Overflow of the result (beyond Int128) or of a step (beyond 2^128 - 1).
      {"2^127", "too large"}, {"-2^127-1", "too small"}, {"-2^127/-1", "too large"},
      {"2e38", "too large"}, {"340282366920938463463374607431768211455", "too large"},
      {"1e39", "too large"}, {"2^128", "too large"}, {"2^128-1", "too large"},
      {"2^64*2^64", "too large"}, {"3^81", "too large"}, {"(-2)^129", "too small"},
      {"2^99999999999999999999999999999999999999999", "too large"},
      {"1.5", "not a whole number"}, {"2.5e0", "not a whole number"},
      {"1e-3", "not a whole number"}, {"2^-1", "not a whole number"},
      {"1/0", "division by zero"}, {"0^-1", "division by zero"},
      // Malformed texts, reported before the faults of values.
      {"", "empty"}, {" \t ", "empty"}, {"1/0 + x", "unexpected 'x' at character 7"},
      {"1.5+", "unexpected end"}, {"1e", "unexpected end"}, {"5.", "unexpected end"},
      {"e5", "unexpected 'e' at character 1"}, {"1.2.3", "unexpected '.' at character 4"},
      {"0x10", "unexpected 'x' at character 2"}, {"1 000", "unexpected '0' at character 3"},
      {"2(3)", "unexpected '(' at character 2"}, {"(1", "missing ')' for the '(' at character 1"},
      {"1)", "unexpected ')' at character 2"}, {"2**3", "unexpected '*' at character 3"},
      {"1\n", "unexpected '\\x0A' at character 2"},
      {"1\xC3\xA9", "unexpected '\\xC3' at character 2"},
      {p300, "nested too deeply at character 201"},
      {std::string(300, '-') + "1", "nested too deeply at character 201"}};
  // clang-format on
  for (const auto& [text, expected] : cases) {
    const ExpressionResult r = evaluate_number_expression(text);
    EXPECT_EQ(r.error, kind_of(expected)) << quote_token(text) << ": " << r.reason;
    EXPECT_EQ(r.ok() ? to_decimal(r.value) : r.reason, expected) << quote_token(text);
  }
}

TEST(NumberExpression, PlainDecimalsAndQuotedTokens) {
  struct Plain {
    std::string text;
    UInt128 max;
    std::string expected;  // the value in decimal, or "" when refused
  };
  const UInt128 all = ~UInt128{0}, u64 = ~uint64_t{0};
  const std::string u64max = "18446744073709551615", u128max = to_decimal(all);
  // clang-format off
  const std::vector<Plain> plain = {
      {u64max, u64, u64max}, {std::string(40, '0') + u64max, u64, u64max},
      {"18446744073709551616", u64, ""}, {u128max, all, u128max},
      {"340282366920938463463374607431768211456", all, ""}, {"000", 0, "0"}, {"1", 0, ""},
      {"10", 9, ""}, {"", u64, ""}, {"+1", u64, ""}, {"-0", u64, ""}, {"1 ", u64, ""},
      {"1e3", u64, ""}};
  // clang-format on
  for (const Plain& p : plain) {
    const auto v = parse_plain_decimal(p.text, p.max);
    EXPECT_EQ(v ? to_decimal(*v) : "", p.expected) << p.text;
  }

  // Printable and control bytes as the parser's messages showed them before.
  for (int b = 0; b < 0x80; ++b) {
    const std::string t = {'a', static_cast<char>(b)};
    std::string expected = "'a";
    if (b < 0x20 || b == 0x7F) {
      char esc[5];
      std::snprintf(esc, sizeof esc, "\\x%02X", b);
      expected += esc;
    } else {
      expected += static_cast<char>(b);
    }
    EXPECT_EQ(quote_token(t), expected + "'") << b;
  }
  EXPECT_EQ(quote_token(""), "''");
  EXPECT_EQ(quote_token("\xC3\xA9\xFF"), "'\\xC3\\xA9\\xFF'");
  EXPECT_EQ(quote_token(std::string(60, 'a')), "'" + std::string(60, 'a') + "'");
  EXPECT_EQ(quote_token(std::string(61, 'a')), "'" + std::string(60, 'a') + "...'");
}

TEST(NumberExpression, RandomNumbersRoundTripThroughTheirDecimals) {
  std::mt19937_64 rng(12345);
  for (int i = 0; i < 3000; ++i) {
    const UInt128 n = ((UInt128{rng()} << 64) | rng()) >> (rng() % 128);
    const std::string s = to_decimal(n);
    const auto back = parse_plain_decimal(s, ~UInt128{0});
    EXPECT_TRUE(back && *back == n) << s;
    if (n <= ~uint64_t{0}) {
      EXPECT_EQ(s, std::to_string(static_cast<uint64_t>(n)));
    }
    if (n >> 127 != 0) continue;
    const auto x = static_cast<Int128>(n);
    EXPECT_TRUE(evaluate_number_expression(s).value == x) << s;
    EXPECT_EQ(to_decimal(evaluate_number_expression("-" + s).value), to_decimal(-x)) << s;
  }
}

}  // namespace
}  // namespace ntb::cli
