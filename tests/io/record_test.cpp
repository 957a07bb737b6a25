// Record layouts and list-directed records.
#include "io/record.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace ntb {
namespace {

// ------------------------------------------------- a tiny JSON-lines reader

struct Json {
  enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
  bool b = false;
  double num = 0.0;
  bool integral = false;  // the number was written without point or exponent
  int64_t whole = 0;
  std::string str;
  std::vector<Json> arr;
  // An object's members: keys[i] names values[i].  (A vector of pairs would
  // hold the incomplete Json, which libstdc++ refuses under Clang.)
  std::vector<std::string> keys;
  std::vector<Json> values;

  const Json& at(std::string_view key) const {
    for (size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == key) return values[i];
    }
    throw std::runtime_error(std::string("missing key ").append(key));
  }
};

class JsonParser {
 public:
  explicit JsonParser(std::string_view s) : s_(s) {}

  Json parse() {
    Json v = value();
    ws();
    if (i_ != s_.size()) fail("trailing characters");
    return v;
  }

 private:
  [[noreturn]] void fail(const char* what) const {
    throw std::runtime_error(std::string("JSON: ") + what + " at " + std::to_string(i_));
  }
  void ws() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
      ++i_;
  }
  char peek() {
    ws();
    if (i_ >= s_.size()) fail("unexpected end");
    return s_[i_];
  }
  void expect(char c) {
    if (peek() != c) fail("unexpected character");
    ++i_;
  }
  bool literal(std::string_view word) {
    if (s_.substr(i_, word.size()) == word) {
      i_ += word.size();
      return true;
    }
    return false;
  }

  Json value() {
    const char c = peek();
    Json v;
    if (c == '{') {
      v.type = Json::Type::Object;
      ++i_;
      if (peek() == '}') {
        ++i_;
        return v;
      }
      for (;;) {
        if (peek() != '"') fail("key expected");
        std::string key = string();
        expect(':');
        v.keys.push_back(std::move(key));
        v.values.push_back(value());
        if (peek() == ',') {
          ++i_;
          continue;
        }
        expect('}');
        return v;
      }
    }
    if (c == '[') {
      v.type = Json::Type::Array;
      ++i_;
      if (peek() == ']') {
        ++i_;
        return v;
      }
      for (;;) {
        v.arr.push_back(value());
        if (peek() == ',') {
          ++i_;
          continue;
        }
        expect(']');
        return v;
      }
    }
    if (c == '"') {
      v.type = Json::Type::String;
      v.str = string();
      return v;
    }
    if (literal("true")) {
      v.type = Json::Type::Bool;
      v.b = true;
      return v;
    }
    if (literal("false")) {
      v.type = Json::Type::Bool;
      return v;
    }
    if (literal("null")) return v;
    return number();
  }

  Json number() {
    const size_t start = i_;
    bool integral = true;
    if (i_ < s_.size() && s_[i_] == '-') ++i_;
    while (i_ < s_.size()) {
      const char c = s_[i_];
      if (c >= '0' && c <= '9') {
        ++i_;
      } else if (c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-') {
        integral = false;
        ++i_;
      } else {
        break;
      }
    }
    if (i_ == start) fail("value expected");
    const std::string text(s_.substr(start, i_ - start));
    Json v;
    v.type = Json::Type::Number;
    char* end = nullptr;
    v.num = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) fail("bad number");
    v.integral = integral;
    if (integral) v.whole = std::strtoll(text.c_str(), nullptr, 10);
    return v;
  }

  unsigned hex4() {
    if (i_ + 4 > s_.size()) fail("short \\u escape");
    unsigned u = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = s_[i_++];
      u <<= 4;
      if (c >= '0' && c <= '9')
        u |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        u |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        u |= static_cast<unsigned>(c - 'A' + 10);
      else
        fail("bad hex digit");
    }
    return u;
  }

  static void put_utf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }

  std::string string() {
    expect('"');
    std::string out;
    for (;;) {
      if (i_ >= s_.size()) fail("unterminated string");
      const char c = s_[i_++];
      if (c == '"') return out;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (i_ >= s_.size()) fail("unterminated escape");
      const char e = s_[i_++];
      switch (e) {
        case '"':
          out.push_back('"');
          break;
        case '\\':
          out.push_back('\\');
          break;
        case '/':
          out.push_back('/');
          break;
        case 'b':
          out.push_back('\b');
          break;
        case 'f':
          out.push_back('\f');
          break;
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'u': {
          unsigned cp = hex4();
          if (cp >= 0xD800 && cp < 0xDC00 && s_.substr(i_, 2) == "\\u") {
            i_ += 2;
            const unsigned lo = hex4();
            cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
          }
          put_utf8(out, cp);
          break;
        }
        default:
          fail("bad escape");
      }
    }
  }

  std::string_view s_;
  size_t i_ = 0;
};

