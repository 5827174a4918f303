// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculatorwindowmodel.h"

#include "announcement.h"
#include "calculatordesign.h"
#include "services.h"

namespace tavoro {

CalculatorWindowModel::CalculatorWindowModel(Services& services)
    : m_services(services)
    , m_engine(services)
{
    // Everything else as designed: the tape, the "CLEAR Entries" box and the date-and-time label
    // hidden, no check marks, the timer enabled.
    const ControlDesign& box = controlDesign(ControlId::txtShowEntries);
    m_window.showEntriesText = box.caption;
    m_window.showEntriesTip = box.tip;
    m_window.dateAndTime = controlDesign(ControlId::lblDateAndTime).caption;
}

void CalculatorWindowModel::Form_Load()
{
    m_window.loaded = true;
    if (m_engine.state().blnDateAndTime != 0)
        mnuOptionsDateAndTimeOn_Click();
    else
        mnuOptionsDateAndTimeOff_Click();
    m_engine.hideNewNumberBar();
}

template <typename Press>
void CalculatorWindowModel::announced(std::optional<ControlId> control, Press press)
{
    // An element the window does not have (there is no digit 10) is pressed without words.
    if (!control) {
        press();
        return;
    }
    const PressAnnouncement words(m_engine, *control, m_presses);
    press();
    if (std::string said = words.words(); !said.empty()) {
        m_window.announcement = std::move(said);
        ++m_window.announcements;
    }
}

void CalculatorWindowModel::cmdDigit_Click(int index)
{
    announced(digitKey(index), [&] { m_engine.cmdDigit_Click(index); });
}

void CalculatorWindowModel::cmdOp_Click(int index)
{
    announced(operatorKey(index), [&] { m_engine.cmdOp_Click(index); });
}

void CalculatorWindowModel::lblClearAll_Click()
{
    announced(ControlId::lblClearAll, [&] { m_engine.lblClearAll_Click(); });
}

void CalculatorWindowModel::lblClearError_Click()
{
    announced(ControlId::lblClearError, [&] { m_engine.lblClearError_Click(); });
}

void CalculatorWindowModel::lblClearError2_Click()
{
    announced(ControlId::lblClearError2, [&] { m_engine.lblClearError2_Click(); });
}

void CalculatorWindowModel::setShowEntries(std::string_view text, std::string_view tip)
{
    m_window.showEntriesText = text;
    m_window.showEntriesTip = tip;
    ++m_window.showEntriesSet;
}

void CalculatorWindowModel::txtShowEntries_Click()
{
    const bool hidden = !m_window.tapeShown;
    m_window.tapeShown = hidden;
    m_window.clearEntriesShown = hidden;
    if (hidden)
        setShowEntries(text::HideEntries, text::HideEntriesTip);
    else
        setShowEntries(text::ShowEntries, text::ShowEntriesTip);
}

void CalculatorWindowModel::txtClearEntries_Click() { m_engine.clearTape(); }

void CalculatorWindowModel::mnuOptionsShowTape_Click()
{
    m_window.showTapeChecked = true;
    m_window.hideTapeChecked = false;
    m_window.tapeShown = true;
}

void CalculatorWindowModel::mnuOptionsHideTape_Click()
{
    m_window.showTapeChecked = false;
    m_window.hideTapeChecked = true;
    m_window.tapeShown = false;
}

void CalculatorWindowModel::mnuOptionsDateAndTimeOn_Click() { switchDateAndTime(true); }

void CalculatorWindowModel::mnuOptionsDateAndTimeOff_Click() { switchDateAndTime(false); }

void CalculatorWindowModel::switchDateAndTime(bool on)
{
    m_window.dateAndTimeOffChecked = !on;
    m_window.dateAndTimeOnChecked = on;
    m_window.timerEnabled = on;
    m_window.dateAndTimeShown = on;
    m_engine.setDateAndTime(on);
}

void CalculatorWindowModel::tmrCalc_Timer() { m_window.dateAndTime = m_services.currentDateTime(); }

void CalculatorWindowModel::mnuFilesExit_Click() { m_window.ended = true; }

} // namespace tavoro
