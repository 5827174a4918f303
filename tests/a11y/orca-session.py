# SPDX-License-Identifier: GPL-3.0-or-later
"""Works a Tavoro program from the keyboard with the Orca screen reader running, and checks what Orca
says after each press.

Runs inside a private D-Bus session (see check-screen-reader.sh --orca). Starts its own Xvfb and
the AT-SPI bus with the helpers of screen-reader-session.py, then Orca with a scratch home,
configuration and runtime folder, speaking through speech-dispatcher and espeak-ng to a null audio
device, its debug log recording every utterance. Then the program, worked with Tab and Space as a
blind user works it: the splash window's start button; plus with nothing typed, whose message box
Orca reads, and its OK button; then 1 2 + 3 = . After each press it waits for what Orca must say,
read from the log's `SPEECH OUTPUT` lines, and prints what Orca said. Every wait is bounded; every
process it starts is ended, speech-dispatcher too, which outlives the bus.

Usage: orca-session.py PROGRAM WINDOW_TITLE AT_SPI_BUS_LAUNCHER
"""

import importlib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

# The AT-SPI check's helpers, without leaving compiled Python in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
session = importlib.import_module("screen-reader-session")
Failure, wait_for, end = session.Failure, session.wait_for, session.end

# "SPEECH OUTPUT: 'text'", then the voice's settings.
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'(?: ?\{.*\}| voice=\S+)?\s*$")

# Each press of 1 2 + 3 =: what it is, the keys from the key before (the Tab order is the
# "SHOW Entries" box, 0..9, X, /, ., =, -, +), and what Orca must say after them. Its other words
# are its own: the key echo and the keys that get the focus on the way.
CALCULATION = [
    ("1", ["Tab"] * 3 + ["space"], "1"),
    ("2", ["Tab", "space"], "12"),
    ("plus", ["shift+Tab"] * 4 + ["space"], "plus, 12"),
    ("3", ["Tab"] * 5 + ["space"], "3"),
    ("equals", ["shift+Tab"] * 7 + ["space"], "equals 15"),
]


class Orca:
    """Orca in a scratch home; said() is everything it has spoken so far, in order."""

    def __init__(self, scratch):
        home = os.path.join(scratch, "home")
        config = os.path.join(home, ".config")
        self.runtime = os.path.join(scratch, "runtime")
        os.makedirs(os.path.join(config, "speech-dispatcher"))
        os.mkdir(self.runtime, 0o700)
        # A null audio device: with speech-dispatcher's dummy module Orca hangs at start, and
        # with the default audio output after a few utterances.
        with open(os.path.join(config, "speech-dispatcher", "speechd.conf"), "w") as conf:
            conf.write('AudioOutputMethod "libao"\n'
                       'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n'
                       'DefaultModule espeak-ng\n')
        with open(os.path.join(home, ".libao"), "w") as libao:
            libao.write("default_driver=null\n")
        # The debug log goes to a terminal, which Python writes line by line: a file would hold
        # the last few kilobytes of utterances back until its buffer filled.
        self.terminal, self._log = os.openpty()
        self._said = []
        self._lock = threading.Lock()
        threading.Thread(target=self._read_log, daemon=True).start()
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=self.runtime,
                   XDG_DATA_HOME=os.path.join(home, ".local", "share"))
        # Orca will not start beside another Orca of the same user, and with --replace it kills
        # them all, another test's or another person's. In a process namespace of its own it sees
        # none; and when it ends, every process it started ends with it, speech-dispatcher too.
        # Where no namespace can be had, CTest runs one Orca test at a time.
        command = ["orca", f"--debug-file={os.ttyname(self._log)}"]
        own_namespace = ["unshare", "--pid", "--fork", "--kill-child", "--mount-proc"]
        if subprocess.run([*own_namespace, "true"], stderr=subprocess.DEVNULL).returncode == 0:
            command = own_namespace + command
        self.process = subprocess.Popen(command, env=env, start_new_session=True,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _read_log(self):
        pending = b""
        while True:
            try:
                chunk = os.read(self.terminal, 65536)
            except OSError:
                return
            lines = (pending + chunk).split(b"\n")
            pending = lines.pop()
            found = (SPEECH.search(line.decode(errors="replace").rstrip("\r")) for line in lines)
            with self._lock:
                self._said += [match.group(1).strip() for match in found if match]

    def said(self):
        with self._lock:
            return list(self._said)

    def stop(self):
        end(self.process, group=True)
        # Outside a namespace of its own, speech-dispatcher leaves Orca's process group and
        # outlives the bus: it is known by the runtime folder on its command line.
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
                    if self.runtime.encode() in cmdline.read():
                        os.kill(int(pid), signal.SIGKILL)
            except OSError:
                pass
        os.close(self._log)
        os.close(self.terminal)


def xdotool(*args):
    """xdotool's words of output (window ids for a search)."""
    done = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=session.STEP_SECONDS)
    return done.stdout.split()


