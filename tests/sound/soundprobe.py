# SPDX-License-Identifier: GPL-3.0-or-later
"""Speakers a test can listen to: a private PulseAudio server whose only output is a null sink,
what that sink plays recorded from its monitor, and the separate sounds in a recording counted.

    with soundprobe.SoundServer(runtime_dir) as server:
        env = dict(os.environ, **server.env)     # PULSE_SERVER etc. for the programs to be heard
        server.start_recording()
        ... make the program play ...
        samples = server.stop_recording()          # signed 16-bit mono samples at server.rate
    sounds = soundprobe.count_onsets(samples, server.rate)

The server needs no sound card, no system bus and no logind; it runs as root too. Every wait is
bounded; the server and the recorder are ended on leaving the block, whatever happened.
"""

import array
import os
import shutil
import signal
import subprocess
import sys
import time

RATE = 16000
SINK = "probe"
STEP_SECONDS = 20

# The programs this module runs and the Debian packages they come in.
TOOLS = {"pulseaudio": "pulseaudio", "pactl": "pulseaudio-utils", "parec": "pulseaudio-utils"}


class SoundError(Exception):
    pass


def missing_tools():
    """The tools this module needs that are not on the PATH, as "tool (Debian: package)" lines;
    empty when all are there. A test skips with these when the list is not empty."""
    return [f"{tool} (Debian: {package})" for tool, package in TOOLS.items() if shutil.which(tool) is None]


class SoundServer:
    """A private PulseAudio server with one null sink, `probe`, as the default sink; its files
    (socket, state) live in a folder `pulse` made in `runtime_dir`. Entering starts it and waits
    until it answers; `env` then holds what a client needs to reach it and nothing else."""

    def __init__(self, runtime_dir, rate=RATE):
        self.rate = rate
        self.folder = os.path.join(runtime_dir, "pulse")
        self.socket = os.path.join(self.folder, "native")
        # PULSE_RUNTIME_PATH and PULSE_STATE_PATH keep the server's and its clients' files in the
        # folder; PULSE_SERVER makes every client (libpulse) connect there and start no server of
        # its own.
        self.env = {"PULSE_SERVER": f"unix:{self.socket}", "PULSE_RUNTIME_PATH": self.folder,
                    "PULSE_STATE_PATH": self.folder, "XDG_RUNTIME_DIR": runtime_dir}
        self.server = None
        self.recorder = None
        self.recording = None
        self.log = None

    def __enter__(self):
        os.makedirs(self.folder, mode=0o700, exist_ok=True)
        self.log = open(os.path.join(self.folder, "server.log"), "w+")
        # -n: none of the system's configuration (no sound card, no X11 or D-Bus modules); anonymous
        # clients: the programs under test have no cookie; no exit when idle.
        self.server = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--disallow-module-loading=no", "--log-target=stderr",
             "-L", f"module-native-protocol-unix socket={self.socket} auth-anonymous=1",
             "-L", f"module-null-sink sink_name={SINK} rate={self.rate} channels=1"],
            env=self._environment(), stdout=self.log, stderr=subprocess.STDOUT, start_new_session=True)
        try:
            deadline = time.monotonic() + STEP_SECONDS
            while self._pactl("set-default-sink", SINK) != 0:
                if self.server.poll() is not None:
                    raise SoundError(f"pulseaudio ended with status {self.server.returncode}: {self._log_tail()}")
                if time.monotonic() > deadline:
                    raise SoundError(f"pulseaudio did not answer within {STEP_SECONDS} s: {self._log_tail()}")
                time.sleep(0.1)
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exception):
        for process in (self.recorder, self.server):
            if process is not None:
                _end(process)
        self.recorder = self.server = None
        if self.recording is not None:
            self.recording.close()
            self.recording = None
        if self.log is not None:
            self.log.close()
            self.log = None
        return False

    def play_x_bells(self, display, sound):
        """Plays the file `sound` for every bell of the X server at `display` (":N"), as an X11
        desktop that plays X bells does (PulseAudio's module-x11-bell)."""
        for command in (["upload-sample", sound, "x11-bell"],
                        ["load-module", "module-x11-bell", f"display={display}", "sample=x11-bell"]):
            if self._pactl(*command) != 0:
                raise SoundError(f"pactl {' '.join(command)} failed: {self._log_tail()}")

    def start_recording(self):
        """Records what the sink plays, from now until stop_recording(); returns once the recording
        runs (the monitor delivers silence while nothing plays, so data arriving proves it)."""
        if self.recorder is not None:
            raise SoundError("a recording is running already")
        path = os.path.join(self.folder, "recording.raw")
        self.recording = open(path, "w+b")
        # A short latency: what parec still holds when it is stopped is lost, and without it a
        # short sound at the end never reaches the file.
        self.recorder = subprocess.Popen(
            ["parec", "-d", f"{SINK}.monitor", "--raw", "--format=s16le", f"--rate={self.rate}", "--channels=1",
             "--latency-msec=20"],
            env=self._environment(), stdout=self.recording, stderr=self.log)
        deadline = time.monotonic() + STEP_SECONDS
        while os.path.getsize(path) < self.rate // 10:  # 50 ms of samples
            if self.recorder.poll() is not None:
                raise SoundError(f"parec ended with status {self.recorder.returncode}: {self._log_tail()}")
            if time.monotonic() > deadline:
                raise SoundError(f"parec recorded nothing within {STEP_SECONDS} s")
            time.sleep(0.05)

    def stop_recording(self, tail_seconds=0.5):
        """Waits `tail_seconds` for sounds still playing to end, stops the recording and returns
        its samples: an array of signed 16-bit integers at `rate` samples a second."""
        if self.recorder is None:
            raise SoundError("no recording is running")
        time.sleep(tail_seconds)
        # parec writes what it holds when interrupted.
        _end(self.recorder, signal.SIGINT)
        self.recorder = None
        self.recording.seek(0)
        data = self.recording.read()
        self.recording.close()
        self.recording = None
        samples = array.array("h")
        samples.frombytes(data[:len(data) - len(data) % 2])
        if sys.byteorder != "little":
            samples.byteswap()
        return samples

    def _environment(self):
        environment = dict(os.environ, **self.env)
        environment.pop("PULSE_SERVER")  # the server itself makes the socket the clients look for
        return environment

    def _pactl(self, *args):
        return subprocess.run(["pactl", *args], env=dict(os.environ, **self.env), stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=STEP_SECONDS).returncode

    def _log_tail(self):
        self.log.flush()
        self.log.seek(0)
        return " | ".join(self.log.read().splitlines()[-5:])


