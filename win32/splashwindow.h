// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splash window: the product name, the slogan, the logo, the version line and the start
// button, all inside the plain frame Frame1. The start button hides the splash window (it stays
// loaded) and shows the calculator window; closing the splash window ends the program. Tavoro 3's
// is sizable with a title bar where Windows places new windows; Tavoro 2's is a fixed dialog
// without title bar, centred, whose load step shows the program title.

#include "accessibility.h"
#include "framewindow.h"
#include "gdi.h"
#include "programdescription.h"
#include "window.h"

#include <functional>
#include <memory>

namespace tavoro {

class SplashWindow : public Window {
public:
    // `showCalculator` is the start button's second half: it shows the calculator window.
    SplashWindow(const ProgramDescription& program, std::function<void()> showCalculator, const Icons& icons);
    ~SplashWindow() override;

    // Shows the window with the keyboard focus on its start button.
    void show();

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void buildControls();
    // Places, fonts and the logo at the design's DPI.
    void layOut();
    // Fits the window to its monitor's work area again (dpi.h), where it stands.
    void refit();
    HBRUSH labelColours(HDC dc, HWND label);

    void Form_Load();
    void cmdStartTavoro_Click();

    const ProgramDescription& m_program;
    const SplashVariant& m_variant;
    std::function<void()> m_showCalculator;
    UINT m_monitorDpi = 96; // the monitor's: the frame, the title bar and the menu bar
    UINT m_dpi = 96;        // the design's: every control, font and line (dpi.h)

    std::unique_ptr<FrameWindow> m_frame;
    HWND m_lblProductName = nullptr;
    HWND m_lblOldGuys = nullptr;
    HWND m_imgLogo = nullptr;
    HWND m_cmdStartTavoro = nullptr;
    HWND m_lblPlatform = nullptr;

    Font m_productNameFont;
    Font m_oldGuysFont;
    Font m_startFont;
    Font m_platformFont;
    Bitmap m_logo;
    Brush m_productNameBack = solidBrush(splash::ProductNameBack);
    Brush m_oldGuysBack = solidBrush(splash::OldGuysBack);
    std::shared_ptr<const Presentation> m_presentation; // what assistive tools learn of the window
};

} // namespace tavoro
