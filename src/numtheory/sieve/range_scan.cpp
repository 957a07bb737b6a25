// The scan of scan_prime_range.  Each thread owns a slice [lo, end) of the
// range and walks it with its own PrimeBlocks (one start-up sieve of the
// primes up to sqrt(b) per slice, about two seconds of work near 2^64, which
// is why slices are long and the threads few for short ranges).  Ownership
// is shared under one mutex by two marks: `claimed`, below which every
// number is the owner's, and `end`.  The owner moves `claimed` ahead a step
// at a time before it tallies the primes of a block that pass it; a thread
// with no work left lowers the `end` of the slice with the most unclaimed
// numbers to the middle of that part and walks the upper half as a slice of
// its own.  The owner re-reads `end` at each claim and never tallies a prime
// at or past it, so every prime is tallied exactly once.  The finished
// pieces are joined in ascending order at the end, with the gap across
// each border between two pieces that hold primes.
//
// Low down (b up to 2^46), where the primes are dense and the start-up sieve
// cheap, a scan that only counts primes or twins claims a chunk of about
// 1024 sqrt(b) numbers at a time and hands it whole to libprimesieve's
// counters: they count the bits of the sieve instead of listing the primes,
// some 15% faster.  A chunk's twins are the pairs (p, p + 2) with p in it.
#include "numtheory/sieve/range_scan.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <primesieve.hpp>
#include <span>
#include <thread>

#include "numtheory/decimal_digits.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/sieve/prime_blocks.hpp"
#include "numtheory/sieve/sieve_settings.hpp"
#include "numtheory/threads.hpp"

namespace ntb {

namespace {

// Gaps up to this width past g1 are tallied in tables; wider ones (none
// occurs below 2^64, where the largest gap between consecutive primes is
// 1550) in a map, so that no gap is ever out of reach.
constexpr uint64_t kTableWidth = 2048;

// The gap tally of one piece: four tables used in turn, so that runs of the
// same gap do not wait on one counter's previous increment.
class GapTally {
 public:
  GapTally(uint64_t g1, uint64_t g2)
      : g1_(g1), g2_(g2), width_(g1 <= g2 ? std::min(g2 - g1, kTableWidth - 1) + 1 : 0) {
    for (auto& t : tables_) t.assign(width_, 0);
  }

  bool empty_window() const { return width_ == 0; }

  void add(uint64_t gap) {
    const uint64_t d = gap - g1_;
    if (gap >= g1_ && d < width_)
      ++tables_[0][d];
    else if (gap >= g1_ && gap <= g2_)
      ++wide_[gap];
  }

  // The gaps from prev to primes[0] and between the primes of the block.
  void add_block(uint64_t prev, std::span<const uint64_t> primes) {
    const uint64_t* p = primes.data();
    const size_t n = primes.size();
    uint64_t* t0 = tables_[0].data();
    uint64_t* t1 = tables_[1].data();
    uint64_t* t2 = tables_[2].data();
    uint64_t* t3 = tables_[3].data();
    uint64_t q = prev;
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
      const uint64_t before = q;
      const uint64_t d0 = p[i] - q - g1_;
      const uint64_t d1 = p[i + 1] - p[i] - g1_;
      const uint64_t d2 = p[i + 2] - p[i + 1] - g1_;
      const uint64_t d3 = p[i + 3] - p[i + 2] - g1_;
      q = p[i + 3];
      if ((d0 < width_) & (d1 < width_) & (d2 < width_) & (d3 < width_)) [[likely]] {
        ++t0[d0];
        ++t1[d1];
        ++t2[d2];
        ++t3[d3];
      } else {
        add(p[i] - before);
        add(p[i + 1] - p[i]);
        add(p[i + 2] - p[i + 1]);
        add(p[i + 3] - p[i + 2]);
      }
    }
    for (; i < n; ++i) {
      add(p[i] - q);
      q = p[i];
    }
  }

  // Adds this tally into total (element i for the gap g1 + i).
  void add_to(std::vector<uint64_t>& total, std::map<uint64_t, uint64_t>& wide) const {
    if (total.size() < width_) total.resize(width_, 0);
    for (const auto& t : tables_)
      for (uint64_t i = 0; i < width_; ++i) total[i] += t[i];
    for (const auto& [gap, n] : wide_) wide[gap] += n;
  }

