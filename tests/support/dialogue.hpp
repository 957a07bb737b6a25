// What the tests of the workbench dialogues share: the texts the workbench
// shows at every prompt and stop, the screen and log lines searched and
// counted, the session transcripts kept under tests/data/sessions, and the
// switch between the quick and the full sweeps.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/files.hpp"
#include "support/scripted_console.hpp"

namespace ntb::testing {

// Full sweeps run everything; quick runs take a sample.
inline bool full_run() {
  return std::getenv("NTBENCH_FULL") != nullptr;
}

// The console pause, the pager's stop and the line of underscores that
// closes a report: 45 on the screen, a blank and 45 in the log.
inline const std::string kPause =
    "Pause - Please enter a blank line (to continue) or a DOS command.";
inline const std::string kStop = "press any key to continue,q to exit";
inline const std::string kRule45(45, '_');
inline const std::string kLogRule = " " + kRule45;

// What the screen shows of one asknum answered with `typed` and confirmed:
// the prompt, the echo in 20 columns and the question.
inline std::string asked(const std::string& typed) {
  std::string echo = typed;
  echo.resize(20, ' ');
  return "enter number   " + echo + "  OK? Yes=any key N/n=no";
}

// Records as the log holds them: each followed by CR LF.
inline std::string crlf(const std::vector<std::string>& records) {
  std::string s;
  for (const auto& r : records) s += r + "\r\n";
  return s;
}

// How many lines are exactly `line`, and whether there is one.
inline int count_of(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}
inline bool has_line(const std::vector<std::string>& lines, const std::string& line) {
  return count_of(lines, line) > 0;
}

// The index of the first line from `from` on that is exactly `line`; -1 when
// there is none.
inline int index_of(const std::vector<std::string>& lines, const std::string& line,
                    size_t from = 0) {
  for (size_t i = from; i < lines.size(); ++i)
    if (lines[i] == line) return static_cast<int>(i);
  return -1;
}

// The lines of tests/data/sessions/<name>, a transcript of what a session
// shows or logs, one record a line, kept with LF line ends.
inline std::vector<std::string> transcript(const std::string& name) {
  return lines_of(file_text(std::string(NTBENCH_TEST_DATA) + "/sessions/" + name));
}

// The same transcript as the session log holds it: every record ended by CR LF.
inline std::string transcript_log(const std::string& name) {
  return crlf(transcript(name));
}

}  // namespace ntb::testing
