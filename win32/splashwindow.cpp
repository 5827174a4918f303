// SPDX-License-Identifier: GPL-3.0-or-later
#include "splashwindow.h"

#include "controlids.h"
#include "controls.h"
#include "designfont.h"
#include "dpi.h"
#include "keypainter.h"
#include "logo.h"
#include "widetext.h"

namespace tavoro {

namespace {

constexpr DWORD Label = WS_VISIBLE | SS_NOPREFIX;

void setFont(HWND control, const Font& font) { SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE); }

} // namespace

SplashWindow::SplashWindow(const ProgramDescription& program, std::function<void()> showCalculator, const Icons& icons)
    : m_program(program)
    , m_variant(program.splash)
    , m_showCalculator(std::move(showCalculator))
{
    const std::wstring className = toWide(m_variant.className);
    const WindowClass splashClass{className.c_str(), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icons};
    const bool sizable = m_variant.border == SplashBorder::Sizable;
    // Without a caption, a dialog frame is all the border there is: no title bar, no window buttons.
    const DWORD style = sizable ? WS_OVERLAPPEDWINDOW : WS_POPUP | WS_DLGFRAME;
    const DWORD exStyle = sizable ? 0 : WS_EX_DLGMODALFRAME;
    create(splashClass, style | WS_CLIPCHILDREN, exStyle | WS_EX_CONTROLPARENT, toWide(m_variant.caption), nullptr);
    m_monitorDpi = dpiOf(hwnd());
    // Screen readers name a window by its caption; one without a caption goes by the program title.
    m_presentation = std::make_shared<const Presentation>(Presentation{
        .name = [title = toWide(m_program.title)] { return title; },
    });

    buildControls();
    if (m_variant.loadShowsTitle)
        Form_Load();
    m_dpi = fitToWorkArea(hwnd(), m_variant.clientWidth, m_variant.clientHeight, m_monitorDpi,
        sizable ? Placement::Keep : Placement::Centre);
    layOut();
}

void SplashWindow::refit()
{
    const UINT dpi = fitToWorkArea(hwnd(), m_variant.clientWidth, m_variant.clientHeight, m_monitorDpi, Placement::Keep);
    if (dpi != m_dpi) {
        m_dpi = dpi;
        layOut();
    }
}

SplashWindow::~SplashWindow()
{
    m_frame.reset();
    destroy();
}

void SplashWindow::buildControls()
{
    m_frame = std::make_unique<FrameWindow>(hwnd(), splashid::Frame1);
    const HWND frame = m_frame->hwnd();
    m_lblProductName = createControl(frame, L"STATIC", splash::ProductNameCaption, Label | SS_CENTER, 0, splashid::lblProductName);
    m_lblOldGuys = createControl(frame, L"STATIC", splash::OldGuysCaption, Label | SS_CENTER, 0, splashid::lblOldGuys);
    m_imgLogo = createControl(frame, L"STATIC", "", WS_VISIBLE | SS_BITMAP, 0, splashid::imgLogo);
    m_cmdStartTavoro = createControl(frame, L"BUTTON", splash::StartCaption, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0,
        splashid::cmdStartTavoro);
    m_lblPlatform = createControl(frame, L"STATIC", m_variant.platformCaption, Label | SS_RIGHT, 0, splashid::lblPlatform);

    present(m_imgLogo, std::make_shared<const Presentation>(Presentation{
        .role = ROLE_SYSTEM_GRAPHIC,
        .name = [] { return toWide(splash::LogoName); },
        .description = [] { return toWide(splash::LogoDescription); },
    }));
}

void SplashWindow::layOut()
{
    placeControl(m_frame->hwnd(), m_variant.frame1, m_dpi);
    placeControl(m_lblProductName, m_variant.lblProductName, m_dpi);
    placeControl(m_lblOldGuys, m_variant.lblOldGuys, m_dpi);
    placeControl(m_imgLogo, m_variant.imgLogo, m_dpi);
    placeControl(m_cmdStartTavoro, m_variant.cmdStartTavoro, m_dpi);
    placeControl(m_lblPlatform, m_variant.lblPlatform, m_dpi);

    m_productNameFont = designFont(splash::ProductNameFont, m_dpi);
    m_oldGuysFont = designFont(splash::OldGuysFont, m_dpi);
    m_startFont = designFont(splash::StartFont, m_dpi);
    m_platformFont = designFont(splash::PlatformFont, m_dpi);
    setFont(m_lblProductName, m_productNameFont);
    setFont(m_lblOldGuys, m_oldGuysFont);
    setFont(m_cmdStartTavoro, m_startFont);
    setFont(m_lblPlatform, m_platformFont);

    // The version line sizes itself to its one-line caption, keeping its left and top edges.
    const SIZE platform = textExtent(m_lblPlatform, m_platformFont.get(), windowText(m_lblPlatform));
    SetWindowPos(m_lblPlatform, nullptr, 0, 0, platform.cx, platform.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The logo is drawn at its control's size in the screen's pixels, scaled from the original;
    // the control shows the new bitmap before the old one goes.
    const RECT logo = pixelsOf(m_variant.imgLogo, m_dpi);
    Bitmap scaled = logoBitmap(logo.right - logo.left, logo.bottom - logo.top);
    SendMessageW(m_imgLogo, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled.get()));
    m_logo = std::move(scaled);
}

void SplashWindow::show()
{
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    // The start button is the only control that takes the keyboard focus, so it holds it.
    SetFocus(m_cmdStartTavoro);
}

HBRUSH SplashWindow::labelColours(HDC dc, HWND label)
{
    if (label == m_lblProductName) {
        SetTextColor(dc, colorRef(splash::ProductNameFore));
        SetBkColor(dc, colorRef(splash::ProductNameBack));
        return m_productNameBack.get();
    }
    if (label == m_lblOldGuys) {
        SetTextColor(dc, colorRef(splash::OldGuysFore));
        SetBkColor(dc, colorRef(splash::OldGuysBack));
        return m_oldGuysBack.get();
    }
    return nullptr;
}

LRESULT SplashWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A new monitor, scale, work area or display: fitted anew for it.
    if (asksForRefit(hwnd(), message, wParam, lParam, m_monitorDpi)) {
        refit();
        if (message == WM_DPICHANGED)
            return 0;
    }
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == splashid::cmdStartTavoro && HIWORD(wParam) == BN_CLICKED)
            cmdStartTavoro_Click();
        return 0;
    case WM_DRAWITEM:
        paintKey(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), m_variant.startButtonFace, m_dpi);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (const HBRUSH brush = labelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_ACTIVATE:
        // Coming back to the window, the keyboard goes back to the start button.
        if (LOWORD(wParam) != WA_INACTIVE && IsWindowVisible(hwnd()))
            SetFocus(m_cmdStartTavoro);
        return 0;
    case WM_CLOSE:
        // No other window exists yet: closing the splash window ends the program.
        PostQuitMessage(0);
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT object = accessibleObject(hwnd(), wParam, lParam, m_presentation))
            return object;
        break;
    default:
        break;
    }
    return defaultHandling(message, wParam, lParam);
}

void SplashWindow::Form_Load() { setWindowText(m_lblProductName, m_program.title); }

void SplashWindow::cmdStartTavoro_Click()
{
    ShowWindow(hwnd(), SW_HIDE);
    try {
        m_showCalculator();
    } catch (...) {
        // Without the calculator window the program must not go on with no window at all.
        ShowWindow(hwnd(), SW_SHOW);
        throw;
    }
}

} // namespace tavoro
