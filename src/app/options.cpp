// The command line seen from the workbench: the one parser of src/cli
// decides, and this maps its request onto the workbench's actions.
#include "app/options.hpp"

#include "cli/help.hpp"
#include "cli/parser.hpp"

namespace ntb {

Options parse_options(int argc, const char* const* argv) {
  Options o;
  o.request = cli::parse_command_line(argc, argv);
  switch (o.request.command) {
    case cli::Command::kWorkbench:
      o.action = Options::Action::kRun;
      o.log_path = o.request.log_path;
      o.log_named_by_user = o.request.log_named_by_user;
      break;
    case cli::Command::kHelp:
      o.action = Options::Action::kHelp;
      break;
    case cli::Command::kVersion:
      o.action = Options::Action::kVersion;
      break;
    case cli::Command::kError:
      o.action = Options::Action::kError;
      o.error = o.request.error;
      break;
    default:
      o.action = Options::Action::kCommand;
      break;
  }
  return o;
}

std::string usage_text() {
  return cli::help_text();
}

std::string version_text() {
  return cli::version_text();
}

}  // namespace ntb
