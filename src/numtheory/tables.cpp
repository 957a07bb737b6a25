// Builds of y (a sieve of the odd numbers up to 2000601) and yc (the walk of
// the odd numbers against y), the take-out and substitution edits, and the
// binary searches findp and findc.
#include "numtheory/tables.hpp"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace ntb {

namespace {

constexpr int32_t kSieveTop = 2000601;      // the last candidate of the build
constexpr int32_t kOddSlots = kSieveSlots;  // slot j stands for 2j + 1
static_assert(kOddSlots == kSieveTop / 2 + 1);
constexpr int32_t kPattern = 3 * 5 * 7 * 11 * 13;  // period of the pre-sieve, in slots
constexpr int32_t kSegment = 32768;                // slots sieved at a time (fits L1)

// The odd multiples of 3, 5, 7, 11 and 13 over one period, starting at slot 0.
const std::array<uint8_t, kPattern>& presieve_pattern() {
  static const auto pattern = [] {
    std::array<uint8_t, kPattern> p{};
    for (int32_t q : {3, 5, 7, 11, 13})
      for (int32_t j = q / 2; j < kPattern; j += q) p[j] = 1;  // 2j + 1 = q, 3q, 5q, ...
    return p;
  }();
  return pattern;
}

// Sieve of Eratosthenes over the odd numbers 1..2000601, one segment of
// slots at a time so that every store stays in the first-level cache: the
// small primes come from a repeating pattern, the primes 17..1414 are
// crossed off from where the last segment left them.
class OddSieve {
 public:
  OddSieve() {
    for (int32_t p = 17; p * p <= kSieveTop; p += 2) {
      bool prime = true;
      for (int32_t d = 3; d * d <= p && prime; d += 2) prime = p % d != 0;
      if (prime) {
        primes_[count_] = p;
        next_[count_++] = p * p / 2;
      }
    }
  }
  // flags[i] = 1 when 2(lo + i) + 1 is not prime, for the slots lo..hi-1;
  // segments must come in order.
  void segment(int32_t lo, int32_t hi, uint8_t* flags) {
    const auto& pattern = presieve_pattern();
    for (int32_t j = lo; j < hi;) {
      const int32_t off = j % kPattern;
      const int32_t n = std::min(kPattern - off, hi - j);
      std::memcpy(flags + (j - lo), pattern.data() + off, n);
      j += n;
    }
    if (lo == 0) flags[0] = 1;           // 1 is not prime
    for (int32_t q : {3, 5, 7, 11, 13})  // the pattern's own primes
      if (q / 2 >= lo && q / 2 < hi) flags[q / 2 - lo] = 0;
    for (int32_t k = 0; k < count_; ++k) {
      int32_t j = next_[k];
      const int32_t p = primes_[k];
      for (; j < hi; j += p) flags[j - lo] = 1;
      next_[k] = j;
    }
  }

 private:
  int32_t primes_[256], next_[256], count_ = 0;  // 1414^2 < 2000601 < 1415^2
};

// Appends to out[count + 1 ...] the odd numbers 2j + 1, j in [lo, hi), whose
// bit j of `bits` equals `want`, never writing past out[cap]; returns the
// new count.  Four candidates at a time: all four are stored packed by
// their mask, and the count advances by the mask's population.  lo is a
// multiple of 4.
inline int32_t pack_odd(const uint64_t* bits, int32_t lo, int32_t hi, bool want, int32_t* out,
                        int32_t count, int32_t cap) {
  using v4 = int32_t __attribute__((vector_size(16)));
  static constexpr v4 kOffsets[16] = {{0, 0, 0, 0}, {0, 0, 0, 0}, {2, 0, 0, 0}, {0, 2, 0, 0},
                                      {4, 0, 0, 0}, {0, 4, 0, 0}, {2, 4, 0, 0}, {0, 2, 4, 0},
                                      {6, 0, 0, 0}, {0, 6, 0, 0}, {2, 6, 0, 0}, {0, 2, 6, 0},
                                      {4, 6, 0, 0}, {0, 4, 6, 0}, {2, 4, 6, 0}, {0, 2, 4, 6}};
  static constexpr int8_t kPop[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};
  const uint64_t flip = want ? 0 : ~uint64_t{0};
  int32_t j = lo;
  for (; j + 4 <= hi && count + 4 <= cap; j += 4) {
    const int m = static_cast<int>(((bits[j >> 6] ^ flip) >> (j & 63)) & 15);
    const v4 v = (2 * j + 1) + kOffsets[m];
    std::memcpy(out + count + 1, &v, sizeof v);
    count += kPop[m];
  }
  for (; j < hi; ++j)
    if (((bits[j >> 6] >> (j & 63)) & 1) == want && count < cap) out[++count] = 2 * j + 1;
  return count;
}

// Packs the byte flags of one segment (lo a multiple of 64) into bits.
inline void flags_to_bits(const uint8_t* flags, int32_t lo, int32_t hi, uint64_t* bits) {
  for (int32_t j = lo; j < hi; j += 64) {
    uint64_t w = 0;
    const int32_t n = std::min(64, hi - j);
    for (int32_t i = 0; i < n; i += 8) {
      uint64_t b;  // eight flags of 0 or 1: gather their low bits into one byte
      std::memcpy(&b, flags + (j - lo) + i, 8);
      if (n - i < 8) b &= (uint64_t{1} << (8 * (n - i))) - 1;
      w |= ((b * 0x0102040810204080ULL) >> 56) << i;
    }
    bits[j >> 6] = w;
  }
}

// Binary search over slots 1..size: entries not above x on an ascending table.
inline int32_t search(int32_t x, const int32_t* table, int32_t size) {
  int32_t lo = 1, hi = size, mid = 0;
  do {
    mid = (lo + hi) / 2;
    const int32_t v = table[mid];
    if (v < x) {
      lo = mid + 1;
    } else if (v > x) {
      hi = mid - 1;
    } else {
      break;
    }
  } while (hi >= lo);
  if (table[mid] > x) --mid;
  return mid;
}

// A stamp no other content of y has had in this process.
uint64_t next_stamp() {
  static uint64_t last = 0;
  return ++last;
}

}  // namespace

