// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculatordesign.h"

#include <algorithm>
#include <array>

namespace tavoro {

namespace {

using enum ControlKind;
using enum ControlId;
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
    // id, name, element, kind, caption, tip, spoken name, font, back, fore, {left, top, width, height}, alignment, hidden, tab[, sizes itself, shrinks to fit]
    {cmdDigit0, "cmdDigit(0)", 0, Button, "0", nullptr, "0", Digit, LightCyan, ButtonText, {6465, 2640, 1155, 1110}, Centre, false, 1},
    {cmdDigit1, "cmdDigit(1)", 1, Button, "1", nullptr, "1", Digit, LightYellow, ButtonText, {1605, 1470, 1155, 1110}, Centre, false, 2},
    {cmdDigit2, "cmdDigit(2)", 2, Button, "2", nullptr, "2", Digit, LightYellow, ButtonText, {2820, 1470, 1155, 1110}, Centre, false, 3},
    {cmdDigit3, "cmdDigit(3)", 3, Button, "3", nullptr, "3", Digit, LightYellow, ButtonText, {4035, 1470, 1155, 1110}, Centre, false, 4},
    {cmdDigit4, "cmdDigit(4)", 4, Button, "4", nullptr, "4", Digit, LightYellow, ButtonText, {5250, 1470, 1155, 1110}, Centre, false, 5},
    {cmdDigit5, "cmdDigit(5)", 5, Button, "5", nullptr, "5", Digit, LightYellow, ButtonText, {6465, 1470, 1155, 1110}, Centre, false, 6},
    {cmdDigit6, "cmdDigit(6)", 6, Button, "6", nullptr, "6", Digit, LightCyan, ButtonText, {1605, 2640, 1155, 1110}, Centre, false, 7},
    {cmdDigit7, "cmdDigit(7)", 7, Button, "7", nullptr, "7", Digit, LightCyan, ButtonText, {2820, 2640, 1155, 1110}, Centre, false, 8},
    {cmdDigit8, "cmdDigit(8)", 8, Button, "8", nullptr, "8", Digit, LightCyan, ButtonText, {4035, 2640, 1155, 1110}, Centre, false, 9},
    {cmdDigit9, "cmdDigit(9)", 9, Button, "9", nullptr, "9", Digit, LightCyan, ButtonText, {5250, 2640, 1155, 1110}, Centre, false, 10},
    {cmdDigit11, "cmdDigit(11)", 11, Button, ".", "DECIMAL point.", "decimal point", {"Arial Black", 48.0}, Yellow, ButtonText, {6465, 435, 1155, 990}, Centre, false, 13},
    {cmdOp0, "cmdOp(0)", 0, Button, "+", "PLUS...", "plus", {"Arial Black", 45.75}, LightGreen, ButtonText, {4050, 3810, 2340, 975}, Centre, false, 26},
    {cmdOp1, "cmdOp(1)", 1, Button, "-", "MINUS...", "minus", {"Arial Black", 48.0}, Pink, ButtonText, {1605, 3810, 2370, 975}, Centre, false, 25},
    {cmdOp2, "cmdOp(2)", 2, Button, "X", "TIMES...", "times", {"Arial Black", 36.0}, LightGreen, ButtonText, {4035, 435, 2370, 975}, Centre, false, 11},
    {cmdOp3, "cmdOp(3)", 3, Button, "/", "DIVIDED BY...", "divided by", {"Arial Black", 39.75}, Pink, ButtonText, {1590, 450, 2370, 975}, Centre, false, 12},
    {cmdOp5, "cmdOp(5)", 5, Button, "=", "EQUALS...", "equals", {"Arial Black", 36.0}, Yellow, ButtonText, {6465, 3810, 1155, 960}, Centre, false, 18},

    {lblSpacer0, "lblSpacer(0)", -1, Label, " ", nullptr, nullptr, Default, Navy, Black, {7410, 4980, 195, 735}, Left, false, 19},
    {lblDisplay, "lblDisplay", -1, Label, "0", nullptr, "total", {"Arial", 27.75}, Navy, LightCyan, {1605, 4980, 5820, 735}, Right, false, 14, false, true},
    {lblTotal, "lblTotal", -1, Label, "(Total)", nullptr, nullptr, {"Arial", 15.75}, Navy, LightCyan, {7590, 5160, 1275, 555}, Centre, false, 17},
    // The places of lblSpacer(1), lblNewNum and lblOp are the program's own (placeIn()).
    {lblSpacer1, "lblSpacer(1)", -1, Label, " ", nullptr, nullptr, Default, Green, Black, {7380, 5880, 195, 690}, Left, false, 20},
    {lblNewNum, "lblNewNum", -1, Label, "", nullptr, "new number", {"Arial", 27.75}, Green, LightGreen, {1620, 5880, 5820, 690}, Right, false, 15, false, true},
    {lblOp, "lblOp", -1, Label, " ", nullptr, "pending operator", {"Arial", 24.0}, Green, LightGreen, {7560, 6030, 600, 555}, Centre, false, 16},

