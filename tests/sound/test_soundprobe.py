# SPDX-License-Identifier: GPL-3.0-or-later
"""count_onsets() on made-up recordings: bell-like sounds (a 0.14 s tone that fades) at given
moments, over silence or a little noise. Sounds whose starts are 0.1 s or more apart count
separately, also where no silence lies between them; one sound never counts twice."""

import array
import math
import random
import sys

sys.dont_write_bytecode = True
import soundprobe  # noqa: E402

RATE = 16000


def recording(starts, seconds=2.0, noise=0.0):
    samples = [0.0] * int(seconds * RATE)
    for start in starts:
        for i in range(int(0.14 * RATE)):
            t = i / RATE
            samples[int(start * RATE) + i] += 12000 * math.exp(-t / 0.03) * math.sin(2 * math.pi * 880 * t)
    rng = random.Random(7)
    return array.array("h", [max(-32768, min(32767, round(v + rng.gauss(0, noise)))) for v in samples])


# (starts of the sounds in seconds, how many count_onsets() must find)
CASES = [
    ([], 0), ([0.5], 1), ([0.0], 1), ([1.85], 1),
    ([0.5, 0.8], 2), ([0.5, 0.65], 2), ([0.5, 0.6], 2), ([0.5, 0.55], 1),
    ([0.2, 0.5, 0.8, 1.1, 1.4, 1.7], 6), ([0.3, 0.45, 0.6, 0.75], 4),
]

failures = 0
for starts, expected in CASES:
    for noise in (0, 40):
        found = soundprobe.sound_spans(recording(starts, noise=noise), RATE)
        if len(found) != expected or soundprobe.count_onsets(recording(starts, noise=noise), RATE) != expected:
            failures += 1
            print(f"FAIL: sounds at {starts} (noise {noise}): found {found}, not {expected} sounds")
print(f"{len(CASES) * 2 - failures} of {len(CASES) * 2} recordings counted right")
sys.exit(1 if failures else 0)
