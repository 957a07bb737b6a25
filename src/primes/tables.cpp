// Builds of y (a sieve of the odd numbers up to 2000601) and yc (the walk of
// the odd numbers against y), the take-out and substitution edits, and the
// binary searches findp and findc.
#include "primes/tables.hpp"

#include <algorithm>
#include <vector>

namespace ntb {

namespace {

constexpr int32_t kSieveTop = 2000601;  // the last candidate of the build

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

}  // namespace

void build_y(Tables& t) {
  // Sieve of Eratosthenes over the odd numbers 3..2000601: slot j stands for 2j+1.
  constexpr int32_t slots = kSieveTop / 2 + 1;
  static std::vector<uint8_t> composite;
  composite.assign(slots, 0);
  for (int32_t j = 1;; ++j) {
    const int64_t p = 2 * j + 1;
    if (p * p > kSieveTop) break;
    if (composite[j]) continue;
    for (int64_t m = p * p; m <= kSieveTop; m += 2 * p) composite[m / 2] = 1;
  }
  int32_t next = 1;
  t.y[next++] = 2;
  for (int32_t j = 1; j < slots; ++j)
    if (!composite[j]) t.y[next++] = 2 * j + 1;
  // next - 1 == kYFilled; slots above it keep what they held.
  bool tail_clear = true;
  for (int32_t i = kYFilled + 1; i <= kYSize; ++i) tail_clear = tail_clear && t.y[i] == 0;
  t.y_pristine = tail_clear;
  ++t.version;
}

void build_yc(Tables& t, int32_t no2357, int32_t kpos, int32_t store3) {
  int32_t i = (store3 == 1 || (no2357 == 1 && kpos == 1)) ? 0 : 1;
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
  t.yc_pristine = t.y_pristine && count == kYcSize - 1 && t.yc[kYcSize] == 0;
}

void take_out(Tables& t, int32_t p) {
  t.y[p] = kMarker;
  std::sort(t.y.begin() + 1, t.y.begin() + 1 + kYSorted);
  t.y_pristine = false;
  ++t.version;
}

void substitute(Tables& t, int32_t i, int32_t v) {
  t.y[i] = v;
  t.y_pristine = false;
  ++t.version;
}

int32_t findp(int32_t& x, const Tables& t) {
  return x = search(x, t.y.data(), kYSize);
}
int32_t findc(int32_t& x, const Tables& t) {
  return x = search(x, t.yc.data(), kYcSize);
}

}  // namespace ntb
