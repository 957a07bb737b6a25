#!/usr/bin/env python3
"""The one benchmark report: whole processes, as a user runs them.

Every row is a whole ntbench session: start-up, the keys a user types (the
edit of y first, for the edited rows), the command at its largest input, an
empty line at every pause and page stop, then the end of input, which ends
the run as Exit does.  Each run is spawned without a shell, its input read
from a file and its screen thrown away; the wall time is taken around spawn
and wait, the peak resident memory from the child's own resource usage.
The peers (primesieve, primecount, PARI/GP) run under `hyperfine -N` in the
same report, right after our row, and start-up + Exit does too.

Usage: bench/report.py <build dir> [results.md]
NTBENCH_REPORT_ROWS=<regex> keeps only the rows whose name matches.
"""

import datetime
import json
import os
import platform
import random
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
OUT = os.path.abspath(
    sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "results.md")
)
BIN = os.path.join(BUILD, "ntbench")
RSS_LIMIT_KB = 32 * 1024


def wanted(name):
    """Whether the row is kept by NTBENCH_REPORT_ROWS (a regex; every row
    when it is unset)."""
    return re.search(os.environ.get("NTBENCH_REPORT_ROWS", ""), name) is not None

# The edits of y, typed at the main menu: entry 6 takes out position 100
# (the prime 541); entry 7 puts the composite 9 at position 100, so y is out
# of order; inclusion-exclusion entry 3 takes away 2, 3, 5 and 7 (its pause,
# then back to the main menu).
EDITS = {
    "built": "",
    "entry 6": "6\n\n100\n\n",
    "entry 7": "7\n\n100\n\n9\n\n",
    "2,3,5,7 out": "3\n\n3\n\n\n5\n\n",
    # 9 in the last slot the walks of gold and gold1 may start from, among
    # the first primes above N = 1000000 (Phi(N) + 1 = 78499 .. 148934).
    "entry 7 above N": "7\n\n148934\n\n9\n\n",
}
ALL_EDITS = ["entry 6", "entry 7", "2,3,5,7 out"]


def lines(n, text=""):
    return (text + "\n") * n


# (row, keys from the main menu, the edits it runs under besides the table as
# built[, targets: "built" in seconds, "edited" as a multiple of the row as
# built, in place of the general rule])
HEAVY = [
    ("primes 1: Phi(2147483647)", "1\n\n1\n\n2147483647\n\n" + lines(5), ALL_EDITS),
    (
        "primes 2: lista gap 1000, 13..2147483647",
        "1\n\n2\n\n1\n\n1000\n\n13\n\n2147483647\n\n" + lines(5),
        ALL_EDITS,
    ),
    # d = 0 after the vector: the padding is "0", which a pause takes as a blank.
    ("divisors 1: vetto1 2147483647", "2\n\n1\n\n2147483647\n\n" + lines(200, "0"), ALL_EDITS),
    (
        "inclusion 1: N=2147483647, part of data",
        "3\n\n1\n\n2147483647\n\n1\n\n" + lines(6000),
        ALL_EDITS,
        {"built": 0.3, "edited": 3},
    ),
    (
        "inclusion 2: reverse N=2147483647, part of data",
        "3\n\n2\n\n2147483647\n\n1\n\n" + lines(6000),
        ALL_EDITS,
    ),
    (
        "triplets 1-4: N=1000000, 1000000, 2000000 + elaboration",
        "4\n\n"
        + "".join(f"{e}\n\n{n}\n\n1\n\n" + lines(400) for e, n in ((1, 1000000), (2, 1000000), (3, 2000000)))
        + "4\n\n"
        + lines(6000),
        ALL_EDITS,
    ),
    ("triplets 5: Pythagorean triplets", "4\n\n5\n\n" + lines(5), ALL_EDITS),
    ("Goldbach 1: N=2000000, all three listings", "5\n\n1\n\n2000000\n\n" + lines(80000), ALL_EDITS),
    ("Goldbach 2: K=0", "5\n\n2\n\n0\n\n" + lines(5), ALL_EDITS),
    ("Goldbach 3: K=100", "5\n\n3\n\n100\n\n" + lines(5), ALL_EDITS),
    ("Goldbach 4: K=100", "5\n\n4\n\n100\n\n" + lines(5), ALL_EDITS),
    ("Goldbach 5: gold N=2000000", "5\n\n5\n\n2000000\n\n" + lines(10), ALL_EDITS),
    ("Goldbach 6: gold1 N=2000000", "5\n\n6\n\n2000000\n\n" + lines(10), ALL_EDITS),
    ("Goldbach 5: gold N=1000000", "5\n\n5\n\n1000000\n\n" + lines(10), ["entry 7 above N"], {"edited": 3}),
    ("Goldbach 6: gold1 N=1000000", "5\n\n6\n\n1000000\n\n" + lines(10), ["entry 7 above N"], {"edited": 3}),
    ("Goldbach 7: mixed1 N=2000000", "5\n\n7\n\n2000000\n\n" + lines(10), ALL_EDITS),
    ("Goldbach 8: mixed N=2000000", "5\n\n8\n\n2000000\n\n" + lines(120000), ALL_EDITS),
    ("Goldbach 9: composite N=2000000", "5\n\n9\n\n2000000\n\n" + lines(10), ALL_EDITS),
]

