// The terminal console: standard input and output.  Lines are read through
// a small buffer of our own so that a line read and a single-key read can
// follow each other on the same input.  From a terminal the single-key read
// is a real key press (raw mode, no echo); from a file or a pipe it takes a
// whole line and gives its first character, so a session can be driven by a
// file of answers, one a line.
#include "io/console.hpp"

#include <poll.h>
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
  // The bytes read from the system and not yet taken.
  std::string_view buffered() const { return {buf_ + pos_, len_ - pos_}; }
  void skip(size_t n) { pos_ += n < len_ - pos_ ? n : len_ - pos_; }
  // When nothing is buffered, waits up to `ms` milliseconds for more bytes;
  // true when some are buffered.
  bool wait_more(int ms) {
    if (pos_ < len_) return true;
    pollfd p{0, POLLIN, 0};
    if (::poll(&p, 1, ms) <= 0) return false;
    ssize_t n;
    do {
      n = ::read(0, buf_, sizeof buf_);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return false;
    pos_ = 0;
    len_ = static_cast<size_t>(n);
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

bool is_continuation(unsigned char b) {
  return b >= 0x80 && b <= 0xBF;
}

}  // namespace

KeyPress split_key(std::string_view bytes) {
  if (bytes.empty()) return {'\0', -1, 0};
  const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char b = at(0);
  const size_t n = bytes.size();
  if (b == 0x00 || b == 0xE0) {  // a two-byte key code
    if (n < 2) return {'\0', -1, 1};
    size_t used = 2;
    // 0xE0 may also open a three-byte UTF-8 character: take its last byte too.
    if (b == 0xE0 && is_continuation(at(1)) && n > 2 && is_continuation(at(2))) used = 3;
    return {'\0', at(1), used};
  }
  if (b == 0x1B) {
    if (n < 2) return {'\x1b', -1, 1};  // the Esc key itself
    if (at(1) == '[') {                 // control sequence: parameters, then a final byte
      size_t i = 2;
      while (i < n && at(i) >= 0x20 && at(i) <= 0x3F) ++i;
      if (i < n && at(i) >= 0x40 && at(i) <= 0x7E) return {'\0', at(i), i + 1};
      return {'\0', -1, i};
    }
    if (at(1) == 'O' && n > 2) return {'\0', at(2), 3};
    return {'\0', at(1), 2};  // Esc and a key pressed together
  }
  if (b >= 0xC2 && b <= 0xF4) {  // first byte of a UTF-8 character
    size_t used = 1;
    while (used < n && used < 4 && is_continuation(at(used))) ++used;
    return {static_cast<char>(b), -1, used};
  }
  return {b == '\n' ? '\r' : static_cast<char>(b), -1, 1};
}

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
  if (b < 0) {
    restore_terminal();
    return false;
  }
  // The rest of a key that comes as several bytes arrives with its first
  // byte, or right after it.
  std::string bytes(1, static_cast<char>(b));
  if ((b == 0x1B || b == 0x00 || b >= 0xC2) && input().wait_more(30))
    bytes.append(input().buffered());
  restore_terminal();
  const KeyPress k = split_key(bytes);
  input().skip(k.used - 1);
  c = k.key;
  pending_key_ = k.next;
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
