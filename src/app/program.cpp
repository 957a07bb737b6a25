// The run of the program around the workbench: makes sure the standard
// descriptors are open, opens the session log, installs the signal handlers
// and turns what happened into the exit status.
#include "app/program.hpp"

#include <cstdio>
#include <string>

#include "app/menus.hpp"
#include "app/signals.hpp"
#include "cli/standard_descriptors.hpp"
#include "io/session_log.hpp"

namespace ntb {

int run_program(Console& console, const char* log_path, bool log_named_by_user) {
  std::string error;
  cli::ClosedDescriptors closed = 0;
  if (!cli::open_standard_descriptors(closed, error)) {
    std::fprintf(stderr, "ntbench: cannot open /dev/null for a closed standard descriptor: %s\n",
                 error.c_str());
    return 1;
  }
  SessionLog log;
  if (!log.open(log_path, error, log_named_by_user)) {
    std::fprintf(stderr, "ntbench: cannot create the session log %s: %s\n", log_path,
                 error.c_str());
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
