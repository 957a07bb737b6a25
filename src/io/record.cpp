// Record layouts and list-directed records.
//
// A layout string is parsed once into a small list of operations and kept in
// a cache keyed by the layout's characters (with a front cache on the string
// pointer, since callers pass string literals).  Formatting a record then
// appends straight into the output string, reserved to its final width.
//
// Numbers: Iw right-aligns the digits; Fw.d rounds to d decimals the way the
// C library's correctly rounded conversion does (ties to even on the binary
// value), keeps at most 16 significant digits (later positions show 0), shows
// "0." for a value below 1 when the field has room for the zero, and writes a
// minus sign for any value whose sign bit is set (so -0.0 gives "-0.", as
// gfortran does).  Fields too narrow are filled with asterisks.
#include "io/record.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "numtheory/decimal_digits.hpp"

namespace ntb {

namespace {

// ---------------------------------------------------------------- numbers

constexpr double kPow10[17] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                               1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};

void append_stars(std::string& out, int w) {
  if (w > 0) out.append(static_cast<size_t>(w), '*');
}

// Right-aligns the len characters at p in a field of w, or fills it with
// asterisks when they do not fit.
void append_right(std::string& out, const char* p, int len, int w) {
  if (len > w) {
    append_stars(out, w);
    return;
  }
  out.append(static_cast<size_t>(w - len), ' ');
  out.append(p, static_cast<size_t>(len));
}

void append_int(std::string& out, int32_t v, int w) {
  char buf[24];
  char* end = buf + sizeof buf;
  const bool neg = v < 0;
  const uint64_t mag =
      neg ? static_cast<uint64_t>(-static_cast<int64_t>(v)) : static_cast<uint64_t>(v);
  char* p = decimal_digits(mag, end);
  if (neg) *--p = '-';
  const int len = static_cast<int>(end - p);
  append_right(out, p, len, w);
}

// The 16 significant digits of a > 0 (finite) and its decimal exponent:
// a ~ d0.d1d2...d15 * 10^exp.
int sixteen_digits(double a, char digits[16]) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15e", a);
  // buf: "d.ddddddddddddddde+XX"
  digits[0] = buf[0];
  std::memcpy(digits + 1, buf + 2, 15);
  return std::atoi(buf + 18);
}

void append_fixed(std::string& out, double v, int w, int d) {
  if (w <= 0) return;
  if (d < 0) d = 0;
  if (!std::isfinite(v)) {
    const char* s = std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity");
    append_right(out, s, static_cast<int>(std::strlen(s)), w);
    return;
  }
  const bool neg = std::signbit(v);
  const double a = std::fabs(v);

  // Fast path: no decimals and at most 16 digits, the usual case (counts
  // kept as reals).  nearbyint rounds ties to even, as snprintf does.
  if (d == 0 && a < 1e16) {
    char buf[24];
    char* end = buf + sizeof buf;
    char* p = end;
    *--p = '.';
    p = decimal_digits(static_cast<uint64_t>(std::nearbyint(a)), p);
    if (neg) *--p = '-';
    const int len = static_cast<int>(end - p);
    append_right(out, p, len, w);
    return;
  }

  // General path: integer part and d decimals.
  std::string intpart;
  std::string frac;
  if (a == 0.0) {
    intpart.assign(1, '0');
    frac.assign(static_cast<size_t>(d), '0');
  } else {
    // Below 10^(16-d) the fixed form needs at most 16 significant digits;
    // otherwise the exponent of the 16-digit rounding tells.
    char dig[16];
    int e = 0;
    const bool few =
        (d <= 15 && a < kPow10[16 - d]) || ((e = sixteen_digits(a, dig)) + 1 + d <= 16);
    if (few) {
      // At most 16 significant digits: the C library rounds directly.
      char buf[400];
      const int n = std::snprintf(buf, sizeof buf, "%.*f", d, a);
      const size_t len = std::min(static_cast<size_t>(n), sizeof buf - 1);
      const char* dot = static_cast<const char*>(std::memchr(buf, '.', len));
      if (dot == nullptr) {
        intpart.assign(buf, len);
      } else {
        intpart.assign(buf, static_cast<size_t>(dot - buf));
        frac.assign(dot + 1, static_cast<size_t>(buf + len - dot - 1));
      }
    } else {
      // More than 16 digits asked for: the 16 rounded digits, then zeros.
      // Digit k of dig has the weight 10^(e-k).
      if (e >= 0) {
        for (int k = 0; k <= e; ++k) intpart.push_back(k < 16 ? dig[k] : '0');
      } else {
        intpart.assign(1, '0');
      }
      for (int j = 1; j <= d; ++j) {
        const int k = e + j;  // weight 10^-j
        frac.push_back(k >= 0 && k < 16 ? dig[k] : '0');
      }
    }
  }
  int len = (neg ? 1 : 0) + static_cast<int>(intpart.size()) + 1 + d;
  bool drop_zero = false;
  if (len > w && intpart == "0" && d > 0) {
    drop_zero = true;
    --len;
  }
  if (len > w) {
    append_stars(out, w);
    return;
  }
  out.append(static_cast<size_t>(w - len), ' ');
  if (neg) out.push_back('-');
  if (!drop_zero) out.append(intpart);
  out.push_back('.');
  out.append(frac);
}

