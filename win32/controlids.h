// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The child-window identifiers of the controls: what WM_COMMAND and WM_DRAWITEM name a control by,
// and what automation (the Wine checks' driver) finds it by with GetDlgItem.

#include "calculatordesign.h"

namespace tavoro {

// A control of the calculator window: its row's place in the design table, from 1000 on.
inline constexpr int FirstControlId = 1000;
inline int controlId(const ControlDesign& row)
{
    return FirstControlId + static_cast<int>(&row - calculatorDesign().data());
}
// The calculator window's announcer, which says what each press changed (Announcer).
inline constexpr int AnnouncerId = 999;
// An item of the calculator window's menus: its place in the menu tree, menu by menu, from 2000 on.
inline constexpr int FirstMenuItemId = 2000;

// The splash window's controls.
namespace splashid {
inline constexpr int Frame1 = 100;
inline constexpr int lblProductName = 101;
inline constexpr int lblOldGuys = 102;
inline constexpr int imgLogo = 103;
inline constexpr int cmdStartTavoro = 104;
inline constexpr int lblPlatform = 105;
} // namespace splashid

} // namespace tavoro
