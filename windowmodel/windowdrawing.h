// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing the model's view, once for every front end: which fields of the view go to which
// control, in which order, and what is drawn only when it changed. A front end supplies the
// toolkit's side, one operation at a time, as a `WindowSurface`.

#include "calculatordesign.h"

#include <string>
#include <vector>

namespace tavoro {

struct CalculatorWindowView;

// What a front end does to its controls, each in its own toolkit.
class WindowSurface {
public:
    // A display's caption (lblDisplay, lblNewNum, lblOp): never cut off, and reported to assistive
    // tools when it changes.
    virtual void setDisplayText(ControlId label, const std::string& text) = 0;
    virtual void setShown(ControlId control, bool shown) = 0;
    // The tape's lines (it only grows, except when it is emptied) and whether it shows.
    virtual void setTape(const std::vector<std::string>& lines) = 0;
    virtual void showTape(bool shown) = 0;
    // The "SHOW Entries" box's text and tool tip, set by a handler.
    virtual void setShowEntries(const std::string& text, const std::string& tip) = 0;
    virtual void setChecked(ControlId menuItem, bool checked) = 0;
    // The date-and-time label's caption, which it sizes itself to.
    virtual void setDateAndTime(const std::string& text) = 0;
    // Starts the timer when enabled and not running; stops it when disabled.
    virtual void enableTimer(bool enabled) = 0;
    virtual void say(const std::string& words) = 0;
    // Ends the whole program at once, hidden windows included: no question, nothing saved.
    virtual void endProgram() = 0;

protected:
    ~WindowSurface() = default;
};

// Draws a model's whole view onto a front end's surface after each handler.
class ViewDrawer {
public:
    void draw(const CalculatorWindowView& view, WindowSurface& surface);

private:
    unsigned m_showEntriesSet = 0; // the model's text-box setting last drawn
    unsigned m_announced = 0;      // the model's announcements already said
};

} // namespace tavoro
