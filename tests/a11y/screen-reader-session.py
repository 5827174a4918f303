# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives a Tavoro program as a screen reader does, over AT-SPI.

Runs inside a private D-Bus session (tests/isolated-env.sh gives it one). Starts its own Xvfb and the
AT-SPI bus, switches accessibility on the way a screen reader does (org.a11y.Status), starts the
program, finds the splash window's start button by its accessible name and presses it through its
accessible action, presses 1, 2, plus, 3, equals on the calculator the same way, reads "15" from
the total display's accessible text, and checks what assistive tools were told: the text change,
the words announced after each press (as a screen reader that caches names hears them), each
tape line as it was added. While "+" is pending, it
makes a few thousand calls of the kinds assistive tools make, straight over D-Bus with any
arguments (every text walk at -1, 0, the middle, the end and past it; reads, extents, selections
and edits with reversed, negative and huge spans; every table call of the tape inside and outside
it; a seeded random run): each is answered within 2 s, the program stays up, and every text and
the tape read as before; the empty tape's table calls again later. Then: presses made before
any runs (5 5, then 7 and clear ALL) run once each, in order; the text boxes are pressed through
their action and their names follow the tape; the menu items' check marks read as checked or not.
It ends the program through its Files > eXit menu item. Every wait is bounded; every process it
starts is ended.

PLATFORM is Qt's platform: xcb (the default) on Xvfb, or wayland on weston's headless backend;
what assistive tools are told must not depend on it.

