// The bash completion script: a fixed body around the words of the table
// of commands, one case per command.
#include "cli/completion.hpp"

#include "cli/command.hpp"

namespace ntb::cli {

namespace {

// The body; @...@ are filled from the table.
constexpr std::string_view kScript =
    R"(# bash completion for ntbench, written by `ntbench --completion bash` from
# the program's table of commands.
_ntbench() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  local command='' at=0 i options='' first=''
  COMPREPLY=()
  case $prev in
    @FILE_OPTIONS@)
      COMPREPLY=($(compgen -f -- "$cur"))
      return
      ;;
  esac
  # The command is the first word that is not an option nor the file of --log.
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      --log) ((i++)) ;;
      -*) ;;
      *)
        command=${COMP_WORDS[i]} at=$i
        break
        ;;
    esac
  done
  if [[ -z $command ]]; then
    if [[ $cur == -* ]]; then
      COMPREPLY=($(compgen -W "--log --help --version" -- "$cur"))
    else
      COMPREPLY=($(compgen -W "help @COMMANDS@" -- "$cur"))
    fi
    return
  fi
  case $command in
    help)
      ((COMP_CWORD == at + 1)) && COMPREPLY=($(compgen -W "@COMMANDS@" -- "$cur"))
      return
      ;;
@CASES@    *) return ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
  elif ((COMP_CWORD == at + 1)) && [[ -n $first ]]; then
    COMPREPLY=($(compgen -W "$first" -- "$cur"))
  fi
}
complete -F _ntbench ntbench
)";

void fill(std::string& text, std::string_view mark, const std::string& with) {
  for (size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), with);
}

void add_word(std::string& list, std::string_view word, std::string_view separator = " ") {
  if (!list.empty()) list += separator;
  list += word;
}

}  // namespace

std::string bash_completion_script() {
  std::string names, file_options = "--log", cases;
  for (const Command* c : commands()) {
    add_word(names, c->name);
    std::string options;
    for (const CommandOption& o : c->options) {
      add_word(options, o.name);
      if (o.kind == CommandOption::Kind::kText && file_options.find(o.name) == std::string::npos)
        add_word(file_options, o.name, "|");
    }
    add_word(options, "--csv --help");
    // The words of the first argument, in the first form that has them.
    std::string words;
    for (const Form& f : c->forms)
      if (words.empty() && !f.args.empty())
        for (const std::string_view w : f.args[0].words) add_word(words, w);
    cases += "    ";
    cases += c->name;
    cases += ")\n      options=\"";
    cases += options;
    cases += "\"\n";
    if (!words.empty()) {
      cases += "      first=\"";
      cases += words;
      cases += "\"\n";
    }
    cases += "      ;;\n";
  }
  std::string script(kScript);
  fill(script, "@FILE_OPTIONS@", file_options);
  fill(script, "@COMMANDS@", names);
  fill(script, "@CASES@", cases);
  return script;
}

}  // namespace ntb::cli