TEST(RecordJson, ReaderHandlesEscapesAndNumbers) {
  const Json j = JsonParser(R"({"a": "x\ty\u0041\"\\", "n": [-1.5e3, 42, 2E-2, 0.0]})").parse();
  EXPECT_EQ(j.at("a").str, "x\tyA\"\\");
  const auto& n = j.at("n").arr;
  ASSERT_EQ(n.size(), 4u);
  EXPECT_EQ(n[0].num, -1500.0);
  EXPECT_FALSE(n[0].integral);
  EXPECT_TRUE(n[1].integral);
  EXPECT_EQ(n[1].whole, 42);
  EXPECT_EQ(n[2].num, 0.02);
  EXPECT_EQ(n[3].num, 0.0);
}

// ------------------------------------------------- the reference data

struct Case {
  int line = 0;
  std::string layout;
  std::vector<std::string> texts;  // storage for the text items
  std::vector<Item> items;
  std::vector<std::string> records;
};

std::vector<Case> load_cases() {
  const std::string path = std::string(NTBENCH_TEST_DATA) + "/record-layouts.jsonl";
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot open ") + path);
  std::vector<Case> cases;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    const Json j = JsonParser(line).parse();
    Case c;
    c.line = number;
    c.layout = j.at("layout").str;
    const auto& items = j.at("items").arr;
    c.texts.reserve(items.size());  // Items point into texts: no reallocation
    for (const Json& it : items) {
      const std::string& kind = it.arr.at(0).str;
      const Json& v = it.arr.at(1);
      if (kind == "A") {
        c.texts.push_back(v.str);
        c.items.emplace_back(std::string_view(c.texts.back()));
      } else if (kind == "I") {
        c.items.emplace_back(static_cast<int32_t>(v.whole));
      } else if (kind == "F") {
        c.items.emplace_back(v.num);
      } else {
        throw std::runtime_error(std::string("unknown item kind ") + kind);
      }
    }
    for (const Json& r : j.at("records").arr) c.records.push_back(r.str);
    cases.push_back(std::move(c));
  }
  return cases;
}

TEST(RecordLayouts, EveryReferenceCase) {
  const std::vector<Case> cases = load_cases();
  ASSERT_EQ(cases.size(), 492u);
  int failures = 0;
  for (const Case& c : cases) {
    std::vector<std::string> got;
    format_records(c.layout, c.items, got);
    if (got != c.records) ++failures;
    EXPECT_EQ(got, c.records) << "line " << c.line << ": " << c.layout;
  }
  EXPECT_EQ(failures, 0);
}

TEST(RecordLayouts, ReferenceCasesAgainWithCachedLayouts) {
  // The second pass goes through the layout cache, keyed by contents: the
  // layout strings are fresh copies at other addresses.
  const std::vector<Case> cases = load_cases();
  for (const Case& c : cases) {
    const std::string copy = c.layout;
    std::vector<std::string> got;
    format_records(copy, c.items, got);
    format_records(copy, c.items, got);
    ASSERT_EQ(got.size(), 2 * c.records.size()) << "line " << c.line;
    for (size_t k = 0; k < c.records.size(); ++k) {
      EXPECT_EQ(got[k], c.records[k]);
      EXPECT_EQ(got[k + c.records.size()], c.records[k]);
    }
  }
}

