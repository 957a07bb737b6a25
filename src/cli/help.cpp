// The help texts, written from the rows of the commands so that the help,
// the parser and the checks of the arguments cannot disagree.
#include "cli/help.hpp"

#include <algorithm>
#include <map>

#include "cli/command.hpp"
#include "numtheory/decimal_digits.hpp"

#ifndef NTBENCH_VERSION
#error "NTBENCH_VERSION must carry the project's version"
#endif

namespace ntb::cli {

namespace {

std::string form_text(const Form& f) {
  std::string s;
  for (const Argument& a : f.args) {
    if (!s.empty()) s += ' ';
    s += a.name;
  }
  if (f.repeat_last) s += "...";
  return s;
}

// "pi N...", "factor [N...]", "gaps G A B | G1 G2 A B"
std::string synopsis(const Command& c) {
  std::string s;
  bool optional = false;
  for (const Form& f : c.forms) {
    if (f.args.empty()) {
      optional = true;
      continue;
    }
    if (!s.empty()) s += " | ";
    s += form_text(f);
  }
  if (optional && !s.empty()) s = "[" + s + "]";
  std::string out(c.name);
  if (!s.empty()) out += ' ';
  return out + s;
}

std::string range_of(const Argument& a) {
  if (!a.words.empty()) {
    std::string s = "one of";
    for (const std::string_view w : a.words) {
      s += ' ';
      s += w;
    }
    return s;
  }
  std::string s = a.even ? "even whole number from " : "whole number from ";
  s += decimal_string(a.min);
  s += " to ";
  s += decimal_string(a.max);
  return s;
}

void line(std::string& out, std::string_view left, std::string_view right) {
  std::string l = "  " + std::string(left);
  if (l.size() < 24) {
    l.resize(24, ' ');
  } else {
    l += "\n" + std::string(24, ' ');
  }
  out += l + std::string(right) + "\n";
}

// "--tau K", "--list", "--step S", "--plot FILE"; in the list of options "-t, --threads THREADS"
std::string option_text(const CommandOption& o, bool with_short = false) {
  std::string s = with_short && !o.short_name.empty() ? std::string(o.short_name) + ", " : "";
  s += o.name;
  if (o.kind != CommandOption::Kind::kFlag) {
    s += ' ';
    s += o.arg.name;
  }
  return s;
}

std::string command_help(const Command& c) {
  // The options after the synopsis, wrapped under it before column 80.
  const std::string lead = "Usage: ntbench ";
  std::string out = lead + synopsis(c);
  size_t line_start = 0;
  const auto add = [&](const std::string& option) {
    if (out.size() - line_start + 3 + option.size() > 79) {
      line_start = out.size() + 1;
      out.push_back('\n');
      out.append(lead.size() - 1, ' ');
    }
    out.append(" [").append(option).push_back(']');
  };
  for (const CommandOption& o : c.options) add(option_text(o));
  add("--csv");
  out += "\n\n" + std::string(c.description) + "\n";
  // The arguments by name, those of one range on one line.
  std::map<std::string, std::string> ranges;  // range -> names
  std::vector<std::string> order;
  std::vector<std::string> seen;
  std::string rules;
  for (const Form& f : c.forms) {
    for (const Argument& a : f.args) {
      const std::string name(a.name);
      if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
      seen.push_back(name);
      const std::string r = range_of(a);
      if (!ranges.count(r)) order.push_back(r);
      if (!ranges[r].empty()) ranges[r] += ", ";
      ranges[r] += name;
    }
    for (const auto& [i, j] : f.ordered) {
      const std::string rule = std::string(f.args[i].name) + " <= " + std::string(f.args[j].name);
      if (rules.find(rule) != std::string::npos) continue;
      if (!rules.empty()) rules += ", ";
      rules += rule;
    }
  }
  if (!order.empty()) {
    out += "\nArguments:\n";
    for (const std::string& r : order) line(out, ranges[r], r);
    if (!rules.empty()) line(out, "", rules);
  }
  out += "\nOptions:\n";
  for (const CommandOption& o : c.options) line(out, option_text(o, true), o.help);
  line(out, "--csv", "a header row naming the columns, then CSV rows");
  line(out, "-h, --help", "show this text and exit");
  out += "\nColumns: " + std::string(c.columns) + "\n";
  return out;
}

std::string overview() {
  std::string out =
      "Usage: ntbench [--log FILE]\n"
      "       ntbench COMMAND [ARGUMENT...] [--csv]\n"
      "       ntbench help [COMMAND] | --help | --version\n"
      "\n"
      "An interactive console workbench for elementary number theory: numbered\n"
      "menus, whole numbers typed at \"enter number\", fixed-column tables (prime\n"
      "counts up to 2147483647, lists of primes, gaps and twins, factors, divisors,\n"
      "the inclusion-exclusion and reverse methods, Goldbach pairs).  With a\n"
      "COMMAND it answers one question on standard output and exits: no menu, no\n"
      "pause, no session log.\n"
      "\n"
      "Commands:\n";
  for (const Command* c : commands()) line(out, synopsis(*c), c->summary);
  out +=
      "\n"
      "One row a line, its columns separated by one blank, no header; with --csv a\n"
      "header row naming the columns, then comma-separated rows (RFC 4180).\n"
      "'ntbench COMMAND --help' shows a command's arguments, ranges and columns.\n"
      "A number of the command line may be an integer expression: digits, 1e10,\n"
      "2.5e9, ^ * / + - and parentheses, as in 2^64-1 or '(2^32 - 1) * 3'.\n"
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
      "Exit status: 0 at Exit (main menu 10) or at the end of the input, and after\n"
      "a command's answer; 1 when the session log cannot be created or written, or\n"
      "a number read by factor or totient was refused; 2 for a wrong option or\n"
      "argument; 130 after Ctrl-C (SIGINT), 143 after SIGTERM.\n"
      "\n"
      "The manual page ntbench(1) has the menu map and examples.\n";
  return out;
}

}  // namespace

std::string help_text(std::string_view topic) {
  if (const Command* c = topic.empty() ? nullptr : find_command(topic)) return command_help(*c);
  return overview();
}

std::string version_text() {
  return "ntbench " NTBENCH_VERSION "\n";
}

}  // namespace ntb::cli
