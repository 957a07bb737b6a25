#!/usr/bin/env bash
# Keeps the layering of src/: every '#include "folder/..."' line must point
# into a folder that the including folder may see.
#   numtheory                            its own files only (the ground floor)
#   io                                   its own files and numtheory (the digit writer)
#   primes, divisors, methods, goldbach  their own files and the ground floors
#   cli                                  numtheory and the engines of the command folders
#   app                                  everything (the only folder that knows every command)
#   mpi                                  what cli sees, and cli (ntbench-mpi, the face beside app)
# A command folder keeps its engines in its engine/ subfolder and its
# dialogues beside it.  Engine files include only numtheory and their
# folder's engine/ headers: no console, no dialogue, no record layouts, so
# that src/cli (and src/mpi above it) links engine code only.  The split is read from the tree.
# Prints every forbidden include and fails if there is one.
set -u
src=${1:-"$(dirname "$0")/../src"}
allowed() {
  case $1 in
    numtheory) echo "numtheory" ;;
    io) echo "io numtheory" ;;
    primes | divisors | methods | goldbach) echo "$1 numtheory io" ;;
    cli) echo "cli numtheory primes divisors methods goldbach" ;;
    app) echo "app cli numtheory io primes divisors methods goldbach" ;;
    mpi) echo "mpi cli numtheory primes divisors methods goldbach" ;;
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
    rel=${file#"$src"/}
    case $line in *'#include "'*/*) ;; *) echo "src/$rel: include without a folder: ${line#*:}"; bad=1; continue ;; esac
    target=$(sed -E 's/.*#include "([^"/]+)\/.*/\1/' <<<"$line")
    header=$(sed -E 's/.*#include "[^"/]+\/([^"]+)".*/\1/' <<<"$line")
    if [[ $ok != *" $target "* ]]; then
      echo "src/$rel: src/$folder may not include $target/: ${line#*:}"
      bad=1
      continue
    fi
    # Engine code, and src/cli, see only the engine side of a command folder.
    engine_user=0
    [ "$folder" = cli ] || [ "$folder" = mpi ] && engine_user=1
    [[ $rel == */engine/* ]] && engine_user=1
    if [ $engine_user -eq 1 ]; then
      case $target in
        io) echo "src/$rel: engine code may not include io/: ${line#*:}"; bad=1 ;;
        primes | divisors | methods | goldbach)
          if [[ $header != engine/*.hpp ]]; then
            echo "src/$rel: only the engine/ headers of $target/ may be included here: ${line#*:}"
            bad=1
          elif [ "$folder" != cli ] && [ "$folder" != mpi ] && [ "$folder" != "$target" ]; then
            echo "src/$rel: src/$folder may not include $target/: ${line#*:}"
            bad=1
          fi ;;
      esac
    fi
  done < <(grep -rH '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$dir")
done
# Every engine source is built into its folder's engine library, and no
# dialogue source is.
for folder in primes divisors methods goldbach; do
  cm="$src/$folder/CMakeLists.txt"
  [ -f "$cm" ] || continue
  for f in "$src/$folder"/engine/*.cpp; do
    [ -e "$f" ] || continue
    grep -q "engine/$(basename "$f")" "$cm" ||
      { echo "src/$folder/engine/$(basename "$f"): not built into ntb_${folder}_engines"; bad=1; }
  done
done
if [ $bad -ne 0 ]; then
  echo "include layering: FAILED"
  exit 1
fi
echo "include layering: every include of src/ keeps to its floor"
