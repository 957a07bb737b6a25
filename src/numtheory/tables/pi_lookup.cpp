// The prime count lookup: the bytes of a wheel sieve, inverted, as the words
// of a BitRanks, with 2, 3 and 5 counted before the first.
#include "numtheory/tables/pi_lookup.hpp"

#include <bit>
#include <cstring>
#include <memory>

#include "numtheory/sieve/wheel_sieve.hpp"

namespace ntb {

namespace {

// Words that cover the numbers 0..limit, eight sieve bytes each.
size_t words_for(uint32_t limit) {
  return limit / 240 + 1;
}

}  // namespace

PiLookup::PiLookup(const uint8_t* composite, uint32_t limit) : ranks_(words_for(limit)) {
  fill(composite, limit);
}

PiLookup::PiLookup(uint32_t limit) : ranks_(words_for(limit)) {
  const auto sieve = std::make_unique_for_overwrite<uint8_t[]>(
      static_cast<size_t>(wheel_bytes(static_cast<int32_t>(limit))));
  wheel_sieve(sieve.get(), static_cast<int32_t>(limit));
  fill(sieve.get(), limit);
}

void PiLookup::fill(const uint8_t* composite, uint32_t limit) {
  // Byte k of a word in its bits 8k..8k+7.  The last word may run past the
  // sieve: its missing bytes count as composite.
  const size_t bytes = static_cast<size_t>(wheel_bytes(static_cast<int32_t>(limit)));
  auto word = [](const uint8_t* eight) {
    uint64_t z;
    std::memcpy(&z, eight, 8);
    if constexpr (std::endian::native == std::endian::big) z = __builtin_bswap64(z);
    return ~z;
  };
  const size_t whole = bytes / 8;
  for (size_t w = 0; w < whole; ++w) ranks_.set_word(w, word(composite + 8 * w));
  if (whole < ranks_.size()) {
    uint8_t last[8];
    std::memset(last, 0xff, 8);
    std::memcpy(last, composite + 8 * whole, bytes - 8 * whole);
    ranks_.set_word(whole, word(last));
  }
  ranks_.count(3);  // 2, 3 and 5
}

const PiLookup& PiLookup::of(const Tables& t) {
  // A pristine table keeps the sieve its build made.
  static const PiLookup lookup(t.sieve.data(), kSieveTop);
  return lookup;
}

}  // namespace ntb
