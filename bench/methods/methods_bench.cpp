// Timings of the inclusion-exclusion and reverse methods and of the triplet
// elaboration: the engines alone, and the whole commands for N = 2000000
// with print choice 1 over a console that answers every pause at once and
// throws the screen and the log away, so only the computing and the
// formatting of the records are measured.
#include <benchmark/benchmark.h>

#include <deque>
#include <memory>
#include <string>

#include "io/io.hpp"
#include "io/session.hpp"
#include "methods/commands.hpp"
#include "methods/engine/inclusion_terms.hpp"
#include "methods/engine/reverse_rows.hpp"
#include "methods/engine/triplet_data.hpp"
#include "methods/engine/triplet_steps.hpp"
#include "numtheory/tables/tables.hpp"

namespace {

// A copy of the tables as built, for the sessions below.
ntb::Tables& tables() {
  static const auto t = std::make_unique<ntb::Tables>(ntb::tables_as_built());
  return *t;
}

// Answers its script, then an empty line to every further read.
class AnsweringConsole final : public ntb::Console {
 public:
  explicit AnsweringConsole(std::deque<std::string> script) : script_(std::move(script)) {}
  bool read_line(std::string& line) override {
    if (script_.empty()) {
      line.clear();
    } else {
      line = script_.front();
      script_.pop_front();
    }
    return true;
  }
  bool read_key(char& c) override {
    c = '\r';
    return true;
  }
  void run_command(const std::string&) override {}
  void write(std::string_view bytes) override { bytes_ += bytes.size(); }
  void flush() override {}
  size_t bytes_ = 0;

