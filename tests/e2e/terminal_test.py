#!/usr/bin/env python3
"""The program on a pseudo-terminal, as a user at a keyboard meets it.

Runs build/ntbench (the path is the first argument) with a pseudo-terminal
as its controlling terminal and checks: the main menu as shown; a number
typed and confirmed with the Enter key; a page stop answered by one key,
without echo and without Enter; an arrow key at a page stop; q at a page
stop; the console pause running a command; Exit; and, from a file, answers
with CR LF line ends, a line of a megabyte and a NUL byte.  A one-shot
command that runs for seconds shows its percentage on the terminal, and
with --no-status does not.  After the program ends,
by Exit, by end of input (Ctrl-D) or by Ctrl-C at a line prompt or at a
page stop, the terminal's settings must be those it had before the start.

Exits 0 when every check holds, 1 otherwise, 77 (skipped, with a message)
where no pseudo-terminal can be opened.
"""
import fcntl
import os
import re
import select
import sys
import tempfile
import termios
import time

SKIP = 77
TIMEOUT = 20.0

# The main menu as the workbench shows it, shared with the scripted sessions.
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "sessions",
                       "menu_main.screen")) as menu_file:
    MAIN_MENU = menu_file.read().splitlines()

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
        print("FAIL: " + what)
    return cond


