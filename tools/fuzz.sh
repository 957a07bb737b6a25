#!/usr/bin/env bash
# Builds the libFuzzer target in build-fuzz (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for SECONDS seconds (default 60):
# first once over the seeds and the regression inputs of fuzz/corpus, then
# the search, one job.  New inputs go to build-fuzz/corpus, a crash, leak
# or timeout to build-fuzz/findings/ (and the script fails).  Where clang
# or its libFuzzer is missing it says so and skips.
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
cmake --build build-fuzz -j "$jobs" --target workbench_fuzz
mkdir -p build-fuzz/corpus build-fuzz/findings
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# From build-fuzz, so that the logs of -jobs=N (fuzz-N.log) stay there.
cd build-fuzz
flags=(-dict=../fuzz/workbench.dict -timeout=10 -rss_limit_mb=2048 -max_len=4096
  -artifact_prefix=findings/ -print_final_stats=1)
echo "== fuzz: the corpus of fuzz/corpus once"
./workbench_fuzz "${flags[@]}" -runs=0 ../fuzz/corpus
echo "== fuzz: search for ${seconds} s"
./workbench_fuzz "${flags[@]}" -max_total_time="$seconds" "$@" corpus ../fuzz/corpus
