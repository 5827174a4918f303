#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The start-up and footprint benchmark. Builds the two programs (RelWithDebInfo, as scripts/run.sh
# does) and the benchmark in build-bench/, starts a private Xvfb without a window manager and times
# the bare Qt floor window, tavoro3 and tavoro2, interleaved.
# Usage: bench/run.sh [ROUNDS] [tavoro-bench options...]     (default: 20 rounds)
#   e.g. bench/run.sh 5 --clicks 10
#        bench/run.sh 20 --program t3-patched=tavoro3:/tmp/other/build/startup/tavoro3
# Environment: BENCH_JOBS (build jobs, default 2), BENCH_BUILD (build folder, default build-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

runs=20
if [[ $# -gt 0 && "$1" =~ ^[0-9]+$ ]]; then
  runs=$1
  shift
fi
jobs=${BENCH_JOBS:-2}
build=${BENCH_BUILD:-build-bench}

scripts/deps.sh bench

echo "== Build (in $build/)" >&2
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" --target tavoro3 tavoro2 >/dev/null
cmake -S bench -B "$build/bench" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/bench" -j"$jobs" --target tavoro-bench bench-floor >/dev/null

source bench/xvfb.sh
start_private_desktop

logs="$build/bench-logs"
rm -rf "$logs" && mkdir -p "$logs"
runtime=$(mktemp -d) # the programs' XDG_RUNTIME_DIR, private and empty

echo "== Run on $DISPLAY" >&2
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# The programs get a plain environment: no desktop settings, the same for every program.
result=$(env -i PATH="$PATH" HOME="$HOME" LANG="${LANG:-C.UTF-8}" DISPLAY="$DISPLAY" \
  DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
  XDG_RUNTIME_DIR="$runtime" \
  "$build/bench/tavoro-bench" --runs "$runs" --log-dir "$logs" \
  --program "floor:$root/$build/bench/bench-floor" \
  --program "tavoro3:$root/$build/startup/tavoro3" \
  --program "tavoro2:$root/$build/startup/tavoro2" "$@") && status=0 || status=$?
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
rm -rf "$runtime"

echo "Tavoro start-up benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD)$(git diff --quiet HEAD -- startup ui engine runtime || echo ' (modified)')"
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'); Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo '?')"
echo "Display: private Xvfb $DISPLAY, 1280x1024x24, -dpi 96, no window manager; private D-Bus session bus"
echo "Load average (1, 5, 15 min): before $load_before, after $load_after"
echo "$result"
exit "$status"
