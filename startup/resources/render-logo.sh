#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders logo.svg to logo.jpg, the picture the splash window shows: a 450 x 469 baseline JPEG in
# three colour components, JFIF 1.02 with a density of 150 x 150 dots per inch. The JPEG is kept in
# the repository so that building needs none of these tools.
# Needs rsvg-convert (librsvg2-bin), ImageMagick's convert and cjpeg (libjpeg-turbo-progs).
set -eu
cd "$(dirname "$0")"

rsvg-convert --width 450 --height 469 --background-color white logo.svg \
    | convert png:- -alpha off ppm:- \
    | cjpeg -quality 90 -baseline -sample 2x2 -outfile logo.jpg

# cjpeg writes a JFIF 1.01 header without a density. Patch the header fields at byte 11 on:
# version 1.02, units 1 (dots per inch), X and Y density 150 (0x0096), big-endian.
printf '\001\002\001\000\226\000\226' | dd of=logo.jpg bs=1 seek=11 conv=notrunc status=none
