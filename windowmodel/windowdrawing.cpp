// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdrawing.h"

#include "calculatorwindowmodel.h"

namespace tavoro {

void ViewDrawer::draw(const CalculatorWindowView& view, WindowSurface& surface)
{
    using enum ControlId;
    const auto& [display, window] = view;
    surface.setDisplayText(lblDisplay, display.lblDisplay);
    surface.setDisplayText(lblNewNum, display.lblNewNum);
    surface.setDisplayText(lblOp, display.lblOp);
    surface.setShown(lblNewNum, display.lblNewNumVisible);
    surface.setShown(lblOp, display.lblOpVisible);
    surface.setShown(lblSpacer1, display.lblSpacer1Visible);
    surface.setTape(display.lstEntered);

    surface.showTape(window.tapeShown);
    surface.setShown(txtClearEntries, window.clearEntriesShown);
    // The box's text only when a handler set it: what the user typed stays until then.
    if (window.showEntriesSet != m_showEntriesSet) {
        m_showEntriesSet = window.showEntriesSet;
        surface.setShowEntries(window.showEntriesText, window.showEntriesTip);
    }

    surface.setChecked(mnuOptionsShowTape, window.showTapeChecked);
    surface.setChecked(mnuOptionsHideTape, window.hideTapeChecked);
    surface.setChecked(mnuOptionsDateAndTimeOn, window.dateAndTimeOnChecked);
    surface.setChecked(mnuOptionsDateAndTimeOff, window.dateAndTimeOffChecked);

    surface.setShown(lblDateAndTime, window.dateAndTimeShown);
    surface.setDateAndTime(window.dateAndTime);
    surface.enableTimer(window.timerEnabled);

    if (window.announcements != m_announced) {
        m_announced = window.announcements;
        surface.say(window.announcement);
    }
    if (window.ended)
        surface.endProgram();
}

} // namespace tavoro
