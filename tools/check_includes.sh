#!/usr/bin/env bash
# Keeps the layering of src/: every '#include "folder/..."' line must point
# into a folder that the including folder may see.
#   numtheory, io                        their own files only (the two ground floors)
#   primes, divisors, methods, goldbach  their own files and the ground floors
#   cli                                  its own files and numtheory (the one-shot commands:
#                                        engines only, never a dialogue, the console or records)
#   app                                  everything (the only folder that knows every command)
# Prints every forbidden include and fails if there is one.
set -u
src=${1:-"$(dirname "$0")/../src"}
allowed() {
  case $1 in
    numtheory | io) echo "$1" ;;
    primes | divisors | methods | goldbach) echo "$1 numtheory io" ;;
    cli) echo "cli numtheory" ;;
    app) echo "app cli numtheory io primes divisors methods goldbach" ;;
    *) echo "" ;;
  esac
}
bad=0
for dir in "$src"/*/; do
  folder=$(basename "$dir")
  ok=" $(allowed "$folder") "
  if [ "$ok" = "  " ]; then
    echo "unknown folder src/$folder: add it to tools/check_includes.sh"
    bad=1
    continue
  fi
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([^"/]+)\/.*/\1/' <<<"$line")
    case $line in *'#include "'*/*) ;; *) echo "${file#"$src"/}: include without a folder: ${line#*:}"; bad=1; continue ;; esac
    if [[ $ok != *" $target "* ]]; then
      echo "src/${file#"$src"/}: src/$folder may not include $target/: ${line#*:}"
      bad=1
    fi
  done < <(grep -rH '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$dir")
done
if [ $bad -ne 0 ]; then
  echo "include layering: FAILED"
  exit 1
fi
echo "include layering: every include of src/ keeps to its floor"
