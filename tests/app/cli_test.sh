#!/usr/bin/env bash
# The program as a user starts it: --help, --version, --log FILE and wrong
# arguments, each with its exit status, the channel it writes to and the
# log files it leaves behind.  Every run reads from a file, never from the
# terminal.
# Usage: cli_test.sh BINARY VERSION
set -u
bin=$(realpath "$1")
version=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# run ARG...: runs the program with no input; status in $rc, output in out and err.
run() {
  "$bin" "$@" </dev/null >out 2>err
  rc=$?
}

for opt in -h --help; do
  run "$opt"
  [ "$rc" = 0 ] || fail "$opt: status $rc"
  head -n 1 out | grep -q '^Usage: ntbench' || fail "$opt: no usage line"
  grep -q -- '--log FILE' out || fail "$opt: --log is not described"
  [ -s err ] && fail "$opt: wrote to standard error"
done
for opt in -V --version; do
  run "$opt"
  [ "$rc" = 0 ] || fail "$opt: status $rc"
  [ "$(cat out)" = "ntbench $version" ] || fail "$opt: printed '$(cat out)'"
done
[ -e session7.dat ] && fail "--help or --version created session7.dat"

# A wrong argument: one line on standard error naming it, status 2, and
# neither the default log nor a log named before it is created or emptied.
printf 'old record\r\n' >session7.dat
while IFS='|' read -r named args; do
  # shellcheck disable=SC2086  # the arguments are split on purpose
  run $args
  [ "$rc" = 2 ] || fail "'$args': status $rc"
  [ -s out ] && fail "'$args': wrote to standard output"
  [ "$(wc -l <err)" = 1 ] || fail "'$args': not one line on standard error"
  grep -qF -- "$named" err || fail "'$args': the message does not name $named"
  grep -qF -- "--help" err || fail "'$args': the message does not point to --help"
  [ -e named.log ] && fail "'$args': created named.log"
done <<'CASES'
'--bogus'|--bogus
'extra'|--log named.log extra
'--log'|--log
'-'|--log -
CASES
[ "$(cat session7.dat)" = "$(printf 'old record\r')" ] || fail "a wrong argument touched session7.dat"
rm -f session7.dat

# --log FILE: the records of a run go to FILE, byte for byte those of the
# default log, and session7.dat is not created.
count_primes='1\n\n1\n\n2147483647\n\n\n4\n\n10\n\n'
expected=$(printf '%21sprime numbers up to 2147483647.\r\n105097565.\r\n%7s%s\r\n' '' '' \
  _______________________________________ | od -c)
mkdir default named
(cd default && printf "$count_primes" | "$bin" >/dev/null) || fail "default log: status $?"
[ "$(od -c <default/session7.dat)" = "$expected" ] || fail "default log: other records"
for form in "--log kept.log" "--log=kept.log"; do
  rm -f named/*
  # shellcheck disable=SC2086
  (cd named && printf "$count_primes" | "$bin" $form >/dev/null) || fail "$form: status $?"
  cmp -s default/session7.dat named/kept.log || fail "$form: the log differs from the default one"
  [ -e named/session7.dat ] && fail "$form: session7.dat was created"
done

# A session log that cannot be created (here a folder holds its name): the
# reason, and what to do instead, on one line; status 1.
mkdir -p refused/session7.dat
(cd refused && "$bin" </dev/null >../out 2>../err)
[ $? = 1 ] || fail "refused log: not status 1"
[ "$(cat err)" = "ntbench: cannot create the session log session7.dat: Is a directory (run it in a \
writable folder, or name the log with --log FILE)" ] || fail "refused log: printed '$(cat err)'"

[ "$failures" = 0 ] || exit 1
echo "command line: every check passed"
