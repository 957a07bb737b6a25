// The sieve of Eratosthenes on the wheel of 30, segment by segment, and its
// expansion into tables of primes and of odd composites.
//
// Each segment starts as a copy of the multiples of 7, 11 and 13 (a pattern
// that repeats every 7 * 11 * 13 bytes); the primes from 17 up to the square
// root of the limit then cross off their multiples p * m, m prime to 30 and
// m >= p.  For one residue of m the multiples lie p bytes apart and always
// on the same bit, so each prime runs eight strided loops, and remembers
// where each one stopped for the next segment.
#include "numtheory/sieve/wheel_sieve.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace ntb {

namespace {

constexpr int32_t kSegmentBytes = 32768;  // 983040 numbers a segment, within L1
constexpr int32_t kPatternBytes = 7 * 11 * 13;

// The multiples of 7, 11 and 13 (themselves included) over one period.
constexpr std::array<uint8_t, kPatternBytes> kPattern = [] {
  std::array<uint8_t, kPatternBytes> p{};
  for (int32_t i = 0; i < kPatternBytes; ++i)
    for (int32_t j = 0; j < 8; ++j) {
      const int32_t n = 30 * i + kWheel30[j];
      if (n % 7 == 0 || n % 11 == 0 || n % 13 == 0) p[i] |= uint8_t(1 << j);
    }
  return p;
}();

// For every byte value: the offsets of its numbers that are prime (clear
// bits), and the offsets of its odd numbers 1, 3, ..., 29 that are composite
// (set bits, and the odd multiples of 3 or 5 that have no bit), ascending.
struct Expansion {
  alignas(16) int32_t prime[256][8];
  alignas(16) int32_t composite[256][16];
  uint8_t primes[256];
  uint8_t composites[256];
};

constexpr Expansion kExpansion = [] {
  Expansion e{};
  for (int32_t b = 0; b < 256; ++b) {
    int32_t np = 0, nc = 0;
    for (int32_t o = 1; o < 30; o += 2) {
      const int32_t j = kWheel30Bit[o];
      if (j < 0 || (b >> j & 1)) e.composite[b][nc++] = o;
      if (j >= 0 && !(b >> j & 1)) e.prime[b][np++] = o;
    }
    e.primes[b] = uint8_t(np);
    e.composites[b] = uint8_t(nc);
  }
  return e;
}();

using v4 = int32_t __attribute__((vector_size(16)));

// Writes lanes 4k .. 4k + 3 of an offset row, plus base, at out.
inline void put4(int32_t* out, const int32_t* row, v4 base) {
  v4 v;
  std::memcpy(&v, row, sizeof v);
  v += base;
  std::memcpy(out, &v, sizeof v);
}

// Sets `bit` in composite[b], composite[b + p], ... below hi; returns where
// the next segment goes on.
inline int32_t cross(uint8_t* composite, int32_t b, int32_t hi, int32_t p, uint8_t bit) {
  for (; b < hi - 3 * p; b += 4 * p) {
    composite[b] |= bit;
    composite[b + p] |= bit;
    composite[b + 2 * p] |= bit;
    composite[b + 3 * p] |= bit;
  }
  for (; b < hi; b += p) composite[b] |= bit;
  return b;
}

// A sieving prime and, per residue class of its cofactor, the byte of its
// next multiple.
struct Sieving {
  int32_t p;
  int32_t next[8];
};

}  // namespace

