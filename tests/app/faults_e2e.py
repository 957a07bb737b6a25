#!/usr/bin/env python3
"""End-to-end runs of the program under faults: SIGINT and SIGTERM at many
moments of a long listing, Ctrl-C while a command computes and at a prompt,
closed standard descriptors, a FIFO or a symbolic link under the log's name,
and a full file system.  Each run starts the real program in a directory of
its own.

usage: faults_e2e.py NTBENCH [unittest arguments]
With NTBENCH_FULL set the signal sweep tries many more moments.
"""
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

NTBENCH = ""
LOG = "session7.dat"
INTERRUPTED = b"Interrupted (Ctrl-C): back to the menu\r\n"
# Inclusion-exclusion for 2147483647 with every term printed: a listing that
# lasts as long as its input (two lines a page stop, about 40000 terms).
LISTING = b"3\n\n1\n\n2147483647\n\n0\n\n" + b"\n" * 4000
# The divisors of 360: a few log records, then Exit.
SHORT = b"2\n\n2\n\n360\n\n\n\n\n\n\n4\n\n10\n\n"


def read(path):
    with open(path, "rb") as f:
        return f.read()


def whole_prefix(log, full):
    """True when log is full cut after one of its records (or empty)."""
    return full.startswith(log) and (log == b"" or log.endswith(b"\r\n"))


def run(cwd, data, **kw):
    kw.setdefault("stdout", subprocess.DEVNULL)
    return subprocess.run([NTBENCH], input=data, cwd=cwd, stderr=subprocess.PIPE,
                          timeout=120, **kw)


def timed_run(cwd, stdin_path, screen_path, sig=None, delay=0.0):
    """Runs with input from a file; when sig is given, sends it `delay`
    seconds after the log first holds a record.  Returns the status and
    the times (from start) of the first record and of the end."""
    with open(stdin_path, "rb") as fin, open(screen_path, "wb") as fout:
        start = time.monotonic()
        p = subprocess.Popen([NTBENCH], stdin=fin, stdout=fout, stderr=subprocess.DEVNULL,
                             cwd=cwd)
        log = os.path.join(cwd, LOG)
        first = None
        while p.poll() is None:
            if os.path.exists(log) and os.path.getsize(log) > 0:
                first = time.monotonic() - start
                break
            time.sleep(0.0005)
        if sig is not None:
            time.sleep(delay)
            if p.poll() is None:
                p.send_signal(sig)
        rc = p.wait(timeout=120)
        return rc, first, time.monotonic() - start


class SignalSweep(unittest.TestCase):
    def test_a_signal_leaves_the_log_a_prefix_record_for_record(self):
        moments = 300 if os.environ.get("NTBENCH_FULL") else 40
        rng = random.Random(11)
        with tempfile.TemporaryDirectory() as d:
            inp = os.path.join(d, "input")
            with open(inp, "wb") as f:
                f.write(LISTING)
            rc, first, end = timed_run(d, inp, os.path.join(d, "screen"))
            self.assertEqual(rc, 0)
            full = read(os.path.join(d, LOG))
            self.assertGreater(len(full), 1000000)
            window = end - (first or 0.0)
            cut = 0
            for i in range(moments):
                sig = signal.SIGINT if i % 2 == 0 else signal.SIGTERM
                os.remove(os.path.join(d, LOG))
                screen_path = os.path.join(d, "screen")
                rc, _, _ = timed_run(d, inp, screen_path, sig, rng.uniform(0.0, window))
                log, screen = read(os.path.join(d, LOG)), read(screen_path)
                with self.subTest(moment=i, signal=sig.name, status=rc, log_bytes=len(log)):
                    self.assertTrue(whole_prefix(log, full))
                    cut += len(log) < len(full)
                    if rc == 0 and len(log) < len(full):
                        # Ctrl-C stopped the listing: one line, its menu again,
                        # and the rest of the input read at that menu.
                        self.assertEqual(sig, signal.SIGINT)
                        self.assertEqual(screen.count(INTERRUPTED), 1)
                        self.assertIn(INTERRUPTED + b"      SUBMENU inclusion-exclusion", screen)
                    elif rc == 0:
                        self.assertLessEqual(screen.count(INTERRUPTED), 1)
                    else:
                        self.assertEqual(rc, 128 + sig)
            print(f"{moments} signal moments, {cut} of them inside the listing", file=sys.stderr)
            self.assertGreater(cut, 0)


