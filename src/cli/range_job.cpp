// The run of a range command in chunks: the chunk length, the checkpoint
// opened and read back, the chunks it lacks computed through the runner,
// and every chunk's line merged in chunk order as soon as the ones before
// it are in (a line that comes early waits), so that a listing streams.
#include "cli/range_job.hpp"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>

#include "cli/checkpoint.hpp"
#include "cli/progress.hpp"
#include "numtheory/decimal_digits.hpp"
#include "numtheory/goldbach/wheel_windows.hpp"

namespace ntb::cli {

ChunkPlan::ChunkPlan(uint64_t a_, uint64_t b_, uint64_t length_)
    : a(a_), b(b_), length(length_), chunks(chunk_count(a_, b_, length_)) {}

uint64_t default_chunk_length(uint64_t a, uint64_t b, uint64_t top, unsigned processes) {
  const uint64_t pieces = std::max<uint64_t>(1024, uint64_t{8} * processes);
  const uint64_t even_share = (b - a) / pieces + 1;
  const uint64_t least = std::max<uint64_t>(uint64_t{1} << 30, 64 * isqrt_u64(top));
  return std::max(even_share, least);
}

CommandOption checkpoint_option() {
  return {"--checkpoint",
          "keep finished chunks in FILE; a rerun resumes from it",
          CommandOption::Kind::kText,
          {"FILE"}};
}

CommandOption chunk_option() {
  return {"--chunk",
          "chunk length (default: 1024 chunks, 2^30 at least)",
          CommandOption::Kind::kNumber,
          {"S", 1, UINT64_MAX}};
}

std::string chunk_usage_error(const Request& r, bool chunked, std::string_view refused, uint64_t a,
                              uint64_t b) {
  if (!r.flag("--checkpoint") && !r.flag("--chunk")) return "";
  if (!chunked) return std::string(refused);
  if (r.flag("--checkpoint") && r.text("--checkpoint").empty())
    return "the checkpoint's file name is empty";
  if (const auto s = r.value("--chunk")) {
    const uint64_t chunks = chunk_count(a, b, static_cast<uint64_t>(*s));
    if (chunks > kMostChunks)
      return "--chunk " + decimal_string(*s) + " cuts " + std::to_string(a) + ".." +
             std::to_string(b) + " into " + std::to_string(chunks) + " chunks, more than " +
             std::to_string(kMostChunks);
  }
  return "";
}

ChunkRunner& runner_of(const Channels& io) {
  return io.runner != nullptr ? *io.runner : local_chunk_runner();
}

bool runs_in_chunks(const Request& r, const Channels& io) {
  return r.flag("--checkpoint") || r.flag("--chunk") || &runner_of(io) != &local_chunk_runner();
}

std::string job_name(const Request& r, std::initializer_list<std::string_view> result_options) {
  std::string name(r.command->name);
  for (const std::string_view o : result_options)
    if (r.flag(o)) name += ' ' + std::string(o);
  for (const Whole n : r.numbers) name += ' ' + decimal_string(n);
  return name;
}

namespace {

// Hands the lines to the merge in chunk order: those of the checkpoint are
// read back from it when their turn comes, computed ones wait for theirs.
class InOrder {
 public:
  InOrder(const RangeJob& job, const std::vector<bool>& done, const Checkpoint* checkpoint,
          uint64_t chunks)
      : job_(job), done_(done), checkpoint_(checkpoint), chunks_(chunks) {}

  void add(uint64_t i, std::string_view line) {
    waiting_.emplace(i, std::string(line));
    advance();
  }
  void advance() {
    while (next_ < chunks_) {
      if (!done_.empty() && done_[next_]) {
        job_.merge(checkpoint_->result(next_));
      } else {
        const auto it = waiting_.find(next_);
        if (it == waiting_.end()) return;
        job_.merge(it->second);
        waiting_.erase(it);
      }
      ++next_;
    }
  }
  uint64_t next() const { return next_; }

 private:
  const RangeJob& job_;
  const std::vector<bool>& done_;
  const Checkpoint* checkpoint_;
  uint64_t chunks_;
  uint64_t next_ = 0;
  std::map<uint64_t, std::string> waiting_;
};

}  // namespace

int run_range_job(const Request& r, Channels& io, const RangeJob& job) {
  ChunkRunner& runner = runner_of(io);
  const auto given = r.value("--chunk");
  const uint64_t length = given ? static_cast<uint64_t>(*given)
                                : default_chunk_length(job.a, job.b, job.top, runner.processes());
  const ChunkPlan plan(job.a, job.b, length);
  std::atomic<double> current{0};  // the fraction done of the chunk computed here
  const auto compute = [&](uint64_t i) {
    current.store(0);
    return job.compute(plan.low(i), plan.high(i), &current);
  };
  const auto nothing = [](uint64_t, std::string_view) {};
  if (!runner.writes_answer()) {
    runner.run(plan.chunks, {}, compute, nothing);
    return 0;
  }
  std::optional<Checkpoint> checkpoint;
  std::vector<bool> done;
  if (r.flag("--checkpoint")) {
    try {
      checkpoint.emplace(r.text("--checkpoint"), job.name + " --chunk " + std::to_string(length),
                         plan.chunks);
    } catch (const CheckpointProblem& problem) {
      io.error("ntbench: " + problem.message);
      // Every process enters the run once: with nothing left to compute,
      // the others are released.
      runner.run(plan.chunks, std::vector<bool>(plan.chunks, true), compute, nothing);
      return problem.status;
    }
    done = checkpoint->done();
  }
  InOrder in_order(job, done, checkpoint ? &*checkpoint : nullptr, plan.chunks);
  std::string fault;
  int status = 0;
  {
    std::atomic<uint64_t> finished{
        static_cast<uint64_t>(std::count(done.begin(), done.end(), true))};
    const Progress progress(
        [&] {
          const double part = static_cast<double>(finished.load()) + current.load();
          return std::min(1.0, part / static_cast<double>(plan.chunks));
        },
        status_line_wanted(r));
    try {
      if (job.begin) job.begin();
      in_order.advance();
      runner.run(plan.chunks, done, compute, [&](uint64_t i, std::string_view line) {
        if (checkpoint) checkpoint->append(i, line);
        finished.fetch_add(1);
        in_order.add(i, line);
      });
      // A runner that returned with a chunk missing (a rank lost without an
      // error) must not pass the merged part off as the answer.
      if (in_order.next() < plan.chunks) {
        fault = "ntbench: chunk " + std::to_string(in_order.next()) + " of " +
                std::to_string(plan.chunks) + " was never computed; the answer is incomplete";
        status = 1;
      }
    } catch (const CheckpointProblem& problem) {
      fault = "ntbench: " + problem.message;
      status = problem.status;
    } catch (const ChunkLineError&) {
      fault = "ntbench: " + (checkpoint ? "checkpoint " + checkpoint->path() + ": " : "") +
              "the result of chunk " + std::to_string(in_order.next()) +
              " does not read as one of " + job.name;
      status = 1;
    }
  }
  if (status != 0) io.error(fault);
  return status;
}

uint64_t ResultReader::next() {
  while (!rest_.empty() && rest_.front() == ' ') rest_.remove_prefix(1);
  uint64_t v = 0;
  const auto [end, ec] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), v);
  if (ec != std::errc() || end == rest_.data()) throw ChunkLineError{};
  rest_.remove_prefix(static_cast<size_t>(end - rest_.data()));
  return v;
}

ResultWriter& ResultWriter::operator<<(uint64_t v) {
  if (!text_.empty()) text_ += ' ';
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  text_.append(digits, end);
  return *this;
}

}  // namespace ntb::cli
