#!/usr/bin/env bash
# The one benchmark report (bench/report.py): installs the peers' Debian
# packages (and GNU time) when they are missing, then runs every row and
# writes the table to bench/results.md.
# Usage: bench/report.sh <build dir with ntbench>
set -eu
build=${1:-build-bench}
need=()
command -v hyperfine >/dev/null || need+=(hyperfine)
command -v primesieve >/dev/null || need+=(primesieve)
command -v primecount >/dev/null || need+=(primecount)
command -v gp >/dev/null || need+=(pari-gp)
command -v factor >/dev/null || need+=(coreutils)
[ -x /usr/bin/time ] || need+=(time)
command -v valgrind >/dev/null || need+=(valgrind)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi
here=$(cd "$(dirname "$0")" && pwd)
python3 "$here/report.py" "$build" "$here/results.md"
