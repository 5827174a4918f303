// SPDX-License-Identifier: GPL-3.0-or-later
#include "report.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace tavoro::bench;

namespace {

ProgramResult result(const char* name, Kind kind, Samples mapped)
{
    ProgramResult r;
    r.spec = {name, kind, "/x", {}};
    const std::size_t n = mapped.size();
    r.mappedMs = std::move(mapped);
    r.paintedMs.resize(n);
    r.startToMappedMs.resize(n);
    r.clickRepaintMs.resize(n);
    r.rssMiB.resize(n);
    return r;
}

// The table line of a figure and program: the label column may be empty on follow-on rows.
std::string lineOf(const std::string& table, const std::string& label, const std::string& program)
{
    std::istringstream lines(table);
    std::string line, current;
    while (std::getline(lines, line)) {
        if (line.size() > 40 && line.substr(0, 40).find_first_not_of(' ') != std::string::npos)
            current = line.substr(0, line.find_last_not_of(' ', 40) + 1);
        std::istringstream fields(line.size() > 41 ? line.substr(41) : "");
        std::string name;
        fields >> name;
        if (current == label && name == program)
            return line;
    }
    return "";
}

} // namespace

TEST(SplashRatios, AreAgainstTheFloorOfTheSameRound)
{
    const std::vector<ProgramResult> all{result("floor", Kind::Floor, {20.0, 10.0}),
        result("tavoro3", Kind::Tavoro3, {30.0, 30.0})};
    const Samples r = splashRatios(all[1], all);
    EXPECT_DOUBLE_EQ(*r[0], 1.5);
    EXPECT_DOUBLE_EQ(*r[1], 3.0);
}

TEST(SplashRatios, WithoutAFloorThereAreNone)
{
    const std::vector<ProgramResult> all{result("tavoro3", Kind::Tavoro3, {30.0})};
    EXPECT_FALSE(splashRatios(all[0], all)[0]);
}

TEST(Goal, StrictAndInclusiveLimits)
{
    EXPECT_TRUE(goals::SplashRatio.metBy(1.3));
    EXPECT_FALSE(goals::SplashRatio.metBy(1.31));
    EXPECT_FALSE(goals::StartToMappedMs.metBy(16.0));
    EXPECT_TRUE(goals::StartToMappedMs.metBy(15.9));
    EXPECT_TRUE(goals::ClickRepaintMs.metBy(0.99));
    EXPECT_FALSE(goals::ResidentMiB.metBy(35.0));
}

TEST(FormatTable, ShowsMedianMinMaxAndTheVerdictPerProgram)
{
    std::vector<ProgramResult> all{result("floor", Kind::Floor, {20.0, 22.0, 18.0}),
        result("tavoro3", Kind::Tavoro3, {24.0, 44.0, 23.0}),
        result("tavoro2", Kind::Tavoro2, {40.0, 40.0, 40.0})};
    all[1].startToMappedMs = {10.0, 12.0, 30.0};
    all[2].startToMappedMs = {20.0, 20.0, 20.0};
    const std::string table = formatTable(all, 30);

    EXPECT_NE(lineOf(table, "exec -> first window mapped (ms)", "floor").find("20.0      18.0      22.0"),
        std::string::npos)
        << table;
    // Ratios per round: 1.2, 2.0, 1.28 -> median 1.28, met.
    const std::string ratio = lineOf(table, "  ratio to the floor, same round (x)", "tavoro3");
    EXPECT_NE(ratio.find("1.28"), std::string::npos) << table;
    EXPECT_NE(ratio.find("<= 1.30"), std::string::npos) << table;
    EXPECT_TRUE(ratio.ends_with(" met")) << table;
    EXPECT_TRUE(lineOf(table, "  ratio to the floor, same round (x)", "tavoro2").ends_with("NOT MET")) << table;
    // The floor has no ratio and no start click.
    EXPECT_EQ(lineOf(table, "  ratio to the floor, same round (x)", "floor"), "");
    EXPECT_EQ(lineOf(table, "start click -> calculator mapped (ms)", "floor"), "");
    EXPECT_TRUE(lineOf(table, "start click -> calculator mapped (ms)", "tavoro3").ends_with(" met")) << table;
    EXPECT_TRUE(lineOf(table, "start click -> calculator mapped (ms)", "tavoro2").ends_with("NOT MET")) << table;
    // No figure measured: dashes, and no verdict.
    const std::string memory = lineOf(table, "resident memory, window shown (MiB)", "tavoro2");
    EXPECT_NE(memory.find("-         -         -"), std::string::npos) << table;
    EXPECT_TRUE(memory.ends_with("no data")) << table;
    // The floor's figures carry no goal.
    EXPECT_EQ(lineOf(table, "resident memory, window shown (MiB)", "floor").find("<"), std::string::npos);
    EXPECT_NE(table.find("(ms, 30/run)"), std::string::npos);
}

TEST(FormatTable, NoLineEndsInABlank)
{
    const std::vector<ProgramResult> all{result("floor", Kind::Floor, {20.0})};
    const std::string table = formatTable(all, 3);
    EXPECT_EQ(table.find(" \n"), std::string::npos);
}

TEST(FormatFailures, ListsEachFailedProgramWithItsReasons)
{
    std::vector<ProgramResult> all{result("floor", Kind::Floor, {20.0}), result("tavoro2", Kind::Tavoro2, {1.0})};
    EXPECT_EQ(formatFailures(all), "");
    all[1].failedRuns = 2;
    all[1].failures = {"round 1: no window mapped", "round 4: a window vanished"};
    EXPECT_EQ(formatFailures(all),
        "tavoro2: 2 failed run(s)\n  round 1: no window mapped\n  round 4: a window vanished\n");
}
