// ntbench: an interactive console workbench for elementary number theory.
// Without a command it runs the workbench with the session log
// "session7.dat" in the current directory (--log names another file); a
// command (pi, primes, factor, ...), --help and --version answer on
// standard output without touching any file.  One parser (src/cli) reads
// the command line for both.
#include "app/program.hpp"
#include "cli/parser.hpp"
#include "cli/run.hpp"
#include "io/console.hpp"

int main(int argc, char** argv) {
  const ntb::cli::Request request = ntb::cli::parse_command_line(argc, argv);
  if (request.outcome != ntb::cli::Outcome::kWorkbench) return ntb::cli::run_process(request);
  ntb::TerminalConsole console;
  return ntb::run_program(console, request.log_path.c_str(), request.log_named_by_user);
}
