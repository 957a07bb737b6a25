#!/usr/bin/env bash
# Runs every micro-benchmark, then every whole-process comparison script.
set -eu
build=${1:-build-bench}
for b in "$build"/bench/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
for s in bench/*/*.sh; do
  [ "$(basename "$s")" = run.sh ] && continue
  echo "== $(basename "$s")"
  bash "$s" "$build"
done
