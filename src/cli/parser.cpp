// The command line, parsed by CLI11 from the table of commands.
//
// How to add a command:
//   1. src/cli/request.hpp: its enum value, and a Request field for a new option;
//   2. src/cli/command_table.cpp: its row (arguments and ranges, options, columns, help);
//   3. src/cli/commands.hpp and a file of its family in src/cli: the run_ function;
//   4. src/cli/run.cpp: its case in the dispatch switch;
//   5. doc/ntbench.1.in: its entry under COMMANDS;
//   6. tests/cli: its rows in the usage-error table (usage_test.cpp) and an
//      oracle sweep of its family;
//   7. tools/check_includes.sh: any engine folder it includes.
//
// Rules kept for the workbench's options: the first decisive argument wins
// (help, version or a wrong argument, left to right); --log takes the next
// argument whatever it looks like, or the text after '='; short options are
// not grouped; `--` ends the options.  A usage error is one line naming the
// argument, status 2; CLI11's own messages and statuses are not shown.
#include "cli/parser.hpp"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string_view>
#include <utility>

#include "cli/command_table.hpp"

namespace ntb::cli {

namespace {

struct UsageError {
  std::string message;
};

std::string workbench_error(const std::string& what) {
  return "ntbench: " + what + "; see 'ntbench --help'";
}

std::string command_error(const CommandInfo& c, const std::string& what) {
  return "ntbench " + std::string(c.name) + ": " + what;
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
  s += std::to_string(a.min);
  s += " to ";
  s += std::to_string(a.max);
  return s;
}

// The value of one argument, or a UsageError naming it and its range.
int64_t argument_value(const CommandInfo& c, const Argument& a, const std::string& text) {
  if (!a.words.empty()) {
    for (size_t i = 0; i < a.words.size(); ++i)
      if (text == a.words[i]) return static_cast<int64_t>(i);
    throw UsageError{command_error(
        c, std::string(a.name) + " must be " + range_text(a) + ", got " + quote_arg(text))};
  }
  int64_t v = 0;
  bool ok = !text.empty() && text.size() <= 19;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') ok = false;
    if (ok) v = v * 10 + (ch - '0');
  }
  if (!ok || v < a.min || v > a.max || (a.even && v % 2 != 0))
    throw UsageError{command_error(
        c, std::string(a.name) + " must be " + range_text(a) + ", got " + quote_arg(text))};
  return v;
}

// The form whose length fits `given` arguments.
const Form* form_for(const CommandInfo& c, size_t given) {
  for (const Form& f : c.forms) {
    const size_t n = f.args.size();
    if (given == n || (f.repeat_last && n > 0 && given > n)) return &f;
  }
  return nullptr;
}

void check_arguments(const CommandInfo& c, const std::vector<std::string>& given, Request& r) {
  const Form* form = form_for(c, given.size());
  if (form == nullptr) {
    // Too few for every form: name the first argument missing from the
    // shortest form that is longer; too many: name the first extra one.
    const Form* longer = nullptr;
    size_t longest = 0;
    for (const Form& f : c.forms) {
      if (f.args.size() > given.size() &&
          (longer == nullptr || f.args.size() < longer->args.size()))
        longer = &f;
      longest = std::max(longest, f.args.size());
    }
    if (longer != nullptr) {
      const Argument& a = longer->args[given.size()];
      throw UsageError{command_error(c, "missing " + std::string(a.name) + ", " + range_text(a) +
                                            "; see 'ntbench " + std::string(c.name) + " --help'")};
    }
    throw UsageError{command_error(c, "unexpected argument " + quote_arg(given[longest]) +
                                          "; see 'ntbench " + std::string(c.name) + " --help'")};
  }
  for (size_t i = 0; i < given.size(); ++i) {
    const Argument& a = form->args[std::min(i, form->args.size() - 1)];
    r.numbers.push_back(argument_value(c, a, given[i]));
  }
  for (const auto& [i, j] : form->ordered) {
    if (r.numbers[i] > r.numbers[j]) {
      const std::string_view x = form->args[i].name, y = form->args[j].name;
      throw UsageError{command_error(c, std::string(x) + " must be at most " + std::string(y) +
                                            ", got " + std::string(x) + " = " +
                                            std::to_string(r.numbers[i]) + " and " +
                                            std::string(y) + " = " + std::to_string(r.numbers[j]))};
    }
  }
}

// The one-line message of a CLI11 error that the table's checks did not
// catch first (an option without its value, a value given to a flag).
std::string parse_error_text(const CLI::ParseError& e) {
  std::string what = e.what();
  for (char& ch : what)
    if (ch == '\n' || ch == '\r') ch = ' ';
  return what;
}

}  // namespace

