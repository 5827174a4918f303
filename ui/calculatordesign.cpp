#include "calculatordesign.h"

#include "designcolours.h"

#include <array>

namespace tavoro {

namespace {

using enum ControlKind;
using namespace colour;

constexpr Qt::Alignment Left = Qt::AlignLeft;
constexpr Qt::Alignment Right = Qt::AlignRight;
constexpr Qt::Alignment Centre = Qt::AlignHCenter;

constexpr FontDesign Digit{"Arial Black", 36.0};
constexpr FontDesign Default{};

// Stacking order matters in three places: the long display labels lie above the spacers that
// overlap them (a spacer on top would clip the last digit of a right-aligned number), "ERROR"
// lies above "clear" so that the whole word shows, and the "SHOW Entries" box lies above the
// tape list so that its lower edge stays whole.
constexpr std::array<ControlDesign, 29> Design{{
    // name, kind, caption, tip, font, back, fore, {left, top, width, height}, alignment, hidden, tab[, sizes itself]
    {"cmdDigit(0)", Button, "0", nullptr, Digit, LightCyan, ButtonText, {6465, 2640, 1155, 1110}, Centre, false, 1},
    {"cmdDigit(1)", Button, "1", nullptr, Digit, LightYellow, ButtonText, {1605, 1470, 1155, 1110}, Centre, false, 2},
    {"cmdDigit(2)", Button, "2", nullptr, Digit, LightYellow, ButtonText, {2820, 1470, 1155, 1110}, Centre, false, 3},
    {"cmdDigit(3)", Button, "3", nullptr, Digit, LightYellow, ButtonText, {4035, 1470, 1155, 1110}, Centre, false, 4},
    {"cmdDigit(4)", Button, "4", nullptr, Digit, LightYellow, ButtonText, {5250, 1470, 1155, 1110}, Centre, false, 5},
    {"cmdDigit(5)", Button, "5", nullptr, Digit, LightYellow, ButtonText, {6465, 1470, 1155, 1110}, Centre, false, 6},
    {"cmdDigit(6)", Button, "6", nullptr, Digit, LightCyan, ButtonText, {1605, 2640, 1155, 1110}, Centre, false, 7},
    {"cmdDigit(7)", Button, "7", nullptr, Digit, LightCyan, ButtonText, {2820, 2640, 1155, 1110}, Centre, false, 8},
    {"cmdDigit(8)", Button, "8", nullptr, Digit, LightCyan, ButtonText, {4035, 2640, 1155, 1110}, Centre, false, 9},
    {"cmdDigit(9)", Button, "9", nullptr, Digit, LightCyan, ButtonText, {5250, 2640, 1155, 1110}, Centre, false, 10},
    {"cmdDigit(11)", Button, ".", "DECIMAL point.", {"Arial Black", 48.0}, Yellow, ButtonText, {6465, 435, 1155, 990}, Centre, false, 13},
    {"cmdOp(0)", Button, "+", "PLUS...", {"Arial Black", 45.75}, LightGreen, ButtonText, {4050, 3810, 2340, 975}, Centre, false, 26},
    {"cmdOp(1)", Button, "-", "MINUS...", {"Arial Black", 48.0}, Pink, ButtonText, {1605, 3810, 2370, 975}, Centre, false, 25},
    {"cmdOp(2)", Button, "X", "TIMES...", {"Arial Black", 36.0}, LightGreen, ButtonText, {4035, 435, 2370, 975}, Centre, false, 11},
    {"cmdOp(3)", Button, "/", "DIVIDED BY...", {"Arial Black", 39.75}, Pink, ButtonText, {1590, 450, 2370, 975}, Centre, false, 12},
    {"cmdOp(5)", Button, "=", "EQUALS...", {"Arial Black", 36.0}, Yellow, ButtonText, {6465, 3810, 1155, 960}, Centre, false, 18},

    {"lblSpacer(0)", Label, " ", nullptr, Default, Navy, Black, {7410, 4980, 195, 735}, Left, false, 19},
    {"lblDisplay", Label, "0", nullptr, {"Arial", 27.75}, Navy, LightCyan, {1605, 4980, 5820, 735}, Right, false, 14},
    {"lblTotal", Label, "(Total)", nullptr, {"Arial", 15.75}, Navy, LightCyan, {7590, 5160, 1275, 555}, Centre, false, 17},
    // The places of lblSpacer(1), lblNewNum and lblOp are the program's own (CalculatorVariant).
    {"lblSpacer(1)", Label, " ", nullptr, Default, Green, Black, {7380, 5880, 195, 690}, Left, false, 20},
    {"lblNewNum", Label, "", nullptr, {"Arial", 27.75}, Green, LightGreen, {1620, 5880, 5820, 690}, Right, false, 15},
    {"lblOp", Label, " ", nullptr, {"Arial", 24.0}, Green, LightGreen, {7560, 6030, 600, 555}, Centre, false, 16},

    {"lblClearError", ClickLabel, "     clear", "Clear LAST ENTRY.", {"MS Sans Serif", 13.5}, DarkRed, PaleYellow, {480, 1350, 825, 810}, Centre, false, 21},
    {"lblClearError2", ClickLabel, "ERROR", "Clear LAST ENTRY.", {"MS Sans Serif", 13.5, true}, DarkRed, Yellow, {255, 2025, 1275, 540}, Centre, false, 22},
    {"lblClearAll", ClickLabel, "              clear ALL", "Clear TOTAL.", {"Arial Black", 14.25, true}, White, DarkRed, {255, 2640, 1275, 1485}, Centre, false, 23},

    {"lstEntered", ListBox, "", "PREVIOUS ENTRIES", {"MS Sans Serif", 9.75}, LightGrey, Black, {7680, 780, 1725, 4380}, Left, true, 24},
    {"txtShowEntries", TextBox, "SHOW  Entries", " SHOW Entries Tape ", {"Arial", 9.0}, Black, White, {7845, 420, 1425, 390}, Centre, false, 0},
    {"txtClearEntries", TextBox, "CLEAR Entries ", "CLEAR Entries Tape", {"Arial", 9.0}, White, Black, {7845, 30, 1410, 375}, Centre, true, 27},
    {"lblDateAndTime", Label, " ", nullptr, {"MS Sans Serif", 8.25}, LightGrey, Navy, {4320, 180, 435, 225}, Left, true, 28, true},
}};

} // namespace

std::span<const ControlDesign> calculatorDesign() { return Design; }

} // namespace tavoro
