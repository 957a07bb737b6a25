// gnuplot as a child process: started with posix_spawn, fed on a pipe while
// its standard error is read (so that neither side can block the other),
// and waited for.  Its picture goes straight into the file, which is removed
// whenever the picture is not drawn in full.
#include "cli/plot.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>

extern char** environ;

namespace ntb::cli {

namespace {

constexpr size_t kChunk = 1 << 16;       // bytes written to the pipe at a time
constexpr size_t kErrorsKept = 1 << 12;  // the tail of gnuplot's messages we keep
constexpr std::string_view kPackage = "gnuplot-nox";

bool ends_with_nocase(std::string_view s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i) {
    char c = s[s.size() - suffix.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

// A gnuplot string constant: double quotes, with \ and " escaped.
std::string quoted(std::string_view s) {
  std::string r = "\"";
  for (const char c : s) {
    if (c == '"' || c == '\\') r += '\\';
    r += c;
  }
  return r + "\"";
}

// The last line of gnuplot's messages that says something.
std::string last_line(std::string_view text) {
  size_t end = text.size();
  while (end > 0) {
    while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
    const size_t begin = text.rfind('\n', end == 0 ? 0 : end - 1);
    const size_t from = begin == std::string_view::npos ? 0 : begin + 1;
    std::string_view line = text.substr(from, end - from);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (!line.empty()) return std::string(line);
    end = from;
  }
  return "";
}

std::string script_head(const PlotLayout& layout, PlotFormat format) {
  std::string s;
  if (format == PlotFormat::kSvg)
    s += "set terminal svg size 1200,800 dynamic background rgb \"white\" font \"Arial,12\"\n";
  else
    s += "set terminal png size 1200,800 background rgb \"white\"\n";
  s += "set termoption noenhanced\n";
  s += "set title " + quoted(layout.title) + "\n";
  s += "set xlabel " + quoted(layout.xlabel) + "\n";
  s += "set ylabel " + quoted(layout.ylabel) + "\n";
  s += "set grid\n";
  s += "set format x \"%.0f\"\nset format y \"%.0f\"\nset rmargin 8\n";
  // The curves and the comet rise to the right; the histograms fall.
  s += layout.log_y ? "set key top right box opaque\n" : "set key top left box opaque\n";
  if (layout.log_y) s += "set logscale y\nset yrange [0.5:*]\n";
  s += "set style fill solid 0.6 border\nset boxwidth 0.8 absolute\n";
  s += "$data << EOD\n";
  return s;
}

std::string plot_command(const PlotLayout& layout) {
  static const char* const kColors[] = {"#1f5fa8", "#d0701c", "#2e9c47", "#b02a37"};
  std::string s = "plot";
  for (size_t i = 0; i < layout.series.size(); ++i) {
    const std::string color = std::string(" lc rgb \"") + kColors[i % 4] + "\"";
    const std::string title = " title " + quoted(layout.series[i].title);
    s += i == 0 ? " " : ", ";
    s += "$data using 1:" + std::to_string(i + 2);
    switch (layout.series[i].style) {
      case PlotStyle::kDots:
        // A dot is too small for the legend: the key shows a disc instead.
        s += " with dots" + color + " notitle, NaN with points pt 7 ps 1.5" + color + title;
        break;
      case PlotStyle::kPoints:
        s += " with points pt 7 ps 1.5" + color + title;
        break;
      case PlotStyle::kLines:
        // Each curve thinner than the one before, drawn over it: where two
        // meet (pi(x) and li(x)), both stay visible.
        s += " with lines lw " + std::to_string(2 * (layout.series.size() - i)) + color + title;
        break;
      case PlotStyle::kBoxes:
        s += " with boxes" + color + title;
        break;
    }
  }
  return s + "\n";
}

// Starts gnuplot with the descriptors in, out and err as its standard
// input, output and error, the signals it is started with at their
// defaults; 0 with its process id in pid, or the error number.
int spawn_gnuplot(const std::string& gnuplot, int in, int out, int err, pid_t& pid) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in, 0);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  posix_spawn_file_actions_adddup2(&actions, err, 2);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  // The script is read as a file (gnuplot reads its standard input a byte
  // at a time, but a script file through its buffers).
  char arg0[] = "gnuplot", arg1[] = "/dev/stdin";
  char* argv[] = {arg0, arg1, nullptr};
  const int spawned = posix_spawn(&pid, gnuplot.c_str(), &actions, &attr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  return spawned;
}

}  // namespace

std::optional<PlotFormat> plot_format(std::string_view path) {
  if (ends_with_nocase(path, ".svg")) return PlotFormat::kSvg;
  if (ends_with_nocase(path, ".png")) return PlotFormat::kPng;
  return std::nullopt;
}

std::string find_gnuplot() {
  const char* env = std::getenv("PATH");
  const std::string_view path = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
  size_t from = 0;
  for (;;) {
    const size_t colon = path.find(':', from);
    std::string dir(path.substr(from, colon == std::string_view::npos ? colon : colon - from));
    const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/gnuplot";
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (colon == std::string_view::npos) return "";
    from = colon + 1;
  }
}

PlotWriter::PlotWriter(const PlotLayout& layout, std::string path) : path_(std::move(path)) {
  const std::optional<PlotFormat> format = plot_format(path_);
  if (!format) {
    error_ = "--plot: the file name must end in .svg or .png, got '" + path_ + "'";
    return;
  }
  const std::string gnuplot = find_gnuplot();
  if (gnuplot.empty()) {
    error_ = "--plot: gnuplot is not installed (Debian package " + std::string(kPackage) +
             "); no picture drawn";
    return;
  }
  const int file = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (file < 0) {
    error_ = "--plot: cannot write '" + path_ + "': " + std::strerror(errno);
    return;
  }
  file_made_ = true;
  int in[2], err[2];
  if (pipe2(in, O_CLOEXEC) != 0) {
    close(file);
    fail(std::string("cannot make a pipe: ") + std::strerror(errno));
    return;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    close(file), close(in[0]), close(in[1]);
    fail(std::string("cannot make a pipe: ") + std::strerror(errno));
    return;
  }
  const int spawned = spawn_gnuplot(gnuplot, in[0], file, err[1], pid_);
  close(file), close(in[0]), close(err[1]);
  to_gnuplot_ = in[1];
  from_gnuplot_ = err[0];
  if (spawned != 0) {
    pid_ = -1;
    fail("cannot start " + gnuplot + ": " + std::strerror(spawned) + " (Debian package " +
         std::string(kPackage) + ")");
    return;
  }
  fcntl(from_gnuplot_, F_SETFL, O_NONBLOCK);
  plot_command_ = plot_command(layout);
  buf_ = script_head(layout, *format);
}

PlotWriter::~PlotWriter() {
  // Not finished (the command stopped half-way): no picture.
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    if (file_made_) unlink(path_.c_str());
  }
  if (to_gnuplot_ >= 0) close(to_gnuplot_);
  if (from_gnuplot_ >= 0) close(from_gnuplot_);
}

void PlotWriter::fail(std::string why) {
  if (error_.empty()) error_ = "--plot: " + std::move(why);
  if (file_made_) unlink(path_.c_str());
  file_made_ = false;
}

void PlotWriter::put(std::string_view text) {
  buf_ += text;
  if (buf_.size() >= kChunk) flush();
}

void PlotWriter::whole(uint64_t v) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  if (in_row_) buf_ += ' ';
  in_row_ = true;
  put(std::string_view(digits, static_cast<size_t>(end - digits)));
}

