# SPDX-License-Identifier: GPL-3.0-or-later
"""Listens to a Tavoro program while its keys are pressed: every operator press is heard once,
a digit never.

Runs inside a private D-Bus session (see tests/a11y/check-screen-reader.sh --sound). Starts a
private sound server whose only output is recorded (soundprobe.py), the display server of Qt's
PLATFORM (xcb: Xvfb, which plays no X bell; wayland: weston's headless backend, where Qt has no
bell at all), the AT-SPI bus and the program, with nothing else to play its sounds: no desktop. It
starts the calculator over AT-SPI as a screen reader does and presses 1 + 2 times 3 - 4 =, half a
second apart (the total reads 5), then + = 0.3 s apart. The recording must hold exactly one sound
for each of the six operator presses, each as far from the first as its press was from the first
press: none for a digit, none lost to the one before. The program ends through its eXit menu item
with status 0.

CASE (xcb only; the server then also plays every X bell, as an X11 desktop does):
- heard (the default): as above.
- event-sounds-off: GNOME's setting org.gnome.desktop.sound event-sounds is false (in GSettings'
  keyfile backend): not a sound, not even an X bell.
- no-sound-server: the program finds no sound server; it rings the X bell instead, heard as above.

Usage: sound-session.py PROGRAM WINDOW_TITLE AT_SPI_BUS_LAUNCHER PLATFORM [CASE]
"""

import importlib
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True
here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [here, os.path.join(here, "..", "a11y")]
import soundprobe  # noqa: E402
session = importlib.import_module("screen-reader-session")
Failure, wait_for, find, press = session.Failure, session.wait_for, session.find, session.press

OPERATORS = {"plus", "minus", "times", "divided by", "equals"}
# (key, seconds after the previous press): 1 + 2 x 3 - 4 =, then a quick + =.
PRESSES = [("1", 0), ("plus", 0.5), ("2", 0.5), ("times", 0.5), ("3", 0.5), ("minus", 0.5), ("4", 0.5),
           ("equals", 0.5), ("plus", 0.8), ("equals", 0.3)]
BELL = "/usr/share/sounds/freedesktop/stereo/bell.oga"
# How far a sound may lie from where its press puts it: the press's own delay (a pressed button
# clicks 0.1 s later; an X bell takes its own way) varies a little from press to press on a busy
# machine. Presses lie 0.3 s apart or more.
TOLERANCE = 0.2


def press_keys(calculator, total):
    """Presses PRESSES over AT-SPI; returns the times of the operator presses (monotonic seconds)."""
    import pyatspi
    keys = {}
    for name, _ in PRESSES:
        keys[name] = keys.get(name) or wait_for(f'the key "{name}"',
                                                lambda: find(calculator, pyatspi.ROLE_PUSH_BUTTON, name))
    pressed = []
    last = time.monotonic()
    for index, (name, pause) in enumerate(PRESSES):
        time.sleep(max(0.0, last + pause - time.monotonic()))
        last = time.monotonic()
        press(keys[name])
        if name in OPERATORS:
            pressed.append(last)
        if index == 7:  # the first "=": 1 + 2 = 3, x 3 = 9, - 4 = 5
            wait_for('the total to read "5"', lambda: session.text_of(total) == "5", seconds=5)
    print(f"pressed {' '.join(name for name, _ in PRESSES)}: the total read 5 after the first equals")
    return pressed


def program_environment(case):
    """The variables that make the program meet `case`."""
    if case == "event-sounds-off":
        folder = os.path.join(os.environ["HOME"], ".config", "glib-2.0", "settings")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "keyfile"), "w") as keyfile:
            keyfile.write("[org/gnome/desktop/sound]\nevent-sounds=false\n")
        return {"GSETTINGS_BACKEND": "keyfile"}
    if case == "no-sound-server":
        # The sound server is where nothing answers; libcanberra's other backend (ALSA) is kept
        # out of it, as it could find a sound card of this machine.
        return {"PULSE_SERVER": "unix:" + os.path.join(os.environ["XDG_RUNTIME_DIR"], "no-sound-server"),
                "CANBERRA_DRIVER": "pulse"}
    return {}


def check_sounds(spans, pressed, silent):
    """One sound for each operator press, spaced as the presses were; none at all if `silent`."""
    onsets = [start for start, _ in spans]
    presses = [moment - pressed[0] for moment in pressed]
    heard = ", ".join(f"{start:.2f}-{end:.2f}" for start, end in spans) or "none"
    print(f"{len(spans)} sounds heard (seconds into the recording: {heard}) for {len(pressed)} operator presses "
          f"(at {', '.join(f'{moment:.2f}' for moment in presses)} s after the first)")
    if silent:
        if spans:
            raise Failure(f"{len(spans)} sounds with event sounds switched off")
        print("not a sound with event sounds switched off")
        return
    if len(spans) != len(pressed):
        raise Failure(f"{len(spans)} sounds for {len(pressed)} operator presses")
    # Measured from where most sounds lie relative to their presses (the recording started before
    # the first press by an amount it does not know).
    delays = sorted(onset - moment for onset, moment in zip(onsets, presses))
    late = [onset - moment - delays[len(delays) // 2] for onset, moment in zip(onsets, presses)]
    if any(abs(offset) > TOLERANCE for offset in late):
        raise Failure("the sounds do not follow the operator presses: each lies "
                      f"{', '.join(f'{offset:+.2f}' for offset in late)} s from where its press puts it")
    print(f"each sound within {TOLERANCE} s of where its press puts it "
          f"({', '.join(f'{offset:+.2f}' for offset in late)} s)")


def main():
    program_path, title, launcher_path, platform = sys.argv[1:5]
    case = sys.argv[5] if len(sys.argv) > 5 else "heard"
    if case not in ("heard", "event-sounds-off", "no-sound-server") or (case != "heard" and platform != "xcb"):
        print(f"usage: the case {case!r} on Qt's {platform} platform is not one of this check's")
        return 2

    def checks(processes):
        with soundprobe.SoundServer(os.environ["XDG_RUNTIME_DIR"]) as server:
            os.environ.update(server.env)
            display = session.start_display(platform, processes)
            os.environ.update(display)
            print(f"Qt's {platform} platform on {display.get('DISPLAY') or display['WAYLAND_DISPLAY']}; "
                  f"a private sound server at {server.env['PULSE_SERVER']}")
            if case != "heard":
                server.play_x_bells(display["DISPLAY"], BELL)
                print(f"case {case}: the sound server plays X bells too")
            session.start_accessibility_bus(launcher_path, processes)
            program = subprocess.Popen([program_path], env=dict(os.environ, **program_environment(case)))
            processes.append((program, False))
            session.must_run["the program"] = program
            calculator, total = session.start_calculator(program, title)

            server.start_recording()
            pressed = press_keys(calculator, total)
            samples = server.stop_recording(tail_seconds=0.8)
            check_sounds(soundprobe.sound_spans(samples, server.rate), pressed, silent=case == "event-sounds-off")
            session.exit_through_menu(calculator, program)
    return session.run_checks(checks)


if __name__ == "__main__":
    sys.exit(main())
