// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include <gtest/gtest.h>

using namespace tavoro::bench;

namespace {
ParsedOptions parse(std::vector<std::string> args) { return parseOptions(args); }
} // namespace

TEST(Options, DefaultsAreTwentyRoundsOneWarmUpThirtyClicks)
{
    const ParsedOptions p = parse({"--program", "floor:/bin/floor"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.runs, 20);
    EXPECT_EQ(p.options.warmup, 1);
    EXPECT_EQ(p.options.clicks, 30);
    EXPECT_EQ(p.options.logDir, "");
}

TEST(Options, ProgramsKeepTheirOrderAndNames)
{
    const ParsedOptions p = parse({"--program", "floor:/b/floor", "--program", "tavoro3:/b/tavoro3",
        "--program", "t3-new=tavoro3:/tmp/x/tavoro3", "--runs", "5", "--clicks", "0", "--warmup", "0"});
    ASSERT_EQ(p.error, "");
    ASSERT_EQ(p.options.programs.size(), 3u);
    EXPECT_EQ(p.options.programs[0].name, "floor");
    EXPECT_EQ(p.options.programs[1].name, "tavoro3");
    EXPECT_EQ(p.options.programs[1].kind, Kind::Tavoro3);
    EXPECT_EQ(p.options.programs[2].name, "t3-new");
    EXPECT_EQ(p.options.programs[2].kind, Kind::Tavoro3);
    EXPECT_EQ(p.options.programs[2].path, "/tmp/x/tavoro3");
    EXPECT_EQ(p.options.runs, 5);
    EXPECT_EQ(p.options.clicks, 0);
    EXPECT_EQ(p.options.warmup, 0);
}

TEST(Options, APathMayHoldColonsAndEqualsSigns)
{
    const auto spec = parseProgramSpec("tavoro2:/tmp/a:b=c/tavoro2");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->name, "tavoro2");
    EXPECT_EQ(spec->path, "/tmp/a:b=c/tavoro2");
}

TEST(Options, MalformedProgramsAreRefused)
{
    EXPECT_FALSE(parseProgramSpec("tavoro3"));
    EXPECT_FALSE(parseProgramSpec("tavoro3:"));
    EXPECT_FALSE(parseProgramSpec("calc:/bin/calc"));
    EXPECT_FALSE(parseProgramSpec("=tavoro3:/x"));
}

TEST(Options, AFloorIsRequired)
{
    EXPECT_NE(parse({"--program", "tavoro3:/b/t"}).error, "");
    EXPECT_NE(parse({}).error, "");
}

TEST(Options, BadCountsAndUnknownOptionsAreRefused)
{
    const std::vector<std::string> floor{"--program", "floor:/f"};
    auto with = [&](std::vector<std::string> extra) {
        extra.insert(extra.end(), floor.begin(), floor.end());
        return parse(extra).error;
    };
    EXPECT_NE(with({"--runs", "0"}), "");
    EXPECT_NE(with({"--runs", "3x"}), "");
    EXPECT_NE(with({"--clicks", "-1"}), "");
    EXPECT_NE(with({"--frobnicate", "1"}), "");
    EXPECT_NE(parse({"--program", "floor:/f", "--runs"}).error, "");
}

TEST(Options, TwoProgramsWithOneNameAreRefused)
{
    EXPECT_NE(parse({"--program", "floor:/a", "--program", "floor:/b"}).error, "");
}

TEST(Options, EnvironmentGoesToTheNamedProgram)
{
    const ParsedOptions p = parse({"--program", "floor:/f", "--program", "t3=tavoro3:/t", "--env",
        "t3:QT_LOGGING_RULES=*.debug=true", "--env", "t3:A=", "--env", "floor:B=1"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.programs[0].env, std::vector<std::string>{"B=1"});
    EXPECT_EQ(p.options.programs[1].env, (std::vector<std::string>{"QT_LOGGING_RULES=*.debug=true", "A="}));
}

TEST(Options, EnvironmentForAnUnknownProgramOrWithoutAVariableIsRefused)
{
    EXPECT_NE(parse({"--program", "floor:/f", "--env", "t3:A=1"}).error, "");
    EXPECT_NE(parse({"--env", "floor:A=1", "--program", "floor:/f"}).error, "");
    EXPECT_NE(parse({"--program", "floor:/f", "--env", "floor:A"}).error, "");
    EXPECT_NE(parse({"--program", "floor:/f", "--env", "floor:=1"}).error, "");
    EXPECT_NE(parse({"--program", "floor:/f", "--env", "A=1"}).error, "");
}

TEST(Environment, AddsAndReplacesByName)
{
    const char* base[] = {"PATH=/bin", "QT_X=1", "QT_XY=2", nullptr};
    ProgramSpec spec{"t3", Kind::Tavoro3, "/t", {"QT_X=9", "NEW=a=b"}};
    EXPECT_EQ(environmentFor(spec, base), (std::vector<std::string>{"PATH=/bin", "QT_XY=2", "QT_X=9", "NEW=a=b"}));
    spec.env.clear();
    EXPECT_EQ(environmentFor(spec, base), (std::vector<std::string>{"PATH=/bin", "QT_X=1", "QT_XY=2"}));
}

TEST(Options, HelpStopsParsing)
{
    EXPECT_TRUE(parse({"--help", "--bogus"}).options.help);
}
