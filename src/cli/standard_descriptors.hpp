// The standard descriptors 0, 1 and 2 at the start of a run.  One that is
// closed is opened on /dev/null, so that no file opened later (the session
// log, a picture, gnuplot's pipe) takes its number and receives what was
// meant for the screen.  Which ones were closed is kept: a command that
// reads standard input must still say that it could not, not take the
// empty /dev/null for an empty input.
#pragma once

#include <string>

namespace ntb::cli {

// Bit fd (1 << fd) set for each of 0, 1, 2 that was closed.
using ClosedDescriptors = unsigned;

// Opens /dev/null on each of 0, 1 and 2 that is closed, and sets `closed`
// to those it filled.  False, with the reason in `error`, when it cannot.
bool open_standard_descriptors(ClosedDescriptors& closed, std::string& error);

}  // namespace ntb::cli