 private:
  uint64_t g1_, g2_, width_;
  std::array<std::vector<uint64_t>, 4> tables_;
  std::map<uint64_t, uint64_t> wide_;
};

// What a thread found in one piece of the range.
struct Piece {
  uint128 lo = 0;
  uint64_t first = 0, last = 0;  // its first and last prime when primes > 0
  uint64_t primes = 0;
  GapTally gaps;
};

// A piece being walked: [lo, end), the owner's part below claimed.
struct Slice {
  uint128 lo, end, claimed;
  bool finished = false;
};

// How a scan handles its slices: it walks them, or it counts whole chunks.
enum class Counting { kWalk, kPrimeChunks, kTwinChunks };

class Scan {
 public:
  Scan(uint64_t a, uint64_t b, uint64_t g1, uint64_t g2, uint64_t min_slice, Counting counting,
       uint64_t chunk, std::atomic<double>* progress)
      : a_(a),
        b_(b),
        total_(uint128{b} - a + 1),
        g1_(g1),
        g2_(g2),
        min_slice_(min_slice),
        claim_step_(std::clamp<uint64_t>(min_slice / 8, 1, uint64_t{1} << 24)),
        counting_(counting),
        chunk_(chunk),
        progress_(progress) {}

  // Cuts [a, b] into n equal slices, before any thread starts; slice k goes
  // to thread k.
  void cut(int n) {
    for (int k = 0; k < n; ++k) {
      const uint128 lo = a_ + total_ * static_cast<unsigned>(k) / static_cast<unsigned>(n);
      const uint128 hi = a_ + total_ * static_cast<unsigned>(k + 1) / static_cast<unsigned>(n);
      slices_.push_back(Slice{lo, hi, lo});
    }
    for (Slice& s : slices_) first_slices_.push_back(&s);
  }

  // The work of one thread: its slice, then the halves it takes from the
  // others.  The calling thread polls for Ctrl-C; the others only watch
  // stop_, which is set on any error.
  void work(int k, bool caller) {
    Slice* s = first_slices_[static_cast<size_t>(k)];
    while (s != nullptr && !stop_.load(std::memory_order_relaxed)) {
      if (counting_ == Counting::kWalk)
        walk(*s, caller);
      else
        count_chunks(*s, caller);
      s = take_half();
    }
  }

  // A worker thread's work; an exception stops every thread and is kept for
  // the caller.
  void work_guarded(int k) {
    try {
      work(k, false);
    } catch (...) {
      fail(std::current_exception());
    }
  }

  void fail(std::exception_ptr e) {
    const std::lock_guard lock(m_);
    if (!error_) error_ = e;
    stop_ = true;
  }

  // Called by the caller after its own work: waits for the workers, polling
  // for Ctrl-C and showing progress meanwhile.
  void wait_for_workers(int workers) {
    std::unique_lock lock(m_);
    while (finished_workers_ < workers) {
      done_.wait_for(lock, std::chrono::milliseconds(20));
      publish_progress_locked();
      lock.unlock();
      interruption_point();
      lock.lock();
    }
  }

  void worker_finished() {
    const std::lock_guard lock(m_);
    ++finished_workers_;
    done_.notify_all();
  }

  void stop() { stop_ = true; }

  void rethrow_error() {
    if (error_) std::rethrow_exception(error_);
  }

  RangeScan join() {
    std::sort(pieces_.begin(), pieces_.end(),
              [](const Piece& x, const Piece& y) { return x.lo < y.lo; });
    RangeScan r;
    if (counting_ != Counting::kWalk) {
      for (const Piece& p : pieces_) r.primes += p.primes;
      if (counting_ == Counting::kTwinChunks) {
        if (r.primes != 0) r.gaps = {r.primes};
        r.primes = 0;  // not counted
      }
      if (progress_) progress_->store(1.0);
      return r;
    }
    GapTally borders(g1_, g2_);
    std::map<uint64_t, uint64_t> wide;
    uint64_t prev = 0;  // the last prime of the pieces so far, 0 before any
    for (const Piece& p : pieces_) {
      if (p.primes == 0) continue;
      r.primes += p.primes;
      if (prev != 0) borders.add(p.first - prev);
      prev = p.last;
      p.gaps.add_to(r.gaps, wide);
    }
    borders.add_to(r.gaps, wide);
    for (const auto& [gap, n] : wide) {
      const uint64_t i = gap - g1_;
      if (r.gaps.size() <= i) r.gaps.resize(i + 1, 0);
      r.gaps[i] += n;
    }
    while (!r.gaps.empty() && r.gaps.back() == 0) r.gaps.pop_back();
    if (progress_) progress_->store(1.0);
    return r;
  }

