// A console that answers from a script and keeps what the program showed, and
// a harness that runs commands against freshly built tables with a memory log.
#pragma once

#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "io/console.hpp"
#include "io/io.hpp"
#include "io/session.hpp"
#include "methods/engine/triplet_data.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb::testing {

// The lines the terminal console reads from a file or a pipe holding
// `bytes`: one per line feed, a last line without one too, and a carriage
// return just before the line end dropped (CR LF files read as LF files).
inline std::vector<std::string> lines_of(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string line(bytes.substr(pos, end - pos));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = end + 1;
  }
  return lines;
}

// The screen text with every time-of-day line (" h:mm:ss", as the prime
// count shows it) replaced by "hh:mm:ss", so that two runs compare equal
// whatever the clock said.  The length stays the same.
inline std::string masked_time_of_day(std::string screen) {
  const auto digit_or_blank = [](char c) { return c == ' ' || (c >= '0' && c <= '9'); };
  size_t start = 0;
  while (start <= screen.size()) {
    size_t end = screen.find("\r\n", start);
    if (end == std::string::npos) end = screen.size();
    if (end - start == 8 && screen[start + 2] == ':' && screen[start + 5] == ':') {
      bool stamp = true;
      for (size_t i : {0, 1, 3, 4, 6, 7}) stamp = stamp && digit_or_blank(screen[start + i]);
      if (stamp) screen.replace(start, 8, "hh:mm:ss");
    }
    start = end + 2;
  }
  return screen;
}

class ScriptedConsole final : public Console {
 public:
  explicit ScriptedConsole(std::vector<std::string> lines = {}) {
    for (auto& l : lines) input.push_back(std::move(l));
  }
  bool read_line(std::string& line) override {
    ++reads;
    if (input.empty()) return false;
    line = input.front();
    input.pop_front();
    return true;
  }
  // Like the terminal console fed from a file: a whole line, its first character.
  bool read_key(char& c) override {
    ++reads;
    if (input.empty()) return false;
    c = input.front().empty() ? '\r' : input.front()[0];
    input.pop_front();
    return true;
  }
  void run_command(const std::string& command) override { commands.push_back(command); }
  void write(std::string_view bytes) override { screen.append(bytes); }
  void flush() override { ++flushes; }

  // The screen split at CR LF.
  std::vector<std::string> screen_lines() const { return split_crlf(screen); }
  static std::vector<std::string> split_crlf(const std::string& s) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
      size_t p = s.find("\r\n", start);
      if (p == std::string::npos) {
        out.push_back(s.substr(start));
        return out;
      }
      out.push_back(s.substr(start, p - start));
      start = p + 2;
    }
  }

  std::deque<std::string> input;
  std::string screen;
  std::vector<std::string> commands;
  int reads = 0;
  int flushes = 0;
};

// Tables as built at start-up, built once per test program and copied.
inline const Tables& built_tables() {
  return tables_as_built();
}

// One command run: scripted input, screen and memory log, its own tables.
struct Harness {
  explicit Harness(std::vector<std::string> lines = {})
      : console(std::move(lines)),
        tables(std::make_unique<Tables>(built_tables())),
        trip(std::make_unique<TripletData>()),
        io(console, log),
        s{io, *tables, trip.get()} {}

  // Runs f(session); end of input ends it quietly.  True when it ran to its end.
  template <class F>
  bool run(F&& f) {
    try {
      f(s);
      return true;
    } catch (const EndOfInput&) {
      return false;
    }
  }

  std::vector<std::string> screen_lines() const { return console.screen_lines(); }
  std::vector<std::string> log_lines() const { return ScriptedConsole::split_crlf(log.text); }

  ScriptedConsole console;
  MemoryLog log;
  std::unique_ptr<Tables> tables;
  std::unique_ptr<TripletData> trip;
  Io io;
  Session s;
};

}  // namespace ntb::testing
