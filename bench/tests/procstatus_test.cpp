// SPDX-License-Identifier: GPL-3.0-or-later
#include "procstatus.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace tavoro::bench;

TEST(VmRss, ReadsTheLineAmongOthers)
{
    const char* status = "Name:\ttavoro3\n"
                         "VmPeak:\t  412000 kB\n"
                         "VmHWM:\t   31000 kB\n"
                         "VmRSS:\t   30212 kB\n"
                         "RssAnon:\t    9000 kB\n";
    EXPECT_EQ(vmRssKiB(status), 30212);
}

TEST(VmRss, LastLineWithoutNewline)
{
    EXPECT_EQ(vmRssKiB("Name:\tx\nVmRSS:\t 12 kB"), 12);
}

TEST(VmRss, MissingOrMalformedGivesNothing)
{
    EXPECT_FALSE(vmRssKiB("Name:\tkthreadd\nState:\tS (sleeping)\n"));
    EXPECT_FALSE(vmRssKiB("VmRSS:\t lots kB\n"));
    EXPECT_FALSE(vmRssKiB("VmRSS:\t 12 MB\n"));
    EXPECT_FALSE(vmRssKiB(""));
}

TEST(VmRss, DoesNotTakeAnotherLineThatMerelyContainsTheKey)
{
    EXPECT_EQ(vmRssKiB("XVmRSS:\t 1 kB\nVmRSS:\t 2 kB\n"), 2);
}

TEST(VmRss, ReadsThisProcess)
{
    const auto kib = readVmRssKiB(getpid());
    ASSERT_TRUE(kib);
    EXPECT_GT(*kib, 0);
}

TEST(VmRss, NoSuchProcessGivesNothing)
{
    EXPECT_FALSE(readVmRssKiB(-5));
}

TEST(KibToMiB, CountsMebibytes)
{
    EXPECT_DOUBLE_EQ(kibToMiB(1024), 1.0);
    EXPECT_DOUBLE_EQ(kibToMiB(35 * 1024 + 512), 35.5);
    EXPECT_LT(kibToMiB(35 * 1024 - 1), 35.0);
}