TEST(RecordLayouts, SameAddressOtherContents) {
  // A buffer reused for another layout must not be taken from the cache.
  char buf[32];
  std::vector<std::string> got;
  std::snprintf(buf, sizeof buf, "(I5)");
  format_records(buf, Items{int32_t{7}}, got);
  std::snprintf(buf, sizeof buf, "(I3)");
  format_records(buf, Items{int32_t{7}}, got);
  EXPECT_EQ(got, (std::vector<std::string>{"    7", "  7"}));
}

// ------------------------------------------------- the layouts' own examples

std::vector<std::string> records(std::string_view layout, Items items) {
  std::vector<std::string> out;
  format_records(layout, std::span<const Item>(items.begin(), items.size()), out);
  return out;
}

std::vector<std::string> list(Items items) {
  std::vector<std::string> out;
  format_list(std::span<const Item>(items.begin(), items.size()), out);
  return out;
}

TEST(RecordLayouts, RuleCutsLongText) {
  const std::string screen = std::string(50, '_') + std::string(15, ' ');
  EXPECT_EQ(records("(1X,A45)", {screen}),
            std::vector<std::string>{std::string(" ") + std::string(45, '_')});
  const std::string log = std::string(50, '_') + " \t\t\t\t";
  EXPECT_EQ(records("(1X,A45)", {log}),
            std::vector<std::string>{std::string(" ") + std::string(45, '_')});
}

TEST(RecordLayouts, PrimeCountLine) {
  EXPECT_EQ(records("(1X,A40,2F11.0)", {"  prime numbers up to ", 2000000.0}),
            std::vector<std::string>{std::string(" ") + std::string(18, ' ') +
                                     "  prime numbers up to " + "   2000000."});
}

TEST(RecordLayouts, ReversionAndColon) {
  EXPECT_EQ(records("(8I7)", {1, 2, 3}), std::vector<std::string>{"      1      2      3"});
  auto r = records("(8I7)", {1, 2, 3, 4, 5, 6, 7, 8, 9});
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[1], "      9");
  std::vector<Item> twenty;
  for (int32_t k = 1; k <= 20; ++k) twenty.emplace_back(k);
  std::vector<std::string> out;
  format_records("(8I7)", twenty, out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[2].size(), 28u);

  EXPECT_EQ(records("(I7,A1,F3.0,:)", {5, ":", 2.0}), std::vector<std::string>{"      5: 2."});
  EXPECT_EQ(records("(I7,A1,F3.0,:)", {5, ":", 2.0, 6, ":", 3.0}),
            (std::vector<std::string>{"      5: 2.", "      6: 3."}));
  // The record ends at the colon even with literals after it.
  EXPECT_EQ(records("(I3,:,'x')", {1}), std::vector<std::string>{"  1"});
  EXPECT_EQ(records("(I3,'x',I3)", {1}), std::vector<std::string>{"  1x"});
  // No items: the literals before the first data descriptor.
  EXPECT_EQ(records("(1X,A45)", {}), std::vector<std::string>{" "});
  // Quotes doubled inside a literal.
  EXPECT_EQ(records("('it''s',I2)", {3}), std::vector<std::string>{"it's 3"});
}

TEST(RecordLayouts, SevenDigitsInI7) {
  EXPECT_EQ(records("(8I7)", {1000003, 5}), std::vector<std::string>{"1000003      5"});
}

TEST(RecordFields, Int) {
  EXPECT_EQ(format_int(0, 5), "    0");
  EXPECT_EQ(format_int(-12, 5), "  -12");
  EXPECT_EQ(format_int(12345, 5), "12345");
  EXPECT_EQ(format_int(123456, 5), "*****");
  EXPECT_EQ(format_int(-1234, 4), "****");
  EXPECT_EQ(format_int(INT32_MIN, 11), "-2147483648");
  EXPECT_EQ(format_int(INT32_MIN, 10), "**********");
  EXPECT_EQ(format_int(INT32_MAX, 10), "2147483647");
}

