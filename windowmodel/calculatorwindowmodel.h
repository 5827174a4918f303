// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator window's behaviour, written once for every front end. The model owns the engine
// and the window's own state: whether the tape shows, the "CLEAR Entries" box and the "SHOW
// Entries" box's text and tool tip, the Options items' check marks, the date-and-time label and
// its timer, the words a screen reader says after a press, and whether the program is to end. It
// has one function per handler of the window, named after its control and event, and reaches the
// platform only through `Services`.
//
// Which handler each control runs is the binding table's (bindings.h); after every call a front
// end draws view() through the shared drawing (windowdrawing.h). Making the controls, the toolkit's
// side of drawing, the keyboard focus, real timers and message loops, and the screen reader's
// plumbing are the front end's; what the window does is decided here.
//
// Plain C++ only: this library must never depend on a toolkit.

#include "calculator.h"
#include "calculatordesign.h"

#include <optional>
#include <string>

namespace tavoro {

class Services;

// What the window shows beside the engine's display items, as the handlers leave it.
struct WindowState {
    bool tapeShown = false;         // lstEntered
    bool clearEntriesShown = false; // txtClearEntries
    // The "SHOW Entries" box's text and tool tip as a handler last set them; the user may have
    // typed into the box since. `showEntriesSet` counts those settings: a front end sets the box's
    // text when it changed, and leaves what the user typed alone otherwise.
    std::string showEntriesText;
    std::string showEntriesTip;
    unsigned showEntriesSet = 0;
    // The Options items' check marks.
    bool showTapeChecked = false;
    bool hideTapeChecked = false;
    bool dateAndTimeOnChecked = false;
    bool dateAndTimeOffChecked = false;
    // The date-and-time label, which sizes itself to its caption, and its timer (1000 ms, enabled
    // by design). A front end starts its timer when it is enabled and was not running, so that
    // enabling a running timer keeps its rhythm, and stops it when it is disabled.
    bool dateAndTimeShown = false;
    std::string dateAndTime;
    bool timerEnabled = true;
    // The words for the screen reader after the last press that had any, and how many presses had
    // words: a front end says them once each time this count grows.
    std::string announcement;
    unsigned announcements = 0;
    bool loaded = false; // Form_Load has run
    bool ended = false;  // the program is to end, hidden windows included
};

// One view of the whole window: the engine's display items and the window's own state.
struct CalculatorWindowView {
    const DisplayState& display;
    const WindowState& window;
};

class CalculatorWindowModel {
public:
    explicit CalculatorWindowModel(Services& services);

    const Calculator& engine() const { return m_engine; }
    CalculatorWindowView view() const { return {m_engine.display(), m_window}; }

    // The load step, before the window is first shown: the timer (enabled by design) switched by
    // the date-time option, and the green new-number bar hidden.
    void Form_Load();

    // The keys and the clear labels, each followed by its words for the screen reader.
    void cmdDigit_Click(int index);
    void cmdOp_Click(int index);
    void lblClearAll_Click();
    void lblClearError_Click();
    void lblClearError2_Click();

    // The text boxes that serve as keys. "SHOW Entries" toggles by the tape's own visibility;
    // neither touches the menu checks.
    void txtShowEntries_Click();
    void txtClearEntries_Click();

    // The Options items set explicit states and never touch the text boxes.
    void mnuOptionsShowTape_Click();
    void mnuOptionsHideTape_Click();
    void mnuOptionsDateAndTimeOn_Click();
    void mnuOptionsDateAndTimeOff_Click();

    // A tick of the date-and-time timer: the label shows the current date and time.
    void tmrCalc_Timer();
    // Files, e&Xit, and closing the window: the whole program ends at once; nothing is asked.
    void mnuFilesExit_Click();

private:
    // Runs `press` of `control` on the engine, then keeps its words for the screen reader.
    template <typename Press>
    void announced(std::optional<ControlId> control, Press press);
    void setShowEntries(std::string_view text, std::string_view tip);
    // The date-and-time items' shared steps: the check marks, the timer, the label, the wish.
    void switchDateAndTime(bool on);

    Services& m_services;
    Calculator m_engine;
    WindowState m_window;
    unsigned m_presses = 0; // the presses made on the window, so that a press can tell whether another ran while it waited
};

} // namespace tavoro
