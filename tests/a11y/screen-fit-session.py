# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts a Tavoro program on small screens at the display scales low-vision users choose, and
checks that each of its windows lies wholly on the screen's available area, as such a user needs.

Runs inside a private D-Bus session (see check-screen-reader.sh --fit). For each case below it
starts its own Xvfb with a screen of that size (and, for some, a work area smaller than the
screen, as a desktop's panels leave it: the _NET_WORKAREA a window manager sets), the AT-SPI bus
and the program at that scale (QT_SCALE_FACTOR). Then: the splash window lies inside the
available area; a real mouse click on its start button (found by its accessible extents) brings
the calculator window, which lies inside it too, as does its total display; and real clicks on
1 + 2 = make the total display read 3. On a large screen at scale 1 both windows have exactly the
design's size. Every wait is bounded; every process it starts is ended.

Usage: screen-fit-session.py PROGRAM WINDOW_TITLE AT_SPI_BUS_LAUNCHER
"""

import importlib
import os
import subprocess
import sys
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
# As designed: the splash windows' client areas, and the calculator's width (its height adds the
# menu bar's).
DESIGN = {"Tavoro 3": (630, 468), "Tavoro.": (622, 479)}
CALCULATOR_WIDTH = 647


def xdotool(*args):
    done = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=session.STEP_SECONDS)
    return done.stdout


def windows_of(program):
    """The program's visible X windows: {window id: (x, y, width, height)} in screen pixels."""
    found = {}
    for window in xdotool("search", "--onlyvisible", "--pid", str(program.pid)).split():
        fields = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window).split())
        found[window] = tuple(int(fields[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))
    return found


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


def run_case(processes, program_path, title, screen, scale, work_area, changed_area=None):
    """One case on a display of its own; returns the splash and calculator windows' rectangles."""
    import pyatspi
    try:
        xvfb, display = session.start_xvfb(screen)
        processes.append((xvfb, False))
        os.environ["DISPLAY"] = display
        width, height = (int(n) for n in screen.split("x"))
        area = work_area or (0, 0, width, height)
        if work_area:
            set_work_area(work_area)
        program = subprocess.Popen([program_path],
                                   env=dict(os.environ, QT_QPA_PLATFORM="xcb", QT_SCALE_FACTOR=scale))
        processes.append((program, False))
        session.must_run.update({"Xvfb": xvfb, "the program": program})
        what = f"{screen} at scale {scale}" + (f", work area {work_area}" if work_area else "")

        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for("the program on the AT-SPI bus", lambda: next(
            (a for a in desktop if a is not None and a.get_process_id() == program.pid), None))
        splash = wait_for("the splash window", lambda: session.find(app, pyatspi.ROLE_FRAME, app.name))
        start = wait_for("the start button", lambda: session.find(splash, pyatspi.ROLE_PUSH_BUTTON,
                                                                  "CLICK to Start Tavoro"))
        splash_window = wait_for("the splash window on the screen", lambda: windows_of(program))
        [(splash_id, splash_rect)] = splash_window.items()
        if not inside(splash_rect, area):
            raise Failure(f"{what}: the splash window {splash_rect} is not inside {area}")
        ratio = splash_rect[2] / splash.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width
        click(screen_rect(start, ratio))

        def calculator_window():
            shown = windows_of(program)
            return shown if shown and splash_id not in shown else None
        [calculator_rect] = wait_for("the calculator window", calculator_window).values()
        if not inside(calculator_rect, area):
            raise Failure(f"{what}: the calculator window {calculator_rect} is not inside {area}")
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
        print(f"{what}: splash window {splash_rect}, calculator window {calculator_rect}, total display "
              f"{total_rect}: inside {area}; 1 + 2 = clicked, the total reads 3")
        if changed_area:
            # A panel grows while the window shows: the window is fitted again and moved inside.
            set_work_area(changed_area)
            [moved] = wait_for(f"the calculator window to fit the work area {changed_area}", lambda: [
                rect for rect in windows_of(program).values() if inside(rect, changed_area)] or None)
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


def main():
    program_path, title, launcher_path = sys.argv[1:4]

    def checks(processes):
        session.start_accessibility_bus(launcher_path, processes)
        for case in CASES:
            run_case(processes, program_path, title, *case)
        # On a large screen, exactly as designed.
        splash, calculator = run_case(processes, program_path, title, "1600x1200", "1", None)
        if splash[2:] != DESIGN[title] or calculator[2] != CALCULATOR_WIDTH:
            raise Failure(f"on a large screen the windows measure {splash[2:]} and {calculator[2:]}, "
                          f"not {DESIGN[title]} and {CALCULATOR_WIDTH} wide as designed")
    return session.run_checks(checks)


if __name__ == "__main__":
    sys.exit(main())
