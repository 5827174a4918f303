// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbertext.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace tavoro {
namespace {

struct ValueCase {
    const char* name;
    const char* text;
    double value;
};

const ValueCase ValueCases[] = {
    {"empty is 0", "", 0.0},
    {"lone point is 0", ".", 0.0},
    {"leading zeros", "007", 7.0},
    {"leading point starts the fraction", ".5", 0.5},
    {"trailing point", "2.", 2.0},
    {"second point stops reading", "1.2.3", 1.2},
    {"double point", "1..5", 1.0},
    {"zeros after the point", "1.050", 1.05},
    {"rest after a non-number character is ignored", "12a5", 12.0},
    {"twenty nines", "99999999999999999999", 1e20},
    {"correctly rounded", "0.1", 0.1},
    {"rounding tie to even", "9007199254740993", 9007199254740992.0},
    {"largest double", "179769313486231570000000000000000000000000000000000000000000000000000000"
                       "000000000000000000000000000000000000000000000000000000000000000000000000"
                       "000000000000000000000000000000000000000000000000000000000000000000000000"
                       "000000000000000000000000000000000000000000000000000000000000000000000000"
                       "000000000000000000000",
     std::numeric_limits<double>::max()},
    {"smallest subnormal", "0.00000000000000000000000000000000000000000000000000000000000000000000"
                           "00000000000000000000000000000000000000000000000000000000000000000000"
                           "00000000000000000000000000000000000000000000000000000000000000000000"
                           "00000000000000000000000000000000000000000000000000000000000000000000"
                           "0000000000000000000000000000000000000000000000000005",
     std::numeric_limits<double>::denorm_min()},
    {"below the smallest subnormal underflows to 0",
     "0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "0000000000000000000001",
     0.0},
};

TEST(ValueOfText, ReadsTheLongestLeadingNumber)
{
    for (const ValueCase& c : ValueCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(valueOfText(c.text), c.value);
    }
}

TEST(ValueOfText, BeyondTheDoubleRangeIsInfinite)
{
    EXPECT_EQ(valueOfText(std::string(309, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(valueOfText("1" + std::string(400, '0') + ".5"), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isfinite(valueOfText(std::string(308, '9'))));
}

struct TextCase {
    const char* name;
    double value;
    const char* plain;
    const char* signedForm;
};

const TextCase TextCases[] = {
    {"zero", 0.0, "0", " 0"},
    {"negative zero counts as zero", -0.0, "0", " 0"},
    {"whole number", 12.0, "12", " 12"},
    {"negative", -7.0, "-7", "-7"},
    {"fraction has a 0 before the point", 0.5, "0.5", " 0.5"},
    {"no trailing zeros", 1.05, "1.05", " 1.05"},
    {"fifteen significant digits", 1.0 / 3.0, "0.333333333333333", " 0.333333333333333"},
    {"rounds at the fifteenth digit", 2.0 / 3.0, "0.666666666666667", " 0.666666666666667"},
    {"largest without exponent", 999999999999999.0, "999999999999999", " 999999999999999"},
    {"exponent from 1E+15", 1e15, "1E+15", " 1E+15"},
    {"rounding carries into the exponent", 9999999999999999.0, "1E+16", " 1E+16"},
    {"smallest without exponent", 0.0001, "0.0001", " 0.0001"},
    {"exponent below 1E-04", 0.00001, "1E-05", " 1E-05"},
    {"fraction with exponent", 1.5e-7, "1.5E-07", " 1.5E-07"},
    {"negative with exponent", -2.5e20, "-2.5E+20", "-2.5E+20"},
    {"largest double", std::numeric_limits<double>::max(), "1.79769313486232E+308",
     " 1.79769313486232E+308"},
    {"smallest subnormal", std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324",
     " 4.94065645841247E-324"},
};

void expectTexts()
{
    for (const TextCase& c : TextCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(plainText(c.value), c.plain);
        EXPECT_EQ(signedText(c.value), c.signedForm);
    }
}

TEST(NumberText, PlainAndSignedForms) { expectTexts(); }

TEST(NumberText, IndependentOfTheLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    // The names glibc and Windows' C runtime know a German locale by.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8")
        && !std::setlocale(LC_ALL, "German_Germany.1252"))
        GTEST_SKIP() << "no decimal-comma locale installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    expectTexts();
    EXPECT_EQ(valueOfText("1.5"), 1.5);
    std::setlocale(LC_ALL, previous.c_str());
}

} // namespace
} // namespace tavoro
