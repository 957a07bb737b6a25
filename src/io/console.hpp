// The console: the one place where the program meets the keyboard, the screen
// and the system's command interpreter.  The terminal console is the real
// one; tests inject a scripted console (tests/support/scripted_console.hpp).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ntb {

class Console {
 public:
  virtual ~Console() = default;
  // Reads one line without its line end; false at end of input.
  virtual bool read_line(std::string& line) = 0;
  // Reads one key without echo; false at end of input.  From a file or a
  // pipe a whole line is consumed and its first character given ('\r' for
  // an empty line).
  virtual bool read_key(char& c) = 0;
  // Runs a command line through the system's command interpreter and waits.
  virtual void run_command(const std::string& command) = 0;
  // Writes screen bytes (already carrying their CR LF line ends).
  virtual void write(std::string_view bytes) = 0;
  virtual void flush() = 0;
};

// One key press split off the bytes a terminal delivered for it: the
// character the single-key read gives, the one the next single-key read
// gives (-1 for none), and how many bytes the key took.
struct KeyPress {
  char key;
  int next;
  size_t used;
};
// `bytes` starts with the key's first byte and holds what followed it.  A
// key that comes as a sequence (an escape sequence such as an arrow or a
// function key, or a two-byte code starting with 0 or 0xE0) gives 0 and then
// the sequence's last byte; a character of several UTF-8 bytes gives its
// first byte; a line feed gives '\r'.  Every byte of the key is taken, so
// none is left over for a later line read.
KeyPress split_key(std::string_view bytes);

// Puts the terminal back as it was before a single-key read; safe to call
// from a signal handler.
void restore_terminal();

// Standard input and output; raw single-key reads when input is a terminal.
class TerminalConsole final : public Console {
 public:
  TerminalConsole();
  bool read_line(std::string& line) override;
  bool read_key(char& c) override;
  void run_command(const std::string& command) override;
  void write(std::string_view bytes) override;
  void flush() override;

 private:
  bool stdin_is_tty_;
  int pending_key_ = -1;  // second byte of an extended key
};

}  // namespace ntb