// List-directed real: 24 characters, right-aligned.
void append_list_real(std::string& out, double v) {
  constexpr int kWidth = 24;
  char body[40];
  int len = 0;
  if (!std::isfinite(v)) {
    len = std::snprintf(body, sizeof body, "%s",
                        std::isnan(v) ? "NaN" : (v < 0 ? "-Infinity" : "Infinity"));
  } else {
    const bool neg = std::signbit(v);
    const double a = std::fabs(v);
    char dig[16];
    int e = 0;
    if (a == 0.0) {
      std::memset(dig, '0', sizeof dig);
    } else {
      e = sixteen_digits(a, dig);
    }
    if (neg) body[len++] = '-';
    if (a != 0.0 && e >= 0 && e <= 6) {
      // Fixed point: e+1 digits, the point, 15 decimals.
      for (int k = 0; k <= e; ++k) body[len++] = dig[k];
      body[len++] = '.';
      for (int k = e + 1; k < e + 16; ++k) body[len++] = k < 16 ? dig[k] : '0';
    } else {
      body[len++] = dig[0];
      body[len++] = '.';
      std::memcpy(body + len, dig + 1, 15);
      len += 15;
      body[len++] = 'E';
      body[len++] = e < 0 ? '-' : '+';
      const int ae = e < 0 ? -e : e;
      body[len++] = static_cast<char>('0' + ae / 100 % 10);
      body[len++] = static_cast<char>('0' + ae / 10 % 10);
      body[len++] = static_cast<char>('0' + ae % 10);
    }
  }
  if (len < kWidth) out.append(static_cast<size_t>(kWidth - len), ' ');
  out.append(body, static_cast<size_t>(len));
}

// ---------------------------------------------------------------- layouts

enum class Op : uint8_t { Blanks, Literal, A, I, F, Colon, Slash };

struct Step {
  Op op;
  uint8_t d = 0;       // decimals of F
  int32_t w = 0;       // width (A, I, F), count of blanks (X); -1: bare A
  int32_t repeat = 1;  // repeat count of a data descriptor
  uint32_t off = 0;    // literal: offset and length in Layout::text
  uint32_t len = 0;
};

struct Layout {
  std::vector<Step> steps;
  std::string text;       // the characters of the literals
  size_t width = 0;       // record width of one full walk (reserve hint)
  bool has_data = false;  // holds a data descriptor
};

int read_number(std::string_view s, size_t& i) {
  int n = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    n = n * 10 + (s[i] - '0');
    ++i;
  }
  return n;
}

void skip_blanks(std::string_view s, size_t& i) {
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
}

