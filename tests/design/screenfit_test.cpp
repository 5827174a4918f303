// SPDX-License-Identifier: GPL-3.0-or-later
// How large a window's design is drawn on a screen: as designed where the whole window fits, else
// at the highest resolution at which it fits, frame and menu bar included.

#include "screenfit.h"

#include "units.h"

#include <gtest/gtest.h>

namespace tavoro {
namespace {

// The calculator window's client area, with a Windows frame (borders, title bar and menu bar at
// the desktop's size) or a Qt one (a window manager's frame, and a menu bar in the design's scale).
constexpr WindowExtent WindowsFramed{9705, 7395, {16, 59}, {}};
constexpr WindowExtent MenuShrinks{9705, 7395, {8, 31}, {0, 21}};

TEST(ScreenFit, TheHighestResolutionAtWhichTheWholeWindowFits)
{
    struct Row {
        const char* name;
        WindowExtent window;
        int dpi;
        PixelSize available;
        int expected;
    };
    const Row rows[] = {
        {"as designed on a large screen", WindowsFramed, 96, {1280, 1024}, 96},
        {"as designed at 150 % on a large screen", WindowsFramed, 144, {2560, 1440}, 144},
        {"exactly as large as the work area", WindowsFramed, 96, {647 + 16, 493 + 59}, 96},
        // 95 dpi makes the client area 641 x 488.
        {"a pixel too short", WindowsFramed, 96, {663, 551}, 95},
        {"a pixel too narrow", WindowsFramed, 96, {662, 1024}, 95},
        // 138 dpi: 930 x 709 and the frame, 946 x 768; 139 dpi would be 773 high.
        {"200 % on 1366 x 768", WindowsFramed, 192, {1366, 768}, 138},
        {"150 % above a taskbar", WindowsFramed, 144, {1366, 728}, 130},
        // 65 dpi: 438 x 334, the menu bar 15 high, the frame: 380 high; 66 dpi would be 385.
        {"a menu bar that shrinks with the design", MenuShrinks, 96, {683, 384}, 65},
        {"never below a quarter", WindowsFramed, 96, {100, 100}, 24},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fittingDpi(row.window, row.dpi, row.available), row.expected);
    }
}

TEST(ScreenFit, TheLowestResolutionIsAQuarterOfTheDesktops)
{
    EXPECT_EQ(lowestFitDpi(96), 24);
    EXPECT_EQ(lowestFitDpi(144), 36);
    EXPECT_EQ(lowestFitDpi(150), 38); // never below a quarter: rounded up
}

TEST(ScreenFit, FontsShrinkAsThePlacesDo)
{
    EXPECT_DOUBLE_EQ(scaledPoints(36.0, 96, 96), 36.0);
    EXPECT_DOUBLE_EQ(scaledPoints(27.75, 72, 96), 20.8125);
    EXPECT_DOUBLE_EQ(scaledPoints(12.0, 144, 192), 9.0);
}

} // namespace
} // namespace tavoro
