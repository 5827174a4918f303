#pragma once
// The calculator window's design as data: one row per control, in stacking order (a later row is
// drawn above an earlier one where they overlap). CalculatorWindow builds every widget from these
// rows in one loop; nothing about a control's look or place is written anywhere else.

#include "twips.h"

#include <QColor>
#include <Qt>

#include <span>

namespace tavoro {

enum class ControlKind {
    Button,     // a key: QPushButton painted in its face colour
    Label,      // a passive label: clicks do nothing
    ClickLabel, // a label that serves as a key
    TextBox,    // an editable single-line box that serves as a key
    ListBox,    // the tape
};

struct FontDesign {
    const char* family = nullptr; // nullptr: the window's own font
    double points = 0.0;
    bool underline = false;
};

struct ControlDesign {
    const char* name;    // the Qt object name, e.g. "cmdDigit(11)"
    ControlKind kind;
    const char* caption; // caption or text, blanks exact
    const char* tip;     // tool tip, nullptr for none
    FontDesign font;
    QRgb back;
    QRgb fore;
    Twips place;          // in the client area
    Qt::Alignment align;  // horizontal alignment of the text
    bool hidden;          // hidden by design
    int tab;              // place in the tab order
    bool autoSize = false; // the label sizes itself to its caption, keeping its left and top
};

// Every control of the window, in stacking order.
std::span<const ControlDesign> calculatorDesign();

// Design values of the window itself.
namespace design {
// Client area below the menu bar: 9705 x 7395 twips.
inline constexpr Twips ClientArea{0, 0, 9705, 7395};
// The date-time refresh interval.
inline constexpr int TimerIntervalMs = 1000;
} // namespace design

} // namespace tavoro
