// The help texts: `ntbench --help` (the workbench and the list of commands)
// and `ntbench COMMAND --help`, written from the rows of the commands.
#pragma once

#include <string>
#include <string_view>

namespace ntb::cli {

// The whole help for an empty topic, else the help of that command; every
// line fits an 80-column terminal and the text ends with a line feed.
std::string help_text(std::string_view topic = {});
std::string version_text();

}  // namespace ntb::cli
