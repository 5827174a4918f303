// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculatordesign.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tavoro {

namespace {

using enum ControlKind;
using namespace colour;

constexpr Align Left = Align::Left;
constexpr Align Right = Align::Right;
constexpr Align Centre = Align::Centre;

constexpr FontDesign Digit{"Arial Black", 36.0};
constexpr FontDesign Default{};

// Stacking order matters in three places: the long display labels lie above the spacers that
// overlap them (a spacer on top would clip the last digit of a right-aligned number), "ERROR"
// lies above "clear" so that the whole word shows, and the "SHOW Entries" box lies above the
// tape list so that its lower edge stays whole.
constexpr std::array<ControlDesign, 29> Design{{
    // name, kind, caption, tip, font, back, fore, {left, top, width, height}, alignment, hidden, tab[, sizes itself, shrinks to fit]
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
    {"lblDisplay", Label, "0", nullptr, {"Arial", 27.75}, Navy, LightCyan, {1605, 4980, 5820, 735}, Right, false, 14, false, true},
    {"lblTotal", Label, "(Total)", nullptr, {"Arial", 15.75}, Navy, LightCyan, {7590, 5160, 1275, 555}, Centre, false, 17},
    // The places of lblSpacer(1), lblNewNum and lblOp are the program's own (placeIn()).
    {"lblSpacer(1)", Label, " ", nullptr, Default, Green, Black, {7380, 5880, 195, 690}, Left, false, 20},
    {"lblNewNum", Label, "", nullptr, {"Arial", 27.75}, Green, LightGreen, {1620, 5880, 5820, 690}, Right, false, 15, false, true},
    {"lblOp", Label, " ", nullptr, {"Arial", 24.0}, Green, LightGreen, {7560, 6030, 600, 555}, Centre, false, 16},

    {"lblClearError", ClickLabel, "     clear", "Clear LAST ENTRY.", {"MS Sans Serif", 13.5}, DarkRed, PaleYellow, {480, 1350, 825, 810}, Centre, false, 21},
    {"lblClearError2", ClickLabel, "ERROR", "Clear LAST ENTRY.", {"MS Sans Serif", 13.5, true}, DarkRed, Yellow, {255, 2025, 1275, 540}, Centre, false, 22},
    {"lblClearAll", ClickLabel, "              clear ALL", "Clear TOTAL.", {"Arial Black", 14.25, true}, White, DarkRed, {255, 2640, 1275, 1485}, Centre, false, 23},

    {"lstEntered", ListBox, "", "PREVIOUS ENTRIES", {"MS Sans Serif", 9.75}, LightGrey, Black, {7680, 780, 1725, 4380}, Left, true, 24},
    {"txtShowEntries", TextBox, "SHOW  Entries", " SHOW Entries Tape ", {"Arial", 9.0}, Black, White, {7845, 420, 1425, 390}, Centre, false, 0},
    {"txtClearEntries", TextBox, "CLEAR Entries ", "CLEAR Entries Tape", {"Arial", 9.0}, White, Black, {7845, 30, 1410, 375}, Centre, true, 27},
    {"lblDateAndTime", Label, " ", nullptr, {"MS Sans Serif", 8.25}, LightGrey, Navy, {4320, 180, 435, 225}, Left, true, 28, true},
}};

constexpr std::array<MenuItemDesign, 1> FilesItems{{
    {"mnuFilesExit", "e&Xit", false},
}};
constexpr std::array<MenuItemDesign, 4> OptionsItems{{
    {"mnuOptionsShowTape", "&Show Tape", true},
    {"mnuOptionsHideTape", "&Hide Tape", true},
    {"mnuOptionsDateAndTimeOn", "sho&W Date and Time", true},
    {"mnuOptionsDateAndTimeOff", "h&Ide Date and Time", true},
}};
constexpr std::array<MenuDesign, 2> Menus{{
    {"mnuFiles", "&Files", FilesItems},
    {"mnuOptions", "&Options", OptionsItems},
}};

constexpr std::array<std::pair<std::string_view, std::string_view>, 23> SpokenNames{{
    {"cmdDigit(0)", "0"},
    {"cmdDigit(1)", "1"},
    {"cmdDigit(2)", "2"},
    {"cmdDigit(3)", "3"},
    {"cmdDigit(4)", "4"},
    {"cmdDigit(5)", "5"},
    {"cmdDigit(6)", "6"},
    {"cmdDigit(7)", "7"},
    {"cmdDigit(8)", "8"},
    {"cmdDigit(9)", "9"},
    {"cmdDigit(11)", "decimal point"},
    {"cmdOp(0)", "plus"},
    {"cmdOp(1)", "minus"},
    {"cmdOp(2)", "times"},
    {"cmdOp(3)", "divided by"},
    {"cmdOp(5)", "equals"},
    // "clear" and "ERROR" are two halves of one key on screen; both clear the last entry.
    {"lblClearError", "clear last entry"},
    {"lblClearError2", "clear last entry"},
    {"lblClearAll", "clear all"},
    {"lblDisplay", "total"},
    {"lblNewNum", "new number"},
    {"lblOp", "pending operator"},
    {"lstEntered", "tape"},
}};

} // namespace

std::span<const ControlDesign> calculatorDesign() { return Design; }

const ControlDesign* findControl(std::string_view name)
{
    const auto row = std::ranges::find(Design, name, [](const ControlDesign& r) { return std::string_view(r.name); });
    return row != Design.end() ? &*row : nullptr;
}

Twips placeIn(const ControlDesign& row, const CalculatorVariant& variant)
{
    const std::string_view name = row.name;
    if (name == "lblNewNum")
        return variant.lblNewNum;
    if (name == "lblOp")
        return variant.lblOp;
    if (name == "lblSpacer(1)")
        return variant.lblSpacer1;
    return row.place;
}

std::span<const MenuDesign> calculatorMenus() { return Menus; }

std::optional<std::string_view> spokenName(std::string_view control)
{
    for (const auto& [name, spoken] : SpokenNames) {
        if (name == control)
            return spoken;
    }
    return std::nullopt;
}

std::string spokenCaption(std::string_view caption)
{
    std::string spoken;
    bool blank = false;
    for (const char c : caption) {
        if (c == ' ') {
            blank = !spoken.empty();
            continue;
        }
        if (blank)
            spoken += ' ';
        blank = false;
        spoken += c;
    }
    return spoken;
}

std::string spokenToolTip(std::string_view tip)
{
    std::string spoken = spokenCaption(tip);
    for (char& c : spoken) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return spoken;
}

} // namespace tavoro
