// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How an owner-drawn push button is painted: the calculator's keys and the splash window's start
// button. The face is flat in exactly its colour in every state (focused, hot, default); a raised
// edge, sunk while the key is held down; the caption in the button's font, centred and wrapped at
// blanks; and, whenever the key has the keyboard focus, a black focus mark inside the edge, clear
// of the caption, however Windows' keyboard cues are set.

#include "colours.h"

#include <windows.h>

namespace tavoro {

void paintKey(const DRAWITEMSTRUCT& item, Rgb face, UINT dpi);

} // namespace tavoro
