#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates AppStream metadata with appstreamcli, as software centres and lintian read it, in the
# AppStream version of this release. Every error and every warning fails but one: Tavoro has no
# web site, so the remark that the homepage is missing (url-homepage-missing, a warning from
# AppStream 1.0 on) is accepted, and only that one. Infos and pedantic hints are shown, never
# fail (AppStream 0.16 does not know the <developer> element yet, and says so as an info).
# Usage: check-metainfo.sh FILE          (appstreamcli validate)
#        check-metainfo.sh --tree DIR    (appstreamcli validate-tree: an installed tree, as lintian)
# Exits 77 (skipped) when appstreamcli is missing.
set -eu
command -v appstreamcli > /dev/null || { echo "appstreamcli not found (Debian: appstream); skipped"; exit 77; }
command=validate
if [ "$1" = --tree ]; then
    command=validate-tree
    shift
fi
accepted=url-homepage-missing

status=0
report=$(appstreamcli $command --no-net "$1" 2>&1) || status=$?
echo "$report"
# "W: org.example.Tavoro:~: url-homepage-missing": severity, where, tag.
remarks=$(echo "$report" | awk '$1 == "E:" || $1 == "W:" { print $3 }' | sort -u)
others=$(echo "$remarks" | grep -vx "$accepted" || true)
if [ -n "$others" ]; then
    echo "FAIL: appstreamcli $command reports" $others
    exit 1
fi
if [ "$status" -ne 0 ] && [ "$remarks" != "$accepted" ]; then
    echo "FAIL: appstreamcli $command failed (status $status) without saying why"
    exit 1
fi
echo "appstreamcli $command: valid${remarks:+, but for the accepted $accepted}"
