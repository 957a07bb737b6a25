// Ctrl-C and SIGTERM.  SIGTERM ends the run anywhere, and so does Ctrl-C
// (SIGINT) at a keyboard read or outside a command: the session log is
// written out up to its last whole record and the status is 128 plus the
// signal's number (130, 143).  Ctrl-C while a command chosen at a menu
// computes or lists asks that command to stop: it unwinds by Interrupted at
// its next interruption point or keyboard read, back to the menu it was
// chosen from.
#pragma once

#include "io/session_log.hpp"

namespace ntb {

// Installs the handlers for the run.  They stay installed until the process
// ends, so that a signal that comes after the log is closed (while the
// process exits) still ends it with 130 or 143; the destructor only takes
// the log away from them.
class RunSignals {
 public:
  explicit RunSignals(SessionLog& log);
  ~RunSignals();
  RunSignals(const RunSignals&) = delete;
  RunSignals& operator=(const RunSignals&) = delete;
};

// Marks the run of one menu entry: inside it a Ctrl-C outside a keyboard
// read stops the entry instead of ending the run.  A stop asked after the
// entry's last check is dropped when the entry ends.
class CommandScope {
 public:
  CommandScope();
  ~CommandScope();
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;
};

}  // namespace ntb
