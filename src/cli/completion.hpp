// The bash completion of ntbench, written from the rows of the commands as
// the help is, so that the two cannot drift.  `ntbench --completion bash`
// (an option left out of the help) prints it; the build runs that and
// installs the script into bash-completion's folder.
#pragma once

#include <string>

namespace ntb::cli {

// A bash script defining _ntbench and `complete -F _ntbench ntbench`: the
// commands and the workbench's options in the place of the command, each
// command's options after it, the words of a command's first argument
// (steps inclusion, reverse), and file names after --plot and --log.
std::string bash_completion_script();

}  // namespace ntb::cli
