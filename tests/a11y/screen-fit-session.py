# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts a Tavoro program on small screens at the display scales low-vision users choose, and
checks that each of its windows lies wholly on the screen's available area, as such a user needs.

Runs inside a private D-Bus session (see check-screen-reader.sh --fit). For each X11 case below it
starts its own Xvfb with a screen of that size (and, for some, a work area smaller than the
screen, as a desktop's panels leave it: the _NET_WORKAREA a window manager sets; for others the
openbox window manager, which frames the windows and keeps a panel's strip free), the AT-SPI bus
and the program at that scale (QT_SCALE_FACTOR). Then: the splash window, frame included, lies
inside the available area; a real mouse click on its start button (found by its accessible
extents) brings the calculator window, which lies inside it too, centred on it within 2 pixels
(its frame as drawn), as does its total display; and real clicks on 1 + 2 = make the total display
read 3. On a large screen at scale 1 both windows have exactly the design's size.

The Wayland cases run the program on Qt's wayland platform under weston's headless compositor,
which tells its clients neither its panel nor a work area, and which places the windows itself:
each window, its decoration included (the window geometry the program gives the compositor, read
from its Wayland protocol log), fits the room the compositor's bounds give, or where it gives none,
the screen less the room kept for a panel. Presses go through AT-SPI actions there.
Every wait is bounded; every process it starts is ended.

Usage: screen-fit-session.py PROGRAM WINDOW_TITLE AT_SPI_BUS_LAUNCHER
"""

import importlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
session = importlib.import_module("screen-reader-session")
Failure, wait_for, end = session.Failure, session.wait_for, session.end

# (screen, scale, work area as x, y, width, height or None for the whole screen[, the work area
# it changes to while the calculator window shows])
CASES = [
    ("1366x768", "1", None, (0, 160, 1366, 448)),
    ("1366x768", "1.25", None),
    ("1366x768", "1.5", None),
    ("1366x768", "2", None),
    ("800x600", "1", None),
    # A panel along the top and a dock along the bottom.
    ("1366x768", "1.5", (0, 40, 1366, 680)),
    ("1366x768", "2", (60, 30, 1306, 700)),
]
# Under openbox, with a strip of this many pixels kept free along the bottom for a panel (openbox's
# margins, which it leaves out of its _NET_WORKAREA): (screen, scale, panel height).
WINDOW_MANAGER_CASES = [
    ("1366x768", "1", 48),
    ("1920x1080", "2", 48),
]
# Under weston: (screen, QT_SCALE_FACTOR, weston's own scale).
WAYLAND_CASES = [
    ("1366x768", "1", "1"),
    ("1366x768", "2", "1"),
    ("1920x1080", "1", "2"),
]
# The room the windows leave for a panel along each axis where the platform tells nothing of one,
# in Qt's pixels (screenfit.h).
UNKNOWN_PANEL_ROOM = 64
# How far from the work area's centre a centred window may lie: half a pixel of rounding each way
# at a scale, and the frame's odd pixel.
CENTRED_WITHIN = 2
# As designed: the splash windows' client areas, and the calculator's width (its height adds the
# menu bar's).
DESIGN = {"Tavoro 3": (630, 468), "Tavoro.": (622, 479)}
CALCULATOR_WIDTH = 647


def xdotool(*args):
    done = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=session.STEP_SECONDS)
    return done.stdout


def frame_extents(window):
    """The window manager's frame around an X window: (left, right, top, bottom), none without one."""
    done = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], capture_output=True, text=True,
                          timeout=session.STEP_SECONDS)
    values = re.findall(r"\d+", done.stdout.partition("=")[2])
    return tuple(int(v) for v in values) if len(values) == 4 else (0, 0, 0, 0)


def windows_of(program):
    """The program's visible X windows: {window id: (client, frame)}, each (x, y, width, height) in
    screen pixels; the frame is the client area with the window manager's frame around it."""
    found = {}
    for window in xdotool("search", "--onlyvisible", "--pid", str(program.pid)).split():
        # xwininfo: the client area itself (xdotool reports a framed window's place off by its frame).
        info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                              timeout=session.STEP_SECONDS).stdout
        fields = dict(re.findall(r"^\s*(Absolute upper-left X|Absolute upper-left Y|Width|Height):\s*(-?\d+)", info,
                                 re.MULTILINE))
        if len(fields) < 4:
            continue  # gone while it was looked at
        x, y, width, height = (int(fields[key]) for key in ("Absolute upper-left X", "Absolute upper-left Y",
                                                            "Width", "Height"))
        left, right, top, bottom = frame_extents(window)
        found[window] = ((x, y, width, height), (x - left, y - top, width + left + right, height + top + bottom))
    return found


