// Integer expressions evaluated exactly: a recursive-descent parser over
// sign-and-magnitude values whose magnitudes are unsigned 128-bit numbers,
// so every overflow is a comparison made before the operation, never
// undefined behaviour.  A malformed text stops the parser at once; a fault
// of the values (not whole, overflow, division by zero) is kept and the
// rest is still read, so that a wrong character further on is what the
// user hears about first.
#include "cli/number_expression.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace ntb::cli {

namespace {

constexpr UInt128 kMaxMagnitude = ~UInt128{0};
constexpr UInt128 kInt128Max = kMaxMagnitude >> 1;  // 2^127 - 1
// Parentheses, unary signs and exponents nest this deep at most, so that a
// long text cannot exhaust the stack.
constexpr int kMaxDepth = 200;
// A decimal exponent beyond this already overflows (or is not whole).
constexpr int64_t kExponentCap = 1'000'000'000'000;

struct Value {
  bool negative = false;  // never set on zero
  UInt128 magnitude = 0;
  bool poisoned = false;  // an earlier fault made it meaningless
};

struct Malformed {
  size_t where;
  std::string reason;
};

class Evaluator {
 public:
  explicit Evaluator(std::string_view text) : text_(text) {}

  ExpressionResult run() {
    ExpressionResult r;
    try {
      skip_blanks();
      if (pos_ == text_.size()) throw Malformed{pos_, "empty"};
      const Value v = expression();
      if (pos_ != text_.size()) unexpected();
      if (fault_.error == ExpressionError::kNone) {
        if (v.magnitude > kInt128Max + (v.negative ? 1 : 0))
          too_large(v.negative, 0);
        else
          r.value =
              v.negative ? static_cast<Int128>(0 - v.magnitude) : static_cast<Int128>(v.magnitude);
      }
    } catch (const Malformed& m) {
      fault_ = {ExpressionError::kMalformed, 0, m.where, m.reason};
    }
    if (fault_.error != ExpressionError::kNone) return fault_;
    return r;
  }

 private:
  // expression := term (('+' | '-') term)*
  Value expression() {
    Value v = term();
    while (peek('+') || peek('-')) {
      const size_t at = pos_;
      const bool minus = text_[pos_++] == '-';
      Value w = term();
      if (minus) w = negated(w);
      v = sum(v, w, at);
    }
    return v;
  }

  // term := unary (('*' | '/') unary)*
  Value term() {
    Value v = unary();
    while (peek('*') || peek('/')) {
      const size_t at = pos_;
      const bool divide = text_[pos_++] == '/';
      const Value w = unary();
      v = divide ? quotient(v, w, at) : product(v, w, at);
    }
    return v;
  }

  // unary := ('-' | '+') unary | power.  Every nesting passes here.
  Value unary() {
    if (++depth_ > kMaxDepth) throw Malformed{pos_, "nested too deeply at " + character(pos_)};
    Value v;
    if (peek('-') || peek('+')) {
      const bool minus = text_[pos_++] == '-';
      v = unary();
      if (minus) v = negated(v);
    } else {
      v = power();
    }
    --depth_;
    return v;
  }

  // power := primary ('^' unary)?, so 2^3^2 is 2^(3^2) and 2^-1 reads.
  Value power() {
    const Value base = primary();
    if (!peek('^')) return base;
    const size_t at = pos_++;
    const Value exponent = unary();
    return raised(base, exponent, at);
  }

  // primary := number | '(' expression ')'
  Value primary() {
    skip_blanks();
    if (peek('(')) {
      const size_t open = pos_++;
      const Value v = expression();
      if (!peek(')')) {
        if (pos_ == text_.size())
          throw Malformed{pos_, "missing ')' for the '(' at " + character(open)};
        unexpected();
      }
      ++pos_;
      return v;
    }
    if (pos_ == text_.size() || !digit(text_[pos_])) unexpected();
    return number();
  }

