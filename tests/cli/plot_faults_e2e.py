#!/usr/bin/env python3
"""--plot under faults, with a scripted gnuplot first on PATH: a closed
standard input; SIGINT, SIGTERM and SIGHUP while the table is computed and
while gnuplot draws; a failing gnuplot over a file or a symbolic link
already under the picture's name; the rows a million-row table sends.

usage: plot_faults_e2e.py NTBENCH [unittest arguments]
"""
import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest

NTBENCH = ""
# The scripted gnuplots: $DIR is the test's directory.
DRAWS = 'cat > "$DIR/script"; printf picture\n'
FAILS = 'cat > /dev/null; echo "line 1: no such terminal" >&2; exit 3\n'
HANGS = 'echo $$ >> "$DIR/pids"; exec sleep 600\n'


class PlotFaults(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.dir = self.tmp.name
        os.mkdir(os.path.join(self.dir, "bin"))

    def tearDown(self):
        for pid in self.gnuplots():  # whatever a failed check left running
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.tmp.cleanup()

    def read(self, name):
        with open(os.path.join(self.dir, name)) as f:
            return f.read()

    def gnuplots(self):
        pids = os.path.join(self.dir, "pids")
        return [int(p) for p in self.read("pids").split()] if os.path.exists(pids) else []

    def run_plot(self, gnuplot, args, wait=True, **kw):
        path = os.path.join(self.dir, "bin", "gnuplot")
        with open(path, "w") as f:
            f.write("#!/bin/sh\n" + gnuplot)
        os.chmod(path, 0o755)
        env = dict(os.environ, DIR=self.dir, PATH=os.path.dirname(path) + ":" + os.environ["PATH"])
        p = subprocess.Popen([NTBENCH] + args, cwd=self.dir, env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, **kw)
        return p.communicate(timeout=120) + (p.returncode,) if wait else p

    def files(self):
        return sorted(set(os.listdir(self.dir)) - {"bin", "script", "pids"})

    def test_closed_standard_input(self):
        out, err, rc = self.run_plot(DRAWS, ["divisor-counts", "100", "--plot", "x.png"],
                                     preexec_fn=lambda: os.close(0))
        self.assertEqual((rc, out, err), (0, b"", b""))
        self.assertEqual(self.read("x.png"), "picture")
        self.assertEqual(self.files(), ["x.png"])

    def test_a_signal_stops_gnuplot_and_leaves_the_old_file(self):
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            for computing in (True, False):
                with self.subTest(signal=sig.name, computing=computing):
                    with open(os.path.join(self.dir, "old.png"), "w") as f:
                        f.write("old")
                    args = ["pi", "2", "2147483647", "--step", "1000"] if computing else [
                        "divisor-counts", "1000"]
                    p = self.run_plot(HANGS, args + ["--plot", "old.png"], wait=False)
                    started = len(self.gnuplots())
                    deadline = time.monotonic() + 60
                    while not computing and len(self.gnuplots()) == started:
                        self.assertLess(time.monotonic(), deadline)
                        time.sleep(0.01)
                    time.sleep(0.5)
                    p.send_signal(sig)
                    self.assertEqual(p.wait(timeout=60), 128 + sig)
                    p.stdout.close(), p.stderr.close()
                    for pid in self.gnuplots():
                        with self.assertRaises(ProcessLookupError, msg="gnuplot left running"):
                            os.kill(pid, 0)
                    self.assertEqual(self.files(), ["old.png"])
                    self.assertEqual(self.read("old.png"), "old")

    def test_a_failed_picture_leaves_what_was_there(self):
        with open(os.path.join(self.dir, "exist.png"), "w") as f:
            f.write("existing\n")
        os.symlink("/dev/full", os.path.join(self.dir, "full.png"))
        for name in ("exist.png", "full.png"):
            out, err, rc = self.run_plot(FAILS, ["divisor-counts", "1000", "--plot", name])
            self.assertEqual(rc, 1)
            self.assertEqual(err, b"ntbench divisor-counts: --plot: gnuplot failed (status 3): "
                                  b"line 1: no such terminal; no picture drawn\n")
        self.assertEqual(self.files(), ["exist.png", "full.png"])
        self.assertEqual(os.readlink(os.path.join(self.dir, "full.png")), "/dev/full")
        self.assertEqual(self.read("exist.png"), "existing\n")

    def test_a_million_rows_send_what_the_picture_shows(self):
        for args, most in ((["goldbach", "6", "2000000"], 200000),
                           (["pi", "2", "100000000", "--step", "100"], 1200 * 8)):
            out, err, rc = self.run_plot(DRAWS, args + ["--plot", "big.svg"])
            self.assertEqual((rc, err), (0, b""))
            script = self.read("script")
            data = script[script.index("$data << EOD\n"):script.index("\nEOD\n")]
            rows = sum(1 for line in data.split("\n")[1:] if line)
            with self.subTest(command=args[0]):
                self.assertGreater(rows, 1000)
                self.assertLessEqual(rows, most)


if __name__ == "__main__":
    NTBENCH = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
