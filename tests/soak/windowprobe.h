// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a real calculator window the way its user sees it: the captions and visibility of the
// display labels, the tape's lines, the text boxes, the menu checks. The soak and the bad-input
// tests compare what the window shows with what its engine holds, and a snapshot before some
// input with one after it.

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstddef>

class QWidget;

namespace tavoro {

class CalculatorWindow;

// Everything a person can see of the window (the clock label's text aside, which the timer
// changes on its own).
struct WindowView {
    QString lblDisplay;
    QString lblNewNum;
    QString lblOp;
    bool lblNewNumShown = false;
    bool lblOpShown = false;
    bool lblSpacer1Shown = false;
    QStringList tape;
    bool tapeShown = false;
    bool txtClearEntriesShown = false;
    QString txtShowEntries;
    QString txtClearEntries;
    bool showTapeChecked = false;
    bool hideTapeChecked = false;
    bool dateTimeOnChecked = false;
    bool dateTimeOffChecked = false;
    bool dateTimeShown = false;
    QSize windowSize;

    bool operator==(const WindowView&) const = default;
};

WindowView viewOf(CalculatorWindow& window);

// How the window's display labels and tape differ from its engine's display items: empty when
// they agree. Comparing the whole tape takes time in its length; otherwise only its line count
// and last line are compared.
QString disagreement(CalculatorWindow& window, bool wholeTape);

// Types `text` into `widget` one character at a time, as key presses carrying that character:
// any Unicode text, which QTest::keyClicks (Latin-1 only) cannot type.
void typeInto(QWidget* widget, const QString& text);

// The bytes the program holds on its heap: what the allocator counts as in use (under
// AddressSanitizer its own count, since its quarantine keeps freed memory resident).
std::size_t heapInUse();
// The resident set size from /proc/self/status, in KiB, or 0 when it cannot be read.
long residentKiB();

} // namespace tavoro
