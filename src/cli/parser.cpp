// The command line, parsed in a few steps: the arguments that CLI11 would
// read otherwise are judged first (prescan); CLI11, set up from the rows of
// the commands, splits the rest into options and operands and decides help
// and version; then the workbench's --log, `help`, or the command: its
// operands matched to a form and read as numbers, its option values read,
// and the rules of its row checked.
//
// Rules kept for the workbench's options: the first decisive argument wins
// (help, version or a wrong argument, left to right); --log takes the next
// argument whatever it looks like, or the text after '='; short options are
// not grouped; `--` ends the options.  A usage error is one line naming the
// argument, status 2; CLI11's own messages and statuses are not shown.
#include "cli/parser.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <deque>
#include <string_view>
#include <utility>

#include "cli/command.hpp"
#include "cli/nearest_word.hpp"
#include "cli/number_expression.hpp"
#include "numtheory/decimal_digits.hpp"

namespace ntb::cli {

namespace {

// What the prescan gives CLI11 as the value of an option written `--opt=`,
// which CLI11 would otherwise fill with the next argument: a text that no
// argument can hold (an argument ends at its first NUL byte), read back as
// the empty value.
const std::string kEmptyValue(1, '\0');

struct UsageError {
  std::string message;
};

std::string workbench_error(const std::string& what) {
  return "ntbench: " + what + "; see 'ntbench --help'";
}

std::string command_error(const Command& c, const std::string& what) {
  return "ntbench " + std::string(c.name) + ": " + what;
}

// "; did you mean 'primes'?" when one of the candidates is clearly the
// word meant, else nothing: the end of a message naming an unknown word.
std::string did_you_mean(std::string_view word, const std::vector<std::string_view>& candidates) {
  const std::string near = nearest_word(word, candidates);
  return near.empty() ? "" : "; did you mean '" + near + "'?";
}

// An unknown command of the workbench's line, with the nearest command.
std::string unknown_command(const std::string& name) {
  std::vector<std::string_view> names{"help"};
  for (const Command* c : commands()) names.push_back(c->name);
  return workbench_error("unknown command " + quote_token(name)) + did_you_mean(name, names);
}

// An unknown option of the workbench, with the nearest of its options.
std::string unknown_workbench_option(const std::string& name) {
  return workbench_error("unknown option " + quote_token(name)) +
         did_you_mean(name, {"--log", "--help", "--version"});
}

// The end of a message that names a wrong or missing argument.
std::string see_help(const Command& c) {
  return "; see 'ntbench " + std::string(c.name) + " --help'";
}

Request error_request(std::string message) {
  Request r;
  r.outcome = Outcome::kError;
  r.error = std::move(message);
  return r;
}

std::string range_text(const Argument& a) {
  if (!a.words.empty()) {
    std::string s;
    for (size_t i = 0; i < a.words.size(); ++i) {
      if (i > 0) s += i + 1 == a.words.size() ? " or " : ", ";
      s += "'" + std::string(a.words[i]) + "'";
    }
    return s;
  }
  std::string s = a.even ? "an even whole number from " : "a whole number from ";
  s += decimal_string(a.min);
  s += " to ";
  s += decimal_string(a.max);
  return s;
}

// The value of one argument, or a UsageError naming it and its range.  A
// number is an integer expression (number_expression.hpp); a value that is
// not whole, too large, a division by zero, or a malformed text with digits
// in it has the evaluator's reason added in parentheses.
Whole argument_value(const Command& c, const Argument& a, const std::string& text) {
  std::optional<Whole> v;
  std::string reason;
  if (!a.words.empty()) {
    const auto word = std::find(a.words.begin(), a.words.end(), text);
    if (word != a.words.end()) v = static_cast<Whole>(word - a.words.begin());
  } else if (const ExpressionResult e = evaluate_number_expression(text); e.ok()) {
    const auto w = static_cast<Whole>(e.value);
    if (e.value >= 0 && w >= a.min && w <= a.max && !(a.even && w % 2 != 0)) v = w;
  } else if (e.error != ExpressionError::kMalformed ||
             text.find_first_of("0123456789") != std::string::npos) {
    reason = " (" + e.reason + ")";
  }
  if (!v)
    throw UsageError{command_error(c, std::string(a.name) + " must be " + range_text(a) + ", got " +
                                          quote_token(text) + reason)};
  return *v;
}

// The form whose length fits `given` arguments.
const Form* form_for(const Command& c, size_t given) {
  for (const Form& f : c.forms) {
    const size_t n = f.args.size();
    if (given == n || (f.repeat_last && n > 0 && given > n)) return &f;
  }
  return nullptr;
}

// No form fits: too few for every form names the first argument missing
// from the shortest form that is longer; too many names the first extra one.
UsageError no_form(const Command& c, const std::vector<std::string>& given) {
  const Form* longer = nullptr;
  size_t longest = 0;
  for (const Form& f : c.forms) {
    if (f.args.size() > given.size() && (longer == nullptr || f.args.size() < longer->args.size()))
      longer = &f;
    longest = std::max(longest, f.args.size());
  }
  if (longer != nullptr) {
    const Argument& a = longer->args[given.size()];
    return {
        command_error(c, "missing " + std::string(a.name) + ", " + range_text(a) + see_help(c))};
  }
  return {command_error(c, "unexpected argument " + quote_token(given[longest]) + see_help(c))};
}

// The operands matched to a form and read as numbers, in the form's order.
std::vector<Whole> operands(const Command& c, const std::vector<std::string>& given) {
  const Form* form = form_for(c, given.size());
  if (form == nullptr) throw no_form(c, given);
  std::vector<Whole> numbers;
  for (size_t i = 0; i < given.size(); ++i)
    numbers.push_back(argument_value(c, form->args[std::min(i, form->args.size() - 1)], given[i]));
  for (const auto& [i, j] : form->ordered) {
    const auto x = static_cast<size_t>(i), y = static_cast<size_t>(j);
    if (numbers[x] <= numbers[y]) continue;
    const std::string first(form->args[x].name), second(form->args[y].name);
    throw UsageError{command_error(c, first + " must be at most " + second + ", got " + first +
                                          " = " + decimal_string(numbers[x]) + " and " + second +
                                          " = " + decimal_string(numbers[y]))};
  }
  return numbers;
}

// An argument that CLI11 would read otherwise: short options grouped (-hV
// is one wrong argument, not -h -V), or "=value" given to a flag.
bool wrong_option(const std::string& a, const Command* command) {
  if (a.size() > 2 && a[0] == '-' && a[1] != '-' && (a[1] < '0' || a[1] > '9')) return true;
  if (!a.starts_with("--") || a.find('=') == std::string::npos) return false;
  const std::string name = a.substr(0, a.find('='));
  if (command == nullptr) return name != "--log";
  for (const CommandOption& o : command->options)
    if (o.kind != CommandOption::Kind::kFlag && o.name == name) return false;
  return true;
}

// The first step, before CLI11: wrong options, --log without its file name
// (--log= names none), a command's `--opt=` (given kEmptyValue), and `--`.
// After a command or `help` it leaves the rest to them as operands (moved to
// after_mark); before one it ends the options of the workbench: the word
// after it is still the command (or `help`), and the rest its operands.  The
// usage error, or an empty text.
std::string prescan(std::vector<std::string>& args, std::vector<std::string>& after_mark) {
  const Command* current = nullptr;  // the command, once its name was seen
  bool help = false;                 // `help` was seen in the command's place
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto fail = [&](const std::string& what) {
      return current == nullptr ? workbench_error(what)
                                : command_error(*current, what + see_help(*current));
    };
    if (a == "--") {
      const auto next = args.begin() + static_cast<std::ptrdiff_t>(i) + 1;
      if (current != nullptr || help || next == args.end()) {
        after_mark.assign(next, args.end());
        args.resize(i);
        return "";
      }
      const std::string name = *next;
      if (name != "help" && find_command(name) == nullptr) return unknown_command(name);
      after_mark.assign(next + 1, args.end());
      args.resize(i);
      args.push_back(name);
      return "";
    }
    if (help) continue;  // CLI11 reads the rest of `help`
    if (current == nullptr && (a == "--log" || a == "--log=")) {
      if (a == "--log=" || i + 1 == args.size()) return fail("option '--log' needs a file name");
      ++i;
      continue;
    }
    if (wrong_option(a, current)) {
      if (current != nullptr) return fail("unknown option " + quote_token(a));
      return unknown_workbench_option(a);
    }
    if (current != nullptr && a.starts_with("--") && a.find('=') == a.size() - 1) {
      args[i] += kEmptyValue;  // `--opt=`: the empty value
      continue;
    }
    if (current == nullptr && !help && !a.empty() && a[0] != '-') {
      current = find_command(a);
      if (current == nullptr && a != "help") return "";  // an unknown command
      help = current == nullptr;
    }
  }
  return "";
}

// The one-line message of a CLI11 error that the checks did not catch
// first (an option without its value, an option given twice).
std::string parse_error_text(const CLI::ParseError& e) {
  std::string what = e.what();
  for (char& ch : what)
    if (ch == '\n' || ch == '\r') ch = ' ';
  return what;
}

// The rest of the steps, around CLI11's parser set up from the rows.
class LineParser {
 public:
  LineParser();
  LineParser(const LineParser&) = delete;
  LineParser& operator=(const LineParser&) = delete;

