#!/usr/bin/env bash
# The gap listing over the whole range as a whole process: lista in mode 1
# with gap 1000 from 13 to 2147483647 (no two consecutive primes below 2^31
# are that far apart, so the listing is all sieving), on the table as built
# and after each kind of edit, side by side with primesieve counting the twin
# primes of the same range on one thread (the same sieve work).
#
# Usage: bench/primes/lista.sh <build dir> [runs]
# One line per row: the row, the median seconds, the peer's median measured
# in the same run, their ratio (target at most 3) and the peak resident
# memory.  With LISTA_TSV=<file> the rows also go to that file, tab-separated:
# row, median s, peer median s, ratio, peak KiB.
set -eu
build=${1:-build}
runs=${2:-5}
bin="$build/ntbench"
[ -x "$bin" ] || { echo "no $bin: build it first" >&2; exit 1; }
if ! command -v primesieve >/dev/null || ! command -v hyperfine >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq primesieve hyperfine >/dev/null
fi
bin=$(realpath "$bin")
tsv=${LISTA_TSV:+$(realpath -m "$LISTA_TSV")}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

# Every asknum is a number and a confirmation line; an empty line where a
# number is asked is passed over, so the sessions end with spare lines.
listing='1\n\n2\n\n1\n\n1000\n\n13\n\n2147483647\n\n\n\n4\n\n10\n\n'
names=("as built" "entry 6, position 100 out" "entry 7, 541 -> 539"
       "entry 7, 541 -> 15 (out of order)" "2, 3, 5, 7 taken away")
edits=('' '6\n\n100\n\n' '7\n\n100\n\n539\n\n' '7\n\n100\n\n15\n\n' '3\n\n3\n\n\n5\n\n')
for k in "${!edits[@]}"; do printf "${edits[$k]}$listing" > "s$k.txt"; done

"$bin" < s0.txt | tr -d '\r' | grep -A1 'pairs found' | tail -1 | grep -qx ' *0' \
  || { echo "lista found a pair with gap 1000" >&2; exit 1; }
[ "$(primesieve 13 2147483647 -c2 -t1 -q)" = 6810667 ] || { echo "primesieve disagrees" >&2; exit 1; }

cmds=("primesieve 13 2147483647 -c2 -t1 -q")
for k in "${!edits[@]}"; do cmds+=("$bin < s$k.txt > /dev/null"); done
hyperfine --warmup 1 --runs "$runs" --export-json times.json "${cmds[@]}" >/dev/null 2>&1

peak() { /usr/bin/time -f %M sh -c "$1" 2>&1 >/dev/null | tail -1; }
: > peaks.txt
for c in "${cmds[@]}"; do peak "$c" >> peaks.txt; done

NAMES=$(printf '%s\n' "${names[@]}") TSV="$tsv" python3 - <<'PY'
import json, os
r = json.load(open("times.json"))["results"]
peaks = [int(x) for x in open("peaks.txt").read().split()]
names = os.environ["NAMES"].split("\n")
peer = r[0]["median"]
lines = [("primesieve 13 2147483647 -c2 -t1", peer, None, None, peaks[0])]
for k, name in enumerate(names):
    m = r[k + 1]["median"]
    lines.append((f"lista gap 1000, 13..2147483647, {name}", m, peer, m / peer, peaks[k + 1]))
out = []
for row, m, p, ratio, kib in lines:
    extra = f"  peer {p:.3f} s  ratio {ratio:.2f}" if p else ""
    print(f"{row:62s} median {m:7.3f} s{extra}  peak {kib / 1024:.1f} MiB")
    out.append("\t".join([row, f"{m:.4f}", f"{p:.4f}" if p else "", f"{ratio:.2f}" if ratio else "", str(kib)]))
if os.environ.get("TSV"):
    with open(os.environ["TSV"], "a") as f:
        f.write("\n".join(out) + "\n")
PY
