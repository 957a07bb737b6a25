// The progress line of a long command: "NN%" on standard error, redrawn in
// place with a carriage return, shown only when standard error is a
// terminal, --no-status was not given, and the command has run for about a
// second; the line is cleared when the work ends.  Never touches standard
// output.  A command keeps a Progress alive for the time of its work:
//
//   std::atomic<uint64_t> done{0};
//   Progress progress(Progress::of(done, total), status_line_wanted(r));
//   ... the threads add to done ...
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "cli/request.hpp"

namespace ntb::cli {

// Whether the command may show its progress line: standard error is a
// terminal and --no-status was not given.
bool status_line_wanted(const Request& r);

// When the progress line appears and how often it is redrawn.
struct ProgressTiming {
  std::chrono::milliseconds delay{1000};  // nothing shown before this
  std::chrono::milliseconds period{250};  // between two redraws
};

class Progress {
 public:
  using Fraction = std::function<double()>;  // the work done, 0 to 1

  // The fraction done/total (0 when total is 0) of a counter the workers add to.
  static Fraction of(const std::atomic<uint64_t>& done, uint64_t total);

  // Shows the fraction on fd 2 while alive when `shown`; on fd `fd` for tests.
  Progress(Fraction fraction, bool shown, int fd = 2, ProgressTiming timing = ProgressTiming());
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  // Stops the redraws and clears the line if one was drawn.
  ~Progress();

 private:
  void draw_until_stopped();

  Fraction fraction_;
  int fd_;
  ProgressTiming timing_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread drawer_;
};

}  // namespace ntb::cli
