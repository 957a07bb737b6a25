#!/usr/bin/env python3
"""ntbench-mpi on one rank and on two, one thread each: markdown rows.

Rows in the columns of bench/report.py's table, which takes them in.
For each command, `mpirun -n 1` and `mpirun -n 2` of ntbench-mpi with
--threads 1 over shared memory (the best of RUNS runs each, since the
machine is shared; the times include mpirun's start-up, measured on its own
first), the ratio of the two wall times (target at most 0.6), the cost
beyond a perfect split, 2 * t(2) / t(1) - 1 (target at most 20 %), the CPU
time of all ranks, and the bytes a rank sends and receives per chunk,
counted by the runner itself (NTBENCH_MPI_STATS=1).  Both answers must be
ntbench's.

Usage: bench/mpi/report_mpi.py <build dir with ntbench and ntbench-mpi>
NTBENCH_MPI_ROWS=<regex> keeps the rows whose command matches; RUNS=<n>.
"""

import os
import re
import resource
import subprocess
import sys
import time

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
RUNS = int(os.environ.get("RUNS", "3"))
ROWS = [
    "primes 1e12 1e12+1e10 --count",
    "goldbach-verify 1e12 1e12+1e10",
]
ENV = dict(os.environ, OMPI_ALLOW_RUN_AS_ROOT="1", OMPI_ALLOW_RUN_AS_ROOT_CONFIRM="1",
           NTBENCH_MPI_STATS="1")
STATS = re.compile(r"(\d+) ranks, (\d+) chunks \((\d+) on rank 0\), (\d+) messages of (\d+) "
                   r"bytes to rank 0, (\d+) of (\d+) bytes from rank 0")


def run(argv):
    """Wall and CPU seconds (the process and its children), stdout, stderr."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    p = subprocess.run(argv, env=ENV, capture_output=True, text=True)
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if p.returncode != 0:
        sys.exit(f"report_mpi: {' '.join(argv)}: status {p.returncode}\n{p.stderr}")
    return wall, cpu, p.stdout, p.stderr


def best(ranks, *args):
    argv = ["mpirun", "--bind-to", "none", "--mca", "pml", "ob1", "--mca", "btl", "self,vader",
            "-n", str(ranks), os.path.join(BUILD, "ntbench-mpi"), *args]
    runs = [run(argv) for _ in range(RUNS)]
    return min(runs, key=lambda r: r[0])


def seconds(s):
    return f"{s * 1000:.1f} ms" if s < 1 else f"{s:.2f} s"


def main():
    keep = re.compile(os.environ.get("NTBENCH_MPI_ROWS", ""))
    start = best(2, "--version")[0]
    # Lines that are not table rows say what the rows hold; bench/report.py
    # takes the rows only, into its own table of the same columns.
    print(f"ntbench-mpi: mpirun -n 2 ntbench-mpi --version takes {seconds(start)}, counted in "
          "every time below.")
    print("Columns as in bench/results.md: row (with the chunks and the bytes a rank sends and "
          "receives per chunk), table, two ranks' wall time and CPU (all ranks), runs, one rank "
          "as the peer, ratio two over one, target, peak RSS (not taken), ok.")
    for command in ROWS:
        if not keep.search(command):
            continue
        row = f"mpirun -n 2 ntbench-mpi {command} -t 1"
        known = subprocess.run([os.path.join(BUILD, "ntbench"), command.split()[0], "--help"],
                               capture_output=True)
        if known.returncode != 0:
            print(f"| {row}: not in this build |" + " |" * 10 + " NO |")
            continue
        expected = subprocess.run([os.path.join(BUILD, "ntbench"), *command.split(), "-t", "1"],
                                  capture_output=True, text=True).stdout
        args = [*command.split(), "-t", "1", "--no-status"]
        one = best(1, *args)
        two = best(2, *args)
        ratio = two[0] / one[0]
        beyond = 2 * ratio - 1
        m = STATS.search(two[3])
        if m is None:
            sys.exit(f"report_mpi: no statistics from ntbench-mpi:\n{two[3]}")
        chunks, on_rank0 = int(m.group(2)), int(m.group(3))
        to0_bytes, from0_bytes = int(m.group(5)), int(m.group(7))
        elsewhere = max(chunks - on_rank0, 1)
        ok = ratio <= 0.6 and beyond <= 0.2 and one[2] == expected and two[2] == expected
        print(f"| {row}: {chunks} chunks ({on_rank0} on rank 0), "
              f"{to0_bytes / elsewhere:.0f} bytes sent and {from0_bytes / elsewhere:.0f} received "
              f"a chunk | 2 ranks | {seconds(two[0])} | {seconds(two[1])} | {RUNS} "
              f"| mpirun -n 1 (one rank) | {seconds(one[0])} | {seconds(one[1])} | {ratio:.2f} "
              f"| <= 0.60 ({100 * beyond:.0f} % beyond a perfect split, <= 20 %) |  "
              f"| {'yes' if ok else 'NO'} |")


if __name__ == "__main__":
    main()
