#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the README's test command in a clean Debian system of another release, on this machine: a
# chroot made with debootstrap from the package registry this machine uses, with nothing in it but
# Debian's minimal base, git and what scripts/deps.sh asks for. The checkout's committed HEAD is
# cloned into it and scripts/test.sh runs there, as CI runs it here (a bare environment, an empty
# HOME), without a network of its own, so that its X servers and buses never meet this machine's
# (an X server also listens on an abstract socket, which a chroot shares with its host).
#
# Usage: scripts/test-in-debian.sh [SUITE]   (default: trixie, Debian 13)
#
# The cache is kept outside the checkout, in TAVORO_CHROOT_CACHE (default /var/cache/tavoro-chroot):
# the bare base system of each suite (made anew once it is a week old) and the downloaded packages.
# Each run starts from a fresh copy of the base; the last run's tree stays in SUITE-run/ until the
# next run, to look at (its build folders are in SUITE-run/root/tavoro). Needs root (sudo otherwise)
# for debootstrap, chroot and the namespaces; installs debootstrap on this machine when missing.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
self="$repo/scripts/test-in-debian.sh"
path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

# The mounts a working system needs, inside the private mount namespace of the caller, so that
# they go when it ends; then the command, run in the chroot.
enter() {
  local root=$1
  shift
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
  mount --bind "$cache/apt-archives" "$root/var/cache/apt/archives"
  exec chroot "$root" /usr/bin/env -i PATH="$path" HOME=/root LANG=C.UTF-8 "$@"
}

# Internal: `--inside ROOT COMMAND...` runs in the namespaces that run_in() made.
if [[ ${1:-} == --inside ]]; then
  cache=$TAVORO_CHROOT_CACHE
  shift
  enter "$@"
fi

suite=${1:-trixie}
[[ $suite =~ ^[a-z]+$ ]] || { echo "usage: $0 [SUITE]   (a Debian code name such as trixie)" >&2; exit 2; }

if [[ $(id -u) -ne 0 ]]; then
  exec sudo --preserve-env=TAVORO_CHROOT_CACHE,TAVORO_FUZZ_SECONDS "$self" "$@"
fi
export TAVORO_CHROOT_CACHE=${TAVORO_CHROOT_CACHE:-/var/cache/tavoro-chroot}
cache=$TAVORO_CHROOT_CACHE
"$repo/scripts/deps.sh" chroot

# This machine's registry: the first URI of its Debian archive (not the security archive).
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/*.sources 2> /dev/null | grep -v security | head -n 1 || true)
[[ -n $mirror ]] || mirror=$(awk '$1 == "deb" && $0 !~ /security/ { print ($2 ~ /^\[/ ? $3 : $2); exit }' /etc/apt/sources.list 2> /dev/null || true)
security=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/*.sources 2> /dev/null | grep security | head -n 1 || true)
[[ -n $mirror ]] || { echo "no Debian archive found in this machine's apt sources" >&2; exit 1; }

mkdir -p "$cache/apt-archives/partial"
exec 9> "$cache/$suite.lock"
flock 9

started=$SECONDS
base=$cache/$suite-base
if [[ ! -e $base/.made ]] || [[ -n $(find "$base/.made" -mtime +6) ]]; then
  echo "== Making a bare Debian $suite system from $mirror"
  rm -rf "$base" "$base.partial"
  debootstrap --variant=minbase --include=ca-certificates,git,procps --cache-dir="$cache/apt-archives" \
    "$suite" "$base.partial" "$mirror" > "$cache/$suite-debootstrap.log" 2>&1 ||
    { tail -n 30 "$cache/$suite-debootstrap.log"; exit 1; }
  {
    echo "deb $mirror $suite main"
    echo "deb $mirror $suite-updates main"
    [[ -z $security ]] || echo "deb $security $suite-security main"
  } > "$base.partial/etc/apt/sources.list"
  rm -f "$base.partial"/var/cache/apt/archives/*.deb
  touch "$base.partial/.made"
  mv "$base.partial" "$base"
fi

run=$cache/$suite-run
rm -rf "$run"
cp -a "$base" "$run"
cp /etc/resolv.conf "$run/etc/resolv.conf"
# What this machine's apt needs to reach its registry (a proxy, the validity of a frozen archive's
# index) holds for the chroot's too.
for conf in /etc/apt/apt.conf.d/*; do
  if grep -q '^Acquire::\(http\|https\|Check-Valid-Until\|Check-Date\)' "$conf" 2> /dev/null; then
    cp "$conf" "$run/etc/apt/apt.conf.d/"
  fi
done
# The checkout may belong to another user than root (a clone made by someone else, tested through
# sudo), which git refuses to read ("dubious ownership"): these two reads trust it, and nothing else.
trust=$(mktemp)
trap 'rm -f "$trust"' EXIT
printf '[safe]\n\tdirectory = %s\n\tdirectory = %s/.git\n' "$repo" "$repo" > "$trust"
GIT_CONFIG_GLOBAL=$trust git clone --quiet "$repo" "$run/root/tavoro"
echo "== Debian $suite ready in $((SECONDS - started)) s;" \
  "cloned $(GIT_CONFIG_GLOBAL=$trust git -C "$repo" rev-parse --short HEAD)"

# run_in NAMESPACES... -- COMMAND...: COMMAND in the chroot, in a private mount namespace and a
# process namespace of its own (whatever it leaves running ends with it), plus NAMESPACES.
run_in() {
  local namespaces=()
  while [[ $1 != -- ]]; do namespaces+=("$1"); shift; done
  shift
  unshare --mount --propagation private --pid --fork --kill-child "${namespaces[@]}" \
    "$self" --inside "$run" "$@"
}

# The packages come first, with the network: exactly what the test command will ask for.
step=$SECONDS
run_in -- bash -c 'cd /root/tavoro && scripts/deps.sh test'
echo "== Packages installed in $((SECONDS - step)) s"

step=$SECONDS
status=0
run_in --net -- bash -c 'cd /root/tavoro && home=$(mktemp -d) &&
  env -i PATH="$PATH" HOME="$home" scripts/test.sh' || status=$?
echo "== scripts/test.sh in Debian $suite: exit status $status after $((SECONDS - step)) s" \
  "($((SECONDS - started)) s in all)"
exit "$status"
