#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Tavoro need, if any is missing.
# Usage: scripts/deps.sh [build|test|run|bench|windows|chroot]   (default: test)
set -euo pipefail

# libcanberra and GIO: the beep is the desktop's event sound, in the sound theme GNOME's settings name.
# libwayland-dev, wayland-protocols and libxcb1-dev: what the windows ask the desktop beyond Qt
# (the Wayland compositor's bounds for a new window, whether an X11 window manager runs).
build=(g++ make cmake pkg-config libgtest-dev qt6-base-dev libgl-dev libcanberra-dev libglib2.0-dev
       libwayland-dev wayland-protocols libxcb1-dev
       fonts-liberation fonts-dejavu-core)
# The sound checks: a private PulseAudio server and its recorder; the Wayland checks: weston and Qt's
# Wayland platform, on every release; openbox: the windows' place under an X11 window manager.
test=(binutils-mingw-w64-x86-64 desktop-file-utils clang libclang-rt-dev xvfb xauth xdotool x11-utils
      python3-pyatspi at-spi2-core dbus appstream lintian dpkg-dev file locales
      g++-mingw-w64-x86-64 googletest wine wine64 wixl msitools
      orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
      pulseaudio pulseaudio-utils weston qt6-wayland openbox)
# What the Debian package depends on and recommends: Qt, the event sounds' library, its backend for
# the sound server (PulseAudio, or PipeWire in its place) and the sound theme.
run=(libqt6gui6 libcanberra0 libcanberra-pulse sound-theme-freedesktop)
# The start-up benchmark's X11 driver (bench/).
bench=(xvfb dbus libx11-dev libxtst-dev libxdamage-dev)
# The desktop check (tests/desktop): both programs inside GNOME Shell on Wayland, headless, and
# through its Xwayland; with the test set's Qt wayland platform and sound server. Only where the
# release's GNOME Shell is 48 or later (Debian 13): the check skips with an older one.
gnome=(gnome-shell gsettings-desktop-schemas xwayland libgl1-mesa-dri)
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

# Qt's Wayland platform, where the release's own Qt recommends it (Debian 13's libqt6gui6 does,
# Debian 12's does not): apt installs recommended packages, so the installed Debian package draws
# natively on a Wayland desktop there, and the program `scripts/run.sh` starts must do the same;
# this script installs without recommended packages. What the installed libqt6gui6 recommends, or
# else the one apt would install.
qt_recommends() {
  local package
  for package in libqt6gui6 libqt6gui6t64; do
    if [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) == "install ok installed" ]]; then
      dpkg-query -W -f='${Recommends}\n' "$package"
    else
      apt-cache show --no-all-versions "$package" 2>/dev/null | sed -n 's/^Recommends: //p'
    fi
  done
}
wayland_recommended() { qt_recommends | tr ',|' '\n\n' | awk '{ print $1 }' | grep -qx qt6-wayland; }
# (The test set has it on every release, for the checks on Wayland.)
case "${1:-test}" in
  run|bench) wayland_recommended && wanted+=(qt6-wayland) ;;
esac
# Whether the GNOME Shell apt would install is 48 or later (false while apt knows none).
gnome_shell_48() {
  local candidate
  candidate=$(apt-cache policy gnome-shell 2>/dev/null | sed -n 's/^ *Candidate: *//p')
  [[ -n $candidate && $candidate != "(none)" ]] && dpkg --compare-versions "$candidate" ge 48
}
if [[ ${1:-test} == test ]] && gnome_shell_48; then wanted+=("${gnome[@]}"); fi

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
# A system whose package lists were empty knows only now what its Qt recommends.
case "${1:-test}" in
  run|bench) [[ " ${wanted[*]} " == *" qt6-wayland "* ]] || ! wayland_recommended || missing+=(qt6-wayland) ;;
  test) [[ " ${wanted[*]} " == *" gnome-shell "* ]] || ! gnome_shell_48 || missing+=("${gnome[@]}") ;;
esac
"${sudo[@]}" "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
