#!/usr/bin/env bash
# The bash completion that the build writes from the table of commands:
# sourced in bash, run on partial command lines, the words it offers
# compared with the expected ones (files after --plot, --checkpoint and --log).
# Usage: completion_test.sh SCRIPT
set -u
script=$(realpath "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
touch comet.png counts.svg
failures=0
# offered WORD...: the words offered for the line, the last word being completed.
offered() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _ntbench
           ((${#COMPREPLY[@]})) && printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " "' sh "$script" "$@"
}
while IFS='|' read -r line expected; do
  read -ra words <<<"$line"
  [[ $line == *' ' ]] && words+=("")  # a line ending in a blank completes an empty word
  got=$(offered "${words[@]}")
  [ "$got" = "$expected" ] || {
    echo "FAIL: '$line': offered '$got', expected '$expected'"
    failures=$((failures + 1))
  }
done <<'CASES'
ntbench pr|primes
ntbench --|--help --log --version
ntbench --log x.dat t|totient triplets twins
ntbench primes --|--checkpoint --chunk --count --csv --help --no-index --no-status --threads
ntbench primes 1 10 --c|--checkpoint --chunk --count --csv
ntbench twins 1 10 --checkpoint c|comet.png counts.svg
ntbench gaps 1 2 3 --h|--help --histogram
ntbench goldbach 6 100 --plot c|comet.png counts.svg
ntbench steps |inclusion reverse
ntbench steps inclusion |
ntbench help go|goldbach goldbach-verify
ntbench pi 10 |
CASES
[ "$failures" = 0 ] || exit 1
echo "completion: every line offered its words"
