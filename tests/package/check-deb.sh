#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a build folder with CPack and checks it without installing it:
# its control fields, that it holds every installed file under /usr and nothing else, that its
# desktop entries start programs it ships, its AppStream data as lintian validates it
# (check-metainfo.sh), and lintian's verdict (errors and AppStream warnings fail, other warnings
# are shown).
# Usage: check-deb.sh CPACK BUILD_DIR WORK_DIR VERSION
# Exits 77 (skipped) when dpkg-deb or dpkg-shlibdeps is missing.
set -eu
cpack=$1 build=$2 work=$3 version=$4

for tool in dpkg-deb dpkg-shlibdeps; do
    command -v $tool > /dev/null || { echo "$tool not found (Debian: dpkg-dev); skipped"; exit 77; }
done

rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
set -- "$work"/tavoro_*.deb
[ $# = 1 ] && [ -f "$1" ] || { echo "FAIL: expected one tavoro_*.deb in $work"; ls "$work"; exit 1; }
deb=$1
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "tavoro_${version}_$arch.deb" ] || { echo "FAIL: package file $(basename "$deb")"; exit 1; }
echo "built $(basename "$deb")"

failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tavoro ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version)"
[ "$(field Section)" = utils ] || fail "Section is $(field Section)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is $(field Architecture)"
field Maintainer | grep -q '^.* <.*@.*>$' || fail "Maintainer is '$(field Maintainer)'"
field Description | grep -qxF ' An easy to see (and use) calculator for us old blind guys.' ||
    fail "the description lacks the slogan"
# Computed from the binaries (Qt, libcanberra, GLib, the C library), plus the fonts the windows'
# look is measured in. Qt's core library and GLib's are libqt6core6t64 and libglib2.0-0t64 from
# Debian 13 on (the 64-bit time transition).
depends=$(field Depends)
for package in libc6 'libstdc++6' 'libqt6core6\(t64\)\?' libqt6gui6 libqt6widgets6 libcanberra0 \
    'libglib2.0-0\(t64\)\?' fonts-liberation fonts-dejavu-core; do
    echo ", $depends," | grep -q ", $package[ ,]" || fail "Depends lacks $package: $depends"
done
# The beep's way to the sound server and its sound.
[ "$(field Recommends)" = "libcanberra-pulse, sound-theme-freedesktop" ] ||
    fail "Recommends is '$(field Recommends)'"

# Every file the package holds, and only those: nothing outside /usr, nothing from the build.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./|/|' | sort > "$work/files"
sort > "$work/expected" << FILES
/usr/bin/tavoro2
/usr/bin/tavoro3
/usr/share/applications/tavoro2.desktop
/usr/share/applications/tavoro3.desktop
/usr/share/doc/tavoro/changelog.gz
/usr/share/doc/tavoro/copyright
/usr/share/icons/hicolor/128x128/apps/tavoro.png
/usr/share/icons/hicolor/16x16/apps/tavoro.png
/usr/share/icons/hicolor/256x256/apps/tavoro.png
/usr/share/icons/hicolor/32x32/apps/tavoro.png
/usr/share/icons/hicolor/48x48/apps/tavoro.png
/usr/share/icons/hicolor/64x64/apps/tavoro.png
/usr/share/man/man1/tavoro2.1.gz
/usr/share/man/man1/tavoro3.1.gz
/usr/share/metainfo/org.example.Tavoro.metainfo.xml
FILES
diff -u "$work/expected" "$work/files" || fail "the package's files differ from the list above (- expected, + found)"

# The desktop entries start programs from the package; the programs are stripped executables.
root=$work/root
dpkg-deb -x "$deb" "$root"
for program in tavoro3 tavoro2; do
    exec_line=$(grep '^Exec=' "$root/usr/share/applications/$program.desktop" | cut -d= -f2-)
    [ -x "$root/usr/bin/${exec_line%% *}" ] || fail "$program.desktop: Exec=$exec_line is not a program in /usr/bin"
    if command -v readelf > /dev/null && readelf -S "$root/usr/bin/$program" | grep -q '\.debug_info'; then
        fail "/usr/bin/$program is not stripped"
    fi
done

# The installed tree as lintian validates it, the desktop entries with the metainfo.
metainfo=ok
if command -v appstreamcli > /dev/null; then
    sh "$(dirname "$0")/check-metainfo.sh" --tree "$root" > "$work/appstream.log" 2>&1 ||
        { cat "$work/appstream.log"; metainfo=; fail "appstreamcli rejects the packaged metainfo"; }
fi

if command -v lintian > /dev/null; then
    lintian --tag-display-limit 0 "$deb" > "$work/lintian.log" 2>&1 || true
    grep -E '^[EW]: ' "$work/lintian.log" || true
    grep -q '^E: ' "$work/lintian.log" && fail "lintian reports errors"
    # Lintian says only that validate-tree failed, which the missing homepage alone makes it do;
    # whether anything else made it fail, the check above has told.
    if grep '^W: .*appstream' "$work/lintian.log" |
        { [ -n "$metainfo" ] && grep -v ' appstream-metadata-validation-failed ' || cat; } | grep -q .; then
        fail "lintian warns of the AppStream metadata"
    fi
else
    echo "lintian not found (Debian: lintian); its check skipped"
fi

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): fields, files, desktop entries and metainfo as expected"
