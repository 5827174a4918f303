// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator.h"

#include "numbertext.h"

#include <cmath>

namespace tavoro {

namespace {

constexpr std::array<std::string_view, 12> DigitCaptions{"0", "1", "2", "3", "4", "5",
                                                         "6", "7", "8", "9", "", "."};
constexpr std::array<std::string_view, 6> OperatorCaptions{"+", "-", "X", "/", "", "="};

// The prefix that a pending operator puts in front of a number on the tape. "-" and "/" sit one
// place further right than "+" and "X"; after "=" the line has no operator at all.
std::string tapePrefix(const std::string& pendingOp)
{
    if (pendingOp.empty())
        return "  ";
    if (pendingOp == "-")
        return " -";
    if (pendingOp == "/")
        return " /";
    if (pendingOp == "=")
        return "";
    return pendingOp;
}

// `total` with the pending operator applied to `operand`; "" and "=" apply nothing.
double applyPending(const std::string& pendingOp, double total, double operand)
{
    if (pendingOp == "+")
        return total + operand;
    if (pendingOp == "-")
        return total - operand;
    if (pendingOp == "X")
        return total * operand;
    if (pendingOp == "/")
        return total / operand;
    return total;
}

} // namespace

std::optional<std::string_view> digitCaption(int index)
{
    if (index < 0 || index >= static_cast<int>(DigitCaptions.size()) || DigitCaptions[index].empty())
        return std::nullopt;
    return DigitCaptions[index];
}

std::optional<std::string_view> operatorCaption(int index)
{
    if (index < 0 || index >= static_cast<int>(OperatorCaptions.size()) || OperatorCaptions[index].empty())
        return std::nullopt;
    return OperatorCaptions[index];
}

Calculator::Calculator(Services& services)
    : m_services(services)
{
}

std::string Calculator::Digits(const std::string& strNumber)
{
    m_state.strEntry += strNumber;
    return m_state.strEntry;
}

void Calculator::cmdDigit_Click(int index)
{
    const auto caption = digitCaption(index);
    if (!caption)
        return;

    // Once a total stands and no operator has been chosen (after "=" or after clear last entry),
    // a new number would have nothing to combine with.
    if (m_state.dblTotal != 0.0 && m_display.lblOp.empty() && !m_display.lblDisplay.empty()) {
        m_services.messageBox(std::string(text::OperatorFirst));
        return;
    }

    // A number beyond the double range could never be shown or computed with: refuse the key
    // rather than let infinity into the state.
    const std::string pressed(*caption);
    const double value = valueOfText(m_state.strEntry + pressed);
    if (!std::isfinite(value)) {
        m_services.messageBox(std::string(text::Overflow));
        return;
    }

    Digits(pressed);
    m_state.dblNewNum = value; // the value of the whole entry, worked out above
    if (m_state.dblTotal == 0.0)
        m_display.lblDisplay = plainText(m_state.dblNewNum);
    else
        m_display.lblNewNum = plainText(m_state.dblNewNum);
}

void Calculator::cmdOp_Click(int index)
{
    const auto caption = operatorCaption(index);
    if (!caption)
        return;
    const std::string pressed(*caption);

    m_services.beep();

    // Refused press: nothing typed and no total.
    if (m_state.strEntry.empty() && m_state.dblTotal == 0.0) {
        m_services.messageBox(std::string(text::NumberFirst));
        return;
    }

    // Replace press: an operator straight after another (no new number) only takes its place.
    if (m_state.strPendingOp == m_display.lblOp && m_state.dblNewNum == 0.0) {
        m_display.lblOp = pressed;
        m_state.strPendingOp = m_display.lblOp;
        return;
    }

    // Computing press. The result is worked out before anything changes, so that an overflow
    // can be refused with the state exactly as it was.
    //
    // With no total (exactly 0) and no operator to apply (none yet, or "=" after a result), the
    // number typed starts a new calculation: it becomes the total and goes on the tape as a first
    // number. Otherwise the pending operator is applied left to right.
    const bool firstNumber = m_state.dblTotal == 0.0
        && (m_state.strPendingOp.empty() || m_state.strPendingOp == "=");
    const double total = firstNumber
        ? m_state.dblNewNum
        : applyPending(m_state.strPendingOp, m_state.dblTotal, m_state.dblNewNum);
    if (!std::isfinite(total)) {
        m_services.messageBox(std::string(text::Overflow));
        return;
    }

    if (pressed != "=") {
        m_display.lblNewNumVisible = true;
        m_display.lblSpacer1Visible = true;
        m_display.lblOp = pressed;
        m_display.lblOpVisible = true;
    } else {
        m_display.lblNewNumVisible = false;
        m_display.lblSpacer1Visible = false;
        m_display.lblOp.clear();
        m_display.lblOpVisible = false;
    }
    m_display.lblNewNum.clear();

    m_state.dblTotal = total;

    const std::string prefix = firstNumber ? "  " : tapePrefix(m_state.strPendingOp);
    m_state.strTapeLine = prefix + signedText(m_state.dblNewNum);

    if (pressed == "=") {
        m_state.strTapeRule = text::TapeRule;
        m_display.lstEntered.push_back(m_state.strTapeLine);
        m_display.lstEntered.push_back(m_state.strTapeRule);
        m_display.lstEntered.push_back("= " + signedText(m_state.dblTotal));
    } else if (!prefix.empty()) {
        m_display.lstEntered.push_back(m_state.strTapeLine);
    }

    m_display.lblDisplay = plainText(m_state.dblTotal);

    m_state.strPendingOp = pressed;
    m_state.dblNewNum = 0.0;
    m_state.strEntry.clear();
}

void Calculator::lblClearAll_Click()
{
    m_display.lblOp.clear();
    m_display.lblDisplay.clear();
    m_display.lblNewNum.clear();
    m_display.lblNewNumVisible = false;
    m_display.lblOpVisible = false;
    m_display.lblSpacer1Visible = false;
    // Before the first "=" of the run the rule is still empty, and an empty line is written.
    m_display.lstEntered.push_back(m_state.strTapeRule);
    m_state.dblNewNum = 0.0;
    m_state.dblTotal = 0.0;
    m_state.strPendingOp.clear();
    m_state.strEntry.clear();
}

void Calculator::lblClearError_Click() { clearLastEntry(); }

void Calculator::lblClearError2_Click() { clearLastEntry(); }

void Calculator::clearLastEntry()
{
    m_display.lblNewNum = text::ErrorCleared;
    m_display.lblOp.clear();
    m_state.dblNewNum = 0.0;
    m_state.strEntry.clear();
    m_state.strPendingOp.clear();
}

void Calculator::hideNewNumberBar()
{
    m_display.lblNewNumVisible = false;
    m_display.lblOpVisible = false;
    m_display.lblSpacer1Visible = false;
}

void Calculator::clearTape() { m_display.lstEntered.clear(); }

void Calculator::setDateAndTime(bool wanted) { m_state.blnDateAndTime = wanted ? -1 : 0; }

} // namespace tavoro
