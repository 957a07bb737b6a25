// The command line of ntbench, parsed into one Request: the workbench's
// options (--log FILE, -h/--help, -V/--version) and the one-shot commands.
// The one parser of both faces: main runs the workbench or a command by it.
#pragma once

#include <string>

#include "cli/request.hpp"

namespace ntb::cli {

// Reads argv[1..argc).  Never exits and never prints: help, version and
// usage errors come back as kHelp, kVersion and kError.
Request parse_command_line(int argc, const char* const* argv);

}  // namespace ntb::cli