# The PARI/GP loops doing the searches of Goldbach entries 2, 3 and 4: for
# each even n from 6 to 12004 the pairs of the kind are counted by trying
# every candidate.
GP_LOOPS = r"""
pr(n)=my(k=0);forprime(p=3,n\2,if(isprime(n-p),k++));k;
co(n)=my(k=0);forstep(c=9,n\2,2,if(!isprime(c)&&!isprime(n-c),k++));k;
mi(n)=my(k=0);forprime(p=3,n-3,if(!isprime(n-p),k++));k;
search(f,K)=my(c=0);forstep(n=6,12004,2,if(f(n)==K,c++));c;
"""
GP_ROWS = [("2", "pr", 0), ("3", "co", 100), ("4", "mi", 100)]


def runs_for(first):
    """Fewer runs for the slow rows, so the whole report takes minutes."""
    if first < 0.05:
        return 21
    if first < 0.5:
        return 9
    if first < 2:
        return 5
    return 3 if first < 8 else 1


# The screen ends at a menu when the input ran out there, not inside a command.
MENU_ENDS = ("Exit program", "Go back to main menu", "go back to main menu", "Go to main menu")


def ended_at_menu(screen_path):
    # Empty lines left over at a menu only ask for the number again.
    with open(screen_path, "rb") as f:
        f.seek(max(0, os.path.getsize(screen_path) - (4 << 20)))
        tail = f.read().decode("latin-1")
    tail = re.sub(r"(\s*enter number)+\s*$", "", tail)[-300:]
    return any(m in tail for m in MENU_ENDS)


CAP = 90.0  # seconds: a run still going then is stopped and the row reported as too slow


def run_once(argv, stdin_path, screen=os.devnull, cap=None):
    """One spawn without a shell: (wall seconds, CPU seconds, ok); with a
    cap, a run past it is stopped (its whole process group) and reported
    with the cap as its time and ok false."""
    actions = [
        (os.POSIX_SPAWN_OPEN, 0, stdin_path, os.O_RDONLY, 0),
        (os.POSIX_SPAWN_OPEN, 1, screen, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644),
        (os.POSIX_SPAWN_OPEN, 2, "stderr.txt", os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644),
    ]
    t0 = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=actions, setpgroup=0)
    if cap is None:
        _, status, usage = os.wait4(pid, 0)
    else:
        while True:
            done, status, usage = os.wait4(pid, os.WNOHANG)
            if done:
                break
            if time.perf_counter() - t0 > cap:
                os.killpg(pid, signal.SIGKILL)
                os.wait4(pid, 0)
                return cap, cap, False
            time.sleep(0.01)
    t1 = time.perf_counter()
    # A line of two or more characters at a pause would have run a command:
    # anything on stderr means the keys and the dialogue fell out of step.
    ok = os.waitstatus_to_exitcode(status) == 0 and os.path.getsize("stderr.txt") == 0
    return t1 - t0, usage.ru_utime + usage.ru_stime, ok


