# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives a Tavoro program as a screen reader does, over AT-SPI.

Runs inside a private D-Bus session (tests/isolated-env.sh gives it one). Starts its own Xvfb and the
AT-SPI bus, switches accessibility on the way a screen reader does (org.a11y.Status), starts the
program, finds the splash window's start button by its accessible name and presses it through its
accessible action, presses 1, 2, plus, 3, equals on the calculator the same way, reads "15" from
the total display's accessible text, and checks what assistive tools were told: the text change,
the words announced after each press, each tape line as it was added. Then: presses made before
any runs (5 5, then 7 and clear ALL) run once each, in order; the text boxes are pressed through
their action and their names follow the tape; the menu items' check marks read as checked or not.
It ends the program through its Files > eXit menu item. Every wait is bounded; every process it
starts is ended.

Usage: screen-reader-session.py PROGRAM WINDOW_TITLE AT_SPI_BUS_LAUNCHER
"""

import os
import signal
import socket
import subprocess
import sys
import time

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

STEP_SECONDS = 10


class Failure(Exception):
    pass


# Processes that must not end while the test waits: a wait fails at once when one does.
must_run = {}


def wait_for(what, condition, seconds=STEP_SECONDS):
    """Polls `condition` (and delivers pending AT-SPI events) until it returns a true value."""
    deadline = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        for name, process in must_run.items():
            if process.poll() is not None:
                raise Failure(f"{name} ended with status {process.returncode} while waiting for {what}")
        while context.iteration(False):
            pass
        try:
            result = condition()
        except GLib.GError:  # the object went away while it was looked at; try again
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {seconds} s waiting for {what}")
        time.sleep(0.05)


def start_xvfb():
    """Starts Xvfb on a free display; returns (process, display). Xvfb's own choice (-displayfd)
    is not used: it takes a display whose lock file is missing here but whose socket a server
    of another file-system view of this machine holds, and then fails."""
    first = 100 + os.getpid() % 800
    for number in range(first, first + 20):
        if os.path.exists(f"/tmp/.X{number}-lock") or x_server_answers(number):
            continue
        # -noreset: by default the server resets when its last client leaves, as our probe
        # below does, and a program connecting during that reset is refused.
        xvfb = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-dpi", "96", "-nolisten", "tcp",
             "-noreset"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + STEP_SECONDS
        while xvfb.poll() is None and not x_server_answers(number) and time.monotonic() < deadline:
            time.sleep(0.05)
        # A server started at the same moment on the same display makes ours end.
        time.sleep(0.2)
        if xvfb.poll() is None and x_server_answers(number):
            return xvfb, f":{number}"
        end(xvfb, group=False)
    raise Failure("Xvfb did not start")


def x_server_answers(number):
    """Whether an X server listens on display `number` (abstract or file-system socket)."""
    for address in (f"\0/tmp/.X11-unix/X{number}", f"/tmp/.X11-unix/X{number}"):
        with socket.socket(socket.AF_UNIX) as client:
            try:
                client.connect(address)
                return True
            except OSError:
                pass
    return False


def switch_accessibility_on(session):
    """Waits for our launcher to take the AT-SPI bus's name (asking the name itself before then
    would make the session bus start a launcher of its own), then sets what a screen reader sets
    when it starts."""
    def launcher_ready():
        reply = session.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                  "NameHasOwner", GLib.Variant("(s)", ("org.a11y.Bus",)),
                                  GLib.VariantType("(b)"), Gio.DBusCallFlags.NONE, 2000, None)
        return reply.unpack()[0]
    wait_for("the AT-SPI bus launcher", launcher_ready)
    for switch in ("IsEnabled", "ScreenReaderEnabled"):
        session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                          GLib.Variant("(ssv)", ("org.a11y.Status", switch, GLib.Variant("b", True))),
                          None, Gio.DBusCallFlags.NONE, 2000, None)


def find(root, role, name, showing=True):
    """The first object below `root` with this role and accessible name, or None."""
    import pyatspi

    def matches(accessible):
        return (accessible is not None and accessible.getRole() == role and accessible.name == name
                and (not showing or accessible.getState().contains(pyatspi.STATE_SHOWING)))
    return pyatspi.utils.findDescendant(root, matches)


def press(accessible):
    """Runs the object's "press" action, as a screen reader's activate command does."""
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for index, name in enumerate(names):
        if name.lower() == "press":
            if not action.doAction(index):
                raise Failure(f'"{accessible.name}" refused its press action')
            return
    raise Failure(f'"{accessible.name}" has no press action, only {names}')


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


def drive(program, title, events):
    import pyatspi

    # A call to an object that does not answer fails after 5 s, not D-Bus's 25 s.
    pyatspi.setTimeout(5000, 5000)
    desktop = pyatspi.Registry.getDesktop(0)

    def application():
        for app in desktop:
            if app is not None and app.get_process_id() == program.pid:
                return app
        return None
    app = wait_for("the program on the AT-SPI bus", application)
    print(f'application "{app.name}" (toolkit {app.get_toolkit_name()}) on the AT-SPI bus')

    # The splash window goes by the program title, also when it has no caption (Tavoro 2).
    splash = wait_for(f'the splash window "{app.name}"', lambda: find(app, pyatspi.ROLE_FRAME, app.name))
    logo = wait_for('the picture "Tavoro logo"', lambda: find(splash, pyatspi.ROLE_IMAGE, "Tavoro logo"))
    print(f'splash window "{splash.name}" with the picture "{logo.name}" ({logo.description})')
    start = wait_for("the start button", lambda: find(splash, pyatspi.ROLE_PUSH_BUTTON, "CLICK to Start Tavoro"))
    press(start)
    print('pressed "CLICK to Start Tavoro"')

    # The window with the total display: Tavoro 3's splash window has the same name.
    def calculator_window():
        for window in app:
            if window is not None and window.getRole() == pyatspi.ROLE_FRAME and window.name == title:
                total = find(window, pyatspi.ROLE_LABEL, "total")
                if total is not None:
                    return window, total
        return None
    calculator, total = wait_for(f'the calculator window "{title}"', calculator_window)
    if splash.getState().contains(pyatspi.STATE_SHOWING):
        raise Failure("the splash window still shows")
    print(f'calculator window "{calculator.name}"; total reads "{text_of(total)}"')

    # Each press, and what the displays then read (the new number and the pending operator show
    # once a total exists).
    presses = [("1", "total", "1"), ("2", "total", "12"), ("plus", "pending operator", "+"),
               ("3", "new number", "3"), ("equals", "total", "15")]
    for key, display, expected in presses:
        button = wait_for(f'the key "{key}"', lambda: find(calculator, pyatspi.ROLE_PUSH_BUTTON, key))
        press(button)
        label = wait_for(f'the display "{display}"', lambda: find(calculator, pyatspi.ROLE_LABEL, display))
        wait_for(f'"{display}" to read "{expected}"', lambda: text_of(label) == expected)
        print(f'pressed "{key}": {display} reads "{expected}"')

    result = text_of(total)
    if result != "15":
        raise Failure(f'total reads "{result}", not "15"')
    wait_for('the announcement of "15" in "total"',
             lambda: any(source == "total" and text == "15" for source, text in events["inserted"]))
    print('total reads "15", and "15" was announced as inserted text')
    rule = "-" * 23
    said = ["1", "12", "plus, 12", "3", "equals 15"]
    wait_for(f"the words {said}", lambda: events["announced"] == said)
    print(f"announced after each press: {said}")
    added = ["   12", "+ 3", rule, "=  15"]
    wait_for(f"the tape lines {added} to be reported", lambda: events["added"] == added)
    print(f"tape lines reported as they were added: {added}")

    # A clear label, pressed as a button: clear ALL empties the total and rules off the tape.
    press(wait_for('the key "clear all"', lambda: find(calculator, pyatspi.ROLE_PUSH_BUTTON, "clear all")))
    wait_for('"total" to be emptied', lambda: text_of(total) == "")
    print('pressed "clear all": total reads ""')
    tape = wait_for('the list "tape"', lambda: find(calculator, pyatspi.ROLE_LIST, "tape", showing=False))
    lines = [tape.getChildAtIndex(i).name for i in range(tape.childCount)]
    if lines != ["   12", "+ 3", rule, "=  15", rule]:
        raise Failure(f"the tape reads {lines}")
    print(f"the tape reads {lines}")

    # Presses made before any of them runs, as switch and voice tools make them: each runs once,
    # in the order made, keys and clear labels alike.
    def key(name):
        return wait_for(f'the key "{name}"', lambda: find(calculator, pyatspi.ROLE_PUSH_BUTTON, name))
    five = key("5")
    press(five)
    press(five)
    wait_for('"total" to read "55"', lambda: text_of(total) == "55")
    seven, clear_all = key("7"), key("clear all")
    press(seven)
    press(clear_all)
    wait_for('"all cleared"', lambda: events["announced"][-1:] == ["all cleared"])
    time.sleep(0.3)  # a late 7 would show by now
    if text_of(total) != "":
        raise Failure(f'7 then clear all, pressed at once, leave the total reading "{text_of(total)}"')
    print('pressed 5 5 at once: total read "55"; 7 and clear all at once: total reads ""')

    # The text boxes, pressed through their action; their names follow the tape.
    def text_box(name):
        return wait_for(f'the text box "{name}"', lambda: find(calculator, pyatspi.ROLE_TEXT, name))
    shower = text_box("show entries tape")
    press(shower)
    wait_for("the tape to show", lambda: tape.getState().contains(pyatspi.STATE_SHOWING))
    wait_for('the text box to be named "hide entries tape"', lambda: shower.name == "hide entries tape")
    press(text_box("clear entries tape"))
    wait_for("the tape to be emptied", lambda: tape.childCount == 0)
    press(shower)
    wait_for("the tape to hide", lambda: not tape.getState().contains(pyatspi.STATE_SHOWING))
    wait_for('the text box to be named "show entries tape"', lambda: shower.name == "show entries tape")
    print('pressed "show entries tape", "clear entries tape", "hide entries tape": the tape showed, '
          'emptied, hid')

    # Check marks: the load step checks "hIde Date and Time"; "Show Tape" checks itself and
    # unchecks "Hide Tape". (Qt 6.4's bridge cannot tell that an unchecked item is checkable.)
    def menu_item(name):
        return wait_for(f'the menu item "{name}"',
                        lambda: find(calculator, pyatspi.ROLE_MENU_ITEM, name, showing=False))

    def checked(name):
        return menu_item(name).getState().contains(pyatspi.STATE_CHECKED)
    if not checked("hIde Date and Time") or checked("shoW Date and Time"):
        raise Failure('"hIde Date and Time" is not the checked one of the date-and-time items')
    press(menu_item("Show Tape"))
    wait_for('"Show Tape" checked, "Hide Tape" not', lambda: checked("Show Tape") and not checked("Hide Tape"))
    print('menu items: "hIde Date and Time", then "Show Tape" read as checked, the others not')

    exit_item = menu_item("eXit")
    del must_run["the program"]
    press(exit_item)
    wait_for("the program to end after eXit", lambda: program.poll() is not None)
    if program.returncode != 0:
        raise Failure(f"the program ended with status {program.returncode}")
    print("eXit ended the program with status 0")


def main():
    program_path, title, launcher_path = sys.argv[1:4]
    processes = []  # (process, whole process group?) to end, last started first
    try:
        xvfb, display = start_xvfb()
        processes.append((xvfb, False))
        os.environ["DISPLAY"] = display
        print(f"Xvfb on {display}")

        # Its own process group: the launcher starts the accessibility bus and the registry.
        launcher = subprocess.Popen([launcher_path, "--launch-immediately"], start_new_session=True,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        processes.append((launcher, True))
        switch_accessibility_on(Gio.bus_get_sync(Gio.BusType.SESSION, None))

        # Connects to the AT-SPI bus: only now that it runs.
        import pyatspi
        events = {"inserted": [], "announced": [], "added": []}

        def on_text_inserted(event):
            events["inserted"].append((event.source.name if event.source else None, event.any_data))
        pyatspi.Registry.registerEventListener(on_text_inserted, "object:text-changed:insert")

        def on_shown(event):
            if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
                events["announced"].append(event.source.name)
        pyatspi.Registry.registerEventListener(on_shown, "object:state-changed:showing")

        def on_child_added(event):
            if event.source.name == "tape":
                events["added"].append(event.any_data.name)
        pyatspi.Registry.registerEventListener(on_child_added, "object:children-changed:add")

        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        program = subprocess.Popen([program_path], env=env)
        processes.append((program, False))
        must_run.update({"Xvfb": xvfb, "the program": program})
        drive(program, title, events)
        print("PASS")
        return 0
    except Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        for process, group in reversed(processes):
            end(process, group)


def end(process, group):
    """Ends a process, or its whole group, whose leader may have ended already."""
    def signal_it(number):
        try:
            if group:
                os.killpg(process.pid, number)
            elif process.poll() is None:
                process.send_signal(number)
        except ProcessLookupError:
            pass
    signal_it(signal.SIGTERM)
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        pass
    signal_it(signal.SIGKILL)
    process.wait()


if __name__ == "__main__":
    sys.exit(main())
