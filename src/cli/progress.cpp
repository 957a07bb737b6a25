// The progress line: see progress.hpp.  A thread of its own sleeps through
// the delay, then redraws the percentage each period while it changes.
#include "cli/progress.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string_view>
#include <utility>

namespace ntb::cli {

namespace {

// Writes all of text to fd, retrying after signals; a failed write is
// dropped, since a progress line is never worth an error.
void put(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text.remove_prefix(static_cast<size_t>(n));
  }
}

}  // namespace

bool status_line_wanted(const Request& r) {
  return !r.flag("--no-status") && ::isatty(2) == 1;
}

Progress::Fraction Progress::of(const std::atomic<uint64_t>& done, uint64_t total) {
  return [&done, total] {
    return total == 0 ? 0.0
                      : static_cast<double>(done.load(std::memory_order_relaxed)) /
                            static_cast<double>(total);
  };
}

Progress::Progress(Fraction fraction, bool shown, int fd, ProgressTiming timing)
    : fraction_(std::move(fraction)), fd_(fd), timing_(timing) {
  if (shown) drawer_ = std::thread([this] { draw_until_stopped(); });
}

Progress::~Progress() {
  if (!drawer_.joinable()) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  drawer_.join();
}

void Progress::draw_until_stopped() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (wake_.wait_for(lock, timing_.delay, [this] { return stop_; })) return;
  int shown = -1;  // the percentage on the line, -1 before the first
  do {
    const double f = std::clamp(fraction_(), 0.0, 1.0);
    const int percent = static_cast<int>(f * 100.0);
    if (percent != shown) {
      char line[16];
      std::snprintf(line, sizeof line, "\r%3d%%", percent);
      put(fd_, line);
      shown = percent;
    }
  } while (!wake_.wait_for(lock, timing_.period, [this] { return stop_; }));
  put(fd_, "\r    \r");
}

}  // namespace ntb::cli
