// A one-shot command as its own file declares it: one row holding its name,
// its forms (the arguments and their ranges), its options, its columns, its
// help, the rules its forms cannot say, and the function that answers.  The
// parser reads the rows to check a command line, the help is written from
// them, and the run calls the row's function; the rows are listed once, in
// commands.cpp.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/input.hpp"
#include "cli/output.hpp"
#include "cli/request.hpp"
#include "cli/whole_number.hpp"

namespace ntb::cli {

// The workbench's range of whole numbers.
inline constexpr Whole kWholeMax = 2147483647;

// One positional argument: a whole number in [min, max], or, when `words`
// is not empty, one of those words (given to the command as its position).
struct Argument {
  std::string_view name;
  Whole min = 0;
  Whole max = kWholeMax;
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

// An option of one command: a flag, an option with a whole number (checked
// against `arg`), or one with a text (named by `arg.name`).
struct CommandOption {
  enum class Kind { kFlag, kNumber, kText };
  std::string_view name;  // "--count"
  std::string_view help;
  Kind kind = Kind::kFlag;
  Argument arg = {};
  std::string_view short_name = {};  // "-t", or none
};

class ChunkRunner;

// Where a command reads and writes: standard output, standard input (for
// factor and totient without numbers), and standard error; and where a
// range command run in chunks computes them (range_job.hpp).
struct Channels {
  Output& out;
  TokenReader& in;
  std::string* err = nullptr;     // error lines go here when set, else to standard error
  ChunkRunner* runner = nullptr;  // the chunks' runner; the local one when not set
  // One line on standard error (the line end is added).
  void error(std::string_view line);
};

struct Command {
  std::string_view name;
  std::string_view summary;      // one line for the list of commands
  std::string_view description;  // the paragraph of `ntbench NAME --help`
  std::vector<Form> forms;       // the first form whose length fits is taken
  std::vector<CommandOption> options;
  std::string_view columns;  // the columns of a row, as named in the CSV header
  // The rules between arguments and options that the forms cannot say: an
  // empty text, or the usage error (without the command's name).
  std::string (*check)(const Request&) = nullptr;
  // Computes and writes the answer; the exit status: 0, 1 when a number
  // read from standard input was refused or a picture not drawn, 2 for a
  // usage error found only at run time.
  int (*run)(const Request&, Channels&) = nullptr;
  // Whether this command line runs in chunks when given a runner or
  // --checkpoint/--chunk (range_job.hpp); nullptr for a command that never does.
  bool (*chunked)(const Request&) = nullptr;
};

// Every command, in the order of the help text (commands.cpp).
const std::vector<const Command*>& commands();

// The row of a command by name; nullptr when there is none.
const Command* find_command(std::string_view name);

}  // namespace ntb::cli