def peak_rss(argv, stdin_path):
    """One run under GNU time, its screen kept: (peak RSS in KiB, wall, CPU,
    ok with the session ended at a menu).  A child spawned straight from
    this (larger) process would carry this process's high-water mark over
    its exec; GNU time is small."""
    wrapped = ["/usr/bin/time", "-f", "%M", "-o", "rss.txt"] + argv
    wall, cpu, ok = run_once(wrapped, stdin_path, "screen.txt", cap=CAP)
    if wall >= CAP:
        return 0, wall, cpu, False
    rss = int(open("rss.txt").read().split()[-1])
    return rss, wall, cpu, ok and ended_at_menu("screen.txt")


def measure(argv, stdin_path):
    """Median wall and CPU seconds, runs, peak RSS and ok.  The first run
    (under GNU time, its screen kept to see that the keys took the session
    through the whole command) warms up, and counts only for the slow rows."""
    rss, first, first_cpu, ok = peak_rss(argv, stdin_path)
    if first >= 8:
        return first, first_cpu, 1, rss, ok
    walls, cpus = [], []
    for _ in range(runs_for(first)):
        w, c, o = run_once(argv, stdin_path)
        walls.append(w)
        cpus.append(c)
        ok = ok and o
    return statistics.median(walls), statistics.median(cpus), len(walls), rss, ok


def hyperfine(commands, runs, warmup, shell=False):
    """(median wall, mean CPU) in seconds of commands run by hyperfine -N,
    or through the shell (its own start subtracted) for a redirection."""
    cmd = ["hyperfine"] + ([] if shell else ["-N"]) + [
        "--style", "none", "--warmup", str(warmup), "--runs", str(runs),
        "--export-json", "hf.json"] + commands
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return [(r["median"], r["user"] + r["system"]) for r in json.load(open("hf.json"))["results"]]

# The one-shot commands at the inputs of their performance targets: (row,
# our command, the peer's, target ratio, stdin file or None).  factor reads
# the 100001 numbers from a file through the shell's redirection (hyperfine
# subtracts the shell's own start); its output must equal the peer's.
FACTOR_INPUT = "seq_2147383647_2147483647.txt"
ONE_SHOT = [
    ("one-shot: pi 2147483647", [BIN, "pi", "2147483647"], "primecount 2147483647", 0.5, None),
    ("one-shot: factor, 2147383647..2147483647 on stdin", [BIN, "factor"], "factor", 1.0,
     FACTOR_INPUT),
    ("one-shot: primes 2000000000 2147483647 > /dev/null", [BIN, "primes", "2000000000", "2147483647"],
     "primesieve 2000000000 2147483647 -p -t1", 1.5, None),
]


def one_shot_rows():
    with open(FACTOR_INPUT, "w") as f:
        f.write("".join(f"{n}\n" for n in range(2147383647, 2147483648)))
    rows = []
    for name, ours, peer, target, stdin in ONE_SHOT:
        if not wanted(name):
            continue
        ok = True
        if stdin:
            # Byte for byte the peer's answer, then both timed from the file.
            mine = subprocess.run(ours, stdin=open(stdin), capture_output=True).stdout
            theirs = subprocess.run(peer.split(), stdin=open(stdin), capture_output=True).stdout
            ok = mine == theirs and len(mine) > 0
            cmds = [" ".join(ours) + f" < {stdin}", f"{peer} < {stdin}"]
            res = hyperfine(cmds, runs=21, warmup=3, shell=True)
        else:
            res = hyperfine([" ".join(ours), peer], runs=21, warmup=3)
        (m, cpu), p = res
        wrapped = ["/usr/bin/time", "-f", "%M", "-o", "rss.txt"] + ours
        _, _, done = run_once(wrapped, stdin or os.devnull, cap=CAP)
        rss = int(open("rss.txt").read().split()[-1])
        ratio = m / p[0]
        rows.append((name, "", (m, cpu), 21, peer, p, f"{ratio:.2f}", f"<= {target}", rss,
                     ok and done and ratio <= target))
    return rows