 private:
  std::deque<std::string> script_;
};

class NullLog final : public ntb::LogSink {
 public:
  void write(std::string_view bytes) override { bytes_ += bytes.size(); }
  size_t bytes_ = 0;
};

// One command run for N with print choice `choice`.
template <class F>
void run_command(int32_t n, int32_t choice, int32_t tripmode, F&& command,
                 ntb::TripletData* trip = nullptr, int entry = 0) {
  AnsweringConsole console({std::to_string(n), "", std::to_string(choice), ""});
  NullLog log;
  ntb::Io io(console, log);
  ntb::Session s{io, tables(), trip};
  s.tripmode = tripmode;
  s.store1 = entry == 1;
  s.store2 = entry == 2;
  s.store3 = entry == 3;
  command(s);
  benchmark::DoNotOptimize(console.bytes_ + log.bytes_);
}

struct NoRows final : ntb::ReverseVisitor {
  bool row(const ntb::ReverseRow& r) override {
    benchmark::DoNotOptimize(r.value);
    return true;
  }
  void set_done(int32_t, int32_t, int32_t, int32_t) override {}
};

struct NoTerms final : ntb::InclusionVisitor {
  void set_done(int32_t, int32_t, int32_t) override {}
  void pass(int32_t) override {}
  bool term(const ntb::InclusionTerm& t) override {
    benchmark::DoNotOptimize(t.sr1);
    return true;
  }
};

void BM_ReverseRows(benchmark::State& state) {
  const double N = static_cast<double>(state.range(0));
  NoRows v;
  for (auto _ : state) benchmark::DoNotOptimize(ntb::reverse_rows(N, tables(), v).s1);
}
BENCHMARK(BM_ReverseRows)->Arg(2000000)->Arg(2147483647)->Unit(benchmark::kMillisecond);

void BM_InclusionTerms(benchmark::State& state) {
  const double N = static_cast<double>(state.range(0));
  NoTerms v;
  for (auto _ : state) benchmark::DoNotOptimize(ntb::inclusion_terms(N, tables(), false, v).sr1);
}
BENCHMARK(BM_InclusionTerms)->Arg(2000000)->Arg(100000000)->Unit(benchmark::kMillisecond);

// The commands for N = 2000000, print choice 1: 223 set lines and pauses.
void BM_ReverseCommand(benchmark::State& state) {
  for (auto _ : state) run_command(2000000, 1, 0, [](ntb::Session& s) { ntb::reverse(s); });
}
BENCHMARK(BM_ReverseCommand)->Unit(benchmark::kMillisecond);

void BM_InclusionCommand(benchmark::State& state) {
  for (auto _ : state) run_command(2000000, 1, 0, [](ntb::Session& s) { ntb::inclusion(s); });
}
BENCHMARK(BM_InclusionCommand)->Unit(benchmark::kMillisecond);

// The triplet data of reverse runs for N1 = N2 = 1000000 and N3 = 2000000.
const ntb::TripletData& stored_runs() {
  static const std::unique_ptr<ntb::TripletData> td = [] {
    auto p = std::make_unique<ntb::TripletData>();
    const int32_t ns[3] = {1000000, 1000000, 2000000};
    for (int entry = 1; entry <= 3; ++entry)
      run_command(
          ns[entry - 1], 1, 1, [](ntb::Session& s) { ntb::reverse(s); }, p.get(), entry);
    return p;
  }();
  return *td;
}

// The elaboration's computing: the row count of N2, the rounding, both
// alignments, the blocks of 2, 3, 5 and the three sorts.
void BM_ElaborationSteps(benchmark::State& state) {
  auto td = std::make_unique<ntb::TripletData>();
  for (auto _ : state) {
    state.PauseTiming();
    *td = stored_runs();
    state.ResumeTiming();
    ntb::recover_cnt2(*td);
    ntb::round_combinations(*td);
    ntb::align_to_n3(td->a1, td->comb1, td->cnt1, td->comb3, td->cnt3);
    ntb::align_to_n3(td->a2, td->comb2, td->cnt2, td->comb3, td->cnt3);
    for (const ntb::TripVector* v : {&td->comb1, &td->comb2, &td->comb3}) {
      const ntb::PrimeBlocks b = ntb::prime_blocks(*v);
      benchmark::DoNotOptimize(b.two + b.three + b.five + ntb::leading_nonzero(*v));
    }
    ntb::sort_nonzero_first(td->comb1);
    ntb::sort_nonzero_first(td->comb2);
    ntb::sort_nonzero_first(td->comb3);
    benchmark::DoNotOptimize(td->comb3[1]);
  }
}
BENCHMARK(BM_ElaborationSteps)->Unit(benchmark::kMillisecond);

// For comparison: the alignment as a double loop over the rows, the last
// match winning (about 2.7e8 comparisons for these runs).
void BM_AlignmentPairwise(benchmark::State& state) {
  const ntb::TripletData& src = stored_runs();
  auto work = std::make_unique<ntb::TripVector>();
  for (auto _ : state) {
    for (const auto* p : {&src.comb1, &src.comb2}) {
      const int32_t cnt = p == &src.comb1 ? src.cnt1 : src.cnt2;
      work->fill(0);
      for (int32_t i = 1; i <= src.cnt3; ++i)
        for (int32_t j = 1; j <= cnt; ++j)
          if (src.comb3[i] == (*p)[j]) (*work)[i] = src.a1[j];
      benchmark::DoNotOptimize((*work)[1]);
    }
  }
}
BENCHMARK(BM_AlignmentPairwise)->Unit(benchmark::kMillisecond);

// The whole elaboration, its 3 x 14675 lines formatted to both channels,
// every page stop and pause answered at once.
void BM_ElaborationCommand(benchmark::State& state) {
  auto td = std::make_unique<ntb::TripletData>();
  for (auto _ : state) {
    state.PauseTiming();
    *td = stored_runs();
    state.ResumeTiming();
    run_command(
        0, 0, 1, [](ntb::Session& s) { ntb::elaborate_triplets(s); }, td.get());
  }
}
BENCHMARK(BM_ElaborationCommand)->Unit(benchmark::kMillisecond);

}  // namespace
