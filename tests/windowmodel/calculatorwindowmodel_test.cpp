// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window's behaviour without any window: what each handler leaves in the model's
// view. Most checks compare the whole window state before and after a handler, so that a handler
// that changes more than it should fails as surely as one that changes too little.

#include "bindings.h"
#include "calculatorwindowmodel.h"
#include "recordingservices.h"
#include "testkeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace tavoro {
namespace {

using M = CalculatorWindowModel;
using Handler = void (M::*)();
using Lines = std::vector<std::string>;

// Every field of the window state, comparable and printable at once.
auto fields(const WindowState& w)
{
    return std::tie(w.tapeShown, w.clearEntriesShown, w.showEntriesText, w.showEntriesTip, w.showEntriesSet,
        w.showTapeChecked, w.hideTapeChecked, w.dateAndTimeOnChecked, w.dateAndTimeOffChecked, w.dateAndTimeShown,
        w.dateAndTime, w.timerEnabled, w.announcement, w.announcements, w.loaded, w.ended);
}

// Presses whitespace-separated keys by name (testkeys.h) through the window's binding table.
void keys(M& model, const std::string& names)
{
    std::istringstream in(names);
    for (std::string k; in >> k;) {
        const auto control = testkeys::controlOfKey(k);
        const auto binding = std::ranges::find(bindings(), control, &Binding::control);
        if (control && binding != bindings().end())
            run(*binding, model);
        else
            ADD_FAILURE() << "no key called " << k;
    }
}

// A model that has been through the load step, with some keys pressed.
struct Loaded {
    explicit Loaded(const std::string& pressed = "")
    {
        model.Form_Load();
        keys(model, pressed);
    }
    const WindowState& w() const { return model.view().window; }
    const DisplayState& d() const { return model.view().display; }

    RecordingServices services;
    M model{services};
};

// Before the load step everything is as designed; the load step switches the date and time off
// and hides the green new-number bar, and touches nothing of the tape.
TEST(CalculatorWindowModel, LoadSwitchesTheDateAndTimeOffAndHidesTheNewNumberBar)
{
    RecordingServices services;
    M model(services);
    // Every field spelled out, so that a changed default in WindowState shows here.
    WindowState expected{.tapeShown = false, .clearEntriesShown = false, .showEntriesText = "SHOW  Entries",
        .showEntriesTip = " SHOW Entries Tape ", .showEntriesSet = 0, .showTapeChecked = false,
        .hideTapeChecked = false, .dateAndTimeOnChecked = false, .dateAndTimeOffChecked = false,
        .dateAndTimeShown = false, .dateAndTime = " ", .timerEnabled = true, .announcement = "",
        .announcements = 0, .loaded = false, .ended = false};
    EXPECT_EQ(fields(model.view().window), fields(expected));

    model.Form_Load();
    expected.dateAndTimeOffChecked = expected.loaded = true;
    expected.timerEnabled = false;
    EXPECT_EQ(fields(model.view().window), fields(expected));
    EXPECT_EQ(model.engine().state().blnDateAndTime, 0);
    const DisplayState& d = model.view().display;
    EXPECT_FALSE(d.lblNewNumVisible || d.lblOpVisible || d.lblSpacer1Visible);
}

TEST(CalculatorWindowModel, OptionsItemsSetExplicitStatesFromAnyState)
{
    const struct {
        const char* name;
        Handler item;
        void (*change)(WindowState&);
        std::optional<std::int16_t> blnDateAndTime; // nothing: unchanged
    } rows[] = {
        {"Show Tape", &M::mnuOptionsShowTape_Click,
            [](WindowState& w) { w.showTapeChecked = w.tapeShown = true; w.hideTapeChecked = false; }, {}},
        {"Hide Tape", &M::mnuOptionsHideTape_Click,
            [](WindowState& w) { w.showTapeChecked = w.tapeShown = false; w.hideTapeChecked = true; }, {}},
        {"Date and Time On", &M::mnuOptionsDateAndTimeOn_Click, [](WindowState& w) {
            w.dateAndTimeOnChecked = w.timerEnabled = w.dateAndTimeShown = true;
            w.dateAndTimeOffChecked = false;
        }, -1},
        {"hIde Date and Time", &M::mnuOptionsDateAndTimeOff_Click, [](WindowState& w) {
            w.dateAndTimeOnChecked = w.timerEnabled = w.dateAndTimeShown = false;
            w.dateAndTimeOffChecked = true;
        }, 0},
    };
    // Each item is chosen after each other item, after the "SHOW Entries" box, and again at once.
    const Handler before[] = {nullptr, &M::txtShowEntries_Click, &M::mnuOptionsShowTape_Click,
        &M::mnuOptionsHideTape_Click, &M::mnuOptionsDateAndTimeOn_Click, &M::mnuOptionsDateAndTimeOff_Click};
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < std::size(before); ++i) {
            SCOPED_TRACE(testing::Message() << row.name << " after step " << i);
            Loaded t("1 2 +");
            if (before[i])
                (t.model.*before[i])();
            WindowState expected = t.w();
            const DisplayState display = t.d();
            CalculatorState engine = t.model.engine().state();
            row.change(expected);
            engine.blnDateAndTime = row.blnDateAndTime.value_or(engine.blnDateAndTime);
            for (int times = 1; times <= 2; ++times) {
                (t.model.*row.item)();
                EXPECT_EQ(fields(t.w()), fields(expected)) << "choice " << times;
                EXPECT_TRUE(t.model.engine().state() == engine) << "choice " << times;
                EXPECT_TRUE(t.d() == display) << "choice " << times;
            }
        }
    }
}

