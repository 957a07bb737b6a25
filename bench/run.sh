#!/usr/bin/env bash
# Runs every micro-benchmark, then the whole-process report, which ends the
# output with its one table (also written to bench/results.md).
set -eu
build=${1:-build-bench}
for b in "$build"/bench/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
echo "== whole processes (bench/report.sh)"
bash "$(dirname "$0")/report.sh" "$build"
