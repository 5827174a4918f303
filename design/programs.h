// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two programs built from this source tree.

#include "programdescription.h"

namespace tavoro {

extern const ProgramDescription Tavoro3; // "Tavoro 3": splash frmSplash3, window frmTavoro3
extern const ProgramDescription Tavoro2; // "Tavoro 2": splash frmSplash, window frmTavoro

} // namespace tavoro
