#!/usr/bin/env bash
# Start-up plus Exit as a whole process, side by side with a sieve program
# counting the primes up to 2000000 (the size of our main table).
set -eu
build=${1:-build}
bin="$build/ntbench"
[ -x "$bin" ] || { echo "no $bin: build it first" >&2; exit 1; }
if ! command -v primesieve >/dev/null || ! command -v hyperfine >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq primesieve hyperfine >/dev/null
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '10\n\n' > "$dir/exit.txt"
bin=$(realpath "$bin")
cd "$dir"
hyperfine --warmup 5 --runs 100 --export-json times.json \
  "$bin < exit.txt" "primesieve 2000000 --count" >/dev/null
python3 - <<'PY'
import json
r = json.load(open("times.json"))["results"]
m = [x["median"] * 1000 for x in r]
print(f"start-up + exit: median {m[0]:.2f} ms")
print(f"primesieve 2000000 --count: median {m[1]:.2f} ms")
print(f"ratio {m[0] / m[1]:.2f}")
PY