  Request parse(const std::vector<std::string>& args, const std::vector<std::string>& after_mark);

 private:
  // An option of one command as CLI11 fills it.
  struct Slot {
    const CommandOption* option;
    bool flag = false;
    std::optional<std::string> text;
  };
  struct Sub {
    CLI::App* app;
    const Command* command;
    std::deque<Slot> slots;  // CLI11 holds their addresses
  };

  void add_command(const Command& c);
  const Sub* parsed_command() const;
  Request after_parse(const std::vector<std::string>& after_mark);
  void read_log(Request& r) const;
  Request help_request(const std::vector<std::string>& after_mark);
  Request command_request(const Sub& s, const std::vector<std::string>& after_mark);
  std::vector<GivenOption> given_options(const Sub& s) const;

  CLI::App app_{"", "ntbench"};
  CLI::App* help_ = nullptr;
  std::deque<Sub> subs_;
  std::vector<std::string> log_;          // every --log FILE, the last one counts
  std::vector<std::string> positionals_;  // the operands of the command or of `help`
  std::string topic_;                     // the command whose --help was asked for
  bool csv_ = false;
};

LineParser::LineParser() {
  app_.set_help_flag();
  app_.allow_extras();
  app_.require_subcommand(0, 1);
  app_.add_option("--log", log_)
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  // Help and version decide at once, unless a wrong argument came first.
  const auto decide = [this](bool help) {
    if (!app_.remaining().empty()) return;
    if (help) throw CLI::CallForHelp();
    throw CLI::CallForVersion();
  };
  app_.add_flag_callback("-h,--help", [decide] { decide(true); })
      ->trigger_on_parse()
      ->disable_flag_override();
  app_.add_flag_callback("-V,--version", [decide] { decide(false); })
      ->trigger_on_parse()
      ->disable_flag_override();
  for (const Command* c : commands()) add_command(*c);
  // `ntbench help [COMMAND]`
  help_ = app_.add_subcommand("help", "list the commands, or show one");
  help_->set_help_flag();
  help_->allow_extras();
  help_->add_option("command", positionals_);
}

void LineParser::add_command(const Command& c) {
  CLI::App* sub = app_.add_subcommand(std::string(c.name), std::string(c.summary));
  sub->set_help_flag();
  sub->allow_extras();
  sub->add_flag_callback("-h,--help",
                         [this, &c, sub] {
                           if (!sub->remaining().empty()) return;
                           topic_ = std::string(c.name);
                           throw CLI::CallForHelp();
                         })
      ->trigger_on_parse()
      ->disable_flag_override();
  sub->add_option("args", positionals_);
  sub->add_flag("--csv", csv_)->disable_flag_override();
  Sub& s = subs_.emplace_back(Sub{sub, &c, {}});
  for (const CommandOption& o : c.options) {
    Slot& slot = s.slots.emplace_back(Slot{&o, false, std::nullopt});
    if (o.kind == CommandOption::Kind::kFlag)
      sub->add_flag(std::string(o.name), slot.flag)->disable_flag_override();
    else
      sub->add_option(o.short_name.empty() ? std::string(o.name)
                                           : std::string(o.short_name) + "," + std::string(o.name),
                      slot.text)
          ->expected(1);
  }
}

const LineParser::Sub* LineParser::parsed_command() const {
  for (const Sub& s : subs_)
    if (s.app->parsed()) return &s;
  return nullptr;
}

Request LineParser::parse(const std::vector<std::string>& args,
                          const std::vector<std::string>& after_mark) {
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app_.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    Request r;
    r.outcome = Outcome::kHelp;
    r.topic = topic_;
    return r;
  } catch (const CLI::CallForVersion&) {
    Request r;
    r.outcome = Outcome::kVersion;
    return r;
  } catch (const CLI::ParseError& e) {
    const Sub* s = parsed_command();
    return error_request(
        s != nullptr ? command_error(*s->command, parse_error_text(e) + see_help(*s->command))
                     : workbench_error(parse_error_text(e)));
  }
  try {
    return after_parse(after_mark);
  } catch (const UsageError& e) {
    return error_request(e.message);
  }
}

