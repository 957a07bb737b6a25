#!/usr/bin/env bash
# Builds the two libFuzzer targets in build-fuzz (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs them for SECONDS seconds in all
# (default 60, half each): the workbench on arbitrary keyboard input, then
# the one-shot commands on arbitrary argv and stdin.  Each runs first once
# over its seeds and regression inputs (fuzz/corpus, fuzz/commands_corpus),
# then the search, one job.  New inputs go to build-fuzz/corpus and
# build-fuzz/commands_corpus, a crash, leak or timeout to
# build-fuzz/findings/ (and the script fails).  Where clang or its
# libFuzzer is missing it says so and skips.
#   tools/fuzz.sh [SECONDS] [extra libFuzzer flags...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: SKIPPED: clang++ is not installed (Debian: clang, libclang-rt-dev)"
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '#include <cstdint>\n#include <cstddef>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' >"$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" 2>"$probe/err"; then
  echo "fuzz: SKIPPED: clang++ cannot link libFuzzer (Debian: libclang-rt-dev):"
  sed 's/^/  /' "$probe/err" | head -5
  exit 0
fi
jobs=${JOBS:-2}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNTBENCH_FUZZ=ON -DNTBENCH_SANITIZE=ON -DNTBENCH_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target workbench_fuzz commands_fuzz
mkdir -p build-fuzz/corpus build-fuzz/commands_corpus build-fuzz/findings
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# From build-fuzz, so that the logs of -jobs=N (fuzz-N.log) stay there.
cd build-fuzz
flags=(-timeout=10 -rss_limit_mb=2048 -max_len=4096 -artifact_prefix=findings/
  -print_final_stats=1)
first=$((seconds / 2))
echo "== fuzz: the workbench, the corpus of fuzz/corpus once"
./workbench_fuzz -dict=../fuzz/workbench.dict "${flags[@]}" -runs=0 ../fuzz/corpus
echo "== fuzz: the workbench, search for ${first} s"
./workbench_fuzz -dict=../fuzz/workbench.dict "${flags[@]}" -max_total_time="$first" "$@" \
  corpus ../fuzz/corpus
echo "== fuzz: the commands, the corpus of fuzz/commands_corpus once"
./commands_fuzz -dict=../fuzz/commands.dict "${flags[@]}" -runs=0 ../fuzz/commands_corpus
echo "== fuzz: the commands, search for $((seconds - first)) s"
./commands_fuzz -dict=../fuzz/commands.dict "${flags[@]}" -max_total_time="$((seconds - first))" \
  "$@" commands_corpus ../fuzz/commands_corpus