class Terminal:
    """The program started on a fresh pseudo-terminal."""

    def __init__(self, prog, cwd, args=()):
        self.master, self.slave = os.openpty()
        self.before = termios.tcgetattr(self.slave)
        self.out = ""  # everything shown, line ends as the program wrote them
        self.pos = 0  # how far expect() has read
        pid = os.fork()
        if pid == 0:
            try:
                os.setsid()
                fcntl.ioctl(self.slave, termios.TIOCSCTTY, 0)
                for fd in (0, 1, 2):
                    os.dup2(self.slave, fd)
                os.close(self.master)
                os.chdir(cwd)
                os.execv(prog, [prog] + list(args))
            finally:
                os._exit(127)
        self.pid = pid
        self.status = None

    def _read(self, timeout):
        ready, _, _ = select.select([self.master], [], [], timeout)
        if not ready:
            return False
        try:
            data = os.read(self.master, 65536)
        except OSError:
            return False
        # The terminal turns every LF into CR LF: undo it for the CR LF the
        # program writes itself.
        self.out += data.decode("latin-1").replace("\r\r\n", "\r\n")
        return True

    def expect(self, text):
        """Waits for text; returns what was shown since the last expect, up
        to and including it."""
        deadline = time.monotonic() + TIMEOUT
        while text not in self.out[self.pos:]:
            left = deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError("waiting for %r; shown: %r" % (text, self.out[self.pos:][-400:]))
            self._read(min(left, 0.5))
        end = self.out.index(text, self.pos) + len(text)
        shown = self.out[self.pos:end]
        self.pos = end
        return shown

    def quiet(self, seconds=0.3):
        """What is shown within a short while (the program waiting)."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self._read(deadline - time.monotonic())
        shown = self.out[self.pos:]
        self.pos = len(self.out)
        return shown

    def send(self, data):
        os.write(self.master, data.encode("latin-1"))

    def wait(self):
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            self._read(0.05)
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                self.status = os.waitstatus_to_exitcode(status)
                return self.status
        os.kill(self.pid, 9)
        os.waitpid(self.pid, 0)
        raise TimeoutError("the program did not end")

    def wait_for_key_read(self):
        """Waits until the program has the terminal without echo for a
        single-key read: a key sent before that would be echoed by the
        terminal itself, as typing ahead is."""
        deadline = time.monotonic() + TIMEOUT
        while termios.tcgetattr(self.slave)[3] & termios.ECHO:
            if time.monotonic() > deadline:
                raise TimeoutError("the program never turned echo off for a key read")
            self._read(0.01)

    def settings_kept(self):
        return termios.tcgetattr(self.slave) == self.before

    def close(self):
        os.close(self.master)
        os.close(self.slave)


def number(t, n):
    """Types n with Enter at "enter number", then confirms with Enter."""
    t.send(n + "\r")
    t.expect("OK? Yes=any key N/n=no")
    t.send("\r")


def session_with_exit(prog, cwd):
    t = Terminal(prog, cwd)
    try:
        shown = t.expect("enter number")
        lines = shown.split("\r\n")
        check(lines[0] == "          0", "start-up record: %r" % lines[0])
        check(lines[1:-1] == MAIN_MENU, "main menu as shown: %r" % lines[1:-1])
        check(lines[-1] == "enter number", "prompt: %r" % lines[-1])

        # A number typed and confirmed: the echo of the typing, the program's
        # echo of the text, then the primes submenu.
        t.send("1\r")
        echo = t.expect("OK? Yes=any key N/n=no")
        check(echo.startswith("1\r\n   1" + " " * 19 + "  OK?"), "typed number and echo: %r" % echo)
        t.send("\r")
        t.expect("SUBMENU PRIMES")
        t.expect("enter number")

        # lista from 13 to 3000: page stops.
        number(t, "2")
        t.expect("enter number")
        number(t, "0")
        t.expect("enter number")
        number(t, "13")
        t.expect("enter number")
        number(t, "3000")
        t.expect("It follows the list of primes")
        t.expect("Pause - Please enter")
        t.send("\r")
        t.expect("press any key to continue,q to exit")
        # One key, no Enter: no echo, and the pause follows.
        t.wait_for_key_read()
        t.send("x")
        shown = t.expect("Pause - Please enter a blank line (to continue) or a DOS command.")
        check("x" not in shown, "a page-stop key is not echoed: %r" % shown)
        t.send("\r")
        t.expect("press any key to continue,q to exit")
        # An arrow key: taken whole at the key read, nothing of it left for
        # the pause's line read that follows.
        t.wait_for_key_read()
        t.send("\x1b[A")
        shown = t.expect("Pause - Please enter a blank line (to continue) or a DOS command.")
        check("[A" not in shown and "A" not in shown.replace("Pause", ""), "arrow not echoed: %r" % shown)
        t.send("\r")
        listing = t.expect("press any key to continue,q to exit")
        check("[A" not in listing, "nothing of the arrow key reached the pause: %r" % listing)
        t.wait_for_key_read()
        t.send("q")
        shown = t.expect("Pause - Please enter a blank line (to continue) or a DOS command.")
        check("q" not in shown and "press any key" not in shown, "q ends the listing, unseen: %r" % shown)
        t.send("\r")
        t.expect("SUBMENU PRIMES")
        t.expect("enter number")
        number(t, "4")
        t.expect("10 Exit program")
        t.expect("enter number")

        # The console pause runs a command line through the shell.
        number(t, "0")
        t.expect("Pause - Please enter a blank line (to continue) or a DOS command.")
        t.send("echo e2e-$((6*7))\r")
        t.expect("e2e-42")
        t.expect("enter number")

        number(t, "10")
        check(t.wait() == 0, "Exit gives status 0 (got %r)" % t.status)
        check(t.settings_kept(), "terminal settings after Exit")
        log = open(os.path.join(cwd, "session7.dat"), "rb").read()
        check(b"997" in log, "the listing reached the session log")
    finally:
        t.close()


def session_end_of_input(prog, cwd):
    t = Terminal(prog, cwd)
    try:
        t.expect("enter number")
        t.send("\x04")  # Ctrl-D at the start of a line: end of input
        check(t.wait() == 0, "end of input gives status 0 (got %r)" % t.status)
        check(t.settings_kept(), "terminal settings after end of input")
    finally:
        t.close()


def session_ctrl_c(prog, cwd, at_page_stop):
    t = Terminal(prog, cwd)
    where = "a page stop" if at_page_stop else "a line prompt"
    try:
        t.expect("enter number")
        if at_page_stop:
            for n in ("1", "2", "0", "13", "3000"):
                number(t, n)
                if n != "3000":
                    t.expect("enter number")
            t.expect("Pause - Please enter")
            t.send("\r")
            t.expect("press any key to continue,q to exit")
            t.wait_for_key_read()
        t.send("\x03")
        check(t.wait() == 130, "Ctrl-C at %s gives status 130 (got %r)" % (where, t.status))
        check(t.settings_kept(), "terminal settings after Ctrl-C at " + where)
    finally:
        t.close()


def command_progress_line(prog, cwd):
    """pi --step past 2^31 on one thread and a gap histogram on two, about
    3 s each: the first draws its percentage over a line of its own and
    clears it, the second, with --no-status, shows only its rows."""
    runs = ((["pi", "1e12", "1e12+12e9", "--step", "2e9", "-t", "1"], True),
            (["gaps", "1", "1000", "1e12", "1e12+15e9", "--histogram", "-t", "2", "--no-status"],
             False))
    for args, shown in runs:
        t = Terminal(prog, cwd, args)
        try:
            check(t.wait() == 0, "%s: status %r" % (args[0], t.status))
            drawn = re.search(r"\r *\d+%", t.out) is not None
            check(drawn == shown and (not shown or "\r    \r" in t.out),
                  "%s: the progress line %s: %r" % (args[0], "shown and cleared" if shown
                                                    else "not shown", t.out[:300]))
        finally:
            t.close()


def session_from_a_file(prog, cwd):
    """Answers from a file with CR LF line ends, a megabyte line and a NUL
    byte: the real console's line reads must take them as the scripted
    console of the unit tests does."""
    import subprocess

    answers = (b"1\r\n\r\n1\r\n\r\n" + b"7" * (1 << 20) + b"\r\n\r\n" + b"13\x001\r\n\r\n"
               + b"100\r\n\r\n\r\n4\r\n\r\n10\r\n\r\n")
    run = subprocess.run([prog], input=answers, cwd=cwd, capture_output=True, timeout=TIMEOUT)
    out = run.stdout.decode("latin-1")
    check(run.returncode == 0, "a session from a file ends with status 0 (got %r)" % run.returncode)
    check(out.count("\r\n      25.\r\n") == 1, "Phi(100) = 25 after the refused answers")
    check(out.endswith("10 Exit program\r\nenter number   10" + " " * 18 + "  OK? Yes=any key N/n=no"),
          "the run ends at Exit: %r" % out[-120:])


def main():
    if len(sys.argv) != 2:
        print("usage: terminal_test.py path/to/ntbench")
        return 2
    prog = os.path.abspath(sys.argv[1])
    try:
        m, s = os.openpty()
        os.close(m)
        os.close(s)
    except OSError as e:
        print("SKIPPED: no pseudo-terminal can be opened here: %s" % e)
        return SKIP
    with tempfile.TemporaryDirectory(prefix="ntbench-e2e") as cwd:
        for run in (
            lambda: session_with_exit(prog, cwd),
            lambda: session_end_of_input(prog, cwd),
            lambda: session_ctrl_c(prog, cwd, False),
            lambda: session_ctrl_c(prog, cwd, True),
            lambda: session_from_a_file(prog, cwd),
            lambda: command_progress_line(prog, cwd),
        ):
            try:
                run()
            except (TimeoutError, OSError) as e:
                check(False, str(e))
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("terminal: every check holds")
    return 0


if __name__ == "__main__":
    sys.exit(main())
