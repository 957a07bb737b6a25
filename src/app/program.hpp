// The whole run of the program: the session log, the signals that end a
// run, the workbench, and the exit status.
#pragma once

#include "io/console.hpp"

namespace ntb {

// Opens the session log at `log_path` and runs the workbench.  Returns the
// exit status: 0, or 1 when the log cannot be created (a message on
// standard error, before any menu) or a write to it failed.  SIGINT and
// SIGTERM end the run with the log complete and status 130 or 143.
// `log_named_by_user` tells that the name came from --log rather than being
// the default one.
int run_program(Console& console, const char* log_path, bool log_named_by_user = false);

}  // namespace ntb
