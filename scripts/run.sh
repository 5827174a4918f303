#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tavoro and starts it. Installs missing Debian packages first.
# Usage: scripts/run.sh [tavoro3|tavoro2]   (default: tavoro3)
set -euo pipefail
cd "$(dirname "$0")/.."

program="${1:-tavoro3}"
case "$program" in
  tavoro3|tavoro2) ;;
  *) echo "usage: $0 [tavoro3|tavoro2]" >&2; exit 2 ;;
esac

scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target "$program"
exec build/startup/"$program"
