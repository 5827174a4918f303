// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator window: the big coloured keys, the two display bars, the clear labels, the tape
// and the menus, built from the design table in one loop, with the Windows API. What the window
// does is its model's (calculatorwindowmodel.h): each control's click runs the model's handler,
// and then draw() draws the model's whole view into the controls.
//
// Controls are Windows' own: owner-drawn push buttons for the keys, static controls for the
// labels, edit controls for the two text boxes, an owner-drawn list box for the tape (tape.h), a
// real menu bar and tool tips. The keys, clear labels and text boxes take the mouse as keys do
// (clickcontrols.h). Each control carries its design row's place in the table as its identifier
// (controlids.h), which is how automation finds it, and answers assistive tools with an
// accessible object of ours (accessibility.h).

#include "accessibility.h"
#include "calculatordesign.h"
#include "calculatorwindowmodel.h"
#include "gdi.h"
#include "window.h"
#include "windowdrawing.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavoro {

class Tape;

class CalculatorWindow : public Window, private WindowSurface {
public:
    // Builds every control, hidden; the load step (Form_Load) runs when the window is first shown.
    CalculatorWindow(const CalculatorVariant& variant, Services& services, const Icons& icons);
    ~CalculatorWindow() override;

    const Calculator& engine() const { return m_model.engine(); }

    // Shows the window centred on its screen, active, with the keyboard focus on txtShowEntries;
    // the first time, after the load step.
    void show();

    // Takes the keys the window handles before its controls see them: Tab and Shift+Tab, which
    // move the focus in the design's tab order. True when the message was used.
    bool preTranslate(const MSG& message);

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Control {
        const ControlDesign* row;
        HWND hwnd;
        Font font;       // the design font at the design's DPI
        Font fitted;     // a display's smaller font while its text is too wide for the design one
        std::string tip; // the tool tip as it stands
    };

    void buildControls();
    void buildMenus();
    void buildToolTips();
    // Binds each control's click, each menu item and the timer to its handler by the model's
    // binding table.
    void bindEvents();
    void presentControls();
    // Places and fonts at the design's DPI.
    void layOut();
    // Fits the window to its monitor's work area again (dpi.h), where it stands.
    void refit();

    Control& control(ControlId id);
    int menuItemId(ControlId item) const;
    Control* controlOf(HWND hwnd);
    HBRUSH brush(Rgb colour);
    HBRUSH controlColours(HDC dc, HWND hwnd);
    void moveFocus(bool backwards);
    // Runs the click of the control or menu item with identifier `id`.
    void click(int id);
    // Runs one of the model's handlers, then draws what it changed.
    void handle(const std::function<void(CalculatorWindowModel&)>& handler);
    // Draws the model's view (windowdrawing.h).
    void draw();

    // The toolkit's side of drawing the view, each with the helpers it needs. A display's caption
    // shows in the design font where it fits, else in the largest size that does; never cut off.
    void setDisplayText(ControlId label, const std::string& text) override;
    void fitDisplay(Control& label);
    void setShown(ControlId control, bool shown) override;
    void setTape(const std::vector<std::string>& lines) override;
    void showTape(bool shown) override;
    void setShowEntries(const std::string& text, const std::string& tip) override;
    void setToolTip(Control& control, std::string_view tip);
    void setChecked(ControlId menuItem, bool checked) override;
    // The label sizes itself to its caption.
    void setDateAndTime(const std::string& text) override;
    void setDateAndTimeText(const std::string& text);
    void enableTimer(bool enabled) override;
    void say(const std::string& words) override;
    void endProgram() override;

    CalculatorWindowModel m_model;
    ViewDrawer m_drawer;
    const CalculatorVariant& m_variant;
    UINT m_monitorDpi = 96; // the monitor's: the frame, the title bar and the menu bar
    UINT m_dpi = 96;        // the design's: every control, font and line (dpi.h)
    bool m_timerRunning = false;

    std::vector<Control> m_controls;               // in the design's stacking order, by identity
    std::vector<HWND> m_tabOrder;                  // the controls that take the focus, in tab order
    std::map<int, std::function<void()>> m_clicks; // control or menu item identifier -> handler
    std::function<void()> m_tick;                  // the timer's handler
    std::array<int, ControlIdCount> m_menuItemIds{}; // a menu item's command identifier, by identity
    std::map<Rgb, Brush> m_brushes;
    HMENU m_menuBar = nullptr; // owned by the window: destroyed with it
    HWND m_toolTips = nullptr;
    HWND m_lastFocus = nullptr;
    std::unique_ptr<Announcer> m_announcer;
    std::unique_ptr<Tape> m_tape;

    // The controls that more than the drawing of the view reaches.
    Control* m_lblDateAndTime = nullptr;
    Control* m_lstEntered = nullptr;
    Control* m_txtShowEntries = nullptr;
};

} // namespace tavoro