 private:
  // Walks the slice from its claimed mark (its lo for a new slice) until its
  // end, which other threads may lower meanwhile.
  void walk(Slice& s, bool caller) {
    uint128 lo, end, claimed;
    {
      const std::lock_guard lock(m_);
      lo = s.lo;
      end = s.end;
      claimed = s.claimed;
    }
    Piece piece{lo, 0, 0, 0, GapTally(g1_, g2_)};
    const bool tally = !piece.gaps.empty_window();
    PrimeBlocks blocks(static_cast<uint64_t>(lo), static_cast<uint64_t>(end - 1));
    for (;;) {
      if (caller) interruption_point();
      if (stop_.load(std::memory_order_relaxed)) return;
      std::span<const uint64_t> block = blocks.next();
      if (block.empty()) break;
      bool last_block = false;
      if (block.back() >= claimed) {
        {
          const std::lock_guard lock(m_);
          s.claimed = std::min(std::max(uint128{block.back()} + 1, claimed + claim_step_), s.end);
          claimed = s.claimed;
          end = s.end;
          if (caller) publish_progress_locked();
        }
        if (block.back() >= end) {
          const auto cut = std::lower_bound(block.begin(), block.end(), end,
                                            [](uint64_t p, uint128 e) { return p < e; });
          block = block.first(static_cast<size_t>(cut - block.begin()));
          last_block = true;
        }
      }
      if (!block.empty()) {
        if (piece.primes == 0) {
          piece.first = block.front();
          if (tally) piece.gaps.add_block(block.front(), block.subspan(1));
        } else if (tally) {
          piece.gaps.add_block(piece.last, block);
        }
        piece.primes += block.size();
        piece.last = block.back();
      }
      if (last_block) break;
    }
    const std::lock_guard lock(m_);
    s.claimed = s.end;
    s.finished = true;
    pieces_.push_back(std::move(piece));
  }

  // Counts the slice a chunk at a time; the piece's count is of primes or
  // of twin pairs, and it needs no first and last prime.
  void count_chunks(Slice& s, bool caller) {
    uint128 lo;
    {
      const std::lock_guard lock(m_);
      lo = s.lo;
    }
    uint64_t count = 0;
    for (;;) {
      if (caller) interruption_point();
      if (stop_.load(std::memory_order_relaxed)) return;
      uint64_t first, last;
      {
        const std::lock_guard lock(m_);
        if (s.claimed >= s.end) {
          s.finished = true;
          pieces_.push_back(Piece{lo, 0, 0, count, GapTally(1, 0)});
          return;
        }
        first = static_cast<uint64_t>(s.claimed);
        s.claimed = std::min(s.claimed + chunk_, s.end);
        last = static_cast<uint64_t>(s.claimed - 1);
        if (caller) publish_progress_locked();
      }
      if (counting_ == Counting::kPrimeChunks)
        count += primesieve::count_primes(first, last);
      else  // the pairs (p, p + 2) with first <= p <= last and p + 2 <= b
        count += primesieve::count_twins(first, std::min(last + 2, b_));
    }
  }

  // The upper half of the unclaimed part of the slice with the most of it,
  // as a new slice for the calling thread; null when no slice has enough
  // left to repay a new start-up sieve.
  Slice* take_half() {
    const std::lock_guard lock(m_);
    if (stop_) return nullptr;
    Slice* best = nullptr;
    uint128 most = 0;
    for (Slice& s : slices_)
      if (!s.finished && s.end - s.claimed > most) {
        most = s.end - s.claimed;
        best = &s;
      }
    if (best == nullptr || most < 2 * uint128{min_slice_}) return nullptr;
    const uint128 mid = best->claimed + most / 2;
    slices_.push_back(Slice{mid, best->end, mid});
    best->end = mid;
    return &slices_.back();
  }

  void publish_progress_locked() {
    if (!progress_) return;
    uint128 done = 0;
    for (const Slice& s : slices_) done += s.claimed - s.lo;
    progress_->store(static_cast<double>(done) / static_cast<double>(total_));
  }

