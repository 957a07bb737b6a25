// Command-line options of ntbench, parsed by a small loop over argv.  A
// wrong argument is named in a one-line message; its control characters are
// shown as \xNN so that the message stays one line and cannot drive the
// terminal.
#include "app/options.hpp"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#ifndef NTBENCH_VERSION
#error "NTBENCH_VERSION must carry the project's version"
#endif

namespace ntb {

namespace {

constexpr std::string_view kSeeHelp = "; see 'ntbench --help'";

// The argument in single quotes, with bytes below 0x20 and DEL escaped.
std::string quoted(std::string_view arg) {
  std::string out = "'";
  for (const char ch : arg) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 || b == 0x7F) {
      char esc[5];
      std::snprintf(esc, sizeof esc, "\\x%02X", b);
      out += esc;
    } else {
      out += ch;
    }
  }
  out += '\'';
  return out;
}

Options failure(std::string message) {
  Options o;
  o.action = Options::Action::kError;
  o.error = "ntbench: " + std::move(message) + std::string(kSeeHelp);
  return o;
}

}  // namespace

Options parse_options(int argc, const char* const* argv) {
  Options o;
  for (int i = 1; i < argc && argv[i] != nullptr; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      o.action = Options::Action::kHelp;
      return o;
    }
    if (arg == "-V" || arg == "--version") {
      o.action = Options::Action::kVersion;
      return o;
    }
    if (arg == "--log" || arg.starts_with("--log=")) {
      std::string_view name;
      if (arg == "--log") {
        if (i + 1 >= argc || argv[i + 1] == nullptr)
          return failure("option '--log' needs a file name");
        name = argv[++i];
      } else {
        name = arg.substr(6);
      }
      if (name.empty()) return failure("option '--log' needs a file name");
      if (name == "-")
        return failure("--log " + quoted(name) + ": the session log must be a file, not a stream");
      o.log_path = std::string(name);
      o.log_named_by_user = true;
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') return failure("unknown option " + quoted(arg));
    return failure("unexpected argument " + quoted(arg));
  }
  return o;
}

std::string usage_text() {
  return "Usage: ntbench [--log FILE]\n"
         "       ntbench --help | --version\n"
         "\n"
         "An interactive console workbench for elementary number theory: numbered\n"
         "menus, whole numbers typed at \"enter number\", fixed-column tables (prime\n"
         "counts up to 2147483647, lists of primes, gaps and twins, factors, divisors,\n"
         "the inclusion-exclusion and reverse methods, Goldbach pairs).\n"
         "\n"
         "Options:\n"
         "  -h, --help        show this text and exit\n"
         "  -V, --version     show the version and exit\n"
         "      --log FILE    write the session log to FILE instead of session7.dat\n"
         "\n"
         "Session log: almost every result is also written to session7.dat in the\n"
         "current directory, or to the FILE of --log.  An existing file loses its\n"
         "former content when the run writes its first record; records end with\n"
         "CR LF.\n"
         "\n"
         "Scripted sessions: when standard input is not a terminal, every read takes\n"
         "one line (a number, its confirmation, a key, a pause).  For example\n"
         "  printf '1\\n\\n1\\n\\n2147483647\\n\\n\\n4\\n\\n10\\n\\n' | ntbench\n"
         "counts the primes up to 2147483647 and exits.  A line of two or more\n"
         "characters read at a pause is run as a shell command.\n"
         "\n"
         "Exit status: 0 at Exit (main menu 10) or at the end of the input; 1 when\n"
         "the session log cannot be created or written; 2 for a wrong option or\n"
         "argument; 130 after Ctrl-C (SIGINT), 143 after SIGTERM.\n"
         "\n"
         "The manual page ntbench(1) has the menu map.\n";
}

std::string version_text() {
  return "ntbench " NTBENCH_VERSION "\n";
}

}  // namespace ntb