void wheel_sieve(uint8_t* composite, int32_t limit) {
  const int32_t bytes = wheel_bytes(limit);
  std::vector<Sieving> sieving;
  sieving.reserve(256);
  for (int32_t lo = 0; lo < bytes; lo += kSegmentBytes) {
    const int32_t hi = std::min(lo + kSegmentBytes, bytes);
    for (int32_t i = lo; i < hi;) {
      const int32_t off = i % kPatternBytes;
      const int32_t n = std::min(kPatternBytes - off, hi - i);
      std::memcpy(composite + i, kPattern.data() + off, n);
      i += n;
    }
    for (Sieving& s : sieving)
      for (int32_t j = 0; j < 8; ++j)
        s.next[j] = cross(composite, s.next[j], hi, s.p, uint8_t(1 << j));
    if (lo == 0) {
      // 1 is not prime; 7, 11 and 13 are, though the pattern holds them.
      composite[0] = uint8_t((composite[0] | 1) & ~0x0e);
      // The sieving primes, found in order in the first segment: when p is
      // read, every smaller prime has crossed off its multiples from its
      // square on, and those cover every composite below p * p.
      for (int32_t n = 17; int64_t{n} * n <= limit; n += 2) {
        const int32_t j = kWheel30Bit[n % 30];
        if (j < 0 || (composite[n / 30] >> j & 1)) continue;
        Sieving s{n, {}};
        for (int32_t k = 0; k < 8; ++k) {
          const int32_t m = n + (kWheel30[k] - n % 30 + 30) % 30;  // first cofactor >= n
          const int64_t multiple = int64_t{n} * m;
          const int32_t j = kWheel30Bit[multiple % 30];  // one bit for each residue of m
          s.next[j] = cross(composite, int32_t(multiple / 30), hi, n, uint8_t(1 << j));
        }
        sieving.push_back(s);
      }
    }
  }
  // Numbers past the limit in the last byte.
  for (int32_t j = 0; j < 8; ++j)
    if (30 * (bytes - 1) + kWheel30[j] > limit) composite[bytes - 1] |= uint8_t(1 << j);
}

int32_t wheel_primes(const uint8_t* composite, int32_t limit, int32_t* out, int32_t count,
                     int32_t cap) {
  const int32_t bytes = wheel_bytes(limit);
  int32_t i = 0;
  v4 base = {0, 0, 0, 0};
  // Eight lanes a byte, as many bytes as surely fit below cap, then again.
  while (i < bytes) {
    const int32_t run = std::min(bytes - i, (cap - count) / 8);
    if (run <= 0) break;
    int32_t* at = out + count + 1;
    for (const uint8_t* c = composite + i; c < composite + i + run; ++c, base += 30) {
      put4(at, kExpansion.prime[*c], base);
      put4(at + 4, kExpansion.prime[*c] + 4, base);
      at += kExpansion.primes[*c];
    }
    count = int32_t(at - out) - 1;
    i += run;
  }
  for (; i < bytes; ++i) {
    const uint8_t b = composite[i];
    for (int32_t k = 0; k < kExpansion.primes[b]; ++k) {
      const int32_t v = 30 * i + kExpansion.prime[b][k];
      if (v <= limit && count < cap) out[++count] = v;
    }
  }
  return count;
}

int32_t wheel_odd_composites(const uint8_t* composite, int32_t hi, int32_t* out, int32_t count,
                             int32_t cap) {
  const int32_t last = hi / 30;  // the byte that holds hi
  auto one_by_one = [&](int32_t i) {
    const uint8_t b = composite[i];
    for (int32_t k = 0; k < kExpansion.composites[b]; ++k) {
      const int32_t v = 30 * i + kExpansion.composite[b][k];
      if (v >= 9 && v <= hi && count < cap) out[++count] = v;
    }
  };
  one_by_one(0);  // 1, 3 and 5 are not composite
  // The whole bytes up to the last, sixteen lanes a byte, as many bytes as
  // surely fit below cap, then again.
  int32_t i = 1;
  v4 base = {30, 30, 30, 30};
  while (i < last) {
    const int32_t run = std::min(last - i, (cap - count) / 16);
    if (run <= 0) break;
    int32_t* at = out + count + 1;
    for (const uint8_t* c = composite + i; c < composite + i + run; ++c, base += 30) {
      const int32_t* row = kExpansion.composite[*c];
      put4(at, row, base);
      put4(at + 4, row + 4, base);
      put4(at + 8, row + 8, base);
      put4(at + 12, row + 12, base);
      at += kExpansion.composites[*c];
    }
    count = int32_t(at - out) - 1;
    i += run;
  }
  for (; i <= last; ++i) one_by_one(i);
  return count;
}

}  // namespace ntb