// What CLI11 left to decide: words it could not place, the session log,
// and `help` or the command that was parsed.
Request LineParser::after_parse(const std::vector<std::string>& after_mark) {
  if (const std::vector<std::string> left = app_.remaining(false); !left.empty()) {
    const std::string& first = left.front();
    if (first.size() > 1 && first[0] == '-') throw UsageError{unknown_workbench_option(first)};
    throw UsageError{unknown_command(first)};
  }
  Request r;
  read_log(r);
  if (help_->parsed()) return help_request(after_mark);
  if (const Sub* s = parsed_command()) return command_request(*s, after_mark);
  return r;
}

void LineParser::read_log(Request& r) const {
  if (log_.empty()) return;
  const std::string& name = log_.back();
  if (name.empty()) throw UsageError{workbench_error("option '--log' needs a file name")};
  if (name == "-")
    throw UsageError{workbench_error("--log " + quote_token(name) +
                                     ": the session log must be a file, not a stream")};
  r.log_path = name;
  r.log_named_by_user = true;
}

Request LineParser::help_request(const std::vector<std::string>& after_mark) {
  if (const std::vector<std::string> left = help_->remaining(); !left.empty())
    throw UsageError{"ntbench help: unknown option " + quote_token(left.front()) +
                     "; see 'ntbench help'"};
  positionals_.insert(positionals_.end(), after_mark.begin(), after_mark.end());
  if (positionals_.size() > 1)
    throw UsageError{"ntbench help: unexpected argument " + quote_token(positionals_[1])};
  if (!positionals_.empty() && find_command(positionals_[0]) == nullptr) {
    std::vector<std::string_view> names;
    for (const Command* c : commands()) names.push_back(c->name);
    throw UsageError{"ntbench help: unknown command " + quote_token(positionals_[0]) +
                     "; see 'ntbench help'" + did_you_mean(positionals_[0], names)};
  }
  Request r;
  r.outcome = Outcome::kHelp;
  r.topic = positionals_.empty() ? "" : positionals_[0];
  return r;
}

