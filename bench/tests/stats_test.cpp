// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace tavoro::bench;

TEST(Median, OddCountIsTheMiddleValue)
{
    EXPECT_DOUBLE_EQ(median({5.0, 1.0, 3.0}), 3.0);
}

TEST(Median, EvenCountIsTheMeanOfTheTwoMiddleValues)
{
    EXPECT_DOUBLE_EQ(median({4.0, 1.0, 3.0, 10.0}), 3.5);
    EXPECT_DOUBLE_EQ(median({2.0, 2.0}), 2.0);
}

TEST(Median, OfNothingThrows)
{
    EXPECT_THROW(median({}), std::invalid_argument);
}

TEST(Summarize, SkipsRoundsWithoutAValue)
{
    const auto summary = summarize({7.0, std::nullopt, 1.0, 4.0, std::nullopt});
    ASSERT_TRUE(summary);
    EXPECT_DOUBLE_EQ(summary->median, 4.0);
    EXPECT_DOUBLE_EQ(summary->min, 1.0);
    EXPECT_DOUBLE_EQ(summary->max, 7.0);
    EXPECT_EQ(summary->count, 3u);
}

TEST(Summarize, NoValueNoSummary)
{
    EXPECT_FALSE(summarize({}));
    EXPECT_FALSE(summarize({std::nullopt, std::nullopt}));
}

TEST(Ratios, DividesRoundByRound)
{
    const Samples r = ratios({30.0, 20.0, 26.0}, {20.0, 20.0, 13.0});
    ASSERT_EQ(r.size(), 3u);
    EXPECT_DOUBLE_EQ(*r[0], 1.5);
    EXPECT_DOUBLE_EQ(*r[1], 1.0);
    EXPECT_DOUBLE_EQ(*r[2], 2.0);
}

TEST(Ratios, ARoundMissingOnEitherSideOrAZeroFloorHasNoRatio)
{
    const Samples r = ratios({30.0, std::nullopt, 26.0, 5.0}, {20.0, 20.0, std::nullopt, 0.0});
    ASSERT_EQ(r.size(), 4u);
    EXPECT_TRUE(r[0]);
    EXPECT_FALSE(r[1]);
    EXPECT_FALSE(r[2]);
    EXPECT_FALSE(r[3]);
}

TEST(Ratios, UnequalLengthsKeepTheLongerOne)
{
    const Samples r = ratios({30.0}, {20.0, 20.0});
    ASSERT_EQ(r.size(), 2u);
    EXPECT_DOUBLE_EQ(*r[0], 1.5);
    EXPECT_FALSE(r[1]);
}