def _end(process, first=signal.SIGTERM):
    """Ends a process: `first`, then SIGKILL if it has not ended within 5 s."""
    if process.poll() is None:
        process.send_signal(first)
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
    process.wait()


def count_onsets(samples, rate, window_seconds=0.01, min_gap_seconds=0.1, threshold=300, rise=3.0):
    """How many separate sounds `samples` (signed 16-bit mono at `rate`) hold. A sound starts in a
    short window whose loudness (root mean square) exceeds `threshold` and is at least `rise` times
    that of the quietest of the three windows before it: after silence, or on top of the fading
    tail of the sound before (a sound 0.15 s after another one of 0.14 s leaves no silence between
    them). Starts closer than `min_gap_seconds` to the one before are the same sound (its attack,
    its own ups and downs). The threshold, about -40 dBFS, lies far above a null sink's silence (0)
    and far below any event sound."""
    return len(sound_spans(samples, rate, window_seconds, min_gap_seconds, threshold, rise))


def sound_spans(samples, rate, window_seconds=0.01, min_gap_seconds=0.1, threshold=300, rise=3.0):
    """The separate sounds in `samples` as (start, end) times in seconds, a sound ending where it
    last exceeds the threshold before the next one starts; see count_onsets()."""
    window = max(1, int(rate * window_seconds))
    loudness = [(sum(sample * sample for sample in samples[start:start + window]) / window) ** 0.5
                for start in range(0, len(samples) - window + 1, window)]
    spans = []
    for index, level in enumerate(loudness):
        if level <= threshold:
            continue
        begin, end = index * window_seconds, (index + 1) * window_seconds
        before = min(loudness[max(0, index - 3):index], default=0.0)
        starts = level >= rise * before and (not spans or begin - spans[-1][0] >= min_gap_seconds - 1e-9)
        if starts:
            spans.append((begin, end))
        else:
            spans[-1] = (spans[-1][0], end) if spans else (begin, end)
    return spans


if __name__ == "__main__":
    # By hand: python3 soundprobe.py FILE.oga [TIMES [SECONDS_APART]] plays a file through a private
    # server and prints the sounds heard.
    import tempfile
    sound, times = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 1
    apart = float(sys.argv[3]) if len(sys.argv) > 3 else 0.3
    with tempfile.TemporaryDirectory() as runtime, SoundServer(runtime) as server:
        server.start_recording()
        players = []
        for _ in range(times):
            players.append(subprocess.Popen(["paplay", sound], env=dict(os.environ, **server.env)))
            time.sleep(apart)
        for player in players:
            player.wait()
        recorded = server.stop_recording()
    print(f"{len(recorded) / RATE:.2f} s recorded; sounds at {sound_spans(recorded, RATE)}: "
          f"{count_onsets(recorded, RATE)}")
