#!/usr/bin/env bash
# ntbench-mpi against ntbench, end to end: every range command under
# `mpirun -n 3` (and a few under -n 1, and without mpirun) with chunk lengths that cut the range
# unevenly, one number a chunk, one chunk for all; standard output, standard
# error and the status must be ntbench's byte for byte.  Then checkpoints
# passed between the two programs half done, a checkpoint of another job
# refused on rank 0 while the other ranks are let go, and the command lines
# ntbench-mpi refuses, each said once.
# Usage: mpi_commands_test.sh NTBENCH_MPI NTBENCH MPIRUN_SH
set -u
mpi=$1 nt=$2 mpirun=$3
bash "$mpirun" -n 1 true || exit  # 77 when there is no mpirun
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0

# mpirun -q: no banner of mpirun's own when the ranks end with status 2.
# Ranks 0: the program started alone, without mpirun (one rank).
run_mpi() {
  local n=$1
  shift
  if [ "$n" = 0 ]; then
    timeout 120 "$mpi" "$@"
  else
    timeout 120 bash "$mpirun" -q -n "$n" "$mpi" "$@"
  fi
}

# Runs the command line in both programs and compares all they say.
same() {
  local n=$1
  shift
  "$nt" "$@" >"$tmp/want" 2>"$tmp/want_err"
  local want=$?
  run_mpi "$n" "$@" >"$tmp/got" 2>"$tmp/got_err"
  local got=$?
  if [ $got -ne $want ] || ! cmp -s "$tmp/want" "$tmp/got" || ! cmp -s "$tmp/want_err" "$tmp/got_err"; then
    echo "FAIL: mpirun -n $n ntbench-mpi $* (status $got, ntbench $want)"
    diff "$tmp/want" "$tmp/got" | head -5
    diff "$tmp/want_err" "$tmp/got_err" | head -5
    fail=1
  fi
}

while read -r n args; do
  [ -z "$n" ] && continue
  # shellcheck disable=SC2086 # the table's words are the arguments
  same "$n" $args
done <<'EOF'
3 primes 1e12 1e12+3e7 --count --chunk 999983 -t 1
3 primes 0 2000000 --count --chunk 65521 --csv -t 1
3 primes 0 30 --count --chunk 1
3 primes 1e12 1e12+2e9 --count -t 1
1 primes 1e9 1e9+5e6 --count --chunk 77777
0 primes 1e9 1e9+5e6 --count --chunk 77777
3 twins 1e12 1e12+2e7 --count --chunk 1234567 -t 1
3 twins 1e6 2e6 --count --chunk 1e9
3 twins 1e9 1e9+2e5 --chunk 7777 -t 1
3 twins 1e9 1e9+2e5 --no-index --chunk 7777 -t 1
3 gaps 36 1e12 1e12+2e7 --chunk 1000003 -t 1
3 gaps 36 1e12 1e12+2e7 --no-index --chunk 1000003 --csv -t 1
3 gaps 20 40 1e10 1e10+1e7 --chunk 999999 -t 1
3 gaps 2 0 100 --chunk 3
3 gaps 1 100 2 2e7 --histogram --chunk 2222223 -t 1
1 gaps 1 100 2 2e6 --histogram --chunk 65537
3 goldbach 100000000 --chunk 999999 -t 1
3 goldbach 1000 --chunk 7
3 goldbach-verify 1e9 1e9+2e6 --chunk 99991 -t 1
3 goldbach-verify 4 300000 --records --chunk 4099 -t 1
1 goldbach-verify 4 100000 --chunk 4099
EOF
# An n left unverified (p bounded by the tests' variable): status 3, said once.
NTBENCH_TEST_GOLDBACH_MAX_P=3 same 3 goldbach-verify 4 1000 --chunk 77

# Checkpoints: a run's file cut back to its header and a few chunks (those
# that came first, in any order under MPI) is finished by the other program.
resume() {  # writer_ranks resumer_ranks command...  (here ranks 0 stands for ntbench)
  local writer=$1 resumer=$2
  shift 2
  rm -f "$tmp/ck" "$tmp/ck_part"
  "$nt" "$@" >"$tmp/want"
  if [ "$writer" = 0 ]; then "$nt" "$@" --checkpoint "$tmp/ck" >"$tmp/got"; else run_mpi "$writer" "$@" --checkpoint "$tmp/ck" >"$tmp/got"; fi
  cmp -s "$tmp/want" "$tmp/got" || { echo "FAIL: checkpointed run of $*"; fail=1; }
  head -6 "$tmp/ck" >"$tmp/ck_part"
  if [ "$resumer" = 0 ]; then "$nt" "$@" --checkpoint "$tmp/ck_part" >"$tmp/got"; else run_mpi "$resumer" "$@" --checkpoint "$tmp/ck_part" >"$tmp/got"; fi
  cmp -s "$tmp/want" "$tmp/got" || { echo "FAIL: resumed run of $* (written by -n $writer, resumed by -n $resumer)"; fail=1; }
  [ "$(wc -l <"$tmp/ck_part")" = "$(wc -l <"$tmp/ck")" ] || { echo "FAIL: the resumed checkpoint of $* is not whole"; fail=1; }
}
resume 3 0 primes 1e12 1e12+2e7 --count --chunk 999983 -t 1
resume 0 3 gaps 36 1e12 1e12+2e7 --no-index --chunk 1000003 -t 1
resume 3 1 twins 1e9 1e9+2e6 --chunk 65537 -t 1
# Another job's checkpoint: refused by rank 0 as ntbench refuses it, the
# other ranks let go.
same 3 twins 1e12 1e12+2e7 --count --chunk 999983 -t 1 --checkpoint "$tmp/ck"

# Refused here, said once by rank 0; usage errors, help and version as
# ntbench says them.
refused() {
  local n=$1 line=$2
  shift 2
  run_mpi "$n" "$@" >"$tmp/got" 2>"$tmp/got_err"
  local got=$?
  if [ $got -ne 2 ] || [ -s "$tmp/got" ] || [ "$(cat "$tmp/got_err")" != "$line" ]; then
    echo "FAIL: mpirun -n $n ntbench-mpi $* (status $got): $(head -3 "$tmp/got_err")"
    fail=1
  fi
}
refused 3 "ntbench-mpi: pi runs in ntbench only" pi 1000
refused 3 "ntbench-mpi: this form of primes runs in ntbench only (ntbench-mpi runs the forms that take --chunk)" primes 1 100
refused 1 "ntbench-mpi: give a range command (primes --count, twins, gaps, goldbach N, goldbach-verify); the workbench runs in ntbench only"
same 3 primes 100 1 --count
same 3 gaps 3 1 100 --chunk 0
same 3 --version
same 3 twins --help

[ $fail -eq 0 ] && echo "ntbench-mpi: every answer is ntbench's"
exit $fail
