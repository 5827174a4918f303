// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator window's design as toolkit-free data: one row per control, in stacking order (a
// later row is drawn above an earlier one where they overlap), the menu tree, the names screen
// readers speak and the texts the tape options show. Each front end (Qt, Win32) builds its
// controls from these rows in one loop; nothing about a control's look or place is written
// anywhere else.

#include "colours.h"
#include "units.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavoro {

// Who is who in the calculator window: every control, in the design table's order (a control's
// identity is its row's place), then the menu items and the timer. Code knows a control by its
// identity; the design names ("cmdDigit(11)", "lblClearAll") are data of the rows, for tests,
// logs and automation.
enum class ControlId : std::uint8_t {
    cmdDigit0, cmdDigit1, cmdDigit2, cmdDigit3, cmdDigit4, cmdDigit5, cmdDigit6, cmdDigit7, cmdDigit8, cmdDigit9,
    cmdDigit11, // the decimal point
    cmdOp0, cmdOp1, cmdOp2, cmdOp3, cmdOp5, // + - X / =
    lblSpacer0, lblDisplay, lblTotal, lblSpacer1, lblNewNum, lblOp,
    lblClearError, lblClearError2, lblClearAll,
    lstEntered, txtShowEntries, txtClearEntries, lblDateAndTime,
    // The menu items, in menu order.
    mnuFilesExit, mnuOptionsShowTape, mnuOptionsHideTape, mnuOptionsDateAndTimeOn, mnuOptionsDateAndTimeOff,
    tmrCalc,
};
// The design table's rows, and every identity.
inline constexpr std::size_t DesignRowCount = static_cast<std::size_t>(ControlId::lblDateAndTime) + 1;
inline constexpr std::size_t ControlIdCount = static_cast<std::size_t>(ControlId::tmrCalc) + 1;
inline constexpr const char* TimerName = "tmrCalc";

// The elements of the two key arrays: cmdDigit (digits and point) and cmdOp (the operators).
constexpr bool isDigitKey(ControlId id) { return id <= ControlId::cmdDigit11; }
constexpr bool isOperatorKey(ControlId id) { return id >= ControlId::cmdOp0 && id <= ControlId::cmdOp5; }
constexpr bool isKey(ControlId id) { return id <= ControlId::cmdOp5; }

enum class ControlKind {
    Button,     // a key: a push button painted in its face colour
    Label,      // a passive label: clicks do nothing
    ClickLabel, // a label that serves as a key
    TextBox,    // an editable single-line box that serves as a key
    ListBox,    // the tape
};

// Horizontal alignment of a control's text.
enum class Align { Left, Centre, Right };

struct FontDesign {
    const char* family = nullptr; // nullptr: the window's own font
    double points = 0.0;
    bool underline = false;
};

struct ControlDesign {
    ControlId id;
    const char* name;    // the control's design name, e.g. "cmdDigit(11)"
    int element;         // its index in its key array (11 for "cmdDigit(11)"), -1 for none
    ControlKind kind;
    const char* caption; // caption or text, blanks exact
    const char* tip;     // tool tip, nullptr for none
    // The name a screen reader speaks: words for the keys whose captions are symbols ("plus",
    // "decimal point"), the clear labels ("clear last entry") and the displays ("total"); a digit
    // key is named by its digit. nullptr for the text boxes, whose names follow their tool tips,
    // and for decoration.
    const char* spoken;
    FontDesign font;     // every design font is bold (weight 700), ANSI character set
    Rgb back;
    Rgb fore;
    Twips place;           // in the client area
    Align align;           // horizontal alignment of the text
    bool hidden;           // hidden by design
    int tab;               // place in the tab order
    bool autoSize = false; // the label sizes itself to its caption, keeping its left and top
    // A display: a text too wide for the label at the design font is drawn at the largest size
    // that fits (fittingPointSize()), so that a number is never shown cut off.
    bool shrinkToFit = false;
};

// Every control of the window, in stacking order.
std::span<const ControlDesign> calculatorDesign();

// The row of a control (an identity below DesignRowCount).
const ControlDesign& controlDesign(ControlId id);

// The row of the control called `name`, or nullptr: for tests and tools that know controls by
// their design names.
const ControlDesign* findControl(std::string_view name);

// The design name of any identity: a control's, a menu item's or the timer's.
std::string_view nameOf(ControlId id);

// The key whose caption is `caption` ("+" is cmdOp0), or nothing.
std::optional<ControlId> keyOf(std::string_view caption);
// The element `element` of the cmdDigit or the cmdOp array, or nothing (there is no digit 10 and
// no operator 4).
std::optional<ControlId> digitKey(int element);
std::optional<ControlId> operatorKey(int element);

// Whether a control of this kind takes the keyboard focus (and so has a place in the tab order).
constexpr bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::Button || kind == ControlKind::TextBox || kind == ControlKind::ListBox;
}

// What differs between the two programs' calculator windows.
struct CalculatorVariant {
    const char* className; // the window's class name: "frmTavoro3" or "frmTavoro"
    const char* caption;   // the window caption: "Tavoro 3" or "Tavoro."
    Twips lblNewNum;
    Twips lblOp;
    Twips lblSpacer1;
};

// Where `row` lies in the window of `variant`: the design's place, or the program's own place for
// lblNewNum, lblOp and lblSpacer(1).
Twips placeIn(const ControlDesign& row, const CalculatorVariant& variant);

// The menu bar. Access keys are the letters after "&"; no item has a shortcut key.
struct MenuItemDesign {
    ControlId id;
    const char* name;
    const char* caption;
    bool checkable; // the item carries a check mark when checked
};

struct MenuDesign {
    const char* name;
    const char* caption;
    std::span<const MenuItemDesign> items;
};

std::span<const MenuDesign> calculatorMenus();

// The design of the menu item `id`, or nullptr when it is no menu item.
const MenuItemDesign* menuItemDesign(ControlId id);

// The name a screen reader speaks for a control of the window (ControlDesign::spoken), or nothing.
std::optional<std::string_view> spokenName(const ControlDesign& row);

// The caption as spoken: the blanks that place it on screen mean nothing when spoken, so runs of
// blanks become one and the ends are trimmed ("     clear" is "clear").
std::string spokenCaption(std::string_view caption);

// The name a screen reader speaks for a text box: its tool tip, which says what a click on it
// does, as spoken and in lower case (" SHOW Entries Tape " is "show entries tape").
std::string spokenToolTip(std::string_view tip);

// Design values of the window itself.
namespace design {
// Client area below the menu bar: 9705 x 7395 twips.
inline constexpr Twips ClientArea{0, 0, 9705, 7395};
// The date-time refresh interval.
inline constexpr int TimerIntervalMs = 1000;

// A key's raised edge, in pixels at 96 dpi: a light and a dark line.
inline constexpr int KeyEdgeWidth = 2;
// The focus mark: a rectangle this wide, this far inside the key's raised edge, clear of the
// caption. Pixels at 96 dpi, scaled with the screen.
inline constexpr int FocusMarkWidth = 2;
inline constexpr int FocusMarkGap = 2;
} // namespace design

// Texts the tape options show on the "SHOW Entries" box.
namespace text {
inline constexpr std::string_view HideEntries = "HIDE Entries";
inline constexpr std::string_view HideEntriesTip = "HIDE Entries Tape";
inline constexpr std::string_view ShowEntries = "SHOW Entries";
inline constexpr std::string_view ShowEntriesTip = "SHOW Entries Tape";
} // namespace text

} // namespace tavoro