  // digits ('.' digits)? ([eE] [+-]? digits)?, whole or refused.  The value
  // is its significant digits S times 10^e; with the zeros at both ends of S
  // taken off, it is whole exactly when e >= 0, and beyond 10^39 > 2^128
  // when S has more than 39 - e digits.
  Value number() {
    const size_t start = pos_;
    std::string s;
    int64_t e = 0;
    const auto digits = [&](bool fraction) {
      if (pos_ == text_.size() || !digit(text_[pos_])) unexpected();
      for (; pos_ < text_.size() && digit(text_[pos_]); ++pos_) {
        if (!s.empty() || text_[pos_] != '0') s += text_[pos_];
        if (fraction) --e;
      }
    };
    digits(false);
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      digits(true);
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      bool minus = false;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-'))
        minus = text_[pos_++] == '-';
      if (pos_ == text_.size() || !digit(text_[pos_])) unexpected();
      int64_t k = 0;
      for (; pos_ < text_.size() && digit(text_[pos_]); ++pos_)
        k = std::min(kExponentCap, k * 10 + (text_[pos_] - '0'));
      e += minus ? -k : k;
    }
    skip_blanks();
    while (!s.empty() && s.back() == '0') {
      s.pop_back();
      ++e;
    }
    if (s.empty()) return {};
    if (e < 0) return fail(ExpressionError::kNotWhole, start, "not a whole number");
    if (static_cast<int64_t>(s.size()) + e > 39) return too_large(false, start);
    Value v;
    for (const char ch : s)
      if (!times(v.magnitude, 10) || !plus(v.magnitude, static_cast<UInt128>(ch - '0')))
        return too_large(false, start);
    for (; e > 0; --e)
      if (!times(v.magnitude, 10)) return too_large(false, start);
    return v;
  }

  Value negated(Value v) {
    if (v.magnitude != 0) v.negative = !v.negative;
    return v;
  }

  Value sum(const Value& a, const Value& b, size_t at) {
    if (a.poisoned || b.poisoned) return poisoned();
    Value v;
    if (a.negative == b.negative) {
      v = a;
      if (!plus(v.magnitude, b.magnitude)) return too_large(a.negative, at);
    } else if (a.magnitude >= b.magnitude) {
      v.magnitude = a.magnitude - b.magnitude;
      v.negative = a.negative && v.magnitude != 0;
    } else {
      v.magnitude = b.magnitude - a.magnitude;
      v.negative = b.negative;
    }
    return v;
  }

  Value product(const Value& a, const Value& b, size_t at) {
    if (a.poisoned || b.poisoned) return poisoned();
    Value v = a;
    v.negative = a.negative != b.negative;
    if (!times(v.magnitude, b.magnitude)) return too_large(v.negative, at);
    if (v.magnitude == 0) v.negative = false;
    return v;
  }

  Value quotient(const Value& a, const Value& b, size_t at) {
    if (a.poisoned || b.poisoned) return poisoned();
    if (b.magnitude == 0) return fail(ExpressionError::kDivisionByZero, at, "division by zero");
    Value v;
    v.magnitude = a.magnitude / b.magnitude;
    v.negative = a.negative != b.negative && v.magnitude != 0;
    return v;
  }

  Value raised(const Value& base, const Value& exponent, size_t at) {
    if (base.poisoned || exponent.poisoned) return poisoned();
    const bool odd = (exponent.magnitude & 1) != 0;
    Value v;
    if (exponent.negative) {  // 1 / base^k: whole only for base 1 and -1
      if (base.magnitude == 0)
        return fail(ExpressionError::kDivisionByZero, at, "division by zero");
      if (base.magnitude != 1) return fail(ExpressionError::kNotWhole, at, "not a whole number");
      v.magnitude = 1;
      v.negative = base.negative && odd;
      return v;
    }
    v.negative = base.negative && odd;
    if (base.magnitude <= 1) {  // 0^0 = 1
      v.magnitude = exponent.magnitude == 0 ? 1 : base.magnitude;
      return v;
    }
    if (exponent.magnitude >= 128) return too_large(v.negative, at);  // |base|^k >= 2^128
    v.magnitude = 1;
    UInt128 square = base.magnitude;
    for (unsigned k = static_cast<unsigned>(exponent.magnitude); k != 0; k >>= 1) {
      if ((k & 1) != 0 && !times(v.magnitude, square)) return too_large(v.negative, at);
      if (k > 1 && !times(square, square)) return too_large(v.negative, at);
    }
    return v;
  }

