// The terminal console: standard input and output.  Lines are read through
// a small buffer of our own so that a line read and a single-key read can
// follow each other on the same input.  From a terminal the single-key read
// is a real key press (raw mode, no echo); from a file or a pipe it takes a
// whole line and gives its first character, so a session can be driven by a
// file of answers, one a line.
#include "shell/console.hpp"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace ntb {

namespace {

// Buffered reads of file descriptor 0.
class InputBuffer {
 public:
  // Next byte, or -1 at end of input.
  int get() {
    if (pos_ == len_) {
      ssize_t n;
      do {
        n = ::read(0, buf_, sizeof buf_);
      } while (n < 0 && errno == EINTR);
      if (n <= 0) return -1;
      pos_ = 0;
      len_ = static_cast<size_t>(n);
    }
    return static_cast<unsigned char>(buf_[pos_++]);
  }
  // Reads up to the line end; false when end of input comes before any byte.
  bool line(std::string& out) {
    out.clear();
    int c = get();
    if (c < 0) return false;
    while (c >= 0 && c != '\n') {
      out.push_back(static_cast<char>(c));
      c = get();
    }
    if (!out.empty() && out.back() == '\r') out.pop_back();
    return true;
  }

 private:
  char buf_[4096];
  size_t pos_ = 0, len_ = 0;
};

InputBuffer& input() {
  static InputBuffer in;
  return in;
}

// The terminal's settings while a single-key read has it in raw mode.
termios g_saved{};
volatile sig_atomic_t g_raw = 0;

}  // namespace

void restore_terminal() {
  if (g_raw) ::tcsetattr(0, TCSANOW, &g_saved);
  g_raw = 0;
}

TerminalConsole::TerminalConsole() : stdin_is_tty_(::isatty(0) == 1) {}

bool TerminalConsole::read_line(std::string& line) {
  pending_key_ = -1;
  return input().line(line);
}

bool TerminalConsole::read_key(char& c) {
  if (pending_key_ >= 0) {
    c = static_cast<char>(pending_key_);
    pending_key_ = -1;
    return true;
  }
  if (!stdin_is_tty_) {
    std::string line;
    if (!input().line(line)) return false;
    c = line.empty() ? '\r' : line[0];
    return true;
  }
  // Raw mode without echo; Ctrl-C still interrupts (ISIG stays on).
  const bool raw = ::tcgetattr(0, &g_saved) == 0;
  if (raw) {
    termios t = g_saved;
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    g_raw = 1;
    ::tcsetattr(0, TCSANOW, &t);
  }
  const int b = input().get();
  restore_terminal();
  if (b < 0) return false;
  if (b == 0xE0 || b == 0x00) {  // extended key: 0 now, its second byte next
    const int second = input().get();
    pending_key_ = second < 0 ? -1 : second;
    c = '\0';
    return true;
  }
  c = b == '\n' ? '\r' : static_cast<char>(b);
  return true;
}

void TerminalConsole::run_command(const std::string& command) {
  flush();
  const int rc = std::system(command.c_str());
  (void)rc;  // the pause waits for the command; its status is not reported
}

void TerminalConsole::write(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void TerminalConsole::flush() {
  std::fflush(stdout);
}

}  // namespace ntb
