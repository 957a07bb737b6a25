#!/usr/bin/env bash
# The searches of Goldbach entries 2, 3 and 4 side by side with the obvious
# PARI/GP loops doing the same search: for each even n from 6 to 12004 the
# pairs of the kind with sum n are counted by trying every candidate, and
# the n with K pairs are counted.  Two comparisons:
#   - the search alone: gp's own timer around its loop against the
#     micro-benchmark of our search (medians of 5 runs each);
#   - whole processes with hyperfine: gp running the loop against an
#     ntbench session (start, Goldbach submenu, the entry, K, Exit).
# Usage: bench/goldbach/goldbach.sh <build dir configured with -DNTBENCH_BENCH=ON>
set -eu
build=${1:-build}
bin="$build/ntbench"
bench="$build/bench/goldbach_bench"
for b in "$bin" "$bench"; do
  [ -x "$b" ] || { echo "no $b: build it first (with -DNTBENCH_BENCH=ON)" >&2; exit 1; }
done
if ! command -v gp >/dev/null || ! command -v hyperfine >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq pari-gp hyperfine >/dev/null 2>&1
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
bin=$(realpath "$bin")
bench=$(realpath "$bench")
cd "$dir"

# The loops: prime pairs (odd primes p <= n/2 with n - p prime), composite
# pairs (odd composites c <= n/2 with n - c composite), mixed pairs (odd
# primes p <= n - 3 with n - p composite).
cat > loops.gp <<'GP'
pr(n)=my(k=0);forprime(p=3,n\2,if(isprime(n-p),k++));k;
co(n)=my(k=0);forstep(c=9,n\2,2,if(!isprime(c)&&!isprime(n-c),k++));k;
mi(n)=my(k=0);forprime(p=3,n-3,if(!isprime(n-p),k++));k;
search(f,K)=my(c=0);forstep(n=6,12004,2,if(f(n)==K,c++));c;
GP
# entry, gp function, K (0 prime pairs lists nothing; 100 lists 4 and 9 numbers)
entries="2 pr 0
3 co 100
4 mi 100"

# gp's timer around the loop, five times.
while read -r e f K; do
  {
    cat loops.gp
    echo "for(i=1,5,gettime();c=search($f,$K);print(\"$e \",c,\" \",gettime()));"
  } > "timed$e.gp"
  gp -q -f "timed$e.gp" < /dev/null >> gp_times.txt
  { cat loops.gp; echo "search($f,$K)"; } > "once$e.gp"
  # A session: main menu 5, the entry, K, the pause, back (10) and Exit (10);
  # every number is followed by its confirmation line.
  printf '5\n\n%s\n\n%s\n\n\n10\n\n10\n\n' "$e" "$K" > "session$e.txt"
done <<< "$entries"

"$bench" --benchmark_filter='BM_Search(Prime|Composite|Mixed)Pairs$' --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_format=json > ours.json 2>/dev/null

hyperfine --warmup 2 --runs 10 --export-json whole2.json \
  "$bin < session2.txt > /dev/null" "gp -q -f once2.gp < /dev/null > /dev/null" >/dev/null 2>&1
hyperfine --warmup 1 --runs 5 --export-json whole3.json \
  "$bin < session3.txt > /dev/null" "gp -q -f once3.gp < /dev/null > /dev/null" >/dev/null 2>&1
hyperfine --warmup 1 --runs 5 --export-json whole4.json \
  "$bin < session4.txt > /dev/null" "gp -q -f once4.gp < /dev/null > /dev/null" >/dev/null 2>&1

python3 - <<'PY'
import json, statistics
gp = {}
for line in open("gp_times.txt"):
    e, found, ms = line.split()
    gp.setdefault(e, []).append(float(ms))
ours = {}
for b in json.load(open("ours.json"))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        unit = {"ms": 1.0, "us": 1e-3, "ns": 1e-6}[b["time_unit"]]
        ours[b["run_name"]] = b["real_time"] * unit
names = {"2": "BM_SearchPrimePairs", "3": "BM_SearchCompositePairs", "4": "BM_SearchMixedPairs"}
print("search alone (medians of 5)             ntbench       gp loop    ratio (target >= 20)")
for e in "234":
    g = statistics.median(gp[e])
    o = ours[names[e]]
    print(f"  entry {e}                              {o:8.2f} ms  {g:9.1f} ms  {g / o:7.1f}")
print("whole process (hyperfine medians)       ntbench       gp         ratio")
for e in "234":
    r = json.load(open(f"whole{e}.json"))["results"]
    o, g = r[0]["median"] * 1000, r[1]["median"] * 1000
    print(f"  entry {e}                              {o:8.2f} ms  {g:9.1f} ms  {g / o:7.1f}")
PY
