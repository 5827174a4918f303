// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader says after a press, in words a listener understands at once: the number
// being typed ("12"), the operator and the running total ("plus, 12"), the result ("equals 15"),
// "Error Cleared", "all cleared". Every front end speaks these same words, each through its own
// toolkit (an announcement on AT-SPI, a live region on Windows); this file only decides them, from
// what the calculator shows and holds before and after the press.

#include "calculatordesign.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavoro {

class Calculator;

// The calculator as a listener would need to know it at one moment, in plain values.
struct CalculatorView {
    std::string total{};         // the big display's caption
    std::string newNumber{};     // the new-number display's caption
    std::string op{};            // the pending-operator label's caption
    bool newNumberShown = false; // whether the new-number bar shows
    bool opShown = false;
    std::string entry{};         // what has been typed of the number being entered
    bool hasTotal = false;       // a total other than 0 stands: typed numbers show in the new-number display
    std::size_t tapeLines = 0;

    bool operator==(const CalculatorView&) const = default;
};

// Said after clear ALL.
inline constexpr std::string_view AllCleared = "all cleared";

// The words to say after a press of `control` that took the calculator from `before` to `after`.
// Empty when there is nothing to say: a key press that changed nothing was refused with a message
// box, which speaks for itself, or pressed the operator that was already pending; controls other
// than the keys and clear labels say nothing here.
std::string announcement(ControlId control, const CalculatorView& before, const CalculatorView& after);

// The engine's state as announcement() compares it.
CalculatorView viewOf(const Calculator& engine);

// One press of a control as a screen reader hears it. Made at the start of the window's press
// handler, before the engine call; words() once the window shows the engine's new state.
// `presses` counts the presses made on the window: this one adds itself.
class PressAnnouncement {
public:
    PressAnnouncement(const Calculator& engine, ControlId control, unsigned& presses);

    // announcement()'s words for the press. Empty also when another press ran while this one
    // waited for its message box to close: that press has spoken for itself, and this one's
    // "before" no longer holds.
    std::string words() const;

private:
    const Calculator& m_engine;
    ControlId m_control;
    CalculatorView m_before;
    const unsigned& m_presses;
    unsigned m_count; // presses made so far, this one included
};

} // namespace tavoro
