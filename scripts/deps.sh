#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Tavoro need, if any is missing.
# Usage: scripts/deps.sh [build|test|run|bench|windows|chroot]   (default: test)
set -euo pipefail

# libwayland-dev, wayland-protocols and libxcb1-dev: what the windows ask the desktop beyond Qt
# (the Wayland compositor's bounds for a new window, whether an X11 window manager runs).
build=(g++ make cmake pkg-config libgtest-dev qt6-base-dev libgl-dev
       libwayland-dev wayland-protocols libxcb1-dev
       fonts-liberation fonts-dejavu-core)
# openbox, weston and qt6-wayland: the windows' screen fit under a window manager and on Wayland.
test=(binutils-mingw-w64-x86-64 desktop-file-utils clang libclang-rt-dev xvfb xauth xdotool x11-utils
      python3-pyatspi at-spi2-core dbus appstream lintian dpkg-dev file locales
      g++-mingw-w64-x86-64 googletest wine wine64 wixl msitools
      orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
      openbox weston qt6-wayland)
run=(libqt6gui6)
# The start-up benchmark's X11 driver (bench/).
bench=(xvfb dbus libx11-dev libxtst-dev libxdamage-dev)
# A clean system of another Debian release to test in (test-in-debian.sh).
chroot=(debootstrap git util-linux)
# The Windows programs, cross-built for 64- and 32-bit Windows, their zips and their installer
# packages (build-windows.sh).
windows=(cmake make g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64
         binutils-mingw-w64-i686 zip wixl)

case "${1:-test}" in
  build) wanted=("${build[@]}") ;;
  run)   wanted=("${build[@]}" "${run[@]}") ;;
  test)  wanted=("${build[@]}" "${test[@]}" "${run[@]}") ;;
  bench) wanted=("${build[@]}" "${run[@]}" "${bench[@]}") ;;
  windows) wanted=("${windows[@]}") ;;
  chroot) wanted=("${chroot[@]}") ;;
  *) echo "usage: $0 [build|test|run|bench|windows|chroot]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
# An install that was cut short (a machine stopped half-way) leaves dpkg unfinished, and apt then
# refuses to install anything until it is finished; with nothing unfinished this does nothing.
# (The variable goes through env, as sudo drops the caller's.)
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive dpkg --configure -a
# Another package manager at work (an automatic update) holds the lock for a while: wait for it.
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
"${sudo[@]}" "${apt[@]}" update -qq
"${sudo[@]}" "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
