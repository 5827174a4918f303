// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splash window's logo: the committed JPEG, carried in the program as a resource, decoded by
// the Windows Imaging Component and scaled to the size its control has on the screen.

#include "gdi.h"

namespace tavoro {

// The logo as a bitmap of `width` x `height` pixels, or an empty one where it cannot be decoded
// (the control then stays blank; the program goes on). Needs COM initialised on the thread.
Bitmap logoBitmap(int width, int height);

} // namespace tavoro
