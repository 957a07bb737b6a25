// The run of the program around the workbench: makes sure the standard
// descriptors are open, opens the session log, installs the signal handlers
// and turns what happened into the exit status.
#include "app/program.hpp"

#include <cstdio>
#include <string>

#include "app/menus.hpp"
#include "app/signals.hpp"
#include "io/session_log.hpp"
#include "numtheory/standard_descriptors.hpp"

namespace ntb {

int run_program(Console& console, const char* log_path, bool log_named_by_user) {
  const std::string closed = open_standard_descriptors();
  if (!closed.empty()) {
    std::fprintf(stderr, "ntbench: %s\n", closed.c_str());
    return 1;
  }
  std::string error;
  SessionLog log;
  if (!log.open(log_path, error, log_named_by_user)) {
    // The usual cause is a folder the user may not write: the line says
    // how to run anyway.
    std::fprintf(stderr,
                 "ntbench: cannot create the session log %s: %s (run it in a writable folder, "
                 "or name the log with --log FILE)\n",
                 log_path, error.c_str());
    return 1;
  }
  {
    const RunSignals signals(log);
    run_workbench(console, log);
    log.close();
  }
  return log.failed() ? 1 : 0;
}

}  // namespace ntb
