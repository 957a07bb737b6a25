#!/usr/bin/env bash
# Checks the build's Debian packages (`deps.sh mpi` and `deps.sh ci` check
# more) and installs the missing ones when run as root with apt-get;
# otherwise names them and fails.
set -u
need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v make >/dev/null 2>&1 || need+=(make)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -d /usr/src/googletest ] || [ -f /usr/lib/x86_64-linux-gnu/libgtest.a ] || [ -f /usr/lib/x86_64-linux-gnu/libgtest.so ] || need+=(googletest)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
[ -f /usr/include/CLI/CLI.hpp ] || need+=(libcli11-dev)
[ -f /usr/lib/x86_64-linux-gnu/libprimesieve.a ] || need+=(libprimesieve-dev)
[ -f /usr/lib/x86_64-linux-gnu/libprimecount.a ] || need+=(libprimecount-dev)
# The tests of --plot: gnuplot draws, an XML parser reads its SVG.
command -v gnuplot >/dev/null 2>&1 || need+=(gnuplot-nox)
[ -f /usr/include/expat.h ] || need+=(libexpat1-dev)
# `deps.sh mpi` (make mpi, make test, make bench) and `deps.sh ci`: OpenMPI
# for ntbench-mpi, its headers and library, and mpirun for its tests.  The
# program alone (make, make run) does not need it.
case ${1:-} in
  mpi | ci)
    command -v mpicxx >/dev/null 2>&1 || need+=(libopenmpi-dev)
    command -v mpirun >/dev/null 2>&1 || need+=(openmpi-bin) ;;
esac
# `deps.sh ci`: CI also builds with Clang, renders the manual page and lints
# the Debian package.
if [ "${1:-}" = ci ]; then
  command -v clang++ >/dev/null 2>&1 || need+=(clang)
  command -v groff >/dev/null 2>&1 || need+=(groff-base)
  command -v lintian >/dev/null 2>&1 || need+=(lintian)
fi
[ ${#need[@]} -eq 0 ] && exit 0
echo "missing Debian packages: ${need[*]}" >&2
if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
  echo "installing: apt-get install -y ${need[*]}" >&2
  (apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}") >&2 && exit 0
fi
echo "install them with: sudo apt-get install ${need[*]}" >&2
exit 1
