// The prime-pair and mixed-pair listings of one even N.  The mixed listing
// also gathers the larger members of the composite pairs: walking the
// primes p upward, the partners N - p that are not prime fall, and every
// odd number strictly between two successive such partners is either a
// prime's partner that is itself prime (skipped: it is prime) or the member
// of a pair with no prime at all.  Below N/2 the members repeat, so the
// gaps are only read while the upper partner lies above N/2.
#include "goldbach/engine/engines.hpp"

namespace ntb {

bool prime_pair_listing(int32_t N, const Counts& c, const PairRow& row) {
  int32_t running = 0;
  const int32_t last = c.primes_upto(N / 2);
  for (int32_t k = 2; k <= last; ++k) {
    const int32_t p = c.y(k);
    const int32_t q = N - p;
    if (!c.is_prime(q)) continue;
    ++running;
    if (!row(running, q, p)) return false;
  }
  return true;
}

namespace {

// The odd non-primes v = top - 2, top - 4, ..., top - 2 * steps; values
// below 3 are no members of a pair (only an edited table can lead there).
void record_gap(int64_t top, int64_t steps, const Counts& c, CompositeBuffer& buf) {
  for (int64_t j = 1; j <= steps; ++j) {
    const int64_t v = top - 2 * j;
    if (v < 3) break;
    if (!c.is_prime(static_cast<int32_t>(v))) buf.push(static_cast<int32_t>(v));
  }
}

}  // namespace

bool mixed_pair_listing(int32_t N, const Counts& c, CompositeBuffer& buf, const PairRow* row) {
  buf.clear();
  int32_t running = 0;
  int64_t prev = 0, cur = 0;  // the previous and the current mixed partner
  const int64_t half = N / 2;
  int32_t last = c.primes_upto(N);
  if (c.y(last) == N - 1) --last;  // the prime N - 1 would pair with 1
  for (int32_t k = 2; k <= last; ++k) {
    const int32_t p = c.y(k);
    const int32_t partner = N - p;
    if (!c.is_prime(partner)) {
      ++running;
      cur = partner;
      if (row && !(*row)(running, partner, p)) return false;
      const int64_t gap = prev - cur;
      if (gap > 2 && prev > half) record_gap(prev, gap / 2 - 1, c, buf);
    }
    prev = cur;
  }
  if (prev >= half) record_gap(prev, (prev - half) / 2, c, buf);
  return true;
}

}  // namespace ntb