def divisor_counts_row():
    """divisor-counts 2147483647 beside the workbench's divisor-count pass at the
    same N (a whole session: start-up, the vector, d = 0, end of input), both
    through the shell in one hyperfine run."""
    with open("vetto1_top.txt", "w") as f:
        f.write("2\n\n1\n\n2147483647\n\n" + lines(200, "0"))
    ours = [BIN, "divisor-counts", "2147483647"]
    answer = subprocess.run(ours, capture_output=True, text=True).stdout.splitlines()
    ok = len(answer) > 2 and answer[1] == "2 105097565" and answer[-1] == "1600 1"
    ok = ok and sum(int(line.split()[1]) for line in answer) == 2147483647
    peer = f"{BIN} --log vetto1.dat < vetto1_top.txt"
    (m, cpu), p = hyperfine([" ".join(ours), peer], runs=21, warmup=3, shell=True)
    wrapped = ["/usr/bin/time", "-f", "%M", "-o", "rss.txt"] + ours
    _, _, done = run_once(wrapped, os.devnull, cap=CAP)
    rss = int(open("rss.txt").read().split()[-1])
    ratio = m / p[0]
    return ("one-shot: divisor-counts 2147483647", "", (m, cpu), 21,
            "workbench: divisors 1 (vetto1) 2147483647, whole session", p, f"{ratio:.2f}",
            "<= 1.2", rss, ok and done and ratio <= 1.2)


def instructions(argv, stdin_path):
    """Instructions one whole process executes (callgrind's total), or None
    without valgrind."""
    if shutil.which("valgrind") is None:
        return None
    with open(stdin_path) as stdin:
        r = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + argv,
                           stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                           text=True)
    m = re.search(r"Collected : (\d+)", r.stderr)
    return int(m.group(1)) if m else None


def fmt_instr(n):
    return f"{n / 1e6:.2f} M instr"


def goldbach_range_rows():
    """The Goldbach range, whole processes under hyperfine -N (output discarded):
    goldbach 6 2000000 --csv (target <= 1 s, peak RSS <= 64 MiB), beside the
    one-number form on a sample of 200 even n spread over 6..2000000, all in one
    process (so no start-up is counted), its time per number extrapolated to the
    999998 numbers of the range (target: the range >= 100x faster); then the
    comet drawn into a PNG, gnuplot included (target <= 3 s)."""
    rng = random.Random(20)
    sample = sorted({2 * rng.randrange(3, 1000001) for _ in range(200)})
    ours = [BIN, "goldbach", "6", "2000000", "--csv"]
    each = [BIN, "goldbach"] + [str(n) for n in sample]
    (m, cpu), (ms, _) = hyperfine([" ".join(ours), " ".join(each)], runs=11, warmup=2)
    table = subprocess.run(ours, capture_output=True, text=True).stdout.splitlines()
    singles = subprocess.run(each, capture_output=True, text=True).stdout.splitlines()
    by_n = {int(line.split(",")[0]): line.replace(",", " ") for line in table[1:]}
    ok = len(table) == 1 + 999998 and all(by_n.get(int(s.split()[0])) == s for s in singles)
    wrapped = ["/usr/bin/time", "-f", "%M", "-o", "rss.txt"] + ours
    _, _, done = run_once(wrapped, os.devnull, cap=CAP)
    rss = int(open("rss.txt").read().split()[-1])
    per_number = ms / len(sample)
    speedup = per_number * 999998 / m
    rows = [("one-shot: goldbach 6 2000000 --csv", "", (m, cpu), 11,
             f"goldbach n, {per_number * 1e6:.0f} us a number x 999998 (from {len(sample)} n)",
             (per_number * 999998, per_number * 999998), f"{speedup:.0f}x faster",
             "<= 1 s, >= 100x, <= 64 MiB", rss,
             ok and done and m <= 1 and speedup >= 100 and rss <= 64 * 1024)]
    plot = [BIN, "goldbach", "6", "2000000", "--plot", "comet.png"]
    (pm, pcpu), = hyperfine([" ".join(plot)], runs=5, warmup=1)
    drawn = os.path.getsize("comet.png") > 0 if os.path.exists("comet.png") else False
    # The peak RSS shown would be gnuplot's: the row keeps to its time.
    rows.append(("one-shot: goldbach 6 2000000 --plot comet.png, gnuplot included", "",
                 (pm, pcpu), 5, "", None, "", "<= 3 s", 0, drawn and pm <= 3))
    return rows


