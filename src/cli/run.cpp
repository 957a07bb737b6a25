// The run of a parsed command line: help, version, a usage error, or the
// row's function of the command; the one place where output failures end
// the run.
#include "cli/run.hpp"

#include <csignal>
#include <cstdio>
#include <cstring>

#include "cli/command.hpp"
#include "cli/completion.hpp"
#include "cli/help.hpp"
#include "cli/parser.hpp"
#include "numtheory/standard_descriptors.hpp"

namespace ntb::cli {

void Channels::error(std::string_view line) {
  if (err != nullptr) {
    err->append(line);
    err->push_back('\n');
    return;
  }
  std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

namespace {

int answer(const Request& r, Channels& io) {
  switch (r.outcome) {
    case Outcome::kHelp:
      io.out.raw(help_text(r.topic));
      return 0;
    case Outcome::kVersion:
      io.out.raw(version_text());
      return 0;
    case Outcome::kCompletion:
      io.out.raw(bash_completion_script());
      return 0;
    case Outcome::kError:
      io.error(r.error);
      return 2;
    case Outcome::kCommand:
      return r.command->run(r, io);
    case Outcome::kWorkbench:
      break;
  }
  return -1;
}

// Runs the command and writes what is left; a reader that went away ends
// the run quietly, any other write failure with a message and status 1.
int run_with(const Request& r, Channels& io) {
  try {
    const int status = answer(r, io);
    io.out.flush();
    return status;
  } catch (const OutputClosed&) {
    return 141;  // what the shell shows for a process ended by SIGPIPE
  } catch (const OutputError& e) {
    io.error(std::string("ntbench: standard output: ") + std::strerror(e.error_number));
    return 1;
  }
}

}  // namespace

int run_process(const Request& r) {
  return run_process(r, local_chunk_runner());
}

int run_process(const Request& r, ChunkRunner& runner) {
  if (!runner.writes_answer()) {
    if (r.outcome == Outcome::kError) return 2;
    if (r.outcome != Outcome::kCommand) return 0;
    if (r.command->chunked == nullptr || !r.command->chunked(r)) return 0;
    // The chunks handed to this process; the answer, and any line the
    // command would write, are the writer's.
    std::string discarded_out, discarded_err;
    Output out(r.csv ? Format::kCsv : Format::kText, -1, &discarded_out);
    TokenReader in(std::string_view{});
    Channels io{out, in, &discarded_err, &runner};
    return run_with(r, io);
  }
  // A closed standard descriptor would be taken by the next file opened (a
  // picture's), as it is for the workbench: /dev/null fills it first.
  const std::string closed = open_standard_descriptors();
  if (!closed.empty()) {
    std::fprintf(stderr, "ntbench: %s\n", closed.c_str());
    return 1;
  }
  // A closed pipe ends the process at once, as it ends the other tools of a
  // pipeline; should SIGPIPE stay blocked, the EPIPE check ends it quietly.
  std::signal(SIGPIPE, SIG_DFL);
  const Format format = r.csv ? Format::kCsv : Format::kText;
  // A descriptor closed at the start stays closed to the command (-1):
  // reading standard input or writing the answer fails with EBADF, said on
  // standard error, instead of reading or writing /dev/null unnoticed.
  Output out(format, standard_descriptor_was_closed(1) ? -1 : 1);
  TokenReader in(standard_descriptor_was_closed(0) ? -1 : 0);
  Channels io{out, in, nullptr, &runner};
  return run_with(r, io);
}

int run_in_memory(const std::vector<std::string>& args, std::string_view in, std::string& out,
                  std::string& err) {
  std::vector<const char*> argv{"ntbench"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  const Request r = parse_command_line(static_cast<int>(argv.size()), argv.data());
  if (r.outcome == Outcome::kWorkbench) return -1;
  Output output(r.csv ? Format::kCsv : Format::kText, -1, &out);
  TokenReader reader(in);
  Channels io{output, reader, &err};
  return run_with(r, io);
}

}  // namespace ntb::cli