namespace {
constexpr size_t kHuge = size_t{2} << 20;
constexpr size_t kMapped = (sizeof(Tables) + kHuge - 1) / kHuge * kHuge + kHuge;
}  // namespace

TablesPtr make_tables() {
  // Over-map by one huge page so that the tables can start on a huge-page
  // boundary, and ask for huge pages: two or three faults instead of a
  // thousand.
  void* p = ::mmap(nullptr, kMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  const uintptr_t base = (reinterpret_cast<uintptr_t>(p) + kHuge - 1) / kHuge * kHuge;
  ::madvise(reinterpret_cast<void*>(base), kMapped - kHuge, MADV_HUGEPAGE);
  // Fresh anonymous memory is zero: every slot starts at 0.
  Tables* t = new (reinterpret_cast<void*>(base)) Tables;
  t->mapping = p;
  return TablesPtr(t);
}

void TablesRelease::operator()(Tables* t) const {
  // Tables is trivially destructible; the mapping goes back whole.
  ::munmap(t->mapping, kMapped);
}

const Tables& tables_as_built() {
  static const TablesPtr t = [] {
    TablesPtr p = make_tables();
    build_y(*p);
    build_yc(*p, 0, 0, 0);
    return p;
  }();
  return *t;
}

void build_y(Tables& t) {
  // Every odd prime 3..2000597 in order into slots 2..148977; the slots
  // above keep what they held.
  OddSieve sieve;
  uint8_t flags[kSegment + 8] = {};
  for (int32_t lo = 0; lo < kOddSlots; lo += kSegment) {
    const int32_t hi = std::min(lo + kSegment, kOddSlots);
    sieve.segment(lo, hi, flags);
    flags_to_bits(flags, lo, hi, t.odd_composite.data());
  }
  t.y[1] = 2;
  pack_odd(t.odd_composite.data(), 0, kOddSlots, false, t.y.data(), 1, kYFilled);
  bool tail_clear = true;
  for (int32_t i = kYFilled + 1; i <= kYSize; ++i) tail_clear = tail_clear && t.y[i] == 0;
  t.y_pristine = tail_clear;
  t.version = next_stamp();
}

void build_yc(Tables& t, int32_t no2357, int32_t kpos, int32_t store3) {
  const int32_t start = (store3 == 1 || (no2357 == 1 && kpos == 1)) ? 0 : 1;
  if (t.y_pristine && start == 1) {
    // With y as built the walk stores exactly the odd composites 9..1999999:
    // take them from the build's sieve (the walk starts at 3, so the bit of
    // 1 is cleared while they are taken).  Slot 851068 keeps its value.
    const uint64_t first = t.odd_composite[0];
    t.odd_composite[0] &= ~uint64_t{1};
    t.yc_count =
        pack_odd(t.odd_composite.data(), 0, kWalkTop / 2 + 1, true, t.yc.data(), 0, kYcSize - 1);
    t.odd_composite[0] = first;
    t.yc_pristine = t.yc[kYcSize] == 0;
    return;
  }
  int32_t i = start;
  int32_t count = 0;
  for (int32_t x = 3; x <= kWalkTop; x += 2) {
    ++i;
    // Only a table whose every slot matched could take i past kYSize.
    if (i <= kYSize && t.y[i] == x) continue;
    ++count;
    if (count <= kYcSize) t.yc[count] = x;  // values past the table are dropped
    --i;
  }
  t.yc_count = count;
  t.yc_pristine = false;
}

void take_out(Tables& t, int32_t p) {
  t.y[p] = kMarker;
  std::sort(t.y.begin() + 1, t.y.begin() + 1 + kYSorted);
  t.y_pristine = false;
  t.version = next_stamp();
}

void substitute(Tables& t, int32_t i, int32_t v) {
  t.y[i] = v;
  t.y_pristine = false;
  t.version = next_stamp();
}

int32_t findp(int32_t& x, const Tables& t) {
  return x = search(x, t.y.data(), kYSize);
}
int32_t findc(int32_t& x, const Tables& t) {
  return x = search(x, t.yc.data(), kYcSize);
}

}  // namespace ntb
