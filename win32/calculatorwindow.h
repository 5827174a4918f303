// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator window: the big coloured keys, the two display bars, the clear labels, the tape
// and the menus, built from the design table in one loop. It owns the engine (`Calculator`) and
// mirrors the engine's display items into its controls after every handler: each handler makes
// one engine call (or changes the window's own option state) and then one syncFromEngine() copies
// every display item into its control. No arithmetic and no number formatting happen here.
//
// Controls are Windows' own: owner-drawn push buttons for the keys, static controls for the
// labels, edit controls for the two text boxes, an owner-drawn list box for the tape, a real menu
// bar and tool tips. Each carries its design row's place in the table as its identifier
// (controlids.h), which is how automation finds it, and answers assistive tools with an accessible
// object of ours (accessibility.h).

#include "accessibility.h"
#include "announcement.h"
#include "calculator.h"
#include "calculatordesign.h"
#include "gdi.h"
#include "window.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavoro {

class CalculatorWindow : public Window {
public:
    // Builds every control, hidden; the load step (Form_Load) runs when the window is first shown.
    CalculatorWindow(const CalculatorVariant& variant, Services& services, const Icons& icons);
    ~CalculatorWindow() override;

    Calculator& engine() { return m_engine; }

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
        Font font;       // the design font at the window's DPI
        Font fitted;     // a display's smaller font while its text is too wide for the design one
        std::string tip; // the tool tip as it stands
        bool pressed = false; // a text box or a clear label: the left button went down in it
    };

    void buildControls();
    void buildMenus();
    void buildToolTips();
    void bindEvents();
    void presentControls();
    // Places and fonts at the design's DPI.
    void layOut();
    // Fits the window to its monitor's work area again (dpi.h), where it stands.
    void refit();

    Control& control(std::string_view name);
    Control* controlOf(HWND hwnd);
    HBRUSH brush(Rgb colour);
    HBRUSH controlColours(HDC dc, HWND hwnd);
    void drawTapeLine(const DRAWITEMSTRUCT& item);
    int tapeLineHeight(std::size_t index);
    std::vector<std::wstring> tapeRows(std::wstring_view line);
    void scrollTapeToNewest();
    void moveFocus(bool backwards);
    // Runs the click handler of the control or menu item with identifier `id`.
    void click(int id);
    // Every control's own mouse messages: what makes a click (the accessible object is present()'s).
    static LRESULT CALLBACK controlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT textBoxMessage(Control& box, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT clickLabelMessage(Control& label, UINT message, WPARAM wParam, LPARAM lParam);

    void syncFromEngine();
    // After a press: the screen reader says what it changed.
    void announce(const PressAnnouncement& press);
    // Sets a display's caption: in the design font where it fits, else in the largest size that
    // does; never cut off. True when the caption changed.
    bool setDisplayText(Control& label, const std::string& text);
    void fitDisplay(Control& label);
    void setDateAndTimeText(const std::string& text);
    void setToolTip(Control& control, std::string_view tip);
    void setChecked(std::string_view item, bool checked);
    void showTape(bool shown);
    void enableTimer(bool enabled);

    // Handlers, named after their control and event.
    void Form_Load();
    void cmdDigit_Click(int index);
    void cmdOp_Click(int index);
    void lblClearAll_Click();
    void lblClearError_Click();
    void lblClearError2_Click();
    void txtShowEntries_Click();
    void txtClearEntries_Click();
    void mnuOptionsShowTape_Click();
    void mnuOptionsHideTape_Click();
    void mnuOptionsDateAndTimeOn_Click();
    void mnuOptionsDateAndTimeOff_Click();
    void tmrCalc_Timer();
    void mnuFilesExit_Click();

    Calculator m_engine;
    Services& m_services;
    const CalculatorVariant& m_variant;
    UINT m_monitorDpi = 96; // the monitor's: the frame, the title bar and the menu bar
    UINT m_dpi = 96;        // the design's: every control, font and line (dpi.h)
    bool m_loaded = false;
    bool m_timerEnabled = false;

    std::vector<Control> m_controls;           // in the design's stacking order
    std::vector<HWND> m_tabOrder;               // the controls that take the focus, in tab order
    std::map<int, std::function<void()>> m_clicks; // control or menu item identifier -> handler
    std::map<std::string, int, std::less<>> m_menuItems; // menu item name -> identifier
    std::map<Rgb, Brush> m_brushes;
    HMENU m_menuBar = nullptr; // owned by the window: destroyed with it
    HWND m_toolTips = nullptr;
    HWND m_lastFocus = nullptr;
    std::unique_ptr<Announcer> m_announcer;

    Control* m_lblDisplay = nullptr;
    Control* m_lblNewNum = nullptr;
    Control* m_lblOp = nullptr;
    Control* m_lblSpacer1 = nullptr;
    Control* m_lblDateAndTime = nullptr;
    Control* m_lstEntered = nullptr;
    Control* m_txtShowEntries = nullptr;
    Control* m_txtClearEntries = nullptr;
};

} // namespace tavoro
