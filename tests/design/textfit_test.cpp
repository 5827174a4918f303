// SPDX-License-Identifier: GPL-3.0-or-later
// How a too-wide text is fitted: a display's font shrinks to the largest quarter-point size that
// fits, a tape line breaks into rows anywhere. Measured here with a monospaced model font, every
// character `points` pixels wide at a size.

#include "textfit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavoro {
namespace {

int modelWidth(std::string_view text, double points) { return static_cast<int>(text.size() * points); }

TEST(TextFit, DisplayFontShrinksToTheLargestQuarterPointThatFits)
{
    struct Row {
        const char* name;
        std::string text;
        double design;
        int width;
        double expected;
    };
    const Row rows[] = {
        {"fits at the design size", "15", 27.75, 388, 27.75},
        {"exactly as wide as the label", "1234", 25.0, 100, 25.0},
        {"one quarter point less", "1234", 25.0, 99, 24.75},
        {"the longest text", "-1.23456789012345E-308", 27.75, 388, 17.5},
        {"never below the minimum", "-1.23456789012345E-308", 27.75, 10, MinimumFitPoints},
        {"a design size below the minimum stays", "123", 5.0, 1, 5.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const double size = fittingPointSize(row.design, row.width,
            [&](double points) { return modelWidth(row.text, points); });
        EXPECT_DOUBLE_EQ(size, row.expected);
        if (size > MinimumFitPoints && size < row.design) {
            EXPECT_LE(modelWidth(row.text, size), row.width);
            EXPECT_GT(modelWidth(row.text, size + FitPointStep), row.width);
        }
    }
}

TEST(TextFit, TapeLinesWrapAnywhereAndKeepEveryCharacter)
{
    struct Row {
        const char* name;
        std::string line;
        int width;
        std::vector<std::string> rows;
    };
    const Row table[] = {
        {"a short line is one row", "+ 3", 10, {"+ 3"}},
        {"an empty line is one empty row", "", 10, {""}},
        {"a result breaks inside its number", "=  9.75461059740247E+30", 10, {"=  9.75461", "059740247E", "+30"}},
        {"at least one character a row", "X 9", 0, {"X", " ", "9"}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        const auto rows = wrapAnywhere(row.line, row.width, [](std::string_view part) { return modelWidth(part, 1.0); });
        EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.end()), row.rows);
    }
}

} // namespace
} // namespace tavoro