# The 64-bit command line beside its peers, each row with the same thread
# count on both sides (named in the row): (row, our arguments, the peer's
# command, target ratio, how the answers must agree, stdin file or None).
# The numbers go to both sides as plain decimals; the row names them short.
# Answers: "count" our last number equals the peer's last, "pairs" our gap
# counts add up to the peer's prime count less one, "bytes" both outputs
# equal, None not comparable.  Peak RSS limit of these rows: 64 MiB.
CLI64_RSS_LIMIT_KB = 64 * 1024
SEMIPRIMES_INPUT = "semiprimes_32x32.txt"
RANDOM64_INPUT = "random_64.txt"
E12, E10 = 10**12, 10**10
CLI64 = [
    ("64-bit: pi 1e13, 2 threads", ["pi", str(10**13), "-t", "2"], f"primecount {10**13} -t2",
     1.05, "count", None),
    ("64-bit: pi 1e15, 2 threads", ["pi", str(10**15), "-t", "2"], f"primecount {10**15} -t2",
     1.05, "count", None),
    ("64-bit: nth-prime 1e11, 2 threads", ["nth-prime", str(10**11), "-t", "2"],
     f"primecount {10**11} --nth-prime -t2", 1.05, "count", None),
    ("64-bit: primes 1e12 1e12+1e10 --count, 2 threads",
     ["primes", str(E12), str(E12 + E10), "--count", "-t", "2"],
     f"primesieve {E12} {E12 + E10} --count -t2", 1.1, "count", None),
    ("64-bit: twins 1e12 1e12+1e10 --count, 2 threads",
     ["twins", str(E12), str(E12 + E10), "--count", "-t", "2"],
     f"primesieve {E12} {E12 + E10} -c2 -t2", 1.1, "count", None),
    ("64-bit: gaps 1 1000 1e12 1e12+1e10 --histogram, 2 threads",
     ["gaps", "1", "1000", str(E12), str(E12 + E10), "--histogram", "-t", "2"],
     f"primesieve {E12} {E12 + E10} --count -t2", 1.3, "pairs", None),
    ("64-bit: primes 1e12 1e12+1e8 --no-index > /dev/null, 1 thread",
     ["primes", str(E12), str(E12 + 10**8), "--no-index", "-t", "1"],
     f"primesieve {E12} {E12 + 10**8} --print -t1", 1.0, "bytes", None),
    ("64-bit: factor, 2000 products of two random 32-bit primes on stdin, 1 thread",
     ["factor", "-t", "1"], "factor", 0.25, "bytes", SEMIPRIMES_INPUT),
    ("64-bit: factor, 20000 random 64-bit numbers on stdin, 1 thread", ["factor", "-t", "1"],
     "factor", 0.5, "bytes", RANDOM64_INPUT),
    ("64-bit: goldbach 1e10, 2 threads", ["goldbach", str(10**10), "-t", "2"],
     f"primesieve {10**10} --count -t2", 2.0, None, None),
    # The verification sieves 3840 numbers below A for the partners of the
    # first n; the peer counts the primes of the same stretch.
    ("64-bit: goldbach-verify 1e12 1e12+1e10, 2 threads",
     ["goldbach-verify", str(E12), str(E12 + E10), "-t", "2"],
     f"primesieve {E12 - 3840} {E12 + E10} --count -t2", 1.5, None, None),
]


def probable_prime(n):
    """Miller-Rabin to the first twelve primes: exact below 2^64."""
    if n < 2:
        return False
    bases = (2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37)
    for p in bases:
        if n % p == 0:
            return n == p
    d, s = n - 1, 0
    while d % 2 == 0:
        d, s = d // 2, s + 1
    for a in bases:
        x = pow(a, d, n)
        if x in (1, n - 1):
            continue
        for _ in range(s - 1):
            x = x * x % n
            if x == n - 1:
                break
        else:
            return False
    return True