def off_centre(rect, area):
    """How far the rectangle's centre lies from the area's, along each axis."""
    return (abs(2 * rect[0] + rect[2] - 2 * area[0] - area[2]) / 2,
            abs(2 * rect[1] + rect[3] - 2 * area[1] - area[3]) / 2)


def inside(rect, area):
    x, y, width, height = rect
    left, top, area_width, area_height = area
    return left <= x and top <= y and x + width <= left + area_width and y + height <= top + area_height


def screen_rect(accessible, ratio):
    """An object's extents in screen pixels: Qt gives them in its device-independent pixels, which
    `ratio` screen pixels make, or already in screen pixels (ratio 1)."""
    import pyatspi
    extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return tuple(round(value * ratio) for value in (extents.x, extents.y, extents.width, extents.height))


def click(rect):
    """A real click in the middle of a screen rectangle."""
    x, y, width, height = rect
    xdotool("mousemove", str(x + width // 2), str(y + height // 2), "click", "1")


def set_work_area(area):
    subprocess.run(["xprop", "-root", "-format", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA",
                    ", ".join(map(str, area))], check=True, timeout=session.STEP_SECONDS)


def start_openbox(panel, processes, config_dir):
    """Starts openbox with a strip `panel` pixels high kept free along the bottom; waits until it
    manages the screen and has made its work area."""
    config = os.path.join(config_dir, "rc.xml")
    with open(config, "w") as out:
        out.write('<?xml version="1.0"?><openbox_config xmlns="http://openbox.org/3.4/rc">'
                  f"<margins><top>0</top><bottom>{panel}</bottom><left>0</left><right>0</right></margins>"
                  "</openbox_config>")
    openbox = subprocess.Popen(["openbox", "--config-file", config], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    processes.append((openbox, False))

    def work_area():
        done = subprocess.run(["xprop", "-root", "_NET_WORKAREA", "_NET_SUPPORTING_WM_CHECK"],
                              capture_output=True, text=True, timeout=session.STEP_SECONDS)
        values = [int(v) for v in re.findall(r"\d+", done.stdout.split("\n")[0].partition("=")[2])]
        return tuple(values[:4]) if "window id" in done.stdout and len(values) >= 4 and values[3] > 0 else None
    return openbox, work_area


def run_case(processes, program_path, title, screen, scale, work_area, changed_area=None, panel=None):
    """One case on a display of its own, with openbox keeping `panel` pixels free where given;
    returns the splash and calculator windows' client rectangles."""
    import pyatspi
    try:
        xvfb, display = session.start_xvfb(screen)
        processes.append((xvfb, False))
        os.environ["DISPLAY"] = display
        width, height = (int(n) for n in screen.split("x"))
        area = work_area or (0, 0, width, height)
        if work_area:
            set_work_area(work_area)
        must_run = {"Xvfb": xvfb}
        if panel:
            config_dir = tempfile.mkdtemp()
            try:
                openbox, work_area_of = start_openbox(panel, processes, config_dir)
                area = wait_for("openbox's work area", work_area_of)
            finally:
                shutil.rmtree(config_dir)
            if area != (0, 0, width, height - panel):
                raise Failure(f"openbox made the work area {area}, not the screen less {panel} pixels")
            must_run["openbox"] = openbox
        program = subprocess.Popen([program_path],
                                   env=dict(os.environ, QT_QPA_PLATFORM="xcb", QT_SCALE_FACTOR=scale))
        processes.append((program, False))
        session.must_run.update(must_run, **{"the program": program})
        what = (f"{screen} at scale {scale}" + (f", work area {work_area}" if work_area else "")
                + (f", openbox with a {panel}-pixel panel" if panel else ""))

        app, splash, start = session.find_splash(program)
        splash_window = wait_for("the splash window on the screen", lambda: windows_of(program))
        [(splash_id, (splash_rect, splash_frame))] = splash_window.items()
        if not inside(splash_frame, area):
            raise Failure(f"{what}: the splash window {splash_frame} is not inside {area}")
        ratio = splash_rect[2] / splash.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width
        click(screen_rect(start, ratio))

        def calculator_window():
            shown = {key: value for key, value in windows_of(program).items() if key != splash_id}
            return shown if shown else None
        [(calculator_id, _)] = wait_for("the calculator window", calculator_window).items()
        # A window manager frames the window a moment after it shows, and it is centred again then.
        deadline = time.monotonic() + 5
        while True:
            calculator_rect, calculator_frame = windows_of(program)[calculator_id]
            apart = off_centre(calculator_frame, area)
            if max(apart) <= CENTRED_WITHIN or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        if not inside(calculator_frame, area):
            raise Failure(f"{what}: the calculator window {calculator_frame} is not inside {area}")
        if max(apart) > CENTRED_WITHIN:
            raise Failure(f"{what}: the calculator window {calculator_frame} lies {apart[0]} pixels across "
                          f"and {apart[1]} down from the centre of {area}")
        calculator = wait_for(f'the window "{title}"', lambda: next(
            (w for w in app if w is not None and w.name == title and session.find(w, pyatspi.ROLE_LABEL, "total")),
            None))
        total = session.find(calculator, pyatspi.ROLE_LABEL, "total")
        total_rect = screen_rect(total, ratio)
        if not inside(total_rect, area):
            raise Failure(f"{what}: the total display {total_rect} is not inside {area}")
        for key in ("1", "plus", "2", "equals"):
            click(screen_rect(session.find(calculator, pyatspi.ROLE_PUSH_BUTTON, key), ratio))
        wait_for('the total display to read "3" after clicks on 1 + 2 =', lambda: session.text_of(total) == "3")
        print(f"{what}: splash window {splash_frame}, calculator window {calculator_frame} "
              f"({apart[0]}, {apart[1]} from the centre), total display {total_rect}: inside {area}; "
              "1 + 2 = clicked, the total reads 3")
        if changed_area:
            # A panel grows while the window shows: the window is fitted again and moved inside.
            set_work_area(changed_area)
            [moved] = wait_for(f"the calculator window to fit the work area {changed_area}", lambda: [
                frame for _, frame in windows_of(program).values() if inside(frame, changed_area)] or None)
            total_rect = screen_rect(total, ratio)
            if not inside(total_rect, changed_area):
                raise Failure(f"{what}: after the work area became {changed_area}, the total display "
                              f"{total_rect} is not inside it")
            print(f"  the work area became {changed_area}: the calculator window is now {moved}")
        return splash_rect, calculator_rect
    finally:
        # This case's processes end with it; the AT-SPI bus stays for the next.
        session.must_run.clear()
        while len(processes) > 1:
            end(*processes.pop())


def toplevel_geometries(log_path):
    """From a program's Wayland protocol log (WAYLAND_DEBUG=client; libwayland 1.23 writes
    "interface#id" where earlier ones write "interface@id"): the window geometry (width,
    height) each of its windows last gave the compositor, in the order the windows were made, and
    the bounds the compositor gave a new window (or None)."""
    windows, latest, bounds = [], {}, None
    with open(log_path, errors="replace") as log:
        for line in log:
            made = re.search(r"get_xdg_surface\(new id xdg_surface[@#](\d+)", line)
            if made:
                latest[made.group(1)] = len(windows)
                windows.append(None)
                continue
            geometry = re.search(r"-> xdg_surface[@#](\d+)\.set_window_geometry\(-?\d+, -?\d+, (\d+), (\d+)\)", line)
            if geometry and geometry.group(1) in latest:
                windows[latest[geometry.group(1)]] = (int(geometry.group(2)), int(geometry.group(3)))
                continue
            given = re.search(r"configure_bounds\((\d+), (\d+)\)", line)
            if given and int(given.group(1)) > 0:
                bounds = (int(given.group(1)), int(given.group(2)))
    return [window for window in windows if window], bounds


def run_wayland_case(processes, program_path, title, screen, scale, weston_scale):
    """One case under a weston of its own; returns the splash and calculator windows' sizes."""
    import pyatspi
    runtime = tempfile.mkdtemp()
    os.chmod(runtime, 0o700)
    log_path = os.path.join(runtime, "wayland.log")
    try:
        width, height = (int(n) for n in screen.split("x"))
        socket_name = "tavoro-fit"
        weston = subprocess.Popen(
            # weston's width and height are in its logical pixels, which its scale multiplies.
            ["weston", "--backend=headless-backend.so", f"--socket={socket_name}",
             f"--width={width // int(weston_scale)}", f"--height={height // int(weston_scale)}",
             f"--scale={weston_scale}", "--idle-time=0"],
            env=dict(os.environ, XDG_RUNTIME_DIR=runtime), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        processes.append((weston, False))
        session.must_run["weston"] = weston
        wait_for("weston's socket", lambda: os.path.exists(os.path.join(runtime, socket_name)))
        env = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
        env.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY=socket_name, QT_QPA_PLATFORM="wayland",
                   QT_SCALE_FACTOR=scale, WAYLAND_DEBUG="client")
        with open(log_path, "w") as log:
            program = subprocess.Popen([program_path], env=env, stderr=log)
        processes.append((program, False))
        session.must_run["the program"] = program
        what = f"Wayland (weston) {screen} at weston's scale {weston_scale}, QT_SCALE_FACTOR {scale}"

        app, _, start = session.find_splash(program)
        wait_for("the splash window on the screen", lambda: toplevel_geometries(log_path)[0])
        session.press(start)
        calculator = wait_for(f'the window "{title}"', lambda: next(
            (w for w in app if w is not None and w.name == title and session.find(w, pyatspi.ROLE_LABEL, "total")),
            None))
        total = session.find(calculator, pyatspi.ROLE_LABEL, "total")
        for key in ("1", "plus", "2", "equals"):
            session.press(session.find(calculator, pyatspi.ROLE_PUSH_BUTTON, key))
        wait_for('the total display to read "3" after 1 + 2 =', lambda: session.text_of(total) == "3")
        windows, bounds = wait_for("the calculator window on the screen", lambda: (
            lambda found: found if len(found[0]) >= 2 else None)(toplevel_geometries(log_path)))
        splash_size, calculator_size = windows[0], windows[-1]
        factor = float(scale)
        logical = (width // int(weston_scale), height // int(weston_scale))
        if bounds:
            room, whence = bounds, f"the compositor's bounds {bounds}"
        else:
            # In the compositor's pixels: Qt's pixels are QT_SCALE_FACTOR of them.
            room = tuple(round((int(side // factor) - UNKNOWN_PANEL_ROOM) * factor) for side in logical)
            whence = f"the screen ({logical[0]} x {logical[1]}) less room for a panel"
        for name, size in (("splash", splash_size), ("calculator", calculator_size)):
            if size[0] > room[0] or size[1] > room[1]:
                raise Failure(f"{what}: the {name} window ({size[0]} x {size[1]}) does not fit {room}, {whence}")
        print(f"{what}: splash window {splash_size[0]} x {splash_size[1]}, calculator window "
              f"{calculator_size[0]} x {calculator_size[1]}: within {room[0]} x {room[1]}, {whence}; "
              "1 + 2 = pressed, the total reads 3")
        return splash_size, calculator_size
    finally:
        session.must_run.clear()
        while len(processes) > 1:
            end(*processes.pop())
        shutil.rmtree(runtime, ignore_errors=True)


def main():
    program_path, title, launcher_path = sys.argv[1:4]

    def checks(processes):
        session.start_accessibility_bus(launcher_path, processes)
        for case in CASES:
            run_case(processes, program_path, title, *case)
        for screen, scale, panel in WINDOW_MANAGER_CASES:
            run_case(processes, program_path, title, screen, scale, None, panel=panel)
        for case in WAYLAND_CASES:
            run_wayland_case(processes, program_path, title, *case)
        # On a large screen, exactly as designed.
        splash, calculator = run_case(processes, program_path, title, "1600x1200", "1", None)
        if splash[2:] != DESIGN[title] or calculator[2] != CALCULATOR_WIDTH:
            raise Failure(f"on a large screen the windows measure {splash[2:]} and {calculator[2:]}, "
                          f"not {DESIGN[title]} and {CALCULATOR_WIDTH} wide as designed")
    return session.run_checks(checks)


if __name__ == "__main__":
    sys.exit(main())
