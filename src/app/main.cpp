// ntbench: an interactive console workbench for elementary number theory.
// Without a command it runs the workbench with the session log
// "session7.dat" in the current directory (--log names another file); a
// command (pi, primes, factor, ...), --help and --version answer on
// standard output without touching any file.
#include "app/options.hpp"
#include "app/program.hpp"
#include "cli/run.hpp"
#include "io/console.hpp"

int main(int argc, char** argv) {
  const ntb::Options options = ntb::parse_options(argc, argv);
  if (options.action != ntb::Options::Action::kRun) return ntb::cli::run_process(options.request);
  ntb::TerminalConsole console;
  return ntb::run_program(console, options.log_path.c_str(), options.log_named_by_user);
}