  const uint64_t a_, b_;
  const uint128 total_;
  const uint64_t g1_, g2_;
  const uint64_t min_slice_;
  // A claim covers at least this many numbers: with long slices the owner
  // takes the mutex about once per 2^24 numbers (milliseconds of sieving).
  const uint64_t claim_step_;
  const Counting counting_;
  const uint64_t chunk_;  // the numbers of a chunk when counting chunks
  std::atomic<double>* const progress_;

  std::mutex m_;
  std::condition_variable done_;
  std::deque<Slice> slices_;          // a deque: a slice's address stays put as slices are added
  std::vector<Slice*> first_slices_;  // the slices of cut(), read without the mutex
  std::vector<Piece> pieces_;
  int finished_workers_ = 0;
  std::atomic<bool> stop_{false};
  std::exception_ptr error_;
};

// The least slice worth a thread of its own: long enough that the start-up
// sieve (the primes up to sqrt(b), about the work of sieving sqrt(b) / 2
// numbers near b) is a small part of it.
uint64_t least_slice_for(uint64_t b) {
  const auto root = static_cast<uint64_t>(std::sqrt(static_cast<double>(b)));
  return std::max<uint64_t>(uint64_t{1} << 27, root / 2);
}

// Chunks are counted up to here: past it the start-up sieve of each chunk
// would cost more than the bits save.
constexpr uint64_t kChunkCountingTop = uint64_t{1} << 46;

// The scan; twins_only (with the window [2, 2]) lets it count twins by
// chunks, leaving RangeScan::primes 0.
RangeScan run_scan(uint64_t a, uint64_t b, uint64_t g1, uint64_t g2, int threads,
                   std::atomic<double>* progress, uint64_t least_slice, bool twins_only) {
  if (a > b) {
    if (progress) progress->store(1.0);
    return {};
  }
  const uint64_t min_slice = least_slice != 0 ? least_slice : least_slice_for(b);
  const uint128 width = uint128{b} - a + 1;
  const auto most = static_cast<uint64_t>(std::max<uint128>(1, width / min_slice));
  const int n =
      static_cast<int>(std::min<uint64_t>(most, static_cast<uint64_t>(thread_count_for(threads))));
  Counting counting = Counting::kWalk;
  if (b <= kChunkCountingTop && g1 > g2) counting = Counting::kPrimeChunks;
  if (b <= kChunkCountingTop && twins_only) counting = Counting::kTwinChunks;
  // 1024 sqrt(b) numbers (the start-up then costs about 1%), and shorter
  // ones when the caller asks for short slices.
  const uint64_t chunk =
      least_slice != 0
          ? std::max<uint64_t>(uint64_t{1} << 16, least_slice / 4)
          : std::max<uint64_t>(uint64_t{1} << 28,
                               static_cast<uint64_t>(std::sqrt(static_cast<double>(b))) * 1024);
  const SieveSettings settings(counting != Counting::kWalk);
  Scan scan(a, b, g1, g2, min_slice, counting, chunk, progress);
  scan.cut(n);
  std::vector<std::jthread> workers;
  try {
    for (int k = 1; k < n; ++k)
      workers.emplace_back([&scan, k] {
        scan.work_guarded(k);
        scan.worker_finished();
      });
    scan.work(0, true);
    scan.wait_for_workers(n - 1);
  } catch (...) {
    scan.stop();
    workers.clear();  // joins them: each stops at its next block
    throw;
  }
  workers.clear();
  scan.rethrow_error();
  return scan.join();
}

}  // namespace

RangeScan scan_prime_range(uint64_t a, uint64_t b, uint64_t g1, uint64_t g2, int threads,
                           std::atomic<double>* progress, uint64_t least_slice) {
  return run_scan(a, b, g1, g2, threads, progress, least_slice, false);
}

uint64_t count_primes(uint64_t a, uint64_t b, int threads, std::atomic<double>* progress) {
  return scan_prime_range(a, b, 1, 0, threads, progress).primes;
}

uint64_t count_twins(uint64_t a, uint64_t b, int threads, std::atomic<double>* progress,
                     uint64_t least_slice) {
  const RangeScan r = run_scan(a, b, 2, 2, threads, progress, least_slice, true);
  return r.gaps.empty() ? 0 : r.gaps[0];
}

std::vector<uint64_t> gap_histogram(uint64_t a, uint64_t b, uint64_t g1, uint64_t g2, int threads,
                                    std::atomic<double>* progress) {
  return scan_prime_range(a, b, g1, g2, threads, progress).gaps;
}

}  // namespace ntb