std::string quote_arg(std::string_view arg) {
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

Request parse_command_line(int argc, const char* const* argv) {
  Request r;
  std::vector<std::string> args;
  for (int i = 1; i < argc && argv[i] != nullptr; ++i) args.emplace_back(argv[i]);

  // What CLI11 would read otherwise: short options are never grouped (-hV
  // is one wrong argument, not -h -V), a flag takes no "=value", --log=
  // names no file, and `--` before a command ends the options of the
  // workbench, so nothing may follow it.
  const CommandInfo* current = nullptr;  // the command, once its name was seen
  std::vector<std::string> after_mark;   // a command's arguments after its `--`
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto fail = [&](const std::string& what) {
      r.command = Command::kError;
      r.error = current == nullptr
                    ? workbench_error(what)
                    : command_error(*current, what + "; see 'ntbench " +
                                                  std::string(current->name) + " --help'");
    };
    if (a == "--") {
      if (current != nullptr) {
        after_mark.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
        args.resize(i);
        break;
      }
      if (i + 1 < args.size()) {
        fail("unknown command " + quote_arg(args[i + 1]));
        return r;
      }
      args.pop_back();
      break;
    }
    if (current == nullptr && (a == "--log" || a == "--log=")) {
      if (a == "--log=" || i + 1 == args.size()) {
        fail("option '--log' needs a file name");
        return r;
      }
      ++i;
      continue;
    }
    bool wrong = a.size() > 2 && a[0] == '-' && a[1] != '-' && (a[1] < '0' || a[1] > '9');
    if (a.starts_with("--") && a.find('=') != std::string::npos) {
      const std::string name = a.substr(0, a.find('='));
      bool takes_value = current == nullptr && name == "--log";
      if (current != nullptr)
        for (const CommandOption& o : current->options)
          takes_value =
              takes_value || ((o.value != nullptr || o.text != nullptr) && o.name == name);
      wrong = wrong || !takes_value;
    }
    if (wrong) {
      fail("unknown option " + quote_arg(a));
      return r;
    }
    if (current == nullptr && !a.empty() && a[0] != '-') {
      current = find_command(a);
      if (current == nullptr) break;  // `help`, or an unknown command
    }
  }

  CLI::App app{"", "ntbench"};
  app.set_help_flag();
  app.allow_extras();
  app.require_subcommand(0, 1);
  std::vector<std::string> log;
  app.add_option("--log", log)
      ->expected(1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  // Help and version decide at once, unless a wrong argument came first.
  const auto decide = [&app](bool help) {
    if (!app.remaining().empty()) return;
    if (help) throw CLI::CallForHelp();
    throw CLI::CallForVersion();
  };
  app.add_flag_callback("-h,--help", [&] { decide(true); })
      ->trigger_on_parse()
      ->disable_flag_override();
  app.add_flag_callback("-V,--version", [&] { decide(false); })
      ->trigger_on_parse()
      ->disable_flag_override();

  std::string topic;  // the command whose --help was asked for
  std::vector<std::string> positionals;
  std::vector<std::optional<std::string>> values;  // of the value options, by table order
  struct Sub {
    CLI::App* app;
    const CommandInfo* info;
  };
  std::vector<Sub> subs;
  const auto& table = command_table();
  size_t value_options = 0;
  for (const CommandInfo& c : table)
    for (const CommandOption& o : c.options)
      value_options += o.value != nullptr || o.text != nullptr;
  values.resize(value_options);
  size_t next_value = 0;
  std::vector<std::pair<const CommandOption*, size_t>> value_slots;
  for (const CommandInfo& c : table) {
    CLI::App* sub = app.add_subcommand(std::string(c.name), std::string(c.summary));
    sub->set_help_flag();
    sub->allow_extras();
    sub->add_flag_callback("-h,--help",
                           [&topic, &c, sub] {
                             if (!sub->remaining().empty()) return;
                             topic = std::string(c.name);
                             throw CLI::CallForHelp();
                           })
        ->trigger_on_parse()
        ->disable_flag_override();
    sub->add_option("args", positionals);
    sub->add_flag("--csv", r.csv)->disable_flag_override();
    for (const CommandOption& o : c.options) {
      if (o.flag != nullptr) {
        sub->add_flag(std::string(o.name), r.*o.flag)->disable_flag_override();
      } else {
        sub->add_option(std::string(o.name), values[next_value])->expected(1);
        value_slots.emplace_back(&o, next_value++);
      }
    }
    subs.push_back({sub, &c});
  }
  // `ntbench help [COMMAND]`
  CLI::App* help = app.add_subcommand("help", "list the commands, or show one");
  help->set_help_flag();
  help->allow_extras();
  help->add_option("command", positionals);

  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    r.command = Command::kHelp;
    r.topic = topic;
    return r;
  } catch (const CLI::CallForVersion&) {
    r.command = Command::kVersion;
    return r;
  } catch (const CLI::ParseError& e) {
    r.command = Command::kError;
    const CommandInfo* c = nullptr;
    for (const Sub& s : subs)
      if (s.app->parsed()) c = s.info;
    r.error = c != nullptr ? command_error(*c, parse_error_text(e) + "; see 'ntbench " +
                                                   std::string(c->name) + " --help'")
                           : workbench_error(parse_error_text(e));
    return r;
  }

  try {
    if (const std::vector<std::string> left = app.remaining(false); !left.empty()) {
      // Only words the root could not place: an unknown option or command.
      const std::string& first = left.front();
      if (first.size() > 1 && first[0] == '-')
        throw UsageError{workbench_error("unknown option " + quote_arg(first))};
      throw UsageError{workbench_error("unknown command " + quote_arg(first))};
    }
    if (!log.empty()) {
      const std::string& name = log.back();
      if (name.empty()) throw UsageError{workbench_error("option '--log' needs a file name")};
      if (name == "-")
        throw UsageError{workbench_error("--log " + quote_arg(name) +
                                         ": the session log must be a file, not a stream")};
      r.log_path = name;
      r.log_named_by_user = true;
    }
    if (help->parsed()) {
      if (const std::vector<std::string> left = help->remaining(); !left.empty())
        throw UsageError{"ntbench help: unknown option " + quote_arg(left.front()) +
                         "; see 'ntbench help'"};
      if (positionals.size() > 1)
        throw UsageError{"ntbench help: unexpected argument " + quote_arg(positionals[1])};
      if (!positionals.empty() && find_command(positionals[0]) == nullptr)
        throw UsageError{"ntbench help: unknown command " + quote_arg(positionals[0]) +
                         "; see 'ntbench help'"};
      r.command = Command::kHelp;
      r.topic = positionals.empty() ? "" : positionals[0];
      return r;
    }
    for (const Sub& s : subs) {
      if (!s.app->parsed()) continue;
      const CommandInfo& c = *s.info;
      if (const std::vector<std::string> left = s.app->remaining(); !left.empty())
        throw UsageError{command_error(c, "unknown option " + quote_arg(left.front()) +
                                              "; see 'ntbench " + std::string(c.name) +
                                              " --help'")};
      if (!log.empty())
        throw UsageError{command_error(c,
                                       "--log is an option of the workbench; the commands "
                                       "keep no session log")};
      r.command = c.command;
      positionals.insert(positionals.end(), after_mark.begin(), after_mark.end());
      check_arguments(c, positionals, r);
      for (const auto& [o, slot] : value_slots) {
        if (!values[slot]) continue;
        bool ours = false;
        for (const CommandOption& own : c.options) ours = ours || &own == o;
        if (!ours) continue;
        if (o->text != nullptr)
          r.*(o->text) = *values[slot];
        else
          r.*(o->value) = argument_value(c, o->value_arg, *values[slot]);
      }
      if (c.check != nullptr)
        if (const std::string wrong = c.check(r); !wrong.empty())
          throw UsageError{command_error(c, wrong)};
    }
  } catch (const UsageError& e) {
    r = Request{};
    r.command = Command::kError;
    r.error = e.message;
  }
  return r;
}

}  // namespace ntb::cli