class CtrlC(unittest.TestCase):
    def test_stops_the_computation_and_at_a_prompt_ends_the_run(self):
        # A gap listing over the whole range on an edited table (a prime taken
        # out of y) runs for many minutes: Ctrl-C brings back the primes
        # submenu; a second Ctrl-C, at its prompt, ends the run.
        with tempfile.TemporaryDirectory() as d, subprocess.Popen(
                [NTBENCH], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                stderr=subprocess.DEVNULL, cwd=d) as p:
            screen = bytearray()
            reader = threading.Thread(target=lambda: [screen.extend(b) for b in
                                                      iter(lambda: p.stdout.read1(4096), b"")])
            reader.start()

            def wait_for(text):
                deadline = time.monotonic() + 60
                while text not in screen:
                    self.assertIsNone(p.poll(), bytes(screen[-400:]))
                    self.assertLess(time.monotonic(), deadline, bytes(screen[-400:]))
                    time.sleep(0.01)

            p.stdin.write(b"6\n\n1000\n\n1\n\n2\n\n1\n\n1000\n\n13\n\n2147483647\n\n\n")
            p.stdin.flush()
            wait_for(b"Pause - Please enter a blank line")
            time.sleep(0.5)
            self.assertIsNone(p.poll())
            p.send_signal(signal.SIGINT)
            wait_for(INTERRUPTED + b"      SUBMENU PRIMES\r\n")
            wait_for(b"4  Go back to main menu \r\nenter number")
            time.sleep(0.2)
            p.send_signal(signal.SIGINT)
            self.assertEqual(p.wait(timeout=60), 130)
            reader.join()
            self.assertEqual(screen.count(INTERRUPTED), 1)
            # The log holds the listing's heading and nothing after it.
            heading = (b" " + b" List of gap of primes with their index".rjust(45) + b"\r\n" +
                       b" " + b" gap =   ".rjust(45) + b"\r\n" +
                       b"      1000\r\n" + b"         0\r\n")
            self.assertEqual(read(os.path.join(d, LOG)), heading)


class LogFile(unittest.TestCase):
    def test_closed_standard_output_keeps_the_screen_out_of_the_log(self):
        with tempfile.TemporaryDirectory() as d:
            self.assertEqual(run(d, SHORT).returncode, 0)
            expected = read(os.path.join(d, LOG))
            self.assertGreater(len(expected), 0)
            for closed in ((1,), (1, 2)):
                os.remove(os.path.join(d, LOG))
                r = run(d, SHORT, preexec_fn=lambda: [os.close(fd) for fd in closed])
                with self.subTest(closed=closed):
                    self.assertEqual(r.returncode, 0)
                    self.assertEqual(read(os.path.join(d, LOG)), expected)

    def test_a_fifo_is_refused_without_waiting(self):
        with tempfile.TemporaryDirectory() as d:
            fifo = os.path.join(d, LOG)
            os.mkfifo(fifo)
            for reader in (False, True):
                fd = os.open(fifo, os.O_RDONLY | os.O_NONBLOCK) if reader else None
                r = run(d, b"10\n\n", stdout=subprocess.PIPE)
                if fd is not None:
                    os.close(fd)
                with self.subTest(reader=reader):
                    self.assertEqual(r.returncode, 1)
                    self.assertIn(LOG.encode(), r.stderr)
                    self.assertEqual(r.stdout, b"")

    def test_a_symbolic_link_under_the_default_name_is_not_followed(self):
        with tempfile.TemporaryDirectory() as d:
            target = os.path.join(d, "precious.txt")
            with open(target, "wb") as f:
                f.write(b"a file of the user's\n")
            work = os.path.join(d, "shared")
            os.mkdir(work)
            os.symlink(target, os.path.join(work, LOG))
            r = run(work, SHORT, stdout=subprocess.PIPE)
            self.assertEqual(r.returncode, 1)
            self.assertIn(b"symbolic link", r.stderr)
            self.assertEqual(r.stdout, b"")
            self.assertEqual(read(target), b"a file of the user's\n")


class FullDisk(unittest.TestCase):
    def test_a_full_file_system_leaves_whole_records_and_status_1(self):
        # The log fills a 64 KiB tmpfs during the long listing: one warning,
        # status 1, and the file a whole-record prefix of the log of the same
        # run with room enough.  (Without a mount, the unit tests inject the
        # failing writes.)
        if shutil.which("unshare") is None:
            self.skipTest("no unshare(1): cannot mount a small file system here")
        with tempfile.TemporaryDirectory() as d:
            self.assertEqual(run(d, LISTING).returncode, 0)
            full = read(os.path.join(d, LOG))
            mnt, out = os.path.join(d, "mnt"), os.path.join(d, "copied.dat")
            os.mkdir(mnt)
            script = ('mount -t tmpfs -o size=64k ntbench "$1" || exit 99; cd "$1" &&'
                      ' "$2" >/dev/null; s=$?; cp session7.dat "$3"; exit $s')
            r = subprocess.run(["unshare", "-rm", "sh", "-c", script, "sh", mnt, NTBENCH, out],
                               input=LISTING, stderr=subprocess.PIPE, timeout=120)
            if r.returncode == 99 or r.stderr.startswith(b"unshare:"):
                self.skipTest("cannot mount a small tmpfs in a user namespace here: " +
                              r.stderr.decode(errors="replace").strip())
            log = read(out)
            self.assertEqual(r.returncode, 1)
            self.assertEqual(r.stderr.count(b"\n"), 1, r.stderr)
            self.assertIn(b"cannot write to the session log session7.dat: No space left", r.stderr)
            self.assertTrue(whole_prefix(log, full))
            self.assertGreater(len(log), 0)
            self.assertLessEqual(len(log), 64 * 1024)


if __name__ == "__main__":
    NTBENCH = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
