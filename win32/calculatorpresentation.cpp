// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculatorpresentation.h"

#include "widetext.h"

#include <utility>

namespace tavoro {

std::shared_ptr<const Presentation> presentationOf(const ControlDesign& row, std::function<void()> press,
    std::function<std::string()> tip)
{
    Presentation shown;
    const auto spoken = spokenName(row);
    const std::wstring spokenWide = toWide(spoken.value_or(""));
    const auto words = [spokenWide] { return spokenWide; };
    const auto description = [tip] { return toWide(tip()); };
    switch (row.kind) {
    case ControlKind::Button:
    case ControlKind::ClickLabel: {
        // Named in words: "divided by" for "/", "clear all" for "              clear ALL".
        const std::wstring name = spoken ? spokenWide : toWide(spokenCaption(row.caption));
        shown = {.role = ROLE_SYSTEM_PUSHBUTTON, .name = [name] { return name; }, .press = std::move(press)};
        if (row.tip != nullptr)
            shown.description = description;
        break;
    }
    case ControlKind::Label:
        // A display is read by what it shows ("15"); what it is ("total") is its description.
        shown = {.role = ROLE_SYSTEM_STATICTEXT};
        if (spoken)
            shown.description = words;
        break;
    case ControlKind::TextBox:
        // Named by the tool tip as it stands, which says what a click on the box does.
        shown = {.role = ROLE_SYSTEM_TEXT, .name = [tip] { return toWide(spokenToolTip(tip())); },
            .description = description, .press = std::move(press)};
        break;
    case ControlKind::ListBox:
        shown = {.role = ROLE_SYSTEM_LIST, .name = words, .description = description, .itemsAsChildren = true};
        break;
    }
    return std::make_shared<const Presentation>(std::move(shown));
}

} // namespace tavoro
