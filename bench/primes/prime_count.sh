#!/usr/bin/env bash
# The headline count as a whole process: start, primes entry 1 with
# N = 2147483647, pause, back to the main menu and Exit, side by side with
# `primecount 2147483647`.  Usage: bench/primes/prime_count.sh <build dir>
set -eu
build=${1:-build}
bin="$build/ntbench"
[ -x "$bin" ] || { echo "no $bin: build it first" >&2; exit 1; }
if ! command -v primecount >/dev/null || ! command -v hyperfine >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq primecount hyperfine >/dev/null 2>&1
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Main menu 1, primes entry 1, N and its confirmation, the pause, primes
# entry 4 (back), main menu 10 (Exit); every asknum is a number and a confirmation line.
printf '1\n\n1\n\n2147483647\n\n\n4\n\n10\n\n' > "$dir/session.txt"
bin=$(realpath "$bin")
cd "$dir"
"$bin" < session.txt | grep -q '105097565' || { echo "wrong count" >&2; exit 1; }
[ "$(primecount 2147483647)" = 105097565 ] || { echo "primecount disagrees" >&2; exit 1; }
hyperfine --warmup 10 --runs 200 --export-json times.json \
  "$bin < session.txt > /dev/null" "primecount 2147483647 > /dev/null" >/dev/null 2>&1
python3 - <<'PY'
import json
r = json.load(open("times.json"))["results"]
m = [x["median"] * 1000 for x in r]
print(f"ntbench session, Phi(2147483647): median {m[0]:.2f} ms")
print(f"primecount 2147483647:            median {m[1]:.2f} ms")
print(f"ratio {m[0] / m[1]:.2f} (target at most 3)")
PY