  // a *= b or a += b when the result fits; false (a unchanged) otherwise.
  static bool times(UInt128& a, UInt128 b) {
    if (a != 0 && b > kMaxMagnitude / a) return false;
    a *= b;
    return true;
  }
  static bool plus(UInt128& a, UInt128 b) {
    if (b > kMaxMagnitude - a) return false;
    a += b;
    return true;
  }

  Value too_large(bool negative, size_t at) {
    return fail(ExpressionError::kOverflow, at, negative ? "too small" : "too large");
  }

  // Keeps the first fault of the values; the value carrying it is poisoned.
  Value fail(ExpressionError kind, size_t at, const std::string& reason) {
    if (fault_.error == ExpressionError::kNone) fault_ = {kind, 0, at, reason};
    return poisoned();
  }
  static Value poisoned() {
    Value v;
    v.poisoned = true;
    return v;
  }

  static bool digit(char ch) { return ch >= '0' && ch <= '9'; }

  // Whether the next character, after blanks, is `ch`.
  bool peek(char ch) {
    skip_blanks();
    return pos_ < text_.size() && text_[pos_] == ch;
  }
  void skip_blanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  // Every byte before a fault is plain ASCII (any other byte is a fault
  // itself), so the byte offset counts characters.
  static std::string character(size_t at) { return "character " + std::to_string(at + 1); }

  [[noreturn]] void unexpected() {
    if (pos_ == text_.size()) throw Malformed{pos_, "unexpected end"};
    throw Malformed{pos_,
                    "unexpected " + quote_token(text_.substr(pos_, 1)) + " at " + character(pos_)};
  }

  std::string_view text_;
  size_t pos_ = 0;
  int depth_ = 0;
  ExpressionResult fault_;
};

}  // namespace

ExpressionResult evaluate_number_expression(std::string_view text) {
  return Evaluator(text).run();
}

std::optional<UInt128> parse_plain_decimal(std::string_view text, UInt128 max) {
  if (text.empty()) return std::nullopt;
  UInt128 v = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    const auto d = static_cast<unsigned>(ch - '0');
    if (d > max || v > (max - d) / 10) return std::nullopt;
    v = v * 10 + d;
  }
  return v;
}

std::string quote_token(std::string_view token) {
  const bool cut = token.size() > kQuotedMax;
  if (cut) token = token.substr(0, kQuotedMax);
  std::string out = "'";
  for (const char ch : token) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 || b >= 0x7F) {
      char esc[5];
      std::snprintf(esc, sizeof esc, "\\x%02X", b);
      out += esc;
    } else {
      out += ch;
    }
  }
  if (cut) out += "...";
  out += '\'';
  return out;
}

namespace {

// The digits of n, after a '-' when `minus`, written from the end of a buffer.
std::string decimal_text(UInt128 n, bool minus) {
  char buf[41];  // '-' and the 39 digits of 2^128 - 1
  size_t at = sizeof buf;
  do {
    buf[--at] = static_cast<char>('0' + static_cast<int>(n % 10));
    n /= 10;
  } while (n != 0);
  if (minus) buf[--at] = '-';
  return std::string(buf + at, sizeof buf - at);
}

}  // namespace

std::string to_decimal(UInt128 n) {
  return decimal_text(n, false);
}

std::string to_decimal(Int128 n) {
  // The magnitude in unsigned arithmetic, which also holds 2^127.
  const auto u = static_cast<UInt128>(n);
  return decimal_text(n < 0 ? 0 - u : u, n < 0);
}

}  // namespace ntb::cli