void PlotWriter::field(double v) {
  char digits[40];
  const auto end =
      std::to_chars(digits, digits + sizeof digits, v, std::chars_format::general, 12).ptr;
  if (in_row_) buf_ += ' ';
  in_row_ = true;
  put(std::string_view(digits, static_cast<size_t>(end - digits)));
}

void PlotWriter::end_row() {
  in_row_ = false;
  put("\n");
}

// Reads what gnuplot has written on its standard error, keeping the tail;
// with wait, until it closes it.
void PlotWriter::drain_errors(bool wait) {
  char chunk[4096];
  for (;;) {
    if (wait) {
      pollfd p{from_gnuplot_, POLLIN, 0};
      if (poll(&p, 1, -1) < 0 && errno == EINTR) continue;
    }
    const ssize_t got = read(from_gnuplot_, chunk, sizeof chunk);
    if (got > 0) {
      gnuplot_errors_.append(chunk, static_cast<size_t>(got));
      if (gnuplot_errors_.size() > 2 * kErrorsKept)
        gnuplot_errors_.erase(0, gnuplot_errors_.size() - kErrorsKept);
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    return;  // end of file, or nothing more for now
  }
}

// Writes the buffer to gnuplot.  Should gnuplot end early, the pipe is
// closed and the rest is dropped; finish() reports it.  SIGPIPE is held off
// while writing, and the one a closed pipe raises is taken back.
void PlotWriter::flush() {
  size_t done = 0;
  while (done < buf_.size() && to_gnuplot_ >= 0) {
    pollfd p[2] = {{to_gnuplot_, POLLOUT, 0}, {from_gnuplot_, POLLIN, 0}};
    if (poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (p[1].revents != 0) drain_errors(false);
    if (p[0].revents == 0) continue;
    sigset_t pipe_signal, old, pending;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, &old);
    sigpending(&pending);
    const bool was_pending = sigismember(&pending, SIGPIPE);
    const ssize_t wrote =
        write(to_gnuplot_, buf_.data() + done, std::min(kChunk, buf_.size() - done));
    const int write_error = errno;
    if (wrote < 0 && write_error == EPIPE && !was_pending) {
      const timespec zero{0, 0};
      sigtimedwait(&pipe_signal, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    if (wrote > 0) {
      done += static_cast<size_t>(wrote);
    } else if (wrote < 0 && write_error != EINTR && write_error != EAGAIN) {
      close(to_gnuplot_);  // gnuplot has gone
      to_gnuplot_ = -1;
    }
  }
  buf_.clear();
}

int PlotWriter::finish() {
  if (failed()) return 1;
  buf_ += "EOD\n";
  buf_ += plot_command_;
  flush();
  if (to_gnuplot_ >= 0) close(to_gnuplot_);
  to_gnuplot_ = -1;
  drain_errors(true);
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  struct stat st {};
  const bool drawn = stat(path_.c_str(), &st) == 0 && st.st_size > 0;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && drawn) return 0;
  std::string why = "gnuplot failed";
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    why += " (status " + std::to_string(WEXITSTATUS(status)) + ")";
  else if (WIFSIGNALED(status))
    why += " (signal " + std::to_string(WTERMSIG(status)) + ")";
  else
    why += " (no picture written)";
  const std::string said = last_line(gnuplot_errors_);
  if (!said.empty()) why += ": " + said;
  fail(why + "; no picture drawn");
  return 1;
}

}  // namespace ntb::cli
