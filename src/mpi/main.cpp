// ntbench-mpi: the long range commands of ntbench (primes --count, twins
// --count, gaps, goldbach N, goldbach-verify) on the ranks of an MPI job,
// `mpirun -n P ntbench-mpi COMMAND ...`.  The command line is read by
// ntbench's own parser and the command run by its own code, with the MPI
// chunk runner in place of the local one, so the answer is byte for byte
// ntbench's.  Rank 0 writes everything (the answer, a usage error, help,
// version); every rank ends with rank 0's status.
#include <mpi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command.hpp"
#include "cli/parser.hpp"
#include "cli/run.hpp"
#include "mpi/mpi_chunk_runner.hpp"

namespace {

// The line of a command line ntbench-mpi does not run; empty when it runs
// it: a command in a form that runs in chunks, help, version, a usage error.
std::string refusal(const ntb::cli::Request& r) {
  using ntb::cli::Outcome;
  if (r.outcome == Outcome::kWorkbench)
    return "ntbench-mpi: give a range command (primes --count, twins, gaps, goldbach N, "
           "goldbach-verify); the workbench runs in ntbench only";
  if (r.outcome != Outcome::kCommand) return {};
  const ntb::cli::Command& c = *r.command;
  if (c.chunked == nullptr) return "ntbench-mpi: " + std::string(c.name) + " runs in ntbench only";
  if (!c.chunked(r))
    return "ntbench-mpi: this form of " + std::string(c.name) +
           " runs in ntbench only (ntbench-mpi runs the forms that take --chunk)";
  return {};
}

void print_stats(const ntb::mpi::MpiChunkRunner& runner) {
  const ntb::mpi::RunnerStats& s = runner.stats();
  const unsigned long long chunks = s.chunks_on_rank0 + s.chunks_on_others;
  std::fprintf(stderr,
               "ntbench-mpi: %u ranks, %llu chunks (%llu on rank 0), %llu messages of %llu bytes "
               "to rank 0, %llu of %llu bytes from rank 0\n",
               runner.processes(), chunks, static_cast<unsigned long long>(s.chunks_on_rank0),
               static_cast<unsigned long long>(s.messages_to_rank0),
               static_cast<unsigned long long>(s.bytes_to_rank0),
               static_cast<unsigned long long>(s.messages_from_rank0),
               static_cast<unsigned long long>(s.bytes_from_rank0));
}

}  // namespace

int main(int argc, char** argv) {
  int provided = 0;
  MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided);
  ntb::mpi::MpiChunkRunner runner;
  if (provided < MPI_THREAD_FUNNELED) {
    if (runner.rank() == 0)
      std::fprintf(stderr, "ntbench-mpi: this MPI library does not allow threads\n");
    MPI_Finalize();
    return 1;
  }
  const ntb::cli::Request request = ntb::cli::parse_command_line(argc, argv);
  int status;
  if (const std::string refused = refusal(request); !refused.empty()) {
    if (runner.rank() == 0) std::fprintf(stderr, "%s\n", refused.c_str());
    status = 2;
  } else {
    // Every rank runs the command: rank 0 hands out the chunks and writes
    // the answer, the others compute and write nothing.
    status = ntb::cli::run_process(request, runner);
    if (runner.rank() == 0 && std::getenv("NTBENCH_MPI_STATS") != nullptr) print_stats(runner);
  }
  status = runner.finish(status);
  MPI_Finalize();
  return status;
}
