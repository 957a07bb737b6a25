// ntbench: an interactive console workbench for elementary number theory.
// It takes no arguments; the session log "session7.dat" is written in the
// current directory.
#include "app/program.hpp"
#include "io/console.hpp"

int main() {
  static const char kLogName[20] = "session7.dat";
  ntb::TerminalConsole console;
  return ntb::run_program(console, kLogName);
}
