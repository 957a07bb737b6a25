#!/usr/bin/env bash
# Keeps the layering of src/: every '#include "folder/..."' line must point
# into a folder that the including folder may see.
#   numtheory                            its own files only (the ground floor)
#   io                                   its own files and numtheory (the digit writer)
#   primes, divisors, methods, goldbach  their own files and the ground floors
#   cli                                  numtheory and the ENGINE headers of the command folders
#   app                                  everything (the only folder that knows every command)
# A command folder is split into its engines and its commands.  The engine
# headers are listed below; the engine sources are the ones the folder's
# CMakeLists.txt puts into ntb_<folder>_engines.  Engine files include only
# numtheory and their folder's engine headers: no console, no dialogue, no
# record layouts, so that src/cli links engine code only.
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
    *) echo "" ;;
  esac
}
engine_headers() {
  case $1 in
    primes) echo "prime_listing.hpp" ;;
    divisors) echo "divisor_classes.hpp divisor_listing.hpp divisor_pairs.hpp divisor_prefixes.hpp
                   divisor_vector.hpp euler_function.hpp quotient_pi.hpp" ;;
    methods) echo "inclusion_terms.hpp inclusion_totals.hpp pythagorean.hpp reverse_rows.hpp
                  triplet_data.hpp triplet_steps.hpp" ;;
    goldbach) echo "counts.hpp engines.hpp even_pairs.hpp" ;;
    *) echo "" ;;
  esac
}
# The sources of ntb_<folder>_engines in src/<folder>/CMakeLists.txt.
engine_sources() {
  local cm="$src/$1/CMakeLists.txt"
  [ -f "$cm" ] || return 0
  awk -v lib="ntb_$1_engines" '
    index($0, "add_library(" lib " ") { on = 1; next }
    on && /\)/ { on = 0 }
    on { for (i = 1; i <= NF; i++) if ($i != "STATIC") print $i }' "$cm"
}
is_engine() {  # folder file
  local f
  for f in $(engine_headers "$1") $(engine_sources "$1"); do
    [ "$f" = "$2" ] && return 0
  done
  return 1
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
    name=$(basename "$file")
    target=$(sed -E 's/.*#include "([^"/]+)\/.*/\1/' <<<"$line")
    header=$(sed -E 's/.*#include "[^"/]+\/([^"]+)".*/\1/' <<<"$line")
    case $line in *'#include "'*/*) ;; *) echo "${file#"$src"/}: include without a folder: ${line#*:}"; bad=1; continue ;; esac
    if [[ $ok != *" $target "* ]]; then
      echo "src/${file#"$src"/}: src/$folder may not include $target/: ${line#*:}"
      bad=1
      continue
    fi
    # Engine code, and src/cli, see only the engine side of a command folder.
    engine_user=0
    [ "$folder" = cli ] && engine_user=1
    case $folder in primes | divisors | methods | goldbach) is_engine "$folder" "$name" && engine_user=1 ;; esac
    if [ $engine_user -eq 1 ]; then
      case $target in
        io) echo "src/${file#"$src"/}: engine code may not include io/: ${line#*:}"; bad=1 ;;
        primes | divisors | methods | goldbach)
          if ! is_engine "$target" "$header" || [[ $header != *.hpp ]]; then
            echo "src/${file#"$src"/}: only engine headers of $target/ may be included here: ${line#*:}"
            bad=1
          fi ;;
      esac
    fi
  done < <(grep -rH '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$dir")
done
# Every listed engine header exists.
for folder in primes divisors methods goldbach; do
  for h in $(engine_headers "$folder"); do
    [ -f "$src/$folder/$h" ] || { echo "src/$folder/$h: listed as an engine header but missing"; bad=1; }
  done
done
if [ $bad -ne 0 ]; then
  echo "include layering: FAILED"
  exit 1
fi
echo "include layering: every include of src/ keeps to its floor"
