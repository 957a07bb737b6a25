// List-directed text input and the (F11.0) read of asknum.
#include "io/list_input.hpp"

#include <cctype>
#include <cstdlib>

namespace ntb {

bool first_list_value(std::string_view line, std::string& text) {
  text.clear();
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i == line.size()) return false;
  const char q = line[i];
  if (q == '\'' || q == '"') {
    for (++i; i < line.size(); ++i) {
      if (line[i] == q) {
        if (i + 1 < line.size() && line[i + 1] == q) {
          text.push_back(q);
          ++i;
          continue;
        }
        break;
      }
      text.push_back(line[i]);
    }
    return true;
  }
  while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != ',' && line[i] != '/')
    text.push_back(line[i++]);
  return true;
}

bool read_f11(std::string_view field, double& value) {
  std::string s;
  for (char c : field)
    if (c != ' ') s.push_back(c);
  if (s.empty()) {
    value = 0;
    return true;
  }
  size_t i = 0;
  std::string norm;
  if (s[i] == '+' || s[i] == '-') norm.push_back(s[i++]);
  bool digits = false;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    norm.push_back(s[i++]);
    digits = true;
  }
  if (i < s.size() && s[i] == '.') {
    norm.push_back(s[i++]);
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      norm.push_back(s[i++]);
      digits = true;
    }
  }
  if (!digits) return false;
  if (i < s.size()) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
    if (c == 'E' || c == 'D' || c == 'Q')
      ++i;
    else if (c != '+' && c != '-')
      return false;
    norm.push_back('e');
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) norm.push_back(s[i++]);
    bool exp_digits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      norm.push_back(s[i++]);
      exp_digits = true;
    }
    if (!exp_digits) return false;
  }
  if (i != s.size()) return false;
  value = std::strtod(norm.c_str(), nullptr);
  return true;
}

}  // namespace ntb