Layout parse_layout(std::string_view s) {
  Layout lay;
  size_t i = 0;
  skip_blanks(s, i);
  if (i < s.size() && s[i] == '(') ++i;
  while (i < s.size()) {
    skip_blanks(s, i);
    if (i >= s.size()) break;
    char c = s[i];
    if (c == ',') {
      ++i;
      continue;
    }
    if (c == ')') break;
    if (c == '\'' || c == '"') {
      const char q = c;
      ++i;
      Step st{Op::Literal};
      st.off = static_cast<uint32_t>(lay.text.size());
      while (i < s.size()) {
        if (s[i] == q) {
          if (i + 1 < s.size() && s[i + 1] == q) {  // doubled quote
            lay.text.push_back(q);
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        lay.text.push_back(s[i++]);
      }
      st.len = static_cast<uint32_t>(lay.text.size()) - st.off;
      lay.width += st.len;
      lay.steps.push_back(st);
      continue;
    }
    if (c == ':') {
      lay.steps.push_back(Step{Op::Colon});
      ++i;
      continue;
    }
    if (c == '/') {
      lay.steps.push_back(Step{Op::Slash});
      ++i;
      continue;
    }
    int repeat = 1;
    if (c >= '0' && c <= '9') {
      repeat = read_number(s, i);
      skip_blanks(s, i);
      if (i >= s.size()) break;
      c = s[i];
    }
    const char u = static_cast<char>(c & ~0x20);  // upper case
    ++i;
    if (u == 'X') {
      Step st{Op::Blanks};
      st.w = repeat;
      lay.width += static_cast<size_t>(repeat);
      lay.steps.push_back(st);
      continue;
    }
    if (u == 'A' || u == 'I' || u == 'F') {
      Step st{u == 'A' ? Op::A : u == 'I' ? Op::I : Op::F};
      st.repeat = repeat;
      if (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        st.w = read_number(s, i);
      } else {
        st.w = u == 'A' ? -1 : 0;
      }
      if (u == 'F' && i < s.size() && s[i] == '.') {
        ++i;
        st.d = static_cast<uint8_t>(read_number(s, i));
      }
      if (st.w > 0) lay.width += static_cast<size_t>(st.w) * static_cast<size_t>(repeat);
      lay.has_data = true;
      lay.steps.push_back(st);
      continue;
    }
    // Anything else is not a descriptor this layer knows: skip it.
  }
  return lay;
}

struct ViewHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// The cache of parsed layouts.  Entries are never removed, so the pointers
// handed out stay valid.
class LayoutCache {
 public:
  const Layout& get(std::string_view s) {
    for (const Front& f : front_) {
      if (f.ptr == s.data() && f.size == s.size() && f.layout != nullptr &&
          std::memcmp(f.layout->key.data(), s.data(), s.size()) == 0) {
        return f.layout->layout;
      }
    }
    Entry* e;
    auto it = map_.find(s);
    if (it != map_.end()) {
      e = it->second.get();
    } else {
      auto owned = std::make_unique<Entry>();
      owned->key.assign(s);
      owned->layout = parse_layout(s);
      e = owned.get();
      map_.emplace(std::string(s), std::move(owned));
    }
    front_[next_] = Front{s.data(), s.size(), e};
    next_ = (next_ + 1) % kFront;
    return e->layout;
  }

 private:
  struct Entry {
    std::string key;
    Layout layout;
  };
  struct Front {
    const char* ptr = nullptr;
    size_t size = 0;
    Entry* layout = nullptr;
  };
  static constexpr size_t kFront = 16;
  Front front_[kFront];
  size_t next_ = 0;
  std::unordered_map<std::string, std::unique_ptr<Entry>, ViewHash, std::equal_to<>> map_;
};

const Layout& cached_layout(std::string_view s) {
  thread_local LayoutCache cache;
  return cache.get(s);
}

void append_text_field(std::string& out, std::string_view t, int w) {
  if (w < 0) {  // bare A: the text at its own length
    out.append(t);
    return;
  }
  const size_t uw = static_cast<size_t>(w);
  if (t.size() >= uw) {
    out.append(t.substr(0, uw));
  } else {
    out.append(uw - t.size(), ' ');
    out.append(t);
  }
}

void append_data(std::string& out, const Step& st, const Item& it) {
  switch (st.op) {
    case Op::A:
      switch (it.kind()) {
        case Item::Kind::Text:
          append_text_field(out, it.text(), st.w);
          break;
        case Item::Kind::Int:
          append_int(out, it.whole(), st.w < 0 ? 11 : st.w);
          break;
        case Item::Kind::Real:
          append_fixed(out, it.real(), st.w < 0 ? 24 : st.w, 0);
          break;
      }
      break;
    case Op::I:
      switch (it.kind()) {
        case Item::Kind::Int:
          append_int(out, it.whole(), st.w);
          break;
        case Item::Kind::Real: {
          // Does not occur (Parts pair kinds); show the whole value.
          const double r = std::trunc(it.real());
          if (r >= -2147483648.0 && r <= 2147483647.0) {
            append_int(out, static_cast<int32_t>(r), st.w);
          } else {
            append_stars(out, st.w);
          }
          break;
        }
        case Item::Kind::Text:
          append_text_field(out, it.text(), st.w);
          break;
      }
      break;
    case Op::F:
      switch (it.kind()) {
        case Item::Kind::Real:
          append_fixed(out, it.real(), st.w, st.d);
          break;
        case Item::Kind::Int:
          append_fixed(out, static_cast<double>(it.whole()), st.w, st.d);
          break;
        case Item::Kind::Text:
          append_text_field(out, it.text(), st.w);
          break;
      }
      break;
    default:
      break;
  }
}

// The records of a layout; with whole_numbers_first (screen records) a record
// that a numeric field starts with a non-blank character gets a blank in
// front of it.
void layout_records(std::string_view layout, std::span<const Item> items,
                    std::vector<std::string>& records, bool whole_numbers_first) {
  const Layout& lay = cached_layout(layout);
  size_t next = 0;
  const size_t n = items.size();
  for (;;) {
    std::string* rec = &records.emplace_back();
    rec->reserve(lay.width);
    bool ended = false;  // the record ended at a descriptor without item
    for (const Step& st : lay.steps) {
      switch (st.op) {
        case Op::Blanks:
          rec->append(static_cast<size_t>(st.w), ' ');
          break;
        case Op::Literal:
          rec->append(lay.text, st.off, st.len);
          break;
        case Op::Colon:
          if (next >= n) ended = true;
          break;
        case Op::Slash:  // a new record; the walk goes on where it is
          rec = &records.emplace_back();
          rec->reserve(lay.width);
          break;
        default:
          for (int r = 0; r < st.repeat; ++r) {
            if (next >= n) {
              ended = true;
              break;
            }
            const bool opens = rec->empty();
            append_data(*rec, st, items[next++]);
            // The first character of a screen record is carriage control: a
            // number that fills its field to the left edge keeps its first
            // digit (or sign) only behind a blank taken for that control.
            if (whole_numbers_first && opens && (st.op == Op::I || st.op == Op::F) &&
                !rec->empty() && (*rec)[0] != ' ') {
              rec->insert(rec->begin(), ' ');
            }
          }
          break;
      }
      if (ended) break;
    }
    // Reversion: start again on a new record while items remain (a layout
    // without data descriptors would never use them).
    if (ended || next >= n || !lay.has_data) return;
  }
}

}  // namespace

// ---------------------------------------------------------------- public

void format_records(std::string_view layout, std::span<const Item> items,
                    std::vector<std::string>& records) {
  layout_records(layout, items, records, false);
}

void format_screen_records(std::string_view layout, std::span<const Item> items,
                           std::vector<std::string>& records) {
  layout_records(layout, items, records, true);
}

void format_list(std::span<const Item> items, std::vector<std::string>& records) {
  constexpr size_t kMax = 80;  // the leading blank and 79 characters
  std::string* rec = &records.emplace_back();
  rec->reserve(kMax);
  rec->push_back(' ');
  bool first_number = true;
  auto new_record = [&] {
    rec = &records.emplace_back();
    rec->reserve(kMax);
    rec->push_back(' ');
    first_number = true;
  };
  for (const Item& it : items) {
    if (it.kind() == Item::Kind::Text) {
      std::string_view t = it.text();
      while (!t.empty()) {
        if (rec->size() >= kMax) new_record();
        const size_t room = kMax - rec->size();
        const size_t take = t.size() < room ? t.size() : room;
        rec->append(t.substr(0, take));
        t.remove_prefix(take);
      }
      continue;
    }
    const size_t field = it.kind() == Item::Kind::Int ? 11 : 24;
    if (rec->size() + field + (first_number ? 0 : 1) > kMax) new_record();
    if (!first_number) rec->push_back(' ');
    if (it.kind() == Item::Kind::Int) {
      append_int(*rec, it.whole(), 11);
    } else {
      append_list_real(*rec, it.real());
    }
    first_number = false;
  }
}

std::string format_int(int32_t v, int w) {
  std::string s;
  append_int(s, v, w);
  return s;
}

std::string format_fixed(double v, int w, int d) {
  std::string s;
  append_fixed(s, v, w, d);
  return s;
}

std::string format_list_real(double v) {
  std::string s;
  append_list_real(s, v);
  return s;
}

}  // namespace ntb
