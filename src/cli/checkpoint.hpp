// The checkpoint file of a range command run in chunks (--checkpoint FILE):
// a header line naming the job, then one line per finished chunk holding
// its result, each appended by one write and made durable by fsync before
// the next chunk is counted as done.  A rerun of the same job reads the file
// back and skips the chunks it holds; a run killed at any moment loses at
// most the chunks it was computing.
//
//   ntbench checkpoint: twins --count 0 1000000000 --chunk 976563
//   chunk 0 4 3 999983 6f4c0e3a9b1d2c55
//   chunk 1 ...
//
// A chunk line ends in the FNV-1a hash (16 hex digits) of the text before
// it, so a line torn by a crash (no line end, or a hash that does not
// match) is found on loading: it and everything after it are dropped and the
// file is cut back to the last good line before anything is appended.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ntb::cli {

// Why a checkpoint cannot be used or written: the line for standard error
// (without "ntbench: ") and the exit status, 2 when the file cannot serve
// this run (cannot be opened or created, holds another run, is in use), 1
// for a fault while reading or writing it.
struct CheckpointProblem {
  std::string message;
  int status;
};

class Checkpoint {
 public:
  // Opens or creates `path` for the job named `job` (one line's text) cut
  // into `chunks` chunks, and reads back the chunks it holds.  An empty
  // file, or one holding only a torn header, is started afresh.  Throws
  // CheckpointProblem.
  Checkpoint(std::string path, std::string_view job, uint64_t chunks);
  ~Checkpoint();
  Checkpoint(const Checkpoint&) = delete;
  Checkpoint& operator=(const Checkpoint&) = delete;

  // done()[i] is true for the chunks whose results the file holds.
  const std::vector<bool>& done() const { return done_; }
  // The result of a chunk the file holds, read back from it.
  std::string result(uint64_t chunk) const;
  // Appends the result of a finished chunk and syncs it to the disk.
  void append(uint64_t chunk, std::string_view result);

  const std::string& path() const { return path_; }

 private:
  struct Place {
    uint64_t offset = 0;
    uint64_t length = 0;
  };
  void load(std::string_view job);
  void write_all(std::string_view bytes);
  CheckpointProblem fault(int error_number) const;

  std::string path_;
  int fd_ = -1;
  std::vector<bool> done_;
  std::vector<Place> places_;  // where each held result lies in the file
};

// The line a checkpoint holds for a chunk's result, with its line end.
std::string checkpoint_line(uint64_t chunk, std::string_view result);

}  // namespace ntb::cli
