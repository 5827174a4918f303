// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator engine: an adding machine that works strictly left to right.
//
// `Calculator` owns the calculator's variables and the display items that the window shows
// (the captions of the two displays and of the operator label, which of the new-number bar's
// labels are shown, and the tape). The handlers mirror the window's click handlers; they take the
// pressed element's index and work with that element's caption. The engine never draws: the
// window copies `display()` into its widgets after every call. It reaches the outside world only
// through `Services` (beep, message box), so it runs and is tested without any window.
//
// Plain C++ only: this library must never depend on Qt.

#include "services.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavoro {

// Texts the engine shows or writes.
namespace text {
inline constexpr std::string_view OperatorFirst = "You must enter an OPERATOR before entering a Number";
inline constexpr std::string_view NumberFirst = "You must Enter a Number FIRST!";
inline constexpr std::string_view Overflow = "Overflow: the number is too large.";
inline constexpr std::string_view ErrorCleared = "Error Cleared";
inline constexpr std::string_view TapeRule = "-----------------------"; // 23 hyphens
} // namespace text

// The element indices of the two button arrays. There is no digit 10 and no operator 4.
inline constexpr std::array<int, 11> DigitIndices{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11};
inline constexpr std::array<int, 5> OperatorIndices{0, 1, 2, 3, 5};

// The caption of a `cmdDigit` element ("0".."9", "." for 11), or nothing for an index that has
// no element.
std::optional<std::string_view> digitCaption(int index);
// The caption of a `cmdOp` element: 0 "+", 1 "-", 2 "X", 3 "/", 5 "=".
std::optional<std::string_view> operatorCaption(int index);

struct CalculatorState {
    double dblNewNum = 0.0;         // value of strEntry; 0 also when nothing is typed
    double dblTotal = 0.0;          // running total; exactly 0 counts as no total
    std::string strEntry;           // the digit and point captions pressed, in order
    std::string strPendingOp;       // "", "+", "-", "X", "/" or "="
    std::string strTapeLine;        // the last tape line built
    std::string strTapeRule;        // empty until the first "=", then the rule
    std::int16_t blnDateAndTime = 0; // -1 when the date-and-time display is wanted, else 0

    bool operator==(const CalculatorState&) const = default;
};

struct DisplayState {
    std::string lblDisplay = "0"; // the big display
    std::string lblNewNum;        // the number being typed once a total exists
    std::string lblOp = " ";      // the pending operator; a single blank by design
    // The green new-number bar is shown by design; the window's load step hides it.
    bool lblNewNumVisible = true;
    bool lblOpVisible = true;
    bool lblSpacer1Visible = true;
    std::vector<std::string> lstEntered; // the tape, oldest line first

    bool operator==(const DisplayState&) const = default;
};

class Calculator {
public:
    explicit Calculator(Services& services);

    const CalculatorState& state() const { return m_state; }
    const DisplayState& display() const { return m_display; }

    // Appends `strNumber` to the entry and returns the new entry.
    std::string Digits(const std::string& strNumber);

    void cmdDigit_Click(int index);
    void cmdOp_Click(int index);
    void lblClearAll_Click();
    void lblClearError_Click();
    void lblClearError2_Click();

    // The window's load step: hide lblNewNum, lblOp and lblSpacer(1).
    void hideNewNumberBar();
    // Remove every line of the tape; nothing else changes.
    void clearTape();
    // Record whether the date-and-time display is wanted.
    void setDateAndTime(bool wanted);

private:
    void clearLastEntry();

    Services& m_services;
    CalculatorState m_state;
    DisplayState m_display;
};

} // namespace tavoro
