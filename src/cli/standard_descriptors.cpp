// Opening the closed standard descriptors on /dev/null: see
// standard_descriptors.hpp.
#include "cli/standard_descriptors.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ntb::cli {

bool open_standard_descriptors(ClosedDescriptors& closed, std::string& error) {
  closed = 0;
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    // The lowest free descriptor is the one being filled.
    const int got = ::open("/dev/null", O_RDWR);
    if (got != fd) {
      error = got < 0 ? std::strerror(errno) : "descriptor mismatch";
      if (got > 2) ::close(got);
      return false;
    }
    closed |= 1U << fd;
  }
  return true;
}

}  // namespace ntb::cli