    {lblClearError, "lblClearError", -1, ClickLabel, "     clear", "Clear LAST ENTRY.", "clear last entry", {"MS Sans Serif", 13.5}, DarkRed, PaleYellow, {480, 1350, 825, 810}, Centre, false, 21},
    {lblClearError2, "lblClearError2", -1, ClickLabel, "ERROR", "Clear LAST ENTRY.", "clear last entry", {"MS Sans Serif", 13.5, true}, DarkRed, Yellow, {255, 2025, 1275, 540}, Centre, false, 22},
    {lblClearAll, "lblClearAll", -1, ClickLabel, "              clear ALL", "Clear TOTAL.", "clear all", {"Arial Black", 14.25, true}, White, DarkRed, {255, 2640, 1275, 1485}, Centre, false, 23},

    {lstEntered, "lstEntered", -1, ListBox, "", "PREVIOUS ENTRIES", "tape", {"MS Sans Serif", 9.75}, LightGrey, Black, {7680, 780, 1725, 4380}, Left, true, 24},
    {txtShowEntries, "txtShowEntries", -1, TextBox, "SHOW  Entries", " SHOW Entries Tape ", nullptr, {"Arial", 9.0}, Black, White, {7845, 420, 1425, 390}, Centre, false, 0},
    {txtClearEntries, "txtClearEntries", -1, TextBox, "CLEAR Entries ", "CLEAR Entries Tape", nullptr, {"Arial", 9.0}, White, Black, {7845, 30, 1410, 375}, Centre, true, 27},
    {lblDateAndTime, "lblDateAndTime", -1, Label, " ", nullptr, nullptr, {"MS Sans Serif", 8.25}, LightGrey, Navy, {4320, 180, 435, 225}, Left, true, 28, true},
}};

constexpr std::array<MenuItemDesign, 1> FilesItems{{
    {mnuFilesExit, "mnuFilesExit", "e&Xit", false},
}};
constexpr std::array<MenuItemDesign, 4> OptionsItems{{
    {mnuOptionsShowTape, "mnuOptionsShowTape", "&Show Tape", true},
    {mnuOptionsHideTape, "mnuOptionsHideTape", "&Hide Tape", true},
    {mnuOptionsDateAndTimeOn, "mnuOptionsDateAndTimeOn", "sho&W Date and Time", true},
    {mnuOptionsDateAndTimeOff, "mnuOptionsDateAndTimeOff", "h&Ide Date and Time", true},
}};
constexpr std::array<MenuDesign, 2> Menus{{
    {"mnuFiles", "&Files", FilesItems},
    {"mnuOptions", "&Options", OptionsItems},
}};

// The table is indexed by ControlId: each row sits at its own identity's place.
constexpr bool rowsInIdOrder()
{
    for (std::size_t i = 0; i < Design.size(); ++i) {
        if (static_cast<std::size_t>(Design[i].id) != i)
            return false;
    }
    return Design.size() == DesignRowCount;
}
static_assert(rowsInIdOrder());

// The first key whose row `matches`.
std::optional<ControlId> keyWhere(auto matches)
{
    const auto row = std::ranges::find_if(Design, [&](const ControlDesign& r) { return isKey(r.id) && matches(r); });
    return row != Design.end() ? std::optional(row->id) : std::nullopt;
}

} // namespace

std::span<const ControlDesign> calculatorDesign() { return Design; }

const ControlDesign& controlDesign(ControlId id) { return Design.at(static_cast<std::size_t>(id)); }

const MenuItemDesign* menuItemDesign(ControlId id)
{
    for (const MenuDesign& menu : Menus) {
        for (const MenuItemDesign& item : menu.items) {
            if (item.id == id)
                return &item;
        }
    }
    return nullptr;
}

std::string_view nameOf(ControlId id)
{
    if (static_cast<std::size_t>(id) < Design.size())
        return controlDesign(id).name;
    if (const MenuItemDesign* item = menuItemDesign(id))
        return item->name;
    return TimerName;
}

std::optional<ControlId> keyOf(std::string_view caption)
{
    return keyWhere([caption](const ControlDesign& row) { return caption == row.caption; });
}

std::optional<ControlId> digitKey(int element)
{
    return keyWhere([element](const ControlDesign& row) { return isDigitKey(row.id) && row.element == element; });
}

std::optional<ControlId> operatorKey(int element)
{
    return keyWhere([element](const ControlDesign& row) { return isOperatorKey(row.id) && row.element == element; });
}

const ControlDesign* findControl(std::string_view name)
{
    const auto row = std::ranges::find(Design, name, [](const ControlDesign& r) { return std::string_view(r.name); });
    return row != Design.end() ? &*row : nullptr;
}

Twips placeIn(const ControlDesign& row, const CalculatorVariant& variant)
{
    switch (row.id) {
    case lblNewNum:
        return variant.lblNewNum;
    case lblOp:
        return variant.lblOp;
    case lblSpacer1:
        return variant.lblSpacer1;
    default:
        return row.place;
    }
}

std::span<const MenuDesign> calculatorMenus() { return Menus; }

std::optional<std::string_view> spokenName(const ControlDesign& row)
{
    if (row.spoken == nullptr)
        return std::nullopt;
    return row.spoken;
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