Usage: screen-reader-session.py PROGRAM WINDOW_TITLE AT_SPI_BUS_LAUNCHER [PLATFORM]
"""

import os
import random
import signal
import socket
import subprocess
import sys
import time

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

# How long one step may take. A wait ends as soon as its condition holds, so this only needs to
# be long enough for a busy machine (two test jobs at once, a sanitizer build).
STEP_SECONDS = 20


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


def start_xvfb(size="1280x1024"):
    """Starts Xvfb on a free display with a screen of `size` pixels at 96 dpi; returns (process,
    display). Xvfb's own choice (-displayfd) is not used: it takes a display whose lock file is
    missing here but whose socket a server of another file-system view of this machine holds,
    and then fails."""
    first = 100 + os.getpid() % 800
    for number in range(first, first + 20):
        if os.path.exists(f"/tmp/.X{number}-lock") or x_server_answers(number):
            continue
        # -noreset: by default the server resets when its last client leaves, as our probe
        # below does, and a program connecting during that reset is refused.
        xvfb = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", f"{size}x24", "-dpi", "96", "-nolisten", "tcp",
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


def start_weston(processes, size="1280x1024"):
    """Starts weston with its headless backend (no screen, no input devices, a desktop shell) on a
    socket in XDG_RUNTIME_DIR; the process joins `processes`. Returns its socket name. Weston 10
    (Debian 12) names the backend headless-backend.so, weston 14 (Debian 13) headless; both take
    the size as --width and --height."""
    help_text = subprocess.run(["weston", "--help"], capture_output=True, text=True,
                               timeout=STEP_SECONDS).stdout
    backend = "headless-backend.so" if "headless-backend.so" in help_text else "headless"
    name = f"tavoro-wayland-{os.getpid()}"
    socket_path = os.path.join(os.environ["XDG_RUNTIME_DIR"], name)
    width, height = size.split("x")
    # --idle-time=0: no screen lock however long a step takes.
    weston = subprocess.Popen(
        ["weston", f"--backend={backend}", f"--socket={name}", f"--width={width}", f"--height={height}",
         "--idle-time=0", "--no-config"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    processes.append((weston, True))
    must_run["weston"] = weston
    wait_for(f"weston's socket {name}", lambda: os.path.exists(socket_path))
    return name


def start_display(platform, processes):
    """Starts the display server Qt's `platform` needs (xcb: Xvfb; wayland: weston); it joins
    `processes`. Returns the variables a program needs to use it."""
    if platform == "wayland":
        # Qt's Wayland client leaves objects of its own at exit: see the suppressions file.
        suppressions = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lsan-qt-wayland.supp")
        leak_options = ":".join(filter(None, [os.environ.get("LSAN_OPTIONS"), f"suppressions={suppressions}",
                                              "print_suppressions=0"]))
        return {"QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": start_weston(processes),
                "LSAN_OPTIONS": leak_options}
    xvfb, display = start_xvfb()
    processes.append((xvfb, False))
    must_run["Xvfb"] = xvfb
    return {"QT_QPA_PLATFORM": "xcb", "DISPLAY": display}


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


INT_MIN, INT_MAX = -2**31, 2**31 - 1
CALL_SECONDS = 5
ATSPI = "org.a11y.atspi."
PROPERTIES = "org.freedesktop.DBus.Properties"


class Caller:
    """Makes AT-SPI calls straight over D-Bus, any arguments, as any assistive tool may. Each call
    must be answered within CALL_SECONDS while the program runs; the answer is the reply's
    values, or the name of the D-Bus error that refused the call."""

    def __init__(self, session, program):
        address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                    GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 2000, None).unpack()[0]
        self.bus = Gio.DBusConnection.new_for_address_sync(
            address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)
        self.program = program
        self.count = 0

    def __call__(self, accessible, interface, method, signature="", *args):
        self.count += 1
        call = f"{interface}.{method}{args} on {accessible.getRoleName()} {accessible.name!r}"
        try:
            reply = self.bus.call_sync(accessible.app.bus_name, accessible.path, interface, method,
                                       GLib.Variant(f"({signature})", args), None, Gio.DBusCallFlags.NONE,
                                       CALL_SECONDS * 1000, None)
            return reply.unpack()
        except GLib.GError as error:
            if self.program.poll() is not None:
                raise Failure(f"the program ended with status {self.program.returncode} after {call}")
            if error.matches(Gio.io_error_quark(), Gio.IOErrorEnum.TIMED_OUT):
                raise Failure(f"no answer within {CALL_SECONDS} s to {call}")
            return Gio.DBusError.get_remote_error(error)


def descendants(root):
    yield root
    for index in range(root.childCount):
        child = root.getChildAtIndex(index)
        if child is not None:
            yield from descendants(child)


def edited(text, start, end, inserted=""):
    """A text after an edit of characters [start, end): -1 stands for the end; an edit outside the
    text or reversed changes nothing."""
    start, end = (len(text) if offset == -1 else offset for offset in (start, end))
    return text[:start] + inserted + text[end:] if 0 <= start <= end <= len(text) else text


def check_text(ask, accessible):
    """Every boundary type at, before and after offsets -2 (the cursor), -1 (the end), 0, the
    middle, the end and past it, and reads, extents and selections with reversed, negative and
    huge spans: each answer lies within the text and reads what the text holds there."""
    text = ask(accessible, ATSPI + "Text", "GetText", "ii", 0, -1)[0]
    count = len(text)  # Python counts characters as AT-SPI does
    if ask(accessible, PROPERTIES, "Get", "ss", ATSPI + "Text", "CharacterCount")[0] != count:
        raise Failure(f"{accessible.name!r}: a character count other than {count} for {text!r}")
    for boundary in range(7):
        for offset in (-2, -1, 0, count // 2, count, count + 1, INT_MIN, INT_MAX):
            for where in ("Before", "At", "After"):
                item, start, end = ask(accessible, ATSPI + "Text", f"GetText{where}Offset", "iu", offset, boundary)
                holds = where != "At" or not 0 <= offset < count or start <= offset < end
                if not (0 <= start <= end <= count and item == text[start:end] and holds):
                    raise Failure(f"{accessible.name!r} {text!r}: text {where.lower()} offset {offset}, boundary "
                                  f"{boundary}: {item!r} at {start}..{end}")
    for start, end in ((-5, INT_MAX), (INT_MIN, INT_MAX), (5, 2), (count, count + 1), (1, -1)):
        expected = text[max(start, 0):] if end in (-1, INT_MAX) else text[max(start, 0):max(end, 0)]
        if ask(accessible, ATSPI + "Text", "GetText", "ii", start, end)[0] != expected:
            raise Failure(f"{accessible.name!r}: GetText({start}, {end}) of {text!r}")
    for offset in (-1, 0, count - 1, count, INT_MAX):
        character = ask(accessible, ATSPI + "Text", "GetCharacterAtOffset", "i", offset)[0]
        if character != (ord(text[offset]) if 0 <= offset < count else 0):
            raise Failure(f"{accessible.name!r}: character {character} at offset {offset} of {text!r}")
    for method, signature, *args in (
            ("GetRangeExtents", "iiu", 0, INT_MAX, 0), ("GetRangeExtents", "iiu", INT_MIN, -1, 1),
            ("GetRangeExtents", "iiu", 5, 2, 2), ("GetCharacterExtents", "iu", INT_MIN, 0),
            ("GetBoundedRanges", "iiiiuuu", 0, 0, 10000, 10000, 0, 0, 0),
            ("GetOffsetAtPoint", "iiu", INT_MIN, INT_MAX, 0), ("AddSelection", "ii", 16, INT_MIN),
            ("SetSelection", "iii", 0, INT_MIN, INT_MAX), ("GetSelection", "i", INT_MIN), ("RemoveSelection", "i", -1),
            ("SetCaretOffset", "i", INT_MAX), ("GetAttributeRun", "ib", INT_MIN, True)):
        ask(accessible, ATSPI + "Text", method, signature, *args)


def check_edits(ask, box):
    """Edits of a text box with reversed, negative and huge spans change exactly the characters
    they name or nothing, and say which; a character outside the Basic Multilingual Plane counts
    as one. The box reads as before afterwards."""
    original = ask(box, ATSPI + "Text", "GetText", "ii", 0, -1)[0]
    text = original
    # (start, end, text inserted at start and how many characters of it: a negative count is all)
    for start, end, inserted, length in (
            (5, 2, None, 0), (13, -1, None, 0), (0, -40, None, 0), (0, -10000000, None, 0), (5, INT_MIN, None, 0),
            (13, -40, None, 0), (INT_MIN, INT_MAX, None, 0), (1, 3, None, 0), (0, 0, "ab", 10), (-5, -5, "q", -1),
            (-1, -1, "a😀b", -1), (INT_MAX - 1, INT_MAX, None, 0), (-1, -1, "xyz", 2)):
        if inserted is None:
            answer = ask(box, ATSPI + "EditableText", "DeleteText", "ii", start, end)
        else:
            answer = ask(box, ATSPI + "EditableText", "InsertText", "isi", start, inserted, length)
            inserted = inserted if length < 0 else inserted[:length]
        expected = edited(text, start, end, inserted or "")
        now = ask(box, ATSPI + "Text", "GetText", "ii", 0, -1)[0]
        count = ask(box, PROPERTIES, "Get", "ss", ATSPI + "Text", "CharacterCount")[0]
        if now != expected or count != len(now) or answer != (expected != text,):
            raise Failure(f"{box.name!r}: editing {text!r} at {start}..{end} ({inserted!r}) answered {answer} "
                          f"and left {now!r}, not {expected!r}")
        text = now
    if ask(box, ATSPI + "Text", "GetTextAtOffset", "iu", text.index("😀"), 1)[0] != "😀":
        raise Failure(f"{box.name!r}: the word at a character outside the Basic Multilingual Plane")
    if ask(box, ATSPI + "EditableText", "SetTextContents", "s", original) != (True,):
        raise Failure(f"{box.name!r}: the text could not be set back to {original!r}")


def check_table(ask, tape, lines):
    """Every table call of the tape at rows and indexes -1, 0, its last, past its end and the
    extremes, and at columns -1, 0 and 1: a cell that exists answers as one; any other call is
    refused or answered as having no cell, and nothing is selected."""
    rows = len(lines)
    if ask(tape, PROPERTIES, "Get", "ss", ATSPI + "Table", "NRows") != (rows,):
        raise Failure(f"the tape's table does not have {rows} rows")
    for index in (-1, 0, rows - 1, rows, INT_MAX, INT_MIN):
        cell = 0 <= index < rows
        for column in (-1, 0, 1):
            for method in ("GetRowExtentAt", "GetColumnExtentAt", "IsSelected", "GetAccessibleAt", "GetIndexAt"):
                answer = ask(tape, ATSPI + "Table", method, "ii", index, column)
                if cell and column == 0 and method.endswith("ExtentAt") and answer != (1,):
                    raise Failure(f"the tape's {method}({index}, 0) answered {answer}")
        extents = ask(tape, ATSPI + "Table", "GetRowColumnExtentsAtIndex", "i", index)
        if extents != ((True, index, 0, 1, 1, False) if cell else (False, -1, -1, -1, -1, False)):
            raise Failure(f"the tape's GetRowColumnExtentsAtIndex({index}) answered {extents}")
        for method in ("GetRowAtIndex", "GetColumnAtIndex", "GetRowHeader", "GetColumnHeader", "GetRowDescription",
                       "GetColumnDescription", "IsRowSelected", "IsColumnSelected", "AddRowSelection",
                       "RemoveRowSelection", "AddColumnSelection", "RemoveColumnSelection"):
            if not cell or not method.startswith("Add"):
                ask(tape, ATSPI + "Table", method, "i", index)
    if ask(tape, PROPERTIES, "Get", "ss", ATSPI + "Table", "NSelectedRows") != (0,):
        raise Failure("a table call on the tape selected a row")


def random_calls(ask, objects, seed, count):
    """A seeded run of `count` calls that read (or edit what has no editable text), each on any
    object with arguments drawn from boundaries and extremes; the last two have too few."""
    rng = random.Random(seed)
    ints = lambda: rng.choice((INT_MIN, -2, -1, 0, 1, 2, 5, 13, 14, 40, INT_MAX, rng.randint(INT_MIN, INT_MAX)))
    uints = lambda: rng.choice((0, 1, 2, 3, 6, 7, 2**32 - 1))
    calls = [("Accessible", "GetChildAtIndex", "i"), ("Accessible", "GetIndexInParent", ""),
             ("Component", "GetAccessibleAtPoint", "iiu"), ("Component", "GetExtents", "u"),
             ("Action", "GetName", "i"), ("Action", "GetKeyBinding", "i"), ("Text", "GetText", "ii"),
             ("Text", "GetTextAtOffset", "iu"), ("Text", "GetTextBeforeOffset", "iu"),
             ("Text", "GetTextAfterOffset", "iu"), ("Text", "GetCharacterAtOffset", "i"),
             ("Text", "GetRangeExtents", "iiu"), ("Text", "GetAttributeRun", "ib"), ("Text", "GetSelection", "i"),
             ("Table", "GetRowExtentAt", "ii"), ("Table", "IsSelected", "ii"),
             ("Table", "GetRowColumnExtentsAtIndex", "i"), ("Table", "GetRowHeader", "i"),
             ("EditableText", "DeleteText", "ii"), ("Text", "GetText", "i"), ("Table", "IsSelected", "")]
    for _ in range(count):
        accessible = rng.choice(objects)
        interface, method, signature = rng.choice(calls)
        if interface == "EditableText" and "EditableText" in accessible.get_interfaces():
            continue  # edits of the text boxes are checked one by one
        args = [ints() if kind == "i" else uints() if kind == "u" else rng.choice((True, False)) for kind in signature]
        ask(accessible, ATSPI + interface, method, signature, *args)


def check_any_call(ask, calculator, tape, seed):
    """Any call an assistive tool may make, on every object of the calculator window, is answered
    and leaves every text and the tape as they were."""
    objects = [accessible for accessible in descendants(calculator) if accessible is not None]
    texts = [accessible for accessible in objects if "Text" in accessible.get_interfaces()]

    def state():
        return ([ask(accessible, ATSPI + "Text", "GetText", "ii", 0, -1)[0] for accessible in texts],
                [tape.getChildAtIndex(i).name for i in range(tape.childCount)])
    before = state()
    lines = before[1]
    started, ask.count = time.monotonic(), 0
    for accessible in texts:
        check_text(ask, accessible)
        if "EditableText" in accessible.get_interfaces():
            check_edits(ask, accessible)
        elif ask(accessible, ATSPI + "EditableText", "DeleteText", "ii", 13, -40) != \
                "org.freedesktop.DBus.Error.UnknownInterface":
            raise Failure(f"{accessible.name!r} without editable text took an edit")
    check_table(ask, tape, lines)
    # Properties calls with one argument, or naming a call as a property, and a read-only one set.
    for method, signature, *args in (
            ("GetAll", "s", ATSPI + "Accessible"), ("Get", "ss", ATSPI + "Text", "RangeExtents"),
            ("Get", "s", ATSPI + "Accessible"), ("Set", "ssv", ATSPI + "Accessible", "Name", GLib.Variant("s", ""))):
        ask(calculator, PROPERTIES, method, signature, *args)
    random_calls(ask, objects, seed, 300)
    if state() != before:
        raise Failure(f"the calls changed what the window reads: {before} became {state()}")
    print(f"{ask.count} calls of assistive tools on {len(objects)} objects (seed {seed}) answered in "
          f"{time.monotonic() - started:.1f} s; the texts {before[0]} and the tape {lines} read as before")


def find_splash(program):
    """Waits for the started program on the AT-SPI bus and its splash window's start button;
    returns the application, the splash window and the button."""
    import pyatspi

    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for("the program on the AT-SPI bus", lambda: next(
        (a for a in desktop if a is not None and a.get_process_id() == program.pid), None))
    # The splash window goes by the program title, also when it has no caption (Tavoro 2).
    splash = wait_for(f'the splash window "{app.name}"', lambda: find(app, pyatspi.ROLE_FRAME, app.name))
    start = wait_for("the start button", lambda: find(splash, pyatspi.ROLE_PUSH_BUTTON, "CLICK to Start Tavoro"))
    return app, splash, start


def start_calculator(program, title):
    """Finds the program on the AT-SPI bus, presses its splash window's start button and waits for
    the calculator window; returns that window and its total display."""
    import pyatspi

    # A call to an object that does not answer fails after 5 s, not D-Bus's 25 s.
    pyatspi.setTimeout(5000, 5000)
    app, splash, start = find_splash(program)
    print(f'application "{app.name}" (toolkit {app.get_toolkit_name()}) on the AT-SPI bus')
    logo = wait_for('the picture "Tavoro logo"', lambda: find(splash, pyatspi.ROLE_IMAGE, "Tavoro logo"))
    print(f'splash window "{splash.name}" with the picture "{logo.name}" ({logo.description})')
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
    return calculator, total


def drive(program, title, events, ask):
    import pyatspi

    calculator, total = start_calculator(program, title)

    # Each press, and what the displays then read (the new number and the pending operator show
    # once a total exists).
    presses = [("1", "total", "1"), ("2", "total", "12"), ("plus", "pending operator", "+"),
               ("3", "new number", "3"), ("equals", "total", "15")]
    tape = wait_for('the list "tape"', lambda: find(calculator, pyatspi.ROLE_LIST, "tape", showing=False))
    for key, display, expected in presses:
        button = wait_for(f'the key "{key}"', lambda: find(calculator, pyatspi.ROLE_PUSH_BUTTON, key))
        press(button)
        label = wait_for(f'the display "{display}"', lambda: find(calculator, pyatspi.ROLE_LABEL, display))
        wait_for(f'"{display}" to read "{expected}"', lambda: text_of(label) == expected)
        print(f'pressed "{key}": {display} reads "{expected}"')
        if key == "plus":  # the pending operator display starts with neither a letter nor a digit
            check_any_call(ask, calculator, tape, seed=19)

    result = text_of(total)
    if result != "15":
        raise Failure(f'total reads "{result}", not "15"')
    wait_for('the announcement of "15" in "total"',
             lambda: any(source == "total" and text == "15" for source, text in events["inserted"]))
    print('total reads "15", and "15" was announced as inserted text')
    rule = "-" * 23
    said = ["1", "12", "plus, 12", "3", "equals 15"]
    try:
        wait_for(f"the words {said}", lambda: events["announced"] == said)
    except Failure as failure:
        raise Failure(f"{failure}; a screen reader heard {events['announced']}") from None
    print(f"announced after each press: {said}")
    added = ["   12", "+ 3", rule, "=  15"]
    wait_for(f"the tape lines {added} to be reported", lambda: events["added"] == added)
    print(f"tape lines reported as they were added: {added}")

    # A clear label, pressed as a button: clear ALL empties the total and rules off the tape.
    press(wait_for('the key "clear all"', lambda: find(calculator, pyatspi.ROLE_PUSH_BUTTON, "clear all")))
    wait_for('"total" to be emptied', lambda: text_of(total) == "")
    print('pressed "clear all": total reads ""')
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
    check_table(ask, tape, [])
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

    exit_through_menu(calculator, program)


def exit_through_menu(calculator, program):
    """Ends the program through its Files > eXit menu item, as a user does (so that what it holds
    is freed and a sanitizer build's leak check runs), and checks that it ended with status 0."""
    import pyatspi
    exit_item = wait_for('the menu item "eXit"',
                         lambda: find(calculator, pyatspi.ROLE_MENU_ITEM, "eXit", showing=False))
    must_run.pop("the program", None)
    press(exit_item)
    wait_for("the program to end after eXit", lambda: program.poll() is not None)
    if program.returncode != 0:
        raise Failure(f"the program ended with status {program.returncode}")
    print("eXit ended the program with status 0")


def start_accessibility_bus(launcher_path, processes):
    """Starts the AT-SPI bus (in its own process group: the launcher starts the bus and the
    registry) and switches accessibility on; the launcher joins `processes`."""
    launcher = subprocess.Popen([launcher_path, "--launch-immediately"], start_new_session=True,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    processes.append((launcher, True))
    switch_accessibility_on(Gio.bus_get_sync(Gio.BusType.SESSION, None))


def run_checks(body):
    """Runs `body(processes)`, which adds (process, whole process group?) to `processes` for every
    process it starts; prints PASS, or FAIL and why; then ends those processes, last started
    first, whatever happened. Returns the exit status."""
    processes = []
    try:
        body(processes)
        print("PASS")
        return 0
    except Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        for process, group in reversed(processes):
            end(process, group)


def main():
    program_path, title, launcher_path = sys.argv[1:4]
    platform = sys.argv[4] if len(sys.argv) > 4 else "xcb"

    def checks(processes):
        display = start_display(platform, processes)
        os.environ.update(display)
        print(f"Qt's {platform} platform on {display.get('DISPLAY') or display['WAYLAND_DISPLAY']}")
        start_accessibility_bus(launcher_path, processes)
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

        # Connects to the AT-SPI bus: only now that it runs.
        import pyatspi
        events = {"inserted": [], "announced": [], "added": []}

        def on_text_inserted(event):
            events["inserted"].append((event.source.name if event.source else None, event.any_data))
        pyatspi.Registry.registerEventListener(on_text_inserted, "object:text-changed:insert")

        # What a screen reader hears after a press, as one that caches names hears it (Orca 48
        # does): an announcement's own words; or a notification's name when it is shown, read
        # once and kept until a name-change event tells the new name or, as Qt's does, only
        # that it changed.
        names = {}

        def on_announcement(event):
            events["announced"].append(event.any_data)
        pyatspi.Registry.registerEventListener(on_announcement, "object:announcement")

        def on_renamed(event):
            if event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
                if isinstance(event.any_data, str):
                    names[event.source.path] = event.any_data
                else:
                    names.pop(event.source.path, None)
        pyatspi.Registry.registerEventListener(on_renamed, "object:property-change:accessible-name")

        def on_shown(event):
            if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
                path = event.source.path
                names.setdefault(path, event.source.name)
                events["announced"].append(names[path])
        pyatspi.Registry.registerEventListener(on_shown, "object:state-changed:showing")

        def on_child_added(event):
            if event.source.name == "tape":
                events["added"].append(event.any_data.name)
        pyatspi.Registry.registerEventListener(on_child_added, "object:children-changed:add")

        program = subprocess.Popen([program_path])
        processes.append((program, False))
        must_run["the program"] = program
        drive(program, title, events, Caller(session, program))
    return run_checks(checks)




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
