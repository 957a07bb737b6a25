// The run of the program around the workbench: makes sure the standard
// descriptors are open, opens the session log, installs the signal handlers
// and turns what happened into the exit status.
#include "app/program.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/menus.hpp"
#include "app/signals.hpp"
#include "io/session_log.hpp"

namespace ntb {

namespace {

// Opens /dev/null on each of the descriptors 0, 1 and 2 that is closed; the
// lowest free descriptor is the one being filled.  False with the reason
// when it cannot.
bool open_standard_descriptors(std::string& error) {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    const int got = ::open("/dev/null", O_RDWR);
    if (got != fd) {
      error = got < 0 ? std::strerror(errno) : "descriptor mismatch";
      if (got > 2) ::close(got);
      return false;
    }
  }
  return true;
}

}  // namespace

int run_program(Console& console, const char* log_path, bool log_named_by_user) {
  std::string error;
  if (!open_standard_descriptors(error)) {
    std::fprintf(stderr, "ntbench: cannot open /dev/null for a closed standard descriptor: %s\n",
                 error.c_str());
    return 1;
  }
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