TEST(RecordFields, Fixed) {
  EXPECT_EQ(format_fixed(12345.0, 11, 0), "     12345.");
  EXPECT_EQ(format_fixed(0.0, 5, 0), "   0.");
  EXPECT_EQ(format_fixed(123.0, 3, 0), "***");
  EXPECT_EQ(format_fixed(99.0, 3, 0), "99.");
  EXPECT_EQ(format_fixed(-5.0, 3, 0), "-5.");
  EXPECT_EQ(format_fixed(-15.0, 3, 0), "***");
  EXPECT_EQ(format_fixed(3143050.5, 12, 3), " 3143050.500");
  EXPECT_EQ(format_fixed(-57874.75, 12, 3), "  -57874.750");
  // A zero before the point when the field has room for it.
  EXPECT_EQ(format_fixed(0.25, 10, 3), "     0.250");
  EXPECT_EQ(format_fixed(0.25, 5, 3), "0.250");
  EXPECT_EQ(format_fixed(0.25, 4, 3), ".250");
  EXPECT_EQ(format_fixed(-0.25, 5, 3), "-.250");
  EXPECT_EQ(format_fixed(-0.25, 4, 3), "****");
  EXPECT_EQ(format_fixed(0.0, 4, 3), ".000");
  // Halfway values go as snprintf goes (ties to even on the binary value).
  EXPECT_EQ(format_fixed(0.5, 4, 0), "  0.");
  EXPECT_EQ(format_fixed(1.5, 4, 0), "  2.");
  EXPECT_EQ(format_fixed(2.5, 4, 0), "  2.");
  EXPECT_EQ(format_fixed(0.125, 6, 2), "  0.12");
  EXPECT_EQ(format_fixed(0.375, 6, 2), "  0.38");
  EXPECT_EQ(format_fixed(2.675, 6, 2), "  2.67");  // binary value below .675
  // Negative zero and negative values that round to zero keep the sign
  // (gfortran: "-0."); "-." is no number, so a field of 2 shows asterisks.
  EXPECT_EQ(format_fixed(-0.0, 10, 0), "       -0.");
  EXPECT_EQ(format_fixed(-0.0, 3, 0), "-0.");
  EXPECT_EQ(format_fixed(-0.0, 2, 0), "**");
  EXPECT_EQ(format_fixed(-0.3, 10, 0), "       -0.");
  EXPECT_EQ(format_fixed(-0.0004, 10, 3), "    -0.000");
  // Digits beyond the 16th significant digit show 0.
  EXPECT_EQ(format_fixed(12345678901234567890.0, 30, 0), "         12345678901234570000.");
  EXPECT_EQ(format_fixed(9007199254740993.0, 20, 0), "   9007199254740992.");
  EXPECT_EQ(format_fixed(1234567890123.4567, 30, 3), std::string(13, ' ') + "1234567890123.457");
  EXPECT_EQ(format_fixed(1234567890123.4567, 30, 6), std::string(10, ' ') + "1234567890123.457000");
  EXPECT_EQ(format_fixed(0.1, 22, 20), "0.10000000000000000000");
  EXPECT_EQ(format_fixed(1.0 / 3.0, 22, 20), "0.33333333333333330000");
  EXPECT_EQ(format_fixed(1e300, 10, 0), "**********");
  EXPECT_EQ(format_fixed(9999999999.5, 12, 0), "10000000000.");
  EXPECT_EQ(format_fixed(9999999999.5, 11, 0), "***********");
  EXPECT_EQ(format_fixed(9999999998.5, 11, 0), "9999999998.");
}

TEST(RecordFields, ListReal) {
  EXPECT_EQ(format_list_real(2000000.0), " 2000000.000000000000000");
  EXPECT_EQ(format_list_real(0.0), "  0.000000000000000E+000");
  EXPECT_EQ(format_list_real(1.0), "       1.000000000000000");
  EXPECT_EQ(format_list_real(-1.5), "      -1.500000000000000");
  EXPECT_EQ(format_list_real(9999999.0), " 9999999.000000000000000");
  EXPECT_EQ(format_list_real(10000000.0), "  1.000000000000000E+007");
  EXPECT_EQ(format_list_real(-12345678.0), " -1.234567800000000E+007");
  EXPECT_EQ(format_list_real(0.5), "  5.000000000000000E-001");
  EXPECT_EQ(format_list_real(1e-300), "  1.000000000000000E-300");
  EXPECT_EQ(format_list_real(1.0 / 3.0), "  3.333333333333333E-001");
  // Sixteen significant digits, then zeros.
  EXPECT_EQ(format_list_real(1234567.123456789), " 1234567.123456789000000");
  EXPECT_EQ(format_list_real(2.0 / 3.0 * 3e6), " 2000000.000000000000000");
  EXPECT_EQ(format_list_real(-0.0), " -0.000000000000000E+000");
  // Rounding to 16 digits may carry into the next power of ten.
  EXPECT_EQ(format_list_real(9999999.9999999999), "  1.000000000000000E+007");
  EXPECT_EQ(format_list_real(0.99999999999999999), "       1.000000000000000");
  for (double v : {0.0, 1.0, 2000000.0, -9999999.5, 1e7, 1e300, -1e-300}) {
    EXPECT_EQ(format_list_real(v).size(), 24u) << v;
  }
}

