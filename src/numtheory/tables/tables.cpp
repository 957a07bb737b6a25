// Builds of y (a sieve on the wheel of 30 up to 2000601) and yc (the walk of
// the odd numbers against y, or, while y is as built, the odd composites
// straight from the sieve), the take-out and substitution edits, and the
// binary searches findp and findc.
#include "numtheory/tables/tables.hpp"

#include <sys/mman.h>

#include <algorithm>
#include <new>

#include "numtheory/sieve/wheel_sieve.hpp"

namespace ntb {

namespace {

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
  // 2, 3 and 5, then every prime 7..2000597 from the sieve, in order, into
  // slots 1..148977; the slots above keep what they held.
  static_assert(wheel_bytes(kSieveTop) == kSieveBytes);
  wheel_sieve(t.sieve.data(), kSieveTop);
  t.y[1] = 2;
  t.y[2] = 3;
  t.y[3] = 5;
  wheel_primes(t.sieve.data(), kSieveTop, t.y.data(), 3, kYFilled);
  bool tail_clear = true;
  for (int32_t i = kYFilled + 1; i <= kYSize; ++i) tail_clear = tail_clear && t.y[i] == 0;
  t.y_pristine = tail_clear;
  t.version = next_stamp();
}

void build_yc(Tables& t, int32_t no2357, int32_t kpos, int32_t store3) {
  const int32_t start = (store3 == 1 || (no2357 == 1 && kpos == 1)) ? 0 : 1;
  if (t.y_pristine && start == 1) {
    // With y as built the walk stores exactly the odd composites 9..kWalkTop:
    // take them from the build's sieve.  Slot 851068 keeps its value.
    t.yc_count = wheel_odd_composites(t.sieve.data(), kWalkTop, t.yc.data(), 0, kYcSize - 1);
    t.yc_pristine = t.yc[kYcSize] == 0;
    return;
  }
  // The walk steps x over the odd numbers and i over y, i only on a match:
  // while entry i + 1 is an odd number from x to the end of the walk, the odd
  // numbers below it are stored and it is matched; once it is not, it is
  // never matched, and every odd number left is stored.  Values past the
  // table are counted and dropped.
  int32_t i = start;
  int32_t count = 0;
  auto store_below = [&](int32_t x, int32_t end) {  // x, x + 2, ... below end
    const int32_t n = (end - x) / 2;
    const int32_t kept = std::max(0, std::min(n, kYcSize - count));
    for (int32_t k = 0; k < kept; ++k) t.yc[count + 1 + k] = x + 2 * k;
    count += n;
  };
  int32_t x = 3;
  for (;; ++i) {
    const int32_t v = i < kYSize ? t.y[i + 1] : 0;
    if (v < x || v > kWalkTop || (v - x) % 2 != 0) break;
    store_below(x, v);
    x = v + 2;
  }
  store_below(x, kWalkTop + 2);
  t.yc_count = count;
  t.yc_pristine = false;
}

void take_out(Tables& t, int32_t p) {
  t.y[p] = kMarker;
  // The first 148500 slots in ascending order.  When the others already are
  // (always, but after a substitution), the marker only moves to its place.
  int32_t* const first = t.y.data() + 1;
  int32_t* const end = first + kYSorted;
  if (p > kYSorted) {
    if (!std::is_sorted(first, end)) std::sort(first, end);
  } else if (int32_t* const at = first + (p - 1);
             std::is_sorted(first, at) && std::is_sorted(at + 1, end) &&
             (at == first || at + 1 == end || at[-1] <= at[1])) {
    if (at == first || at[-1] <= kMarker)
      std::rotate(at, at + 1, std::upper_bound(at + 1, end, kMarker));
    else
      std::rotate(std::upper_bound(first, at, kMarker), at, at + 1);
  } else {
    std::sort(first, end);
  }
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
