// Primes-submenu entry 1: reads N (11 up), counts the primes up to it with
// trova1 between two time stamps, and reports the count on the screen
// (count first) and in the session log (count after the line naming N,
// closed by a line of 39 underscores).
#include <ctime>

#include "numtheory/count/prime_count.hpp"
#include "primes/commands.hpp"

namespace ntb {

namespace {

void time_of_day(Io& io) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  io.scr("(1X,I2,':',I2,':',I2)",
         {int32_t{local.tm_hour}, int32_t{local.tm_min}, int32_t{local.tm_sec}});
}

constexpr const char* kUpTo = "  prime numbers up to ";                        // 22 characters
constexpr const char* kSeparator = "_______________________________________";  // 39

}  // namespace

void prime_count_entry(Session& s) {
  Io& io = s.io;
  int32_t n = 0;
  do {
    io.asknum(n);
  } while (n < kTrova1Least);
  io.lst({"Please wait few seconds"});
  time_of_day(io);
  const double upto = n;
  double count = upto;
  trova1(count, s.t);
  // A nine-digit count fills the field: the output layer shows it whole.
  io.scr("(4F10.0)", {count});
  io.both("(1X,A40,2F11.0)", {kUpTo, upto});
  io.log("(4F10.0)", {count});
  io.log("(1X,A45)", {kSeparator});
  time_of_day(io);
  io.pause();
}

}  // namespace ntb
