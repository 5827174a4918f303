#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The driver against the floor window on a private X server: one round with three key clicks must
# find the window, see it painted, see every click repainted and read the memory figure. Nothing
# here depends on how fast anything is.
# Usage: drive_floor.sh TAVORO_BENCH BENCH_FLOOR
set -euo pipefail
bench=$1 floor=$2
source "$(dirname "$0")/../xvfb.sh"
start_private_desktop

out=$("$bench" --runs 1 --warmup 0 --clicks 3 --program "floor:$floor" 2>/dev/null)
echo "$out"

fail() { echo "FAIL: $*" >&2; exit 1; }
# A row of the floor with a number in the median column.
has_figure() { grep -E "^$1 +floor +[0-9]+\.[0-9]+ " <<<"$out" >/dev/null; }
has_figure 'exec -> first window mapped \(ms\)' || fail "no mapped figure"
has_figure 'exec -> first window painted \(ms\)' || fail "no painted figure"
has_figure 'key click -> first repaint \(ms, 3/run\)' || fail "no click figure"
has_figure 'resident memory, window shown \(MiB\)' || fail "no memory figure"
pooled=$(grep -E '^ +every click pooled' <<<"$out") || fail "no pooled click row"
# The floor has no splash: its start-click figure is empty.
grep -E '^start click -> calculator mapped' <<<"$out" && fail "a start-click row for the floor alone"
echo "$pooled"
