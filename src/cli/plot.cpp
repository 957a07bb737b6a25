// gnuplot as a child process: started with posix_spawn, fed on a pipe while
// its standard error is read (so that neither side can block the other),
// and waited for.  Its picture goes into a temporary file beside the
// picture's name, renamed to that name once drawn in full and removed
// otherwise.
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

#include "cli/plot_signals.hpp"
#include "cli/plot_thinning.hpp"
#include "cli/number_expression.hpp"
#include "cli/parser.hpp"

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

std::string plot_command(const PlotLayout& layout, const PlotThinning& thinning) {
  static const char* const kColors[] = {"#1f5fa8", "#d0701c", "#2e9c47", "#b02a37"};
  std::string s = "plot";
  for (size_t i = 0; i < layout.series.size(); ++i) {
    const std::string color = std::string(" lc rgb \"") + kColors[i % 4] + "\"";
    const std::string title = " title " + quoted(layout.series[i].title);
    s += i == 0 ? " " : ", ";
    const PlotThinning::Source from = thinning.source(i);
    s += "$data";
    if (from.index >= 0) s += " index " + std::to_string(from.index);
    s += " using 1:" + std::to_string(from.column);
    switch (layout.series[i].style) {
      case PlotStyle::kDots:
        // A dot is too small for the legend: the key shows a disc instead.
        s += " with dots" + color + " notitle, NaN with points pt 7 ps 1.5" + color + title;
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

// The temporary file beside path: ".NAME.XXXXXX" in the same folder, so
// that the rename stays within one file system.
std::string temp_beside(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t name = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, name) + "." + path.substr(name) + ".XXXXXX";
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

PlotWriter::PlotWriter(const PlotLayout& layout, std::string path)
    : layout_(layout), path_(std::move(path)) {
  const std::optional<PlotFormat> format = plot_format(path_);
  if (!format) {
    error_ = "--plot: the file name must end in .svg or .png, got " + quote_token(path_);
    return;
  }
  gnuplot_ = find_gnuplot();
  if (gnuplot_.empty()) {
    error_ = "--plot: gnuplot is not installed (Debian package " + std::string(kPackage) +
             "); no picture drawn";
    return;
  }
  struct stat target {};
  const bool exists = stat(path_.c_str(), &target) == 0;
  if (exists && S_ISDIR(target.st_mode)) {
    error_ = "--plot: cannot write " + quote_token(path_) + ": " + std::strerror(EISDIR);
    return;
  }
  signals_ = std::make_unique<PlotSignals>();
  // The handler is told of the file as soon as it exists.
  const SignalHold hold;
  temp_path_ = temp_beside(path_);
  file_ = mkostemp(temp_path_.data(), O_CLOEXEC);
  if (file_ < 0) {
    error_ = "--plot: cannot write " + quote_token(path_) + ": " + std::strerror(errno);
    return;
  }
  temp_made_ = true;
  PlotSignals::watch_file(temp_path_.c_str());
  // The picture gets the mode of the file it replaces, or the one a new file
  // would get.
  mode_t mode = 0;
  if (exists && S_ISREG(target.st_mode)) {
    mode = target.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(file_, mode);
  thinning_ = std::make_unique<PlotThinning>(layout_,
                                             [this](std::span<const PlotField> row) { send(row); });
  buf_ = script_head(layout_, *format);
}

// Starts gnuplot, once the table is done: the rows kept by then are few,
// and the memory the command computed with is given back before gnuplot
// takes its own.  False, with the error set, when it cannot be started.
bool PlotWriter::start() {
  int in[2], err[2];
  if (pipe2(in, O_CLOEXEC) != 0) {
    fail(std::string("cannot make a pipe: ") + std::strerror(errno));
    return false;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    close(in[0]), close(in[1]);
    fail(std::string("cannot make a pipe: ") + std::strerror(errno));
    return false;
  }
  // The handler is told of gnuplot before any signal can come.
  const SignalHold hold;
  const int spawned = spawn_gnuplot(gnuplot_, in[0], file_, err[1], pid_);
  close(file_), close(in[0]), close(err[1]);
  file_ = -1;
  to_gnuplot_ = in[1];
  from_gnuplot_ = err[0];
  if (spawned != 0) {
    pid_ = -1;
    fail("cannot start " + gnuplot_ + ": " + std::strerror(spawned) + " (Debian package " +
         std::string(kPackage) + ")");
    return false;
  }
  PlotSignals::watch_child(pid_);
  fcntl(from_gnuplot_, F_SETFL, O_NONBLOCK);
  return true;
}

PlotWriter::~PlotWriter() {
  // Not finished (the command stopped half-way): no picture.
  if (pid_ > 0) {
    const SignalHold hold;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    PlotSignals::watch_child(0);
    pid_ = -1;
  }
  fail("");
  if (file_ >= 0) close(file_);
  if (to_gnuplot_ >= 0) close(to_gnuplot_);
  if (from_gnuplot_ >= 0) close(from_gnuplot_);
}

// Sets the error (the first one stays) and removes the temporary file.
void PlotWriter::fail(std::string why) {
  if (error_.empty() && !why.empty()) error_ = "--plot: " + std::move(why);
  if (!temp_made_) return;
  const SignalHold hold;
  unlink(temp_path_.c_str());
  PlotSignals::watch_file(nullptr);
  temp_made_ = false;
}

// One row as text for gnuplot; an empty row ends a data set.
void PlotWriter::send(std::span<const PlotField> row) {
  if (row.empty()) buf_ += '\n';  // two blank lines in a row
  for (size_t i = 0; i < row.size(); ++i) {
    if (i > 0) buf_ += ' ';
    char digits[40];
    const auto end = row[i].whole
                         ? std::to_chars(digits, digits + sizeof digits, row[i].whole_value).ptr
                         : std::to_chars(digits, digits + sizeof digits, row[i].real,
                                         std::chars_format::general, 12)
                               .ptr;
    buf_.append(digits, static_cast<size_t>(end - digits));
  }
  buf_ += '\n';
  if (buf_.size() >= kChunk && pid_ > 0) flush();
}

void PlotWriter::whole(uint64_t v) {
  PlotField f;
  f.whole = true;
  f.whole_value = v;
  row_.push_back(f);
}

void PlotWriter::field(double v) {
  PlotField f;
  f.real = v;
  row_.push_back(f);
}

void PlotWriter::end_row() {
  if (thinning_) thinning_->add(row_);
  row_.clear();
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

// Waits for gnuplot to end.  It is reaped only with the signals held, so
// that the handler never kills a process id already given back.
int PlotWriter::end_child() {
  siginfo_t info{};
  while (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
  const SignalHold hold;
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  PlotSignals::watch_child(0);
  pid_ = -1;
  return status;
}

int PlotWriter::finish() {
  if (failed() || !start()) return 1;
  thinning_->finish();
  buf_ += "EOD\n";
  buf_ += plot_command(layout_, *thinning_);
  flush();
  if (to_gnuplot_ >= 0) close(to_gnuplot_);
  to_gnuplot_ = -1;
  drain_errors(true);
  const int status = end_child();
  struct stat st {};
  const bool drawn = stat(temp_path_.c_str(), &st) == 0 && st.st_size > 0;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && drawn) {
    const SignalHold hold;
    if (rename(temp_path_.c_str(), path_.c_str()) == 0) {
      PlotSignals::watch_file(nullptr);
      temp_made_ = false;
      return 0;
    }
    fail("cannot write '" + path_ + "': " + std::strerror(errno));
    return 1;
  }
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
