// The whole run of the program: the standard descriptors, the session log,
// the signals, the workbench, and the exit status.
#pragma once

#include "io/console.hpp"

namespace ntb {

// Opens the session log at `log_path` and runs the workbench.  Returns the
// exit status: 0, or 1 when the log cannot be created (a message on
// standard error, before any menu) or a write to it failed.  The log must be
// a regular file; a symbolic link is refused unless the user named the file
// with --log (`log_named_by_user`), because in a directory that others can write to a
// link planted under the default name would make the run empty a file of
// the user's.  Descriptors 0, 1 and 2 are opened on /dev/null where they are
// closed, before the log is opened, so that the log never takes the place
// of the screen.  SIGTERM, and Ctrl-C outside a running command or at a
// keyboard read, end the run with the log complete and status 143 or 130
// (app/signals.hpp).
int run_program(Console& console, const char* log_path, bool log_named_by_user = false);

}  // namespace ntb
