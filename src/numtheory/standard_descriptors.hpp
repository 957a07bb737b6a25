// The three standard descriptors of the process, made sure to be open.  A
// program started with one of them closed would otherwise hand that number
// to the next file it opens (the session log, a picture file), and writes
// meant for the screen, or a pipe moved onto descriptor 0, would land in
// it.  Both faces of the program, the workbench and the one-shot commands,
// call this first.
#pragma once

#include <string>

namespace ntb {

// Opens /dev/null on each of the descriptors 0, 1 and 2 that is closed.  An
// empty text, or the line that says why it cannot ("cannot open /dev/null
// for a closed standard descriptor: ...").
std::string open_standard_descriptors();

// Whether descriptor fd (0, 1 or 2) was closed when open_standard_descriptors
// filled it: a command still reports its reads and writes there as failing
// (EBADF) instead of reading or writing /dev/null in silence.
bool standard_descriptor_was_closed(int fd);

}  // namespace ntb
