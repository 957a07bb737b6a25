#!/usr/bin/env python3
"""Checkpointed range commands killed by SIGKILL in the middle, then resumed.

Each command runs with --checkpoint into a fresh file and is killed once the
file holds a few chunks (and again, later, on its first resumption), and the
file then gets a torn or damaged last line as a crash mid-write leaves; the
resumed run must print exactly what the command prints in one piece, the
file must end with every chunk once, and the kill must have come before the
end (else the case proves nothing and the test says so).
Usage: checkpoint_e2e.py NTBENCH
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

CASES = [
    # (command line, the chunk length)
    (["twins", "0", "4e9", "--count", "--threads", "1"], "5e7"),
    (["gaps", "220", "300", "0", "2e9", "--threads", "1"], "2e7"),
    (["gaps", "1", "100", "1e12", "1e12+1e9", "--histogram", "--threads", "1"], "1e7"),
    (["goldbach-verify", "4", "2e9", "--records", "--threads", "1"], "5e7"),
]


def chunk_lines(path):
    try:
        with open(path, "rb") as f:
            return [line for line in f.read().split(b"\n")[1:] if line]
    except FileNotFoundError:
        return []


def run_until(ntbench, args, path, lines):
    """Starts the run and kills it once the file holds `lines` chunk lines;
    True when it was killed before it ended."""
    p = subprocess.Popen([ntbench, *args], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    deadline = time.monotonic() + 120
    while p.poll() is None and time.monotonic() < deadline:
        if len(chunk_lines(path)) >= lines:
            p.send_signal(signal.SIGKILL)
            p.wait()
            return True
        time.sleep(0.005)
    p.wait()
    return False


def main():
    ntbench = sys.argv[1]
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        for n, (command, chunk) in enumerate(CASES):
            whole = subprocess.run([ntbench, *command], capture_output=True, check=True)
            path = os.path.join(tmp, f"run{n}.ckpt")
            args = [*command, "--chunk", chunk, "--checkpoint", path, "--no-status"]
            killed = [run_until(ntbench, args, path, 3)]
            held = len(chunk_lines(path))
            killed.append(run_until(ntbench, args, path, held + 5))
            # What a crash in the middle of a write leaves: half a line, or
            # (with its line end) a line whose checksum no longer fits.
            last = chunk_lines(path)[-1]
            torn = last[:len(last) // 2] if n % 2 == 0 else last[:-1] + b"x\n"
            with open(path, "ab") as f:
                f.write(torn)
            resumed = subprocess.run([ntbench, *args], capture_output=True)
            lines = chunk_lines(path)
            indexes = [int(line.split()[1]) for line in lines]
            name = " ".join(command)
            if not all(killed):
                print(f"FAIL: {name}: ended before its kill; the chunks are too short")
                failures += 1
            if resumed.returncode != 0 or resumed.stdout != whole.stdout or resumed.stderr:
                print(f"FAIL: {name}: resumed run gave {resumed.returncode} "
                      f"{resumed.stdout!r} {resumed.stderr!r}, whole {whole.stdout!r}")
                failures += 1
            if sorted(indexes) != list(range(len(indexes))):
                print(f"FAIL: {name}: the file holds chunks {indexes}")
                failures += 1
            print(f"{name}: killed after {held} chunk lines and again, "
                  f"resumed to {len(lines)}")
    if failures:
        sys.exit(1)
    print("checkpoint: every killed run resumed to the whole answer")


if __name__ == "__main__":
    main()
