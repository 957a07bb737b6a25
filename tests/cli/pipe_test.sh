#!/usr/bin/env bash
# The one-shot commands as whole processes in a pipeline: a reader that
# stops after one line ends the longest listing at once and quietly, long
# commands draw no progress line on a standard error that is no terminal,
# factor reads its numbers from standard input, and a standard descriptor
# that fails is reported.
# Usage: pipe_test.sh BINARY
set -u
bin=$(realpath "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# `| head -1`: every prime up to 2^31 would be 1.1 GB; head takes one line
# and the writer ends by SIGPIPE (status 141 in the shell) within seconds,
# with nothing on standard error.
for cmd in "primes 1 2147483647" "twins 0 2147483647 --csv" "gaps 2 40 0 2147483647" \
  "goldbach 1e14 --list -t 2"; do
  start=$(date +%s)
  # shellcheck disable=SC2086  # the arguments are split on purpose
  (
    timeout 20 "$bin" $cmd 2>err
    echo $? >rc
  ) | head -1 >first_line
  first=$(cat first_line)
  statuses=$(cat rc)
  [ $(($(date +%s) - start)) -le 15 ] || fail "$cmd | head -1: took more than 15 s"
  [ "$statuses" = 141 ] || fail "$cmd | head -1: status $statuses, not ended by SIGPIPE"
  [ -s err ] && fail "$cmd | head -1: wrote to standard error: $(head -c 200 err)"
  case $cmd in
    primes*) [ "$first" = "1 2" ] || fail "primes | head -1 gave '$first'" ;;
    twins*) [ "$first" = "index_p,p,index_q,q,gap"$'\r' ] || fail "twins --csv | head -1 gave '$first'" ;;
    gaps*) [ "$first" = "2 3 3 5 2" ] || fail "gaps | head -1 gave '$first'" ;;
    goldbach*) [ "$first" = "29 99999999999971" ] || fail "goldbach --list | head -1 gave '$first'" ;;
  esac
done

# Long commands with standard error not a terminal: no progress line, not
# even after their first second (2 to 3 s each here).
for cmd in "gaps 1 1000 1e12 1e12+15e9 --histogram -t 2" "pi 1e12 1e12+1e10 --step 1e9 -t 1"; do
  # shellcheck disable=SC2086  # the arguments are split on purpose
  "$bin" $cmd >out 2>err || fail "$cmd: status $?"
  [ -s err ] && fail "$cmd: wrote to standard error: $(head -c 200 err | od -c | head -3)"
  [ -s out ] || fail "$cmd: no rows"
done

# factor and totient from a pipe: a bad token named, the rest answered, status 1.
out=$(printf '720720 abc\n\n  97\n' | "$bin" factor 2>err)
rc=$?
[ "$rc" = 1 ] || fail "factor from a pipe: status $rc"
[ "$out" = $'720720: 2 2 2 2 3 3 5 7 11 13\n97: 97' ] || fail "factor from a pipe printed '$out'"
[ "$(cat err)" = "ntbench factor: 'abc' is not a whole number from 0 to 18446744073709551615" ] ||
  fail "factor from a pipe: '$(cat err)'"
[ -e session7.dat ] && fail "a command created session7.dat"

# A standard input that cannot be read (closed, a directory) is said so,
# status 1, not taken for an empty one; a closed standard output likewise.
check_fault() {  # WHAT EXPECTED-STDERR COMMAND...
  local what=$1 want=$2
  shift 2
  "$@" >out 2>err
  rc=$?
  [ "$rc" = 1 ] || fail "$what: status $rc"
  [ "$(cat err)" = "$want" ] || fail "$what: '$(cat err)'"
  [ -s out ] && fail "$what: wrote '$(head -c 200 out)'"
}
for cmd in factor totient; do
  check_fault "$cmd <&-" "ntbench $cmd: standard input: Bad file descriptor" \
    sh -c '"$1" "$2" <&-' sh "$bin" "$cmd"
  check_fault "$cmd < $dir" "ntbench $cmd: standard input: Is a directory" "$bin" "$cmd" <"$dir"
done
check_fault "factor 12 >&-" "ntbench: standard output: Bad file descriptor" \
  sh -c '"$1" factor 12 >&-' sh "$bin"

[ "$failures" = 0 ] || exit 1
echo "pipelines: every check passed"
