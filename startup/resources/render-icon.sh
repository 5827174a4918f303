#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the program icon: icon-16.png .. icon-256.png for the Linux desktop and Qt, and tavoro.ico
# for Windows with exactly three images, in this order: 32 x 32 in 2 colours, 32 x 32 in 16 colours
# and 16 x 16 in 16 colours. The results are kept in the repository so that building needs none of
# these tools. Needs rsvg-convert (librsvg2-bin), ImageMagick's convert and icotool (icoutils).
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rsvg-convert icon-16.svg -o icon-16.png
for size in 32 48 64 128 256; do
    rsvg-convert --width $size --height $size icon.svg -o icon-$size.png
done

# An icon image with at most `colours` colours: the picture flattened and reduced without
# dithering, then made transparent again where the drawing is (mostly) transparent.
reduce() { # source colours target
    convert "$1" -alpha extract -threshold 50% "$work/mask.png"
    convert "$1" -background '#1F2A44' -alpha remove +dither -colors "$2" "$work/colour.png"
    convert "$work/colour.png" "$work/mask.png" -alpha off -compose CopyOpacity -composite "png32:$3"
}
# Two colours: the dark body black, the display and keys white, transparent around the body.
convert icon-32.png -alpha extract -threshold 50% "$work/mask.png"
convert icon-32.png -background black -alpha remove -colorspace Gray -threshold 50% \
    -colorspace sRGB -type TrueColor "$work/mask.png" -alpha off -compose CopyOpacity -composite \
    "png32:$work/32-2.png"
reduce icon-32.png 16 "$work/32-16.png"
reduce icon-16.png 16 "$work/16-16.png"

icotool --create --output=tavoro.ico \
    --bit-depth=1 "$work/32-2.png" --bit-depth=4 "$work/32-16.png" --bit-depth=4 "$work/16-16.png"
icotool --list tavoro.ico
