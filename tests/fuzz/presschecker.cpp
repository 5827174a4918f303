// SPDX-License-Identifier: GPL-3.0-or-later
#include "presschecker.h"

#include "bindings.h"
#include "calculator.h"
#include "calculatorwindowmodel.h"
#include "numbertext.h"
#include "recordingservices.h"
#include "transcript.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

namespace tavoro::fuzz {

namespace {

using enum ControlId;

// Every bound control but Exit, and the letter that presses it in a hand-written input.
constexpr std::string_view Letters = "0123456789.+-X/=AceTSshWIt";
constexpr std::array<Press, 26> Keys{{
    {cmdDigit0, "0"},
    {cmdDigit1, "1"},
    {cmdDigit2, "2"},
    {cmdDigit3, "3"},
    {cmdDigit4, "4"},
    {cmdDigit5, "5"},
    {cmdDigit6, "6"},
    {cmdDigit7, "7"},
    {cmdDigit8, "8"},
    {cmdDigit9, "9"},
    {cmdDigit11, "."},
    {cmdOp0, "+"},
    {cmdOp1, "-"},
    {cmdOp2, "X"},
    {cmdOp3, "/"},
    {cmdOp5, "="},
    {lblClearAll, "CA"},
    {lblClearError, "CE"},
    {lblClearError2, "CE2"},
    {txtClearEntries, "txtClearEntries"},
    {txtShowEntries, "txtShowEntries"},
    {mnuOptionsShowTape, "mnuOptionsShowTape"},
    {mnuOptionsHideTape, "mnuOptionsHideTape"},
    {mnuOptionsDateAndTimeOn, "mnuOptionsDateAndTimeOn"},
    {mnuOptionsDateAndTimeOff, "mnuOptionsDateAndTimeOff"},
    {tmrCalc, "tmrCalc"},
}};
static_assert(Letters.size() == Keys.size());

bool isClearLabel(ControlId control)
{
    return control == lblClearAll || control == lblClearError || control == lblClearError2;
}

// The tape shows a pending "-" and "/" one place further right than "+" and "X"; a number taken
// after "=" has no operator in front of it.
std::string tapePrefixFor(const std::string& pendingOp)
{
    if (pendingOp.empty())
        return "  ";
    if (pendingOp == "-" || pendingOp == "/")
        return " " + pendingOp;
    if (pendingOp == "=")
        return "";
    return pendingOp;
}

double applied(const std::string& pendingOp, double total, double operand)
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

bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The leading decimal number of an entry: digits with at most one point.
std::string_view leadingNumber(std::string_view text)
{
    std::size_t end = 0;
    bool point = false;
    for (; end < text.size(); ++end) {
        const char c = text[end];
        if (c == '.' && !point)
            point = true;
        else if (c < '0' || c > '9')
            break;
    }
    return text.substr(0, end);
}

// The entry's value as the C library reads it: a second, independent reading of the same rule,
// correctly rounded, infinity beyond the double range. On a text of digits and points, strtod reads
// exactly the leading decimal number, and gives 0 for a lone point. The process runs in the "C"
// locale.
double referenceValue(const std::string& entry) { return std::strtod(entry.c_str(), nullptr); }

// Digits from the first non-zero one to the last one that counts: "0012.50" has 3, "1200" 4.
std::size_t significantDigits(std::string_view text)
{
    std::size_t count = 0;
    std::size_t zerosAfterPoint = 0; // count only once a non-zero digit follows them
    bool started = false;
    bool point = false;
    for (const char c : leadingNumber(text)) {
        if (c == '.')
            point = true;
        else if (!started && c == '0')
            continue;
        else if (point && c == '0')
            ++zerosAfterPoint;
        else {
            started = true;
            count += zerosAfterPoint + 1;
            zerosAfterPoint = 0;
        }
    }
    return count;
}

// "%.15G" as the C library prints it; negative zero shows as plain zero.
std::string referencePlainText(double value)
{
    if (value == 0.0)
        return "0";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

// Copies what the window shows apart from the tape, which is checked line by line against its own
// model. Assigning into an existing object reuses its strings' storage.
void copyShown(DisplayState& to, const DisplayState& from)
{
    to.lblDisplay = from.lblDisplay;
    to.lblNewNum = from.lblNewNum;
    to.lblOp = from.lblOp;
    to.lblNewNumVisible = from.lblNewNumVisible;
    to.lblOpVisible = from.lblOpVisible;
    to.lblSpacer1Visible = from.lblSpacer1Visible;
}

// Whether `display` shows what `wanted` holds, the tape aside.
bool shows(const DisplayState& display, const DisplayState& wanted)
{
    return display.lblDisplay == wanted.lblDisplay && display.lblNewNum == wanted.lblNewNum
        && display.lblOp == wanted.lblOp && display.lblNewNumVisible == wanted.lblNewNumVisible
        && display.lblOpVisible == wanted.lblOpVisible
        && display.lblSpacer1Visible == wanted.lblSpacer1Visible;
}

class Checker {
public:
    Checker()
    {
        m_model.Form_Load();
        m_services.dateTime = "before any tick";
    }

    std::optional<std::string> run(std::span<const unsigned char> bytes)
    {
        m_keys.reserve(bytes.size());
        for (std::size_t i = 0; i < bytes.size() && !m_failure; ++i) {
            const Step step = stepForByte(bytes[i]);
            for (int n = 0; n < step.times && !m_failure; ++n) {
                m_keys.push_back(step.press.name);
                pressAndCheck(step.press);
            }
        }
        if (!m_failure) {
            expect(m_calculator.display().lstEntered == m_tape,
                   "an earlier tape line changed: the tape may only gain lines or be emptied");
            checkTranscriptNumbers();
        }
        if (!m_failure)
            return std::nullopt;
        return *m_failure + "\n  keys: " + keyList() + "\n  state: "
            + transcriptLine("", m_services.beeps, nullptr, m_calculator);
    }

private:
    // The keys pressed, a run of one key shortened to "9*308".
    std::string keyList() const
    {
        std::string list;
        for (std::size_t i = 0; i < m_keys.size();) {
            std::size_t run = 1;
            while (i + run < m_keys.size() && m_keys[i + run] == m_keys[i])
                ++run;
            list += (list.empty() ? "" : " ") + std::string(m_keys[i]);
            if (run > 3)
                list += "*" + std::to_string(run);
            else
                run = 1;
            i += run;
        }
        return list;
    }

    void expect(bool holds, std::string_view what)
    {
        if (!holds && !m_failure)
            m_failure = std::string(what);
    }

    void pressAndCheck(const Press& press)
    {
        // Kept in members, so that copying them reuses their storage: a fuzzer spends much of its
        // time in the allocator otherwise.
        m_before = m_calculator.state();
        copyShown(m_shownBefore, m_calculator.display());
        const CalculatorState& before = m_before;
        const DisplayState& shownBefore = m_shownBefore;
        const std::size_t tapeBefore = m_calculator.display().lstEntered.size();

        const unsigned wordsBefore = m_model.view().window.announcements;
        m_services.reset();
        if (press.control == tmrCalc)
            m_services.dateTime = "tick " + std::to_string(++m_ticks);
        pressOn(m_model, press);

        const CalculatorState& after = m_calculator.state();
        const DisplayState& display = m_calculator.display();
        const std::string* message = m_services.messages.empty() ? nullptr : &m_services.messages.back();

        expect(m_services.messages.size() <= 1, "one press showed more than one message");
        if (isOperatorKey(press.control))
            expect(m_services.beeps == 1, "an operator press must beep exactly once");
        else
            expect(m_services.beeps == 0, "only operator presses beep");
        if (message) {
            expect(after == before && shows(display, shownBefore) && display.lstEntered.size() == tapeBefore,
                   "a press that showed a message changed the calculator");
        }

        if (isDigitKey(press.control))
            checkDigit(press, before, shownBefore, message);
        else if (isOperatorKey(press.control))
            checkOperator(press, before, shownBefore, message);
        switch (press.control) {
        case lblClearAll: {
            expect(!message, "clear ALL showed a message");
            CalculatorState& wanted = m_wanted = before;
            wanted.dblNewNum = 0.0;
            wanted.dblTotal = 0.0;
            wanted.strPendingOp.clear();
            wanted.strEntry.clear();
            DisplayState blank;
            blank.lblDisplay.clear();
            blank.lblOp.clear();
            blank.lblNewNumVisible = blank.lblOpVisible = blank.lblSpacer1Visible = false;
            expect(after == wanted && shows(display, blank),
                   "clear ALL must end the calculation, blank the displays and keep the tape texts");
            m_tape.push_back(before.strTapeRule);
            break;
        }
        case lblClearError:
        case lblClearError2: {
            expect(!message, "clear last entry showed a message");
            CalculatorState& wanted = m_wanted = before;
            wanted.dblNewNum = 0.0;
            wanted.strEntry.clear();
            wanted.strPendingOp.clear();
            DisplayState& shown = m_wantedShown = shownBefore;
            shown.lblNewNum = text::ErrorCleared;
            shown.lblOp.clear();
            expect(after == wanted && shows(display, shown),
                   "clear last entry must drop the entry and the operator and keep the total");
            break;
        }
        case txtClearEntries:
            expect(!message && after == before && shows(display, shownBefore),
                   "emptying the tape changed more than the tape");
            m_tape.clear();
            break;
        case mnuOptionsDateAndTimeOn:
        case mnuOptionsDateAndTimeOff: {
            // The engine keeps the wish for the date and time, and nothing else changes.
            CalculatorState& wanted = m_wanted = before;
            wanted.blnDateAndTime = press.control == mnuOptionsDateAndTimeOn ? -1 : 0;
            expect(!message && after == wanted && shows(display, shownBefore),
                   "a date-and-time option changed the calculator");
            break;
        }
        case txtShowEntries:
        case mnuOptionsShowTape:
        case mnuOptionsHideTape:
        case tmrCalc:
            expect(!message && after == before && shows(display, shownBefore),
                   "an option or a tick of the timer changed the calculator");
            break;
        default:
            break;
        }

        checkTape(tapeBefore);
        checkInvariants(before);
        checkWindow(press);
        checkWords(press, wordsBefore, before, shownBefore, tapeBefore, message);
    }

    // The window's own state agrees with the last option chosen: the tape shows as the last of
    // Show Tape, Hide Tape and "SHOW Entries" left it, the "CLEAR Entries" box and the box's text
    // as the last "SHOW Entries" left them, the check marks as the last menu item set them, and
    // the date and time as the last date-and-time item and the last tick left it.
    void checkWindow(const Press& press)
    {
        const WindowState& w = m_model.view().window;
        switch (press.control) {
        case txtShowEntries:
            expect(w.tapeShown != m_tapeShown, "\"SHOW Entries\" must show a hidden tape and hide a shown one");
            m_tapeShown = m_clearBoxShown = w.tapeShown;
            break;
        case mnuOptionsShowTape:
        case mnuOptionsHideTape:
            m_tapeShown = press.control == mnuOptionsShowTape;
            m_tapeItem = press.control;
            break;
        case mnuOptionsDateAndTimeOn:
        case mnuOptionsDateAndTimeOff:
            m_dateAndTimeOn = press.control == mnuOptionsDateAndTimeOn;
            break;
        case tmrCalc:
            m_dateAndTime = m_services.dateTime;
            break;
        default:
            break;
        }
        expect(w.tapeShown == m_tapeShown, "the tape shows otherwise than the last tape option left it");
        expect(w.clearEntriesShown == m_clearBoxShown,
               "the \"CLEAR Entries\" box shows otherwise than the last \"SHOW Entries\" left it");
        const ControlDesign& box = controlDesign(txtShowEntries);
        const bool boxSet = w.showEntriesSet != 0;
        expect(w.showEntriesText == (!boxSet ? box.caption : m_clearBoxShown ? text::HideEntries : text::ShowEntries)
                   && w.showEntriesTip == (!boxSet ? box.tip : m_clearBoxShown ? text::HideEntriesTip : text::ShowEntriesTip),
               "the \"SHOW Entries\" box does not say what a click on it does");
        expect(w.showTapeChecked == (m_tapeItem == mnuOptionsShowTape) && w.hideTapeChecked == (m_tapeItem == mnuOptionsHideTape),
               "the tape's check marks are not those of the last tape item chosen");
        expect(w.dateAndTimeOnChecked == m_dateAndTimeOn && w.dateAndTimeOffChecked == !m_dateAndTimeOn
                   && w.dateAndTimeShown == m_dateAndTimeOn && w.timerEnabled == m_dateAndTimeOn
                   && (m_calculator.state().blnDateAndTime != 0) == m_dateAndTimeOn,
               "the date and time, its timer and its check marks are not as the last date-and-time item left them");
        expect(w.dateAndTime == m_dateAndTime, "the date and time is not the last tick's");
        expect(!w.ended, "a press other than Exit ended the program");
    }

    // Words for the screen reader come only after a key or a clear label, one set for each press
    // that changed the calculator, and they are that press's own.
    void checkWords(const Press& press, unsigned wordsBefore, const CalculatorState& before,
                    const DisplayState& shownBefore, std::size_t tapeBefore, const std::string* message)
    {
        const WindowState& w = m_model.view().window;
        const CalculatorState& after = m_calculator.state();
        const DisplayState& display = m_calculator.display();
        const unsigned said = w.announcements - wordsBefore;
        const bool changed = !(after == before && shows(display, shownBefore) && display.lstEntered.size() == tapeBefore);
        if (!isKey(press.control) && !isClearLabel(press.control)) {
            expect(said == 0, "a control other than a key or a clear label has words");
            return;
        }
        if (isKey(press.control) && (message != nullptr || !changed)) {
            expect(said == 0, "a refused key, or one that changed nothing, has words");
            return;
        }
        expect(said == 1, "a key or a clear label that did its work must have words once");
        if (said != 1)
            return;
        const std::string& words = w.announcement;
        if (press.control == lblClearAll) {
            expect(words == "all cleared", "clear ALL must say \"all cleared\"");
        } else if (isClearLabel(press.control)) {
            expect(words == text::ErrorCleared, "clear last entry must say what it shows");
        } else if (isDigitKey(press.control)) {
            expect(words == (after.dblTotal != 0.0 ? display.lblNewNum : display.lblDisplay),
                   "a digit must say the number typed where it shows");
        } else {
            const std::string_view word = controlDesign(press.control).spoken;
            const bool computed = after.strEntry != before.strEntry || display.lstEntered.size() != tapeBefore
                || display.lblOpVisible != shownBefore.lblOpVisible;
            expect(words.starts_with(word) && (!computed || words.ends_with(" " + display.lblDisplay)),
                   "an operator must say its own word, and after a computing press the total");
        }
    }


    void checkDigit(const Press& press, const CalculatorState& before, const DisplayState& shownBefore,
                    const std::string* message)
    {
        const char caption = press.name.front();
        const CalculatorState& after = m_calculator.state();
        const DisplayState& display = m_calculator.display();

        if (before.dblTotal != 0.0 && shownBefore.lblOp.empty() && !shownBefore.lblDisplay.empty()) {
            expect(message && *message == text::OperatorFirst,
                   "a digit over a standing total with no operator chosen must ask for an operator");
            return;
        }
        // Once a second point has ended the entry's number, further keys cannot change its value;
        // the entry's value was checked when it was typed. Skipping the reading keeps very long
        // entries cheap.
        const std::size_t firstPoint = before.strEntry.find('.');
        const bool numberEnded = firstPoint != std::string::npos
            && before.strEntry.find('.', firstPoint + 1) != std::string::npos;
        double value = before.dblNewNum;
        if (!numberEnded) {
            m_scratch.assign(before.strEntry).push_back(caption);
            value = referenceValue(m_scratch);
        }
        if (!std::isfinite(value)) {
            expect(message && *message == text::Overflow,
                   "a digit that takes the entry beyond the double range must be refused as an overflow");
            return;
        }
        expect(!message, "an accepted digit showed a message");
        expect(after.strEntry.size() == before.strEntry.size() + 1 && after.strEntry.back() == caption
                   && after.strEntry.starts_with(before.strEntry),
               "an accepted digit must be appended to the entry");
        expect(sameBits(after.dblNewNum, value),
               "dblNewNum must be the correctly rounded value of the entry");
        if (!numberEnded)
            expect(after.dblNewNum == valueOfText(after.strEntry), "dblNewNum must be the value of strEntry");
        expect(sameBits(after.dblTotal, before.dblTotal) && after.strPendingOp == before.strPendingOp
                   && after.strTapeLine == before.strTapeLine && after.strTapeRule == before.strTapeRule,
               "typing a digit changed the total, the pending operator or the tape texts");

        const std::string shown = plainText(after.dblNewNum);
        DisplayState& wanted = m_wantedShown = shownBefore;
        (before.dblTotal == 0.0 ? wanted.lblDisplay : wanted.lblNewNum) = shown;
        expect(shows(display, wanted),
               "the entry must show on the big display while there is no total, else on the new-number bar");

        // A number typed with at most 15 significant digits is shown exactly as its value.
        if (!numberEnded && (after.dblNewNum == 0.0 || std::isnormal(after.dblNewNum))
            && (after.strEntry.size() <= 15 || significantDigits(after.strEntry) <= 15)) {
            expect(std::strtod(shown.c_str(), nullptr) == after.dblNewNum,
                   "a typed number of at most 15 digits is shown as a different number");
        }
    }

    void checkOperator(const Press& press, const CalculatorState& before, const DisplayState& shownBefore,
                       const std::string* message)
    {
        const std::string pressed(press.name);
        const CalculatorState& after = m_calculator.state();
        const DisplayState& display = m_calculator.display();

        if (before.strEntry.empty() && before.dblTotal == 0.0) {
            expect(message && *message == text::NumberFirst,
                   "with nothing typed and no total a press must be refused");
            return;
        }
        if (before.strPendingOp == shownBefore.lblOp && before.dblNewNum == 0.0) {
            expect(!message, "a replace press showed a message");
            CalculatorState& wanted = m_wanted = before;
            wanted.strPendingOp = pressed;
            DisplayState& shown = m_wantedShown = shownBefore;
            shown.lblOp = pressed;
            expect(after == wanted && shows(display, shown),
                   "an operator with no new number must only take the pending operator's place");
            return;
        }

        // With no total and nothing to apply, the number typed starts a new calculation.
        const bool firstNumber
            = before.dblTotal == 0.0 && (before.strPendingOp.empty() || before.strPendingOp == "=");
        const double result = firstNumber ? before.dblNewNum
                                          : applied(before.strPendingOp, before.dblTotal, before.dblNewNum);
        if (!std::isfinite(result)) {
            expect(message && *message == text::Overflow,
                   "a result beyond the double range must be refused as an overflow");
            return;
        }
        expect(!message, "a computing press showed a message");
        expect(before.strPendingOp != "/" || before.dblNewNum != 0.0,
               "a division by zero reached the arithmetic");
        expect(sameBits(after.dblTotal, result),
               "the total must be the pending operator applied to the old total and the new number");
        expect(after.strEntry.empty() && after.dblNewNum == 0.0 && after.strPendingOp == pressed,
               "a computing press must end the entry and leave the pressed operator pending");

        const bool equals = pressed == "=";
        expect(display.lblNewNum.empty() && display.lblOp == (equals ? "" : pressed)
                   && display.lblNewNumVisible == !equals && display.lblOpVisible == !equals
                   && display.lblSpacer1Visible == !equals,
               "after = the new-number bar must be hidden and empty, after another operator shown with it");

        const std::string prefix = firstNumber ? "  " : tapePrefixFor(before.strPendingOp);
        expect(after.strTapeLine == prefix + signedText(before.dblNewNum),
               "the tape line must be the pending operator's prefix and the number typed");
        if (equals) {
            expect(after.strTapeRule == text::TapeRule, "= must set the tape rule");
            m_tape.push_back(after.strTapeLine);
            m_tape.push_back(std::string(text::TapeRule));
            m_tape.push_back("= " + signedText(after.dblTotal));
        } else {
            expect(after.strTapeRule == before.strTapeRule, "only = may set the tape rule");
            if (!prefix.empty())
                m_tape.push_back(after.strTapeLine);
        }
    }

    // The tape holds exactly the lines the presses wrote. Lines before the press are compared in
    // full only while the tape is short and once at the end of the run, to keep long runs fast.
    void checkTape(std::size_t sizeBefore)
    {
        const std::vector<std::string>& tape = m_calculator.display().lstEntered;
        expect(tape.size() == m_tape.size(), "the tape gained or lost lines that the press does not write");
        if (tape.size() != m_tape.size())
            return;
        const std::size_t from = tape.size() <= 16 ? 0 : std::min(sizeBefore, tape.size() - 1);
        for (std::size_t i = from; i < tape.size(); ++i)
            expect(tape[i] == m_tape[i], "a tape line differs from the line the press must write");
    }

    // What holds between any two presses. (The entry and its value are checked by the presses
    // that change them.) The number texts are checked only for numbers the press changed.
    void checkInvariants(const CalculatorState& before)
    {
        const CalculatorState& s = m_calculator.state();
        const DisplayState& d = m_calculator.display();

        expect(std::isfinite(s.dblTotal) && std::isfinite(s.dblNewNum),
               "the total or the new number is not finite");
        expect(s.strPendingOp.empty() || s.strPendingOp == "+" || s.strPendingOp == "-"
                   || s.strPendingOp == "X" || s.strPendingOp == "/" || s.strPendingOp == "=",
               "strPendingOp is not empty or an operator caption");
        expect(s.strTapeRule.empty() || s.strTapeRule == text::TapeRule,
               "the tape rule is neither empty nor the rule");
        // The operator label mirrors the pending operator, except for the design blank before the
        // first operator and the hidden empty label after "=". A pending "/" therefore always
        // faces a "/" label, so a zero divisor makes a replace press and never reaches a division.
        expect(d.lblOp == s.strPendingOp || (d.lblOp == " " && s.strPendingOp.empty())
                   || (d.lblOp.empty() && s.strPendingOp == "="),
               "the operator label and the pending operator disagree");
        expect(d.lblNewNumVisible == d.lblOpVisible && d.lblOpVisible == d.lblSpacer1Visible,
               "the new-number bar is partly shown");
        expect(s.dblTotal == 0.0 || d.lblDisplay == plainText(s.dblTotal),
               "while a total stands the big display must show it");
        if (!sameBits(s.dblTotal, before.dblTotal))
            checkNumberText(s.dblTotal);
        if (!sameBits(s.dblNewNum, before.dblNewNum))
            checkNumberText(s.dblNewNum);
    }

    void checkNumberText(double value)
    {
        // The check depends on the value alone, and typing a long number passes through the same
        // values in run after run, so each value is checked once per process. The set is emptied
        // when it grows large, to keep a long fuzzing run's memory bounded.
        static std::unordered_set<std::uint64_t> checked;
        if (checked.size() >= 1u << 20)
            checked.clear();
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
        if (checked.contains(bits))
            return;
        const std::string plain = plainText(value);
        expect(plain == referencePlainText(value), "the plain text of a number differs from %.15G");
        expect(signedText(value) == (value < 0.0 ? "-" : " ") + plainText(std::fabs(value)),
               "the signed text must be a sign position and the plain text of the magnitude");
        // Read back, the text gives a number with the same text. Only the largest doubles round
        // up, at 15 digits, to a text beyond the double range.
        const double back = std::strtod(plain.c_str(), nullptr);
        expect(std::isfinite(back) ? plainText(back) == plain : std::fabs(value) > 1.797693134862315e308,
               "a number's plain text does not read back to the same text");
        if (!m_failure)
            checked.insert(bits);
    }

    // The key runner's JSON must carry the exact doubles, so that a replayed bug report is exact.
    void checkTranscriptNumbers()
    {
        const std::string line = transcriptLine("", 0, nullptr, m_calculator);
        const auto member = [&line](std::string_view name) {
            const std::size_t at = line.find(name);
            return at == std::string::npos ? std::nan("")
                                           : std::strtod(line.c_str() + at + name.size(), nullptr);
        };
        expect(sameBits(member("\"dblTotal\":"), m_calculator.state().dblTotal)
                   && sameBits(member("\"dblNewNum\":"), m_calculator.state().dblNewNum),
               "the transcript's numbers do not read back to the engine's doubles");
    }

    RecordingServices m_services;
    CalculatorWindowModel m_model{m_services};
    const Calculator& m_calculator = m_model.engine();
    // The window's state as the options chosen so far must have left it.
    bool m_tapeShown = false;
    bool m_clearBoxShown = false;
    std::optional<ControlId> m_tapeItem; // the last of Show Tape and Hide Tape chosen
    bool m_dateAndTimeOn = false;
    std::string m_dateAndTime = controlDesign(lblDateAndTime).caption;
    unsigned m_ticks = 0;
    CalculatorState m_before;     // the state before the press being checked
    DisplayState m_shownBefore;   // and what the window showed, the tape aside
    CalculatorState m_wanted;     // what a press must leave
    DisplayState m_wantedShown;   // and show
    std::string m_scratch;
    std::vector<std::string> m_tape; // the lines the presses so far must have written
    std::vector<std::string_view> m_keys; // the presses so far, as tavoro-keys names them
    std::optional<std::string> m_failure;
};

} // namespace

Step stepForByte(unsigned char byte)
{
    if (const std::size_t at = Letters.find(static_cast<char>(byte)); at != std::string_view::npos)
        return {Keys[at], 1};
    if (byte >= 0xF6)
        return {Keys[byte - 0xF6], 32};
    return {Keys[byte % Keys.size()], 1};
}

void pressOn(CalculatorWindowModel& model, const Press& press)
{
    const auto bound = bindings();
    const auto binding = std::ranges::find(bound, press.control, &Binding::control);
    if (binding == bound.end())
        std::abort(); // every press of the fuzzer is bound: a binding table that lost one is broken
    run(*binding, model);
}

std::optional<std::string> checkPresses(std::span<const unsigned char> bytes)
{
    return Checker().run(bytes);
}

} // namespace tavoro::fuzz
