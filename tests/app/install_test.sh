#!/usr/bin/env bash
# Installation as a user or a packager does it, into temporary directories:
#   install  cmake --install into a prefix (the program, its page, its bash completion);
#            the installed program answers --version
#   man      the manual page renders without a warning from groff -ww (and man -l)
#   package  CPack builds ntbench_<version>_<arch>.deb holding the program, the page,
#            the licence and the README; lintian (where installed) finds nothing
# Status 77 (skipped) when a tool that a check needs is missing.
# Usage: install_test.sh MODE BUILD_DIR VERSION CMAKE CPACK
set -u
mode=$1
build=$(realpath "$2")
version=$3
cmake=$4
cpack=$5
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
need() { command -v "$1" >/dev/null || { echo "SKIPPED: no $1"; exit 77; }; }
die() {
  echo "FAIL: $*"
  exit 1
}

case $mode in
  install)
    "$cmake" --install "$build" --prefix "$dir/p" >"$dir/log" 2>&1 || { cat "$dir/log"; die "cmake --install"; }
    [ -f "$dir/p/share/man/man1/ntbench.1.gz" ] || die "no share/man/man1/ntbench.1.gz"
    [ -x "$dir/p/bin/ntbench" ] || die "no bin/ntbench"
    completion=$dir/p/share/bash-completion/completions/ntbench
    grep -q '^complete -F _ntbench ntbench$' "$completion" || die "no bash completion in $completion"
    got=$(cd "$dir" && "$dir/p/bin/ntbench" --version </dev/null) || die "installed ntbench --version: status $?"
    [ "$got" = "ntbench $version" ] || die "installed ntbench --version printed '$got'"
    ;;
  man)
    need groff
    page=$build/ntbench.1
    LC_ALL=C.UTF-8 groff -ww -man -Tutf8 -z "$page" 2>"$dir/warnings"
    [ -s "$dir/warnings" ] && { cat "$dir/warnings"; die "groff -ww warns"; }
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'SESSION LOG' 'SCRIPTED SESSIONS' \
      'EXIT STATUS' FILES EXAMPLES; do
      grep -qx "\.SH \"\?$section\"\?" "$page" || die "no section $section"
    done
    grep -q "ntbench $version" "$page" || die "the page does not carry the version"
    if command -v man >/dev/null; then
      MANWIDTH=80 man -l "$page" >"$dir/page" 2>"$dir/warnings" || die "man -l: status $?"
      [ -s "$dir/warnings" ] && { cat "$dir/warnings"; die "man -l warns"; }
      grep -q -- '--log' "$dir/page" || die "man -l rendered no --log"
    fi
    ;;
  package)
    need dpkg-deb
    need dpkg
    "$cpack" --config "$build/CPackConfig.cmake" -B "$dir" >"$dir/log" 2>&1 || { cat "$dir/log"; die "cpack"; }
    deb=$dir/ntbench_${version}_$(dpkg --print-architecture).deb
    [ -f "$deb" ] || die "no $(basename "$deb") among: $(ls "$dir")"
    contents=$(dpkg-deb --contents "$deb")
    for f in ./usr/bin/ntbench ./usr/share/man/man1/ntbench.1.gz ./usr/share/doc/ntbench/copyright \
      ./usr/share/bash-completion/completions/ntbench \
      ./usr/share/doc/ntbench/README.md ./usr/share/doc/ntbench/changelog.gz; do
      grep -q " $f\$" <<<"$contents" || die "the package lacks $f: $contents"
    done
    [ -z "$(dpkg-deb -f "$deb" Depends)" ] || die "the static program has dependencies"
    [[ $(dpkg-deb -f "$deb" Maintainer) == *'<'*@*'>' ]] || die "the maintainer has no address"
    if readelf -d "$build/ntbench" 2>/dev/null | grep -q NEEDED; then
      # A sanitizer build links the runtime's shared libraries: the package
      # of a release build is the one to lint.
      echo "the program is not static (a sanitizer build): the package's lint is not checked"
    elif command -v lintian >/dev/null; then
      lintian --fail-on error,warning "$deb" >"$dir/lintian" 2>&1 || { cat "$dir/lintian"; die "lintian"; }
      grep -E '^[EW]: ' "$dir/lintian" && die "lintian reports the lines above"
    else
      echo "lintian is not installed: the package's lint is not checked"
    fi
    ;;
  *) die "unknown mode $mode" ;;
esac
echo "$mode: passed"
