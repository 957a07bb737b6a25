// The one-shot commands in one table: name, arguments and their ranges,
// options, columns and help.  The parser builds the command line from it and
// checks every argument against it; `ntbench help`, `ntbench --help` and
// `ntbench COMMAND --help` are written from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/request.hpp"

namespace ntb::cli {

// The workbench's range of whole numbers.
inline constexpr int64_t kWholeMax = 2147483647;

// One positional argument: a whole number in [min, max], or, when `words`
// is not empty, one of those words (given to the command as its position).
struct Argument {
  std::string_view name;
  int64_t min = 0;
  int64_t max = kWholeMax;
  std::vector<std::string_view> words = {};
  bool even = false;  // only even numbers in [min, max]
};

// One way of calling a command: its arguments in order.  With repeat_last
// the last argument may be given once or more; `ordered` lists the pairs of
// arguments (0-based positions) whose first must not exceed the second.
struct Form {
  std::vector<Argument> args;
  bool repeat_last = false;
  std::vector<std::pair<int, int>> ordered = {};
};

// An option of one command: a flag (`flag` set), an option with a whole
// number (`value` set, checked against `value_arg`) or one with a text
// (`text` set, named by `value_arg.name`).
struct CommandOption {
  std::string_view name;  // "--count"
  std::string_view help;
  bool Request::*flag = nullptr;
  std::optional<int64_t> Request::*value = nullptr;
  Argument value_arg = {};
  std::string Request::*text = nullptr;
};

struct CommandInfo {
  Command command;
  std::string_view name;
  std::string_view summary;      // one line for the list of commands
  std::string_view description;  // the paragraph of `ntbench NAME --help`
  std::vector<Form> forms;       // the first form whose length fits is taken
  std::vector<CommandOption> options;
  std::string_view columns;  // the columns of a row, as named in the CSV header
  // The rules between arguments and options that the forms cannot say: an
  // empty text, or the usage error (without the command's name).
  std::string (*check)(const Request&) = nullptr;
};

// Every command, in the order of the help text.
const std::vector<CommandInfo>& command_table();

// The row of a command by name or by enum; nullptr when there is none.
const CommandInfo* find_command(std::string_view name);
const CommandInfo* find_command(Command command);

}  // namespace ntb::cli
