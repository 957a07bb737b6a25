// The command line of ntbench as main sees it: the workbench with its
// session log, or a one-shot command (help, version and usage errors
// included) for src/cli.  Parsing only turns argv into a decision; main
// acts on it, so the rules are tested without starting a process.
#pragma once

#include <string>

#include "cli/request.hpp"

namespace ntb {

// The session log's name when --log does not give one.
inline constexpr const char* kDefaultLogName = "session7.dat";

struct Options {
  enum class Action {
    kRun,      // the interactive workbench
    kHelp,     // the usage text on standard output, status 0
    kVersion,  // the name and version on standard output, status 0
    kError,    // `error` on standard error, status 2, no log touched
    kCommand,  // a one-shot command: `request`, run by src/cli
  };
  Action action = Action::kRun;
  std::string log_path = kDefaultLogName;
  bool log_named_by_user = false;  // --log was given
  std::string error;               // one line, without its line end
  cli::Request request;            // everything parsed, for src/cli
};

// Reads argv[1..argc) with the one parser of the command line (src/cli):
// the first help, version or wrong argument decides; --log takes its file
// name as the next argument or after '='; "-" and an empty name are refused
// (the log is a file); `--` ends the options.
Options parse_options(int argc, const char* const* argv);

// The text of --help and of --version, each ending with a line feed.
std::string usage_text();
std::string version_text();

}  // namespace ntb
