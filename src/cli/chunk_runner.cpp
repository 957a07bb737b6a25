// The local chunk runner: every chunk on this process, in ascending order,
// each on the threads of --threads, its line handed on as soon as it is
// computed (so a checkpoint gets it before the next chunk starts).
#include "cli/chunk_runner.hpp"

#include "numtheory/interrupt.hpp"

namespace ntb::cli {

namespace {

class LocalChunkRunner final : public ChunkRunner {
 public:
  void run(uint64_t chunks, const std::vector<bool>& done,
           const std::function<std::string(uint64_t)>& compute,
           const std::function<void(uint64_t, std::string_view)>& finished) override {
    for (uint64_t i = 0; i < chunks; ++i) {
      if (!done.empty() && done[i]) continue;
      interruption_point();
      const std::string line = compute(i);
      finished(i, line);
    }
  }
  bool writes_answer() const override { return true; }
  unsigned processes() const override { return 1; }
};

}  // namespace

ChunkRunner& local_chunk_runner() {
  static LocalChunkRunner runner;
  return runner;
}

}  // namespace ntb::cli
