// SPDX-License-Identifier: GPL-3.0-or-later
#include "clickpoints.h"

#include <gtest/gtest.h>

using namespace tavoro::bench;

// The splash designs: Frame1 at 300,300 twips (Tavoro 3) or 360,390 (Tavoro 2); the start button
// 2025 x 705 twips (135 x 47 px) at 5580,3810 or 5220,3450 inside it.
TEST(StartButton, Tavoro3IsInsideFrame1AtItsPlace)
{
    // 20 + 372 + 67, 20 + 254 + 23
    EXPECT_EQ(startButtonCentre(Kind::Tavoro3), (Point{459, 297}));
}

TEST(StartButton, Tavoro2IsInsideFrame1AtItsPlace)
{
    // 24 + 348 + 67, 26 + 230 + 23
    EXPECT_EQ(startButtonCentre(Kind::Tavoro2), (Point{439, 279}));
}

TEST(StartButton, TheFloorHasNone)
{
    EXPECT_EQ(startButtonCentre(Kind::Floor), (Point{0, 0}));
}

TEST(ClientTop, IsTheWindowHeightAboveTheClientArea)
{
    EXPECT_EQ(clientTop(493 + 22), 22);
    EXPECT_EQ(clientTop(493), 0);
    // A window smaller than the client area (never expected) does not move the key up.
    EXPECT_EQ(clientTop(400), 0);
}

TEST(DigitKey, OneIsBelowTheMenuBarInTheCalculator)
{
    // cmdDigit(1): 1605,1470 twips, 1155 x 1110 -> 107,98 px, 77 x 74 px.
    EXPECT_EQ(digitKeyCentre(Kind::Tavoro3, 493 + 25), (Point{107 + 38, 25 + 98 + 37}));
    EXPECT_EQ(digitKeyCentre(Kind::Tavoro2, 493 + 25), digitKeyCentre(Kind::Tavoro3, 493 + 25));
}

TEST(DigitKey, TheFloorPressesItsFirstButton)
{
    EXPECT_EQ(digitKeyCentre(Kind::Floor, 493), (Point{10 + 75, 10 + 75}));
}

TEST(Pixels, TruncateLikeTheProgramsDo)
{
    EXPECT_EQ(pixels(1605), 107);
    EXPECT_EQ(pixels(14), 0);
    EXPECT_EQ(pixels(15), 1);
}

TEST(KindName, NamesEachKind)
{
    EXPECT_STREQ(kindName(Kind::Floor), "floor");
    EXPECT_STREQ(kindName(Kind::Tavoro3), "tavoro3");
    EXPECT_STREQ(kindName(Kind::Tavoro2), "tavoro2");
}