def write_factor_inputs():
    """The numbers factor reads, the same in every report (fixed seeds)."""
    rng = random.Random(2532)
    with open(SEMIPRIMES_INPUT, "w") as f:
        for _ in range(2000):
            p, q = (rng.randrange(1 << 31, 1 << 32) | 1 for _ in range(2))
            while not probable_prime(p):
                p += 2
            while not probable_prime(q):
                q += 2
            f.write(f"{p * q}\n")
    rng = random.Random(2564)
    with open(RANDOM64_INPUT, "w") as f:
        f.write("".join(f"{rng.getrandbits(64)}\n" for _ in range(20000)))


def last_number(path):
    found = re.findall(rb"\d+", open(path, "rb").read())
    return int(found[-1]) if found else None


def answers_agree(how, mine, theirs):
    """Whether the answers in the files mine and theirs agree as `how` says."""
    if how is None:
        return True
    if how == "bytes":
        a, b = open(mine, "rb").read(), open(theirs, "rb").read()
        return a == b and len(a) > 0
    peer = last_number(theirs)
    if how == "count":
        return peer is not None and last_number(mine) == peer
    # "pairs": the lines "gap count"; every pair of consecutive primes of the
    # range has a gap under 1000 there.
    rows = [line.split() for line in open(mine).read().splitlines()]
    counts = [int(r[1]) for r in rows if len(r) == 2 and r[1].isdigit()]
    return peer is not None and len(counts) > 0 and sum(counts) == peer - 1


def cli64_rows():
    write_factor_inputs()
    rows = []
    for name, args, peer, target, how, stdin in CLI64:
        if not wanted(name):
            continue
        ours = [BIN] + args
        peer_argv = peer.split()
        peer_argv[0] = shutil.which(peer_argv[0]) or peer_argv[0]
        # One run of each with the answer kept (ours under GNU time, for the
        # peak RSS); they time the rows too slow to run again.
        timed = ["/usr/bin/time", "-f", "%M", "-o", "rss.txt"] + ours
        wall, cpu, done = run_once(timed, stdin or os.devnull, "mine.txt", cap=CAP)
        rss = int(open("rss.txt").read().split()[-1]) if wall < CAP else 0
        pwall, pcpu, _ = run_once(peer_argv, stdin or os.devnull, "theirs.txt", cap=CAP)
        ok = done and answers_agree(how, "mine.txt", "theirs.txt")
        if max(wall, pwall) >= 8:
            n, m, p = 1, (wall, cpu), (pwall, pcpu)
        else:
            # Our run and the peer's in turn, so that the load of a shared
            # machine falls on both sides alike.
            n = runs_for(max(wall, pwall))
            times = ([], [])
            for _ in range(n):
                for side, argv in enumerate((ours, peer_argv)):
                    w, c, o = run_once(argv, stdin or os.devnull)
                    times[side].append((w, c))
                    ok = ok and (o or side == 1)
            m, p = ((statistics.median(t[0] for t in ts), statistics.median(t[1] for t in ts))
                    for ts in times)
        ratio = m[0] / p[0]
        rows.append((name, "", m, n, peer, p, f"{ratio:.2f}", f"<= {target}", rss,
                     ok and ratio <= target, CLI64_RSS_LIMIT_KB))
    return rows


def mpi_rows():
    """The rows of bench/mpi/report_mpi.py (table lines in the same
    columns), when it exists and the build has ntbench-mpi; it runs with the
    build directory as its argument, in the report's scratch directory."""
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "mpi", "report_mpi.py")
    if not os.path.exists(script) or not os.access(os.path.join(BUILD, "ntbench-mpi"), os.X_OK):
        return []
    run = subprocess.run([sys.executable, script, BUILD], capture_output=True, text=True)
    rows = [line for line in run.stdout.splitlines() if line.startswith("|")]
    if run.returncode != 0:
        sys.stderr.write(run.stderr)
        rows.append(f"| ntbench-mpi: report_mpi.py ended with status {run.returncode} |"
                    + " |" * 10 + " NO |")
    return rows


def session_file(name, text):
    path = os.path.abspath(name)
    with open(path, "w") as f:
        f.write(text)
    return path


def fmt_time(s):
    if s >= CAP:
        return f"> {CAP:.0f} s"
    return f"{s * 1000:.1f} ms" if s < 1 else f"{s:.2f} s"


