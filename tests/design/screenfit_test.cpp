// SPDX-License-Identifier: GPL-3.0-or-later
// How large a window's design is drawn on a screen: as designed where the whole window fits, else
// at the highest resolution at which it fits, frame and menu bar included; the room it is fitted
// to, from what the platform tells; and where a centred window's frame goes.

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

TEST(ScreenFit, TheRoomAWindowIsFittedTo)
{
    // 1920 x 1080 at 200 %: 960 x 540 in the front end's pixels; GNOME's top bar takes 32.
    constexpr PixelRect Screen{0, 0, 960, 540};
    struct Row {
        const char* name;
        ScreenRoom room;
        PixelSize expected;
    };
    const Row rows[] = {
        {"X11: the work area", {{0, 32, 960, 508}, true, {}}, {960, 508}},
        {"X11 without a desktop: the whole screen", {Screen, true, {}}, {960, 540}},
        {"Wayland: the compositor's bounds", {Screen, false, PixelSize{960, 508}}, {960, 508}},
        {"Wayland: bounds never beyond the screen", {Screen, false, PixelSize{1920, 1080}}, {960, 540}},
        {"Wayland without bounds: room for a panel", {Screen, false, {}}, {896, 476}},
        {"Wayland with empty bounds: as without", {Screen, false, PixelSize{0, 0}}, {896, 476}},
        {"a fractional scale: a pixel for rounding", {{0, 27, 911, 453}, true, {}, true}, {910, 452}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(roomForWindow(row.room), row.expected);
    }
}

TEST(ScreenFit, TheCalculatorFitsBelowGnomesTopBarAt200Percent)
{
    // Fitted to the whole screen, the window was 520 high and ran 12 pixels off the bottom; fitted
    // to the bounds, the whole window (Qt's decoration as a frame) is at most 508 high.
    constexpr WindowExtent QtOnWayland{9705, 7395, {0, 30}, {0, 21}};
    const PixelSize room = roomForWindow({{0, 0, 960, 540}, false, PixelSize{960, 508}});
    const int dpi = fittingDpi(QtOnWayland, 96, room);
    EXPECT_LT(dpi, 96);
    EXPECT_LE(pxAtDpi(7395, dpi) + 30 + (21 * dpi + 95) / 96, 508);
    EXPECT_GT(pxAtDpi(7395, dpi + 1) + 30 + (21 * (dpi + 1) + 95) / 96, 508);
}

TEST(ScreenFit, ACentredWindowIsCentredByItsFrame)
{
    struct Row {
        const char* name;
        PixelRect area;
        PixelSize client;
        FrameMargins frame;
        PixelPoint expected; // the frame's top-left corner
    };
    // openbox's frame: a 20-pixel title bar, 1-pixel borders.
    constexpr FrameMargins Openbox{1, 20, 1, 1};
    const Row rows[] = {
        {"no frame, no window manager", {0, 0, 1366, 768}, {647, 512}, {}, {359, 128}},
        // 649 x 533 on 1366 x 720 above a 48-pixel panel: the title bar counts, the odd pixel
        // goes right and down.
        {"a title bar above the client area", {0, 0, 1366, 720}, {647, 512}, Openbox, {358, 93}},
        {"a work area that does not start at the corner", {60, 30, 1306, 700}, {647, 512}, Openbox, {388, 113}},
        {"taller than the area: the title bar in reach", {0, 32, 960, 508}, {609, 520}, Openbox, {174, 32}},
        {"wider and taller: the top-left corner", {0, 0, 800, 600}, {1000, 700}, Openbox, {0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(centredFramePosition(row.area, row.client, row.frame), row.expected);
    }
}

TEST(ScreenFit, AWindowIsKeptInsideWithTheLeastMove)
{
    constexpr PixelRect Area{0, 40, 1366, 680};
    EXPECT_EQ(keptInside({100, 100, 600, 400}, Area), (PixelPoint{100, 100}));  // inside: stays
    EXPECT_EQ(keptInside({1000, 500, 600, 400}, Area), (PixelPoint{766, 320})); // off the corner
    EXPECT_EQ(keptInside({0, 0, 600, 400}, Area), (PixelPoint{0, 40}));        // under a top panel
    EXPECT_EQ(keptInside({-50, 300, 1400, 800}, Area), (PixelPoint{0, 40}));   // larger: its corner
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
