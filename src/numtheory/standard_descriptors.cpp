// Descriptors 0, 1 and 2 opened on /dev/null where they are closed: see
// standard_descriptors.hpp.
#include "numtheory/standard_descriptors.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ntb {

namespace {
bool g_was_closed[3] = {false, false, false};
}  // namespace

bool standard_descriptor_was_closed(int fd) { return fd >= 0 && fd <= 2 && g_was_closed[fd]; }

// The lowest free descriptor is the one being filled.
std::string open_standard_descriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    const int got = ::open("/dev/null", O_RDWR);
    if (got != fd) {
      const std::string why = got < 0 ? std::strerror(errno) : "descriptor mismatch";
      if (got > 2) ::close(got);
      return "cannot open /dev/null for a closed standard descriptor: " + why;
    }
    g_was_closed[fd] = true;
  }
  return "";
}

}  // namespace ntb
