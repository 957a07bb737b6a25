// Screen records with carriage control, log records, and the console prompts
// asknum, pagestop, rule, the console pause and the single-key read.
#include "io/io.hpp"

#include <cmath>
#include <cstring>

#include "io/keyboard_wait.hpp"
#include "io/list_input.hpp"

namespace ntb {

namespace {

constexpr std::string_view kPauseText =
    "Pause - Please enter a blank line (to continue) or a DOS command.";
constexpr size_t kPauseLineMax = 128;

}  // namespace

void Io::screen_record(std::string_view rec) {
  const char cc = rec.empty() ? ' ' : rec[0];
  const std::string_view body = rec.empty() ? rec : rec.substr(1);
  switch (cc) {
    case '+':
      console_.write("\r");
      break;
    case '0':
      if (line_open_) console_.write("\r\n");
      console_.write("\r\n");
      break;
    case '1':
      if (line_open_) console_.write("\r\n");
      console_.write("\f");
      break;
    default:
      if (line_open_) console_.write("\r\n");
      break;
  }
  console_.write(body);
  line_open_ = true;
}

void Io::scr(std::string_view layout, std::span<const Item> items) {
  recs_.clear();
  format_screen_records(layout, items, recs_);
  for (const auto& r : recs_) screen_record(r);
}

void Io::log(std::string_view layout, std::span<const Item> items) {
  recs_.clear();
  format_records(layout, items, recs_);
  for (auto& r : recs_) {
    r.append("\r\n");
    log_.write(r);
  }
}

void Io::lst(std::span<const Item> items) {
  recs_.clear();
  format_list(items, recs_);
  for (const auto& r : recs_) screen_record(r);
}

void Io::flush_for_read() {
  console_.flush();
  log_.flush();
}

std::string Io::read_line() {
  flush_for_read();
  std::string line;
  {
    const KeyboardWait wait;
    if (!console_.read_line(line)) throw EndOfInput{};
  }
  line_open_ = false;  // the key that ended the line moved to a new one
  return line;
}

char Io::read_a1() {
  const std::string line = read_line();
  return line.empty() ? ' ' : line[0];
}

char Io::getkey() {
  flush_for_read();
  char c = 0;
  {
    const KeyboardWait wait;
    if (!console_.read_key(c)) throw EndOfInput{};
  }
  return c;
}

void Io::asknum(int32_t& n) {
  for (;;) {
    lst({"enter number"});
    const std::string line = read_line();
    std::string text;
    if (!first_list_value(line, text)) continue;  // nothing typed: ask at once
    text.resize(20, ' ');
    lst({"   ", text, "  OK? Yes=any key N/n=no"});
    const char answer = read_a1();
    if (answer == 'N' || answer == 'n') continue;
    if (text[0] < '0' || text[0] > '9') continue;
    double v = 0;
    if (!read_f11(std::string_view(text).substr(0, 11), v)) continue;
    if (v > 2147483647.0) continue;
    n = static_cast<int32_t>(v);
    return;
  }
}

void Io::pagestop(int32_t line, int32_t& quit) {
  if (line % 20 != 0) return;
  lst({"press any key to continue,q to exit"});
  if (getkey() == 'q') {
    quit = 1;
    return;
  }
  pause();
}

void Io::rule() {
  static const std::string screen_text = std::string(50, '_') + std::string(15, ' ');
  static const std::string log_text = std::string(50, '_') + " \t\t\t\t";
  scr("(1X,A45)", {screen_text});
  log("(1X,A45)", {log_text});
}

void Io::pause() {
  if (line_open_) console_.write("\r\n");
  console_.write(kPauseText);
  console_.write("\r\n");
  line_open_ = false;
  std::string line = read_line();
  if (line.size() > kPauseLineMax) line.resize(kPauseLineMax);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  if (line.size() >= 2) console_.run_command(line);
}

}  // namespace ntb
