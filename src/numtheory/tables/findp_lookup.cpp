// The runs of findp over 0..2^21-1, from one walk of the search's decision tree.
#include "numtheory/tables/findp_lookup.hpp"

namespace ntb {

std::shared_ptr<const FindpLookup> FindpLookup::of(const Tables& t) {
  static std::shared_ptr<const FindpLookup> cached;
  static uint64_t stamp = 0;
  if (!cached || stamp != t.version) {
    cached.reset();  // the former lookup goes when its last holder does
    cached = std::make_shared<const FindpLookup>(t);
    stamp = t.version;
  }
  return cached;
}

FindpLookup::FindpLookup(const Tables& t) : starts_(kWords) {
  result_.reserve(2 * kYSize + 2);
  walk(1, kYSize, 0, kTop - 1, t.y.data());
  starts_.count();
  result_.shrink_to_fit();
}

void FindpLookup::run(int64_t xlo, int32_t result) {
  if (!result_.empty() && result_.back() == result) return;  // same result: one run
  starts_.set(static_cast<uint64_t>(xlo));
  result_.push_back(result);
}

// Every x in [xlo, xhi] reaches the node that searches slots lo..hi.  Its
// entry v sends x < v to the left half (or ends there with mid - 1), x = v
// to the end at mid, and x > v to the right half (or ends there with mid).
// Runs come out in ascending x.
void FindpLookup::walk(int32_t lo, int32_t hi, int64_t xlo, int64_t xhi, const int32_t* y) {
  const int32_t mid = (lo + hi) / 2;
  const int64_t v = y[mid];
  if (xlo < v) {
    const int64_t top = xhi < v - 1 ? xhi : v - 1;
    if (mid - 1 >= lo) {
      walk(lo, mid - 1, xlo, top, y);
    } else {
      run(xlo, mid - 1);
    }
  }
  if (xlo <= v && v <= xhi) run(v, mid);
  if (v < xhi) {
    const int64_t bottom = xlo > v + 1 ? xlo : v + 1;
    if (hi >= mid + 1) {
      walk(mid + 1, hi, bottom, xhi, y);
    } else {
      run(bottom, mid);
    }
  }
}

}  // namespace ntb
