// The output layer and the console prompts that every command uses.
//
//   io.scr("(1X,A40,2F11.0)", {"  prime numbers up to ", n});   // screen record
//   io.log("(4F10.0)", {count});                                 // session-log record
//   io.lst({"enter number"});                                    // list-directed, screen
//   io.both("(1X,A45)", {"end scanning composites"});            // the same record on both
//   io.asknum(n); io.pagestop(line, quit); io.rule(); io.pause();
//
// Screen records go through carriage control (their first character is not
// shown: blank = new line, '0' = an empty line first, '1' = new page, '+' =
// overwrite the current line); the line break is written when the next
// record starts, and a line read takes its place.  A screen record written
// with a layout whose first character comes from a numeric field, a number
// filling its field to the left edge, is shown whole on a new line: a blank
// is put in front of it for the carriage control.  Log records keep every
// character and end with CR LF.  Every keyboard read first flushes both
// the screen and the session log.
//
// End of input at any read throws EndOfInput; the main program ends the run
// as Exit does.  A read is also where a command that Ctrl-C asked to stop
// unwinds rather than wait for the keyboard (io/keyboard_wait.hpp).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io/console.hpp"
#include "io/record.hpp"

namespace ntb {

struct EndOfInput {};

// Where log records go: the session log file, or memory in tests.
class LogSink {
 public:
  virtual ~LogSink() = default;
  // One record including its CR LF.
  virtual void write(std::string_view bytes) = 0;
  // Makes every record written so far reach its destination.
  virtual void flush() {}
};

class MemoryLog final : public LogSink {
 public:
  void write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

class Io {
 public:
  Io(Console& console, LogSink& log) : console_(console), log_(log) {}

  // Output layer.
  void scr(std::string_view layout, Items items) { scr(layout, std::span<const Item>(items)); }
  void log(std::string_view layout, Items items) { log(layout, std::span<const Item>(items)); }
  void lst(Items items) { lst(std::span<const Item>(items)); }
  void scr(std::string_view layout, std::span<const Item> items);
  void log(std::string_view layout, std::span<const Item> items);
  void lst(std::span<const Item> items);
  // One record written alike to the screen and to the session log.
  void both(std::string_view layout, Items items) { both(layout, std::span<const Item>(items)); }
  void both(std::string_view layout, std::span<const Item> items) {
    scr(layout, items);
    log(layout, items);
  }

  // Console prompts.
  void asknum(int32_t& n);  // "enter number", echo, confirmation; 0..2147483647
  int32_t asknum() {
    int32_t n = 0;
    asknum(n);
    return n;
  }
  // Stops every 20 lines; q sets quit (never clears it).
  void pagestop(int32_t line, int32_t& quit);
  void rule();              // 45 underscores on the screen, a blank and 45 in the log
  void pause();             // console pause: a line; two or more characters run as a command
  char getkey();            // single-key read, no echo
  char read_a1();           // a line read with "(A1)": its first character, ' ' if empty
  std::string read_line();  // a raw line read

  Console& console() { return console_; }

 private:
  void screen_record(std::string_view rec);
  void flush_for_read();

  Console& console_;
  LogSink& log_;
  bool line_open_ = false;  // a screen line waits for its line break
  std::vector<std::string> recs_;
};

}  // namespace ntb