TEST(CalculatorWindowModel, ShowEntriesTogglesByTheTapesVisibility)
{
    const struct {
        const char* name;
        std::vector<Handler> setup;
        bool shows;
    } rows[] = {
        {"hidden at load", {}, true},
        {"shown by the box", {&M::txtShowEntries_Click}, false},
        {"hidden again by the box", {&M::txtShowEntries_Click, &M::txtShowEntries_Click}, true},
        {"shown by Show Tape", {&M::mnuOptionsShowTape_Click}, false},
        {"shown, then hidden by Hide Tape", {&M::mnuOptionsShowTape_Click, &M::mnuOptionsHideTape_Click}, true},
        {"shown by the box, then hidden by Hide Tape", {&M::txtShowEntries_Click, &M::mnuOptionsHideTape_Click}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Loaded t;
        for (const Handler step : row.setup)
            (t.model.*step)();
        WindowState expected = t.w();
        expected.tapeShown = expected.clearEntriesShown = row.shows;
        expected.showEntriesText = row.shows ? "HIDE Entries" : "SHOW Entries";
        expected.showEntriesTip = row.shows ? "HIDE Entries Tape" : "SHOW Entries Tape";
        ++expected.showEntriesSet;
        t.model.txtShowEntries_Click();
        EXPECT_EQ(fields(t.w()), fields(expected));
    }
}

// The menu never touches the boxes: after the box showed the tape, Hide Tape leaves "CLEAR
// Entries" showing and the box saying "HIDE Entries", and the next click shows the tape again.
TEST(CalculatorWindowModel, HideTapeLeavesTheBoxesAsTheBoxSetThem)
{
    Loaded t;
    t.model.txtShowEntries_Click();
    t.model.mnuOptionsHideTape_Click();
    EXPECT_TRUE(t.w().clearEntriesShown);
    EXPECT_EQ(t.w().showEntriesText, "HIDE Entries");
    EXPECT_EQ(t.w().showEntriesSet, 1u);
}

TEST(CalculatorWindowModel, ClearEntriesEmptiesOnlyTheTape)
{
    for (const bool tapeShown : {true, false}) {
        SCOPED_TRACE(tapeShown ? "tape shown" : "tape hidden");
        Loaded t("1 2 + 3");
        t.model.txtShowEntries_Click();
        if (!tapeShown)
            t.model.mnuOptionsHideTape_Click();
        ASSERT_EQ(t.d().lstEntered, Lines{"   12"});
        const WindowState window = t.w();
        const CalculatorState engine = t.model.engine().state();
        DisplayState display = t.d();
        display.lstEntered.clear();
        t.model.txtClearEntries_Click();
        EXPECT_TRUE(t.d() == display);
        EXPECT_TRUE(t.model.engine().state() == engine);
        EXPECT_EQ(fields(t.w()), fields(window));
        keys(t.model, "+");
        EXPECT_EQ(t.d().lstEntered, Lines{"+ 3"});
        EXPECT_EQ(t.d().lblDisplay, "15");
    }
}

TEST(CalculatorWindowModel, EachKeyPressSaysItsWords)
{
    const struct {
        const char* before;
        const char* key;
        const char* said;
    } rows[] = {
        {"", "1", "1"},
        {"1", "2", "12"},
        {"1 2", ".", "12"},
        {"1 2", "+", "plus, 12"},
        {"1 2 +", "3", "3"},
        {"1 2 + 3", "=", "equals 15"},
        {"1 2 + 3", "CE", "Error Cleared"},
        {"1 2 + 3", "CE2", "Error Cleared"},
        {"1 2 + 3 =", "CA", "all cleared"},
        {"1 2 +", "X", "times instead of plus"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.before) + " then " + row.key);
        Loaded t(row.before);
        const unsigned count = t.w().announcements;
        keys(t.model, row.key);
        EXPECT_EQ(t.w().announcement, row.said);
        EXPECT_EQ(t.w().announcements, count + 1);
    }
}