TEST(RecordList, OneText) {
  EXPECT_EQ(list({"enter number"}), std::vector<std::string>{" enter number"});
}

TEST(RecordList, LongTextSplits) {
  std::string t;
  for (int k = 0; k < 106; ++k) t.push_back(static_cast<char>('a' + k % 26));
  const auto r = list({t});
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0], std::string(" ") + t.substr(0, 79));
  EXPECT_EQ(r[1], std::string(" ") + t.substr(79));
  EXPECT_EQ(r[1].size(), 28u);
}

TEST(RecordList, SevenAndTwelve) {
  EXPECT_EQ(list({7, 12}),
            std::vector<std::string>{std::string(" ") + std::string(10, ' ') + std::string("7") +
                                     " " + std::string(9, ' ') + "12"});
  EXPECT_EQ(list({0}), std::vector<std::string>{std::string(" ") + std::string(10, ' ') + "0"});
}

TEST(RecordList, Reals) {
  EXPECT_EQ(list({2000000.0}), std::vector<std::string>{"  2000000.000000000000000"});
  EXPECT_EQ(list({0.0}), std::vector<std::string>{"   0.000000000000000E+000"});
  EXPECT_EQ(list({1e10}), std::vector<std::string>{"   1.000000000000000E+010"});
  EXPECT_EQ(list({1.0, 2.0}),
            std::vector<std::string>{"        1.000000000000000        2.000000000000000"});
}

TEST(RecordList, TextsSideBySide) {
  const std::string typed = "25                  ";  // 20 characters
  EXPECT_EQ(list({"   ", typed, "  OK? Yes=any key N/n=no"}),
            std::vector<std::string>{std::string("    ") + typed + "  OK? Yes=any key N/n=no"});
  // A number after a text is still the first number of its record.
  EXPECT_EQ(list({"n=", 5}),
            std::vector<std::string>{std::string(" n=") + std::string(10, ' ') + "5"});
}

TEST(RecordList, NumberThatDoesNotFitStartsNewRecord) {
  // Three reals: 24 + 25 + 25 = 74 characters; a fourth (25) does not fit.
  const auto r = list({1.0, 2.0, 3.0, 4.0});
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].size(), 75u);
  EXPECT_EQ(r[1], std::string(" ") + format_list_real(4.0));  // first of its record: no extra blank
  // Seven whole numbers: 11 + 6 * 12 = 83 > 79, so six (71) and then one.
  const auto w = list({1, 2, 3, 4, 5, 6, 7});
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[0].size(), 72u);
  EXPECT_EQ(w[1], std::string(" ") + format_int(7, 11));
  // A text of 70 characters leaves 9: a whole number (11) goes on.
  const auto t = list({std::string(70, 'x'), 3});
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0], std::string(" ") + std::string(70, 'x'));
  EXPECT_EQ(t[1], std::string(" ") + format_int(3, 11));
  // Exactly filling: a text of 68 and a number of 11 make 79.
  const auto f = list({std::string(68, 'x'), 3});
  ASSERT_EQ(f.size(), 1u);
  EXPECT_EQ(f[0].size(), 80u);
}

TEST(RecordList, TextAfterFullRecordStartsNew) {
  const auto r = list({std::string(79, 'a'), "b"});
  EXPECT_EQ(r, (std::vector<std::string>{std::string(" ") + std::string(79, 'a'), " b"}));
}

}  // namespace
}  // namespace ntb
