// ntbench: an interactive console workbench for elementary number theory.
// Without arguments it runs the workbench with the session log
// "session7.dat" in the current directory; --log names another file, and
// --help and --version answer without touching any file.
#include <cstdio>
#include <string>

#include "app/options.hpp"
#include "app/program.hpp"
#include "io/console.hpp"

namespace {

// Writes text to standard output; 0, or 1 with a message when it cannot be
// written (a full disk, for instance).
int print(const std::string& text) {
  if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
    std::perror("ntbench: standard output");
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const ntb::Options options = ntb::parse_options(argc, argv);
  switch (options.action) {
    case ntb::Options::Action::kHelp:
      return print(ntb::usage_text());
    case ntb::Options::Action::kVersion:
      return print(ntb::version_text());
    case ntb::Options::Action::kError:
      std::fprintf(stderr, "%s\n", options.error.c_str());
      return 2;
    case ntb::Options::Action::kRun:
      break;
  }
  ntb::TerminalConsole console;
  return ntb::run_program(console, options.log_path.c_str(), options.log_named_by_user);
}
