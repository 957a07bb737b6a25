// Whole files read back for the tests that run the program or its log on
// real files.
#pragma once

#include <cstdio>
#include <string>

namespace ntb::testing {

// The bytes of the file at `path`, or "<missing>" when it cannot be opened.
inline std::string file_text(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "<missing>";
  std::string text;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

}  // namespace ntb::testing