def startup_rows():
    ours, peer = hyperfine([BIN, "primesieve 2000000 --count"], runs=100, warmup=5)
    rss, _, _, ok = peak_rss([BIN], os.devnull)
    rows = [("start-up + Exit", "built", ours, 100, "primesieve 2000000 --count", peer,
             f"{ours[0] / peer[0]:.2f}", "<= 0.8", rss, ok and ours[0] <= 0.8 * peer[0])]
    # The same in instructions, which do not move with the load of the machine:
    # Exit typed at the main menu, and the end of input.
    exit_keys = session_file("exit.txt", "10\n\n")
    peer_instr = instructions(["primesieve", "2000000", "--count"], os.devnull)
    for how, stdin_path in (("Exit typed", exit_keys), ("end of input", os.devnull)):
        instr = instructions([BIN], stdin_path)
        if instr is None:
            break  # no valgrind
        rows.append((f"start-up + Exit, instructions ({how})", "built", fmt_instr(instr), 1,
                     "primesieve 2000000 --count", fmt_instr(peer_instr) if peer_instr else None,
                     f"{instr / peer_instr:.2f}" if peer_instr else "", "<= 6 M", 0,
                     instr <= 6_000_000))
    return rows


def phi_session_row():
    path = session_file("phi.txt", "1\n\n1\n\n2147483647\n\n" + lines(5))
    m, cpu, n, rss, ok = measure([BIN], path)
    count_ok = "105097565" in open("screen.txt", encoding="latin-1").read()
    (peer,) = hyperfine(["primecount 2147483647"], runs=50, warmup=5)
    return ("primes 1: Phi(2147483647), whole session", "built", (m, cpu), n,
            "primecount 2147483647", peer, f"{m / peer[0]:.2f}", "< 1", rss, ok and count_ok)


def lista_session_row():
    path = session_file("lista.txt", "1\n\n2\n\n1\n\n1000\n\n13\n\n2147483647\n\n" + lines(5))
    m, cpu, n, rss, ok = measure([BIN], path)
    (peer,) = hyperfine(["primesieve 13 2147483647 -c2 -t1"], runs=3, warmup=1)
    return ("primes 2: lista gap 1000, 13..2147483647", "built", (m, cpu), n,
            "primesieve 13 2147483647 -c2 -t1", peer, f"{m / peer[0]:.2f}", "<= 1.2", rss, ok)


def gp_rows():
    with open("loops.gp", "w") as f:
        f.write(GP_LOOPS)
    rows = []
    for entry, fn, K in GP_ROWS:
        name = f"Goldbach {entry}: K={K}, n = 6..12004"
        if not wanted(name):
            continue
        with open(f"once{entry}.gp", "w") as f:
            f.write(GP_LOOPS + f"search({fn},{K})\nquit\n")
        path = session_file(f"gold{entry}.txt", f"5\n\n{entry}\n\n{K}\n\n" + lines(5))
        m, cpu, n, rss, ok = measure([BIN], path)
        (peer,) = hyperfine([f"gp -q -f once{entry}.gp"], runs=3, warmup=0)
        rows.append((name, "built", (m, cpu), n, f"PARI/GP loop ({fn})", peer,
                     f"{peer[0] / m:.0f}x faster", ">= 20x", rss, ok))
    return rows


