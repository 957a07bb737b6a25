// What the command line asks for, parsed once: the workbench with its
// session log, help, the version, a usage error, or one command with its
// numbers and the options given to it.  A command reads its options by
// name: r.flag("--count"), r.value("--tau"), r.text("--plot").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/whole_number.hpp"

namespace ntb::cli {

struct Command;

enum class Outcome {
  kWorkbench,   // no command: the interactive workbench, with log_path
  kHelp,        // help text on standard output, status 0 (`topic` names a command or is empty)
  kVersion,     // the name and version on standard output, status 0
  kError,       // `error` on standard error, status 2, nothing else touched
  kCommand,     // `command` run with `numbers` and `options`
  kCompletion,  // the bash completion script on standard output, status 0
};

// An option given to the command: a flag, or one with its text (and, for an
// option that takes a number, the value read from the text).
struct GivenOption {
  std::string_view name;  // "--tau"
  std::string text;
  Whole value = 0;
};

struct Request {
  Outcome outcome = Outcome::kWorkbench;
  const Command* command = nullptr;  // kCommand: the command's row
  // The positional numbers in the order given (an argument that is one of a
  // few words is given as the word's 0-based position in its list).
  std::vector<Whole> numbers;
  std::vector<GivenOption> options;
  bool csv = false;
  std::string topic;  // kHelp: the command asked about, empty for all
  std::string error;  // kError: one line, without its line end
  std::string log_path = "session7.dat";
  bool log_named_by_user = false;  // --log was given

  // The option of that name when it was given, else nullptr.
  const GivenOption* given(std::string_view name) const {
    for (const GivenOption& o : options)
      if (o.name == name) return &o;
    return nullptr;
  }
  bool flag(std::string_view name) const { return given(name) != nullptr; }
  // The value of an option that takes a number, none when not given.
  std::optional<Whole> value(std::string_view name) const {
    const GivenOption* o = given(name);
    return o != nullptr ? std::optional<Whole>(o->value) : std::nullopt;
  }
  // The text of an option that takes a text, empty when not given.
  std::string text(std::string_view name) const {
    const GivenOption* o = given(name);
    return o != nullptr ? o->text : std::string();
  }
};

}  // namespace ntb::cli