def utterance(text):
    """An utterance as compared: Orca ends most with a full stop."""
    return text.rstrip(".").strip()


# How Orca names a button's role after its name: "push button" (Orca 43), "button" (Orca 48).
BUTTON_ROLE = r"(?:push )?button"


def button(name):
    """What Orca says of a button called `name` as it gets the focus, in any Orca's words."""
    return re.compile(re.escape(name) + " " + BUTTON_ROLE)


def hear(orca, what, keys, expected, since=None):
    """Types `keys`, waits until Orca says `expected` (or, for a long text, an utterance that holds
    it; or one that a pattern matches whole) and returns everything Orca said from the first key
    on, or from utterance `since`."""
    start = len(orca.said()) if since is None else since
    if keys:
        xdotool("key", "--delay", "150", *keys)

    def said_it(text):
        if isinstance(expected, re.Pattern):
            return expected.fullmatch(utterance(text)) is not None
        return utterance(text) == expected or (len(expected) > 20 and expected in text)

    def heard():
        said = orca.said()[start:]
        for i, text in enumerate(said):
            if said_it(text):
                return said[:i + 1]
        return None
    shown = expected.pattern if isinstance(expected, re.Pattern) else expected
    return wait_for(f'Orca to say "{shown}" after {what}', heard)


def main():
    program_path, title, launcher_path = sys.argv[1:4]
    # Stopped from outside, it still ends what it started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAIL: stopped"))
    scratch = tempfile.mkdtemp(prefix="tavoro-orca.")
    processes = []  # (process, whole process group?) to end, last started first
    orca = None
    started = time.monotonic()
    try:
        xvfb, display = session.start_xvfb()
        processes.append((xvfb, False))
        os.environ["DISPLAY"] = display
        session.start_accessibility_bus(launcher_path, processes)

        orca = Orca(scratch)
        session.must_run.update({"Xvfb": xvfb, "Orca": orca.process})
        wait_for("Orca to start", lambda: "Screen reader on." in orca.said(), 60)
        print(f"Orca speaks after {time.monotonic() - started:.1f} s")

        program = subprocess.Popen([program_path], env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
        processes.append((program, False))
        session.must_run["the program"] = program

        def focus_new_window(what, known):
            """Waits for a window of the program that is not in `known`, and gives it the keyboard:
            no window manager does."""
            def new_windows():
                shown = xdotool("search", "--onlyvisible", "--pid", str(program.pid))
                return [window for window in shown if window not in known]
            window = wait_for(what, new_windows)[0]
            xdotool("windowfocus", "--sync", window)
            return window

        splash = focus_new_window("the splash window", [])
        hear(orca, "the splash window", [], button("CLICK to Start Tavoro"))
        hear(orca, "the start button", ["space"], f"{title} frame")
        calculator = focus_new_window(f'the window "{title}"', [splash])

        # Plus with nothing typed: its message box, and the box's OK button.
        mark = len(orca.said())
        hear(orca, "plus with nothing typed", ["shift+Tab", "space"], "You must Enter a Number FIRST!")
        box = focus_new_window("the message box", [splash, calculator])
        print(f"plus with nothing typed: {hear(orca, 'the message box', [], button('OK'), since=mark)}")
        mark = len(orca.said())
        xdotool("key", "space")
        wait_for("the message box to close",
                 lambda: box not in xdotool("search", "--onlyvisible", "--pid", str(program.pid)))
        xdotool("windowfocus", "--sync", calculator)
        hear(orca, "OK", [], button("plus"), since=mark)
        # The refused press says nothing of its own once its box is closed: listen a moment.
        time.sleep(1)
        said = orca.said()[mark:]
        print(f"OK: {said}")
        if any(re.match(rf"plus\b(?! {BUTTON_ROLE})", text) for text in said):
            raise Failure("the refused press was announced")
        # After each press its own words, never an earlier press's (as a notification, too).
        earlier = set()
        for what, keys, expected in CALCULATION:
            said = hear(orca, what, keys, expected)
            print(f"{what}: {said}")
            stale = [text for text in said if utterance(text).removeprefix("notification ") in earlier - {expected}]
            if stale:
                raise Failure(f"after {what} Orca repeated the words of an earlier press: {stale}")
            earlier.add(expected)

        print(f"PASS in {time.monotonic() - started:.1f} s")
        return 0
    except Failure as failure:
        print(f"FAIL: {failure}")
        if orca:
            print("Orca said, last:", *orca.said()[-30:], sep="\n  ")
        return 1
    finally:
        for process, group in reversed(processes):
            end(process, group)
        if orca:
            orca.stop()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