def main():
    if not os.access(BIN, os.X_OK):
        sys.exit(f"no {BIN}: build it first")
    for tool in ("hyperfine", "primesieve", "primecount", "gp"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is missing: bench/report.sh installs it")
    work = tempfile.mkdtemp(prefix="ntbench-report-")
    os.chdir(work)  # the session log of every run lands here
    started = time.time()
    # (row, variant, median, runs, peer, peer median, ratio text, target, rss,
    # ok[, peak RSS limit in KiB when not RSS_LIMIT_KB]), or a table line as is
    rows = []

    # Start-up + Exit: no input at all, the end of input ends the run at once.
    if wanted("start-up + Exit"):
        rows.extend(startup_rows())

    # The one-shot commands, each beside its peer in one hyperfine run.
    rows.extend(one_shot_rows())
    if wanted("one-shot: divisor-counts 2147483647"):
        rows.append(divisor_counts_row())
    if wanted("one-shot: goldbach 6 2000000"):
        rows.extend(goldbach_range_rows())
    # The 64-bit command line beside its peers, then the rows of ntbench-mpi.
    rows.extend(cli64_rows())
    rows.extend(mpi_rows())

    # The prime count of the largest input against primecount.
    if wanted("primes 1: Phi(2147483647), whole session"):
        rows.append(phi_session_row())
    # The gap listing over the whole range against the same sieve work on one thread.
    if wanted("primes 2: lista gap 1000, 13..2147483647"):
        rows.append(lista_session_row())
    # Goldbach entries 2, 3, 4 against the PARI/GP loops.
    rows.extend(gp_rows())

    # Every heavy command at its largest input, as built and edited.
    for name, keys, edits, *targets in HEAVY:
        targets = targets[0] if targets else {}
        if not wanted(name):
            continue  # a subset of the rows, while working on one
        built = None
        for variant in ["built"] + edits:
            path = session_file("session.txt", EDITS[variant] + keys)
            m, cpu, n, rss, ok = measure([BIN], path)
            if variant == "built":
                built = m
                if "built" in targets:
                    limit = targets["built"]
                    rows.append((name, variant, (m, cpu), n, "", None, "", f"<= {fmt_time(limit)}",
                                 rss, ok and m <= limit))
                else:
                    rows.append((name, variant, (m, cpu), n, "", None, "", "", rss, ok))
            else:
                limit = targets["edited"] * built if "edited" in targets else max(3 * built, 0.5)
                rows.append((name, variant, (m, cpu), n, "", None, f"{m / built:.2f} x built",
                             f"<= {fmt_time(limit)}", rss, ok and m <= limit))

    total = time.time() - started
    write_report(rows, total)
    shutil.rmtree(work, ignore_errors=True)


def write_report(rows, total):
    cpu = platform.processor() or platform.machine()
    try:
        for line in open("/proc/cpuinfo"):
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    commit = subprocess.run(["git", "-C", os.path.dirname(os.path.abspath(__file__)), "rev-parse",
                             "--short", "HEAD"], capture_output=True, text=True).stdout.strip()
    head = [
        f"ntbench benchmark report, {datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC,"
        f" commit {commit or '?'}, {cpu}, {os.cpu_count()} cores; the whole report took {total:.0f} s.",
        "",
        "Times are medians of whole processes, wall clock and CPU (user + system; the machine is",
        "shared, so CPU is the steadier figure); the peer ran in the same report, under hyperfine -N",
        "(for the 64-bit rows: spawned without a shell, its runs and ours in turn).",
        "Edited rows: y edited first by main-menu entry 6 (position 100), entry 7 (position 100",
        "becomes 9) or inclusion-exclusion entry 3 (2, 3, 5, 7 out); target: at most 3 times the",
        "row as built or 0.5 s. Peak RSS of ntbench, limit 32 MiB (64 MiB for the 64-bit rows,",
        "which name the threads both sides ran on). ok: exit status 0, the dialogue in step with",
        "the keys, the answer equal to the peer's where both count the same, the target and the",
        "memory limit met.",
        "",
        "| row | table | ntbench | CPU | runs | peer | peer median | peer CPU | ratio | target | peak RSS | ok |",
        "|---|---|---:|---:|---:|---|---:|---:|---:|---|---:|:-:|",
    ]
    body = []
    def cells(m):  # (wall, CPU) times, or one count of instructions
        return (m, "") if isinstance(m, str) else (fmt_time(m[0]), fmt_time(m[1]))

    for row in rows:
        if isinstance(row, str):  # a table line from another script, as it is
            body.append(row)
            continue
        name, variant, m, n, peer, pm, ratio, target, rss, ok = row[:10]
        ok = ok and rss <= (row[10] if len(row) > 10 else RSS_LIMIT_KB)
        body.append(
            f"| {name} | {variant} | {' | '.join(cells(m))} | {n} | {peer} | "
            f"{' | '.join(cells(pm)) if pm else ' | '} | {ratio} | "
            f"{target} | {f'{rss / 1024:.1f} MiB' if rss else ''} | {'yes' if ok else 'NO'} |"
        )
    text = "\n".join(head + body) + "\n"
    with open(OUT, "w") as f:
        f.write(text)
    print(text)


if __name__ == "__main__":
    main()