Request LineParser::command_request(const Sub& s, const std::vector<std::string>& after_mark) {
  const Command& c = *s.command;
  if (const std::vector<std::string> left = s.app->remaining(); !left.empty()) {
    std::vector<std::string_view> names{"--csv", "--help"};
    for (const CommandOption& o : c.options) names.push_back(o.name);
    throw UsageError{command_error(c, "unknown option " + quote_token(left.front()) + see_help(c)) +
                     did_you_mean(left.front(), names)};
  }
  if (!log_.empty())
    throw UsageError{
        command_error(c, "--log is an option of the workbench; the commands keep no session log")};
  Request r;
  r.outcome = Outcome::kCommand;
  r.command = &c;
  r.csv = csv_;
  positionals_.insert(positionals_.end(), after_mark.begin(), after_mark.end());
  r.numbers = operands(c, positionals_);
  r.options = given_options(s);
  if (c.check != nullptr)
    if (const std::string wrong = c.check(r); !wrong.empty())
      throw UsageError{command_error(c, wrong)};
  return r;
}

// The options given to the command in the order of its row, a number
// option's value read and checked against its range.
std::vector<GivenOption> LineParser::given_options(const Sub& s) const {
  std::vector<GivenOption> given;
  for (const Slot& slot : s.slots) {
    const CommandOption& o = *slot.option;
    if (slot.flag) given.push_back({o.name, "", 0});
    if (!slot.text) continue;
    const std::string text = *slot.text == kEmptyValue ? "" : *slot.text;
    const Whole value =
        o.kind == CommandOption::Kind::kNumber ? argument_value(*s.command, o.arg, text) : 0;
    given.push_back({o.name, text, value});
  }
  return given;
}

}  // namespace

Request parse_command_line(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc && argv[i] != nullptr; ++i) args.emplace_back(argv[i]);
  // No arguments at all is the workbench with its usual log: answered without
  // building the parser of every command, which would cost the start-up of
  // every session more than a sixth of its instructions.
  if (args.empty()) return Request{};
  // `ntbench --completion bash`, left out of the help: the build runs it to
  // write the completion script.
  if (args.size() == 2 && args[0] == "--completion" && args[1] == "bash") {
    Request r;
    r.outcome = Outcome::kCompletion;
    return r;
  }
  std::vector<std::string> after_mark;  // a command's operands after its `--`
  if (const std::string wrong = prescan(args, after_mark); !wrong.empty())
    return error_request(wrong);
  LineParser parser;
  return parser.parse(args, after_mark);
}

}  // namespace ntb::cli