TEST(CalculatorWindowModel, PressesWithoutWordsLeaveTheLastWords)
{
    // nullptr: an operator with nothing typed and no total, refused with a message box.
    const Handler silent[] = {nullptr, &M::txtShowEntries_Click, &M::txtClearEntries_Click, &M::mnuOptionsShowTape_Click,
        &M::mnuOptionsHideTape_Click, &M::mnuOptionsDateAndTimeOn_Click, &M::mnuOptionsDateAndTimeOff_Click};
    for (std::size_t i = 0; i < std::size(silent); ++i) {
        SCOPED_TRACE(i);
        Loaded t("1 CA");
        ASSERT_EQ(t.w().announcements, 2u);
        if (silent[i])
            (t.model.*silent[i])();
        else
            keys(t.model, "+");
        EXPECT_EQ(t.w().announcement, "all cleared");
        EXPECT_EQ(t.w().announcements, 2u);
        EXPECT_EQ(t.services.messages.size(), silent[i] ? 0u : 1u);
    }
}

TEST(CalculatorWindowModel, TimerTickShowsTheCurrentDateAndTimeOnly)
{
    for (const Handler option : {&M::mnuOptionsDateAndTimeOn_Click, &M::mnuOptionsDateAndTimeOff_Click}) {
        Loaded t;
        (t.model.*option)();
        WindowState expected = t.w();
        for (const std::string& now : {t.services.dateTime, std::string("1/1/2027 12:00:00 AM")}) {
            SCOPED_TRACE(now);
            t.services.dateTime = now;
            t.model.tmrCalc_Timer();
            expected.dateAndTime = now;
            EXPECT_EQ(fields(t.w()), fields(expected));
        }
    }
}

TEST(CalculatorWindowModel, ExitEndsTheProgram)
{
    Loaded t;
    WindowState expected = t.w();
    expected.ended = true;
    t.model.mnuFilesExit_Click();
    EXPECT_EQ(fields(t.w()), fields(expected));
}

} // namespace
} // namespace tavoro
