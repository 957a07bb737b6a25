// SIGINT, SIGTERM and SIGHUP while a picture is drawn.  The handler does the
// cleaning itself, with async-signal-safe calls only: it kills gnuplot with
// SIGKILL, waits for it, removes the temporary file the picture was being
// drawn into, and ends the process with 128 plus the signal's number.  So a
// signal is answered at once wherever it comes: while the command computes
// between two rows, while a row is written to gnuplot, or while gnuplot
// draws.  What the handler cleans (the child's id and the temporary file's
// name) is changed only with the three signals held, so that it never sees
// a child already waited for or a file already renamed.
#pragma once

#include <signal.h>
#include <sys/types.h>

namespace ntb::cli {

// Installs the handler for the three signals for the life of the object,
// and puts the former dispositions back after.  A signal that was ignored
// when the program started (nohup, a background job) stays ignored.
class PlotSignals {
 public:
  PlotSignals();
  ~PlotSignals();
  PlotSignals(const PlotSignals&) = delete;
  PlotSignals& operator=(const PlotSignals&) = delete;

  // What the handler cleans up: gnuplot's process id (0: none) and the
  // temporary picture (nullptr: none; the text must outlive the watch).
  // Call these only inside a SignalHold.
  static void watch_child(pid_t pid);
  static void watch_file(const char* path);

 private:
  struct sigaction old_[3];
  bool installed_[3] = {};
};

// The three signals held off for a scope (they stay pending and arrive at
// its end), so that a change of what is watched happens whole.
class SignalHold {
 public:
  SignalHold();
  ~SignalHold();
  SignalHold(const SignalHold&) = delete;
  SignalHold& operator=(const SignalHold&) = delete;

 private:
  sigset_t old_;
};

}  // namespace ntb::cli
