# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs both Tavoro programs inside GNOME Shell, as a user of today's Debian desktop has them: a
Wayland session, Qt drawing natively on Wayland, the desktop's scale set in its settings.

Runs inside a private D-Bus session (see check-gnome-shell.sh). Starts the AT-SPI bus, a private
sound server whose speakers are recorded (soundprobe), a stand-in system bus (the shell will not
start without one) and, for each screen below, `gnome-shell --headless --wayland --unsafe-mode
--virtual-monitor WxH` as a GNOME session starts it (XDG_CURRENT_DESKTOP=GNOME selects Debian's
settings for GNOME: scales laid out in logical pixels), whose scale it then sets through
org.gnome.Mutter.DisplayConfig. Everything is read from the shell itself through its Eval method,
in logical pixels: the work area and each window's frame. Each program is started as a user
starts it, from the session's environment alone (no QT_* variable), and once more through Xwayland
(QT_QPA_PLATFORM=xcb, with GNOME's X11 settings daemon telling X11 programs the scale). For each
case: the splash window lies wholly inside the work area; its start button, pressed over AT-SPI,
brings the calculator window, which lies wholly inside the work area and is centred on it (within
CENTRE_TOLERANCE logical pixels); 1 + 2 X 3 - 4 = pressed over AT-SPI, 0.4 s apart, makes the
total display read 5, and the speakers play four sounds, one per operator press. Every case runs
and reports what it found, whatever an earlier one found. With --shots DIR, a screenshot of each
case is saved there: the splash window, and the calculator window showing 5. Every wait is
bounded; every process it starts is ended.

Usage: gnome-session.py [--shots DIR] AT_SPI_BUS_LAUNCHER PROGRAM WINDOW_TITLE [PROGRAM WINDOW_TITLE]...
"""

import argparse
import importlib
import json
import os
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "a11y"))
sys.path.insert(0, os.path.join(here, "..", "sound"))
session = importlib.import_module("screen-reader-session")
import soundprobe  # noqa: E402

from gi.repository import Gio, GLib  # noqa: E402

Failure, wait_for, end = session.Failure, session.wait_for, session.end

# (virtual monitor, scale, Qt platforms to start the programs on: None is the session's choice)
SCREENS = [
    ("1366x768", 1, [None]),
    ("1920x1080", 2, [None, "xcb"]),
]
# How far the calculator window's centre may lie from the work area's, in logical pixels: the
# compositor centres by whole pixels, and an X11 window placed by the program itself may be off
# by the rounding of its frame at the scale.
CENTRE_TOLERANCE = 3
# The keys pressed and what the total display then reads. The presses are apart by more than a
# bell sound lasts (0.14 s) and than the 100 ms within which GNOME drops a second X bell.
PRESSES = ["1", "plus", "2", "times", "3", "minus", "4", "equals"]
OPERATORS = {"plus", "times", "minus", "equals"}
RESULT = "5"
PRESS_INTERVAL = 0.4
# How long the shell may take to start (the first start in a fresh system compiles shaders).
SHELL_SECONDS = 60

SYSTEM_BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <listen>unix:path={socket}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""

WINDOWS_JS = """global.get_window_actors().map(actor => {
    const w = actor.meta_window, r = w.get_frame_rect();
    return {id: w.get_id(), pid: w.get_pid(), type: w.get_client_type(), title: w.get_title(),
            rect: [r.x, r.y, r.width, r.height]};
})"""
WORK_AREA_JS = """(() => {
    const r = global.workspace_manager.get_active_workspace().get_work_area_for_monitor(0);
    return [r.x, r.y, r.width, r.height];
})()"""
WAYLAND_CLIENT, X11_CLIENT = 0, 1
DISPLAY_CONFIG = "org.gnome.Mutter.DisplayConfig"
X11_SETTINGS_DAEMON = "/usr/libexec/gsd-xsettings"


def start_system_bus(processes):
    """A bus that stands in for the system bus (the shell dies at start-up without one); nothing
    answers on it, as in a container. Returns its address."""
    runtime = os.environ["XDG_RUNTIME_DIR"]
    config = os.path.join(runtime, "system-bus.conf")
    with open(config, "w") as file:
        file.write(SYSTEM_BUS_CONFIG.format(socket=os.path.join(runtime, "system_bus_socket")))
    bus = subprocess.Popen(["dbus-daemon", f"--config-file={config}", "--nofork", "--print-address"],
                           stdout=subprocess.PIPE, text=True)
    processes.append((bus, False))
    address = bus.stdout.readline().strip()
    if not address:
        raise Failure("the stand-in system bus did not start")
    return address


def make_x11_socket_folder():
    """Makes the folder of X servers' sockets as they make it, writable by all and sticky, when it
    is missing: Xwayland starts with the shell, which refuses a folder others cannot write."""
    path = "/tmp/.X11-unix"
    try:
        os.mkdir(path)
    except FileExistsError:
        if os.stat(path).st_uid != os.getuid():
            return
    os.chmod(path, 0o1777)


class Shell:
    """A running gnome-shell and the calls a test makes to it."""

    def __init__(self, processes, screen, env):
        self.screen = screen
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        self.x_settings = None
        self.log_path = os.path.join(os.environ["XDG_RUNTIME_DIR"], f"gnome-shell-{screen}.log")
        log = open(self.log_path, "w")
        # Its own process group: the shell starts Xwayland.
        self.process = subprocess.Popen(
            ["gnome-shell", "--headless", "--wayland", "--unsafe-mode", "--virtual-monitor", screen],
            env=env, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        log.close()
        processes.append((self.process, True))
        session.must_run["gnome-shell"] = self.process
        try:
            wait_for("GNOME Shell on the session bus", lambda: self.bus_name_owned("org.gnome.Shell"),
                     SHELL_SECONDS)
            # The top bar takes its place in the work area a moment after start-up.
            self.work_area = wait_for("the top bar in the work area", lambda: (
                lambda area: area if area[1] > 0 else None)(self.eval(WORK_AREA_JS)), SHELL_SECONDS)
            # A new session opens in the overview, which shows windows small.
            self.eval("Main.overview.hide()")
            wait_for("the overview to close", lambda: self.eval("Main.overview.visible") is False)
        except Failure as failure:
            raise Failure(f"{failure}; the shell wrote:\n{self.log_tail()}") from None
        self.wayland_display = self.eval("GLib.getenv('WAYLAND_DISPLAY')")
        self.x_display = self.eval("GLib.getenv('DISPLAY')")
        self.x_authority = self.eval("GLib.getenv('XAUTHORITY')")
        print(f"GNOME Shell on {screen}: WAYLAND_DISPLAY={self.wayland_display} DISPLAY={self.x_display} "
              f"XAUTHORITY={self.x_authority}, work area {self.work_area}")

    def start_x11_settings(self, processes, env):
        """Starts GNOME's X11 settings daemon on the shell's Xwayland, as a GNOME session does once
        Xwayland runs: it tells X11 programs the desktop's scale (Xft.dpi), which Qt's xcb
        platform follows. Without it they are drawn at 100 % whatever the scale."""
        if self.x_settings:
            return
        self.x_settings = subprocess.Popen([X11_SETTINGS_DAEMON], env=env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL, start_new_session=True)
        processes.append((self.x_settings, True))
        # It writes the resources it holds to the root window.
        wait_for("the X11 settings daemon to set Xft.dpi", lambda: "Xft.dpi" in subprocess.run(
            ["xprop", "-root", "RESOURCE_MANAGER"], env=env, capture_output=True, text=True,
            timeout=session.STEP_SECONDS).stdout)

    def log_tail(self, lines=30):
        with open(self.log_path, errors="replace") as log:
            return "".join(log.readlines()[-lines:])

    def bus_name_owned(self, name):
        reply = self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                   "NameHasOwner", GLib.Variant("(s)", (name,)), GLib.VariantType("(b)"),
                                   Gio.DBusCallFlags.NONE, 2000, None)
        return reply.unpack()[0]

    def call(self, name, path, interface, method, args=None, reply_type=None):
        reply = self.bus.call_sync(name, path, interface, method, args, reply_type and GLib.VariantType(reply_type),
                                   Gio.DBusCallFlags.NONE, session.STEP_SECONDS * 1000, None)
        return reply.unpack()

    def eval(self, code):
        """The value of a JavaScript expression in the shell (its JSON text, parsed)."""
        ok, result = self.call("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell", "Eval",
                               GLib.Variant("(s)", (code,)), "(bs)")
        if not ok:
            raise Failure(f"the shell could not evaluate {code!r}: {result}")
        return json.loads(result) if result else None

    def set_scale(self, scale):
        """Sets the one monitor's scale for this session, as the display settings do, and waits
        for the work area to follow."""
        serial, monitors, logical_monitors, _ = self.call(
            DISPLAY_CONFIG, "/org/gnome/Mutter/DisplayConfig", DISPLAY_CONFIG, "GetCurrentState", None,
            "(ua((ssss)a(siiddada{sv})a{sv})a(iiduba(ssss)a{sv})a{sv})")
        [((connector, *_), modes, _)] = monitors
        [mode] = [mode for mode in modes if mode[6].get("is-current")]
        if scale not in mode[5]:
            raise Failure(f"the shell offers the scales {mode[5]} on {self.screen}, not {scale}")
        x, y, _, transform, primary, _, _ = logical_monitors[0]
        config = GLib.Variant("(uua(iiduba(ssa{sv}))a{sv})", (
            serial, 1, [(x, y, float(scale), transform, primary, [(connector, mode[0], {})])], {}))
        self.call(DISPLAY_CONFIG, "/org/gnome/Mutter/DisplayConfig", DISPLAY_CONFIG, "ApplyMonitorsConfig",
                  config)
        width, height = (int(n) for n in self.screen.split("x"))
        seen = []

        def scaled():
            seen[:] = [self.eval(WORK_AREA_JS)]
            return seen[0] if seen[0][1] > 0 and seen[0][2] == width // scale else None
        try:
            self.work_area = wait_for(f"the work area at scale {scale}", scaled)
        except Failure as failure:
            state = self.call(DISPLAY_CONFIG, "/org/gnome/Mutter/DisplayConfig", DISPLAY_CONFIG,
                              "GetCurrentState")
            raise Failure(f"{failure}: it is {seen[0]}; the display configuration: {state}") from None

    def windows_of(self, pid):
        """The program's windows as the shell has them: {window id: window}."""
        return {window["id"]: window for window in self.eval(WINDOWS_JS) if window["pid"] == pid}

    def screenshot(self, path):
        """Saves the screen as a PNG file. The notice the shell gives a session of root's covers the
        top of the screen: it is closed first."""
        if self.eval("(() => { const sources = Main.messageTray.getSources(); "
                     "sources.forEach(source => source.destroy()); return sources.length; })()"):
            time.sleep(0.5)  # the banner slides away
        ok, _ = self.call("org.gnome.Shell", "/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot",
                          "Screenshot", GLib.Variant("(bbs)", (False, False, path)), "(bs)")
        if not ok:
            raise Failure(f"the shell could not save a screenshot as {path}")


def inside(rect, area):
    x, y, width, height = rect
    left, top, area_width, area_height = area
    return left <= x and top <= y and x + width <= left + area_width and y + height <= top + area_height


def settled(shell, pid, what, exclude=None):
    """One window of the program, once its frame has stayed the same for half a second (a window
    may be moved or resized once the compositor has told it its bounds)."""
    def current():
        windows = [w for w in shell.windows_of(pid).values()
                   if w["id"] != exclude and w["rect"][2] > 0]
        return windows[0] if len(windows) == 1 else None
    last = wait_for(what, current)
    deadline = time.monotonic() + session.STEP_SECONDS
    while True:
        time.sleep(0.5)
        now = wait_for(what, current)
        if now == last:
            return now
        if time.monotonic() > deadline:
            raise Failure(f"{what} kept changing: {last['rect']}, then {now['rect']}")
        last = now


def run_case(shell, processes, sound, shots, program_path, title, scale, platform):
    """One program in the running shell; returns what the case found wrong (empty when nothing)."""
    import pyatspi
    # The session's environment, as the shell gives it to what it starts.
    env = dict(os.environ, WAYLAND_DISPLAY=shell.wayland_display, DISPLAY=shell.x_display,
               XAUTHORITY=shell.x_authority, XDG_SESSION_TYPE="wayland", XDG_CURRENT_DESKTOP="GNOME")
    if platform == "xcb":
        shell.start_x11_settings(processes, env)
    if platform:
        env["QT_QPA_PLATFORM"] = platform
    name = os.path.basename(program_path)
    through = "xwayland" if platform == "xcb" else "wayland"
    what = f"{name} on {shell.screen} at {scale * 100} % " + (
        "through Xwayland" if platform == "xcb" else "as the session starts it")
    client_type = X11_CLIENT if platform == "xcb" else WAYLAND_CLIENT
    wrong = []
    program = subprocess.Popen([program_path], env=env)
    processes.append((program, False))
    session.must_run["the program"] = program
    try:
        app, splash, start = session.find_splash(program)
        splash_window = settled(shell, program.pid, "the splash window in the shell")
        if splash_window["type"] != client_type:
            kinds = {WAYLAND_CLIENT: "a Wayland", X11_CLIENT: "an X11"}
            raise Failure(f"the splash window is {kinds.get(splash_window['type'], 'an unknown')} client, "
                          f"not {kinds[client_type]} one (Qt's wayland platform is the package qt6-wayland)")
        area = shell.work_area
        if not inside(splash_window["rect"], area):
            wrong.append(f"the splash window {splash_window['rect']} is not inside the work area {area}")
        if shots:
            shell.screenshot(os.path.join(shots, f"{name}-{shell.screen}-{scale * 100}-{through}-splash.png"))
        session.press(start)
        calculator_window = settled(shell, program.pid, "the calculator window in the shell",
                                    exclude=splash_window["id"])
        rect = calculator_window["rect"]
        if not inside(rect, area):
            below = rect[1] + rect[3] - (area[1] + area[3])
            wrong.append(f"the calculator window {rect} is not inside the work area {area}"
                         + (f": its bottom {below} pixels lie below it" if below > 0 else ""))
        off = (rect[0] + rect[2] / 2 - (area[0] + area[2] / 2), rect[1] + rect[3] / 2 - (area[1] + area[3] / 2))
        if max(abs(off[0]), abs(off[1])) > CENTRE_TOLERANCE:
            wrong.append(f"the calculator window {rect} is not centred on the work area {area}: its centre "
                         f"lies {off[0]:+g}, {off[1]:+g} from the work area's")

        calculator = wait_for(f'the window "{title}"', lambda: next(
            (w for w in app if w is not None and w.name == title and session.find(w, pyatspi.ROLE_LABEL, "total")),
            None))
        total = session.find(calculator, pyatspi.ROLE_LABEL, "total")
        keys = {key: wait_for(f'the key "{key}"', lambda: session.find(calculator, pyatspi.ROLE_PUSH_BUTTON, key))
                for key in set(PRESSES)}
        sound.start_recording()
        for key in PRESSES:
            session.press(keys[key])
            time.sleep(PRESS_INTERVAL)
        wait_for(f'the total display to read "{RESULT}" after {" ".join(PRESSES)}',
                 lambda: session.text_of(total) == RESULT)
        samples = sound.stop_recording()
        sounds = soundprobe.count_onsets(samples, sound.rate)
        if shots:
            shell.screenshot(os.path.join(shots, f"{name}-{shell.screen}-{scale * 100}-{through}.png"))
        expected = sum(key in OPERATORS for key in PRESSES)
        if sounds != expected:
            wrong.append(f"{expected} operator presses made {sounds} sounds at the speakers")
        print(f"{what}: work area {area}, splash window {splash_window['rect']}, calculator window {rect} "
              f"(centre {off[0]:+g}, {off[1]:+g}); {' '.join(PRESSES)} shows {RESULT}; {sounds} sounds")
    except Failure as failure:
        wrong.append(str(failure))
    finally:
        del session.must_run["the program"]
        end(*processes.pop())
    for line in wrong:
        print(f"FAIL: {what}: {line}")
    return wrong


def main():
    # Ended from outside (the wrapper's time limit, CTest's), it still ends what it started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    parser = argparse.ArgumentParser()
    parser.add_argument("--shots")
    parser.add_argument("launcher")
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    programs = list(zip(args.programs[0::2], args.programs[1::2]))
    if args.shots:
        os.makedirs(args.shots, exist_ok=True)
    failures = []

    def checks(processes):
        session.start_accessibility_bus(args.launcher, processes)
        system_bus = start_system_bus(processes)
        make_x11_socket_folder()
        with soundprobe.SoundServer(os.environ["XDG_RUNTIME_DIR"]) as sound:
            # As a GNOME session starts it: the desktop's name selects Debian's settings for GNOME
            # (scales laid out in logical pixels, Xwayland clients scaled by themselves).
            env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=system_bus, XDG_CURRENT_DESKTOP="GNOME",
                       XDG_SESSION_TYPE="wayland", **sound.env)
            os.environ.update(sound.env)
            for screen, scale, platforms in SCREENS:
                started = len(processes)
                try:
                    shell = Shell(processes, screen, env)
                    if scale != 1:
                        shell.set_scale(scale)
                    # Every case runs, whatever an earlier one found: each tells something of its own.
                    for platform in platforms:
                        for program_path, title in programs:
                            failures.extend(run_case(shell, processes, sound, args.shots, program_path, title,
                                                     scale, platform))
                finally:
                    session.must_run.clear()
                    while len(processes) > started:
                        end(*processes.pop())
        if failures:
            raise Failure(f"{len(failures)} findings above")
    return session.run_checks(checks)


if __name__ == "__main__":
    sys.exit(main())
