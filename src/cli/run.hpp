// The command line run: a parsed Request turned into its answer, on the
// process's own channels or, for the tests and the fuzzer, in memory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/chunk_runner.hpp"
#include "cli/request.hpp"

namespace ntb::cli {

// Help, version, a usage error or a command (not the workbench), on standard
// output and error; the exit status.
int run_process(const Request& r);

// The same with the range commands' chunks computed by `runner`
// (chunk_runner.hpp), for ntbench-mpi, whose every process calls it with
// the same request.  A process where runner.writes_answer() is false writes
// nothing at all, on standard output or error: it computes the chunks of a
// command that runs in chunks and skips any other command; its status is
// that of the writer for a usage error, else 0.
int run_process(const Request& r, ChunkRunner& runner);

// The whole command line from argv (without the program name), standard
// input from `in`, standard output and error appended to out and err; the
// exit status.  The workbench is not run here: no command gives -1.
int run_in_memory(const std::vector<std::string>& args, std::string_view in, std::string& out,
                  std::string& err);

}  // namespace ntb::cli
