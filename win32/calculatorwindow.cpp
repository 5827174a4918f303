// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculatorwindow.h"

#include "bindings.h"
#include "calculatorpresentation.h"
#include "clickcontrols.h"
#include "controlids.h"
#include "controls.h"
#include "designfont.h"
#include "dpi.h"
#include "keypainter.h"
#include "tape.h"
#include "textfit.h"
#include "widetext.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace tavoro {

namespace {

constexpr UINT_PTR TimerId = 1;
// Posted to the window: run the click of the control whose identifier is wParam, as an assistive
// tool's press does.
constexpr UINT PressMessage = WM_APP + 1;
constexpr DWORD NameChanged = 0x800C;     // EVENT_OBJECT_NAMECHANGE
constexpr DWORD DescriptionChanged = 0x800D; // EVENT_OBJECT_DESCRIPTIONCHANGE

void setFont(HWND control, HFONT font) { SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

bool shown(HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

int rowHeight(HWND control, HFONT font)
{
    const MeasuringDc dc(control, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

} // namespace

CalculatorWindow::CalculatorWindow(const CalculatorVariant& variant, Services& services, const Icons& icons)
    : m_model(services)
    , m_variant(variant)
{
    const std::wstring className = toWide(variant.className);
    // A single fixed border: the window cannot be resized by dragging; minimise and maximise stay.
    // The background is painted in the design colour (WM_ERASEBKGND).
    create({className.c_str(), nullptr, icons},
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN, 0,
        toWide(variant.caption), nullptr);
    if (hwnd() == nullptr)
        throw std::runtime_error("the calculator window could not be created");
    m_monitorDpi = dpiOf(hwnd());

    buildMenus();
    buildControls();
    buildToolTips();
    presentControls();
    m_announcer = std::make_unique<Announcer>(hwnd(), AnnouncerId);
    bindEvents();
    m_dpi = fitToWorkArea(hwnd(), design::ClientArea.width, design::ClientArea.height, m_monitorDpi, Placement::Centre);
    layOut();
}

CalculatorWindow::~CalculatorWindow() { destroy(); }

void CalculatorWindow::buildControls()
{
    const auto rows = calculatorDesign();
    m_controls.reserve(rows.size()); // the pointers below stay valid
    std::vector<std::pair<int, HWND>> tabOrder;
    for (const ControlDesign& row : rows) {
        const HWND control = createDesignControl(hwnd(), row, controlId(row));
        // The table is in stacking order: each control goes above those made before it.
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_controls.push_back({&row, control, {}, {}, row.tip != nullptr ? row.tip : ""});
        if (takesFocus(row.kind))
            tabOrder.emplace_back(row.tab, control);
    }
    std::ranges::sort(tabOrder, {}, &std::pair<int, HWND>::first);
    for (const auto& [tab, control] : tabOrder)
        m_tabOrder.push_back(control);

    m_lblDateAndTime = &control(ControlId::lblDateAndTime);
    m_lstEntered = &control(ControlId::lstEntered);
    m_txtShowEntries = &control(ControlId::txtShowEntries);
    m_tape = std::make_unique<Tape>(m_lstEntered->hwnd, *m_lstEntered->row);
}

void CalculatorWindow::buildMenus()
{
    m_menuBar = CreateMenu();
    int id = FirstMenuItemId;
    for (const MenuDesign& menu : calculatorMenus()) {
        const HMENU items = CreatePopupMenu();
        for (const MenuItemDesign& item : menu.items) {
            AppendMenuW(items, MF_STRING, static_cast<UINT_PTR>(id), toWide(item.caption).c_str());
            m_menuItemIds.at(static_cast<std::size_t>(item.id)) = id++;
        }
        AppendMenuW(m_menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(items), toWide(menu.caption).c_str());
    }
    SetMenu(hwnd(), m_menuBar);
}

void CalculatorWindow::buildToolTips()
{
    m_toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    for (Control& c : m_controls) {
        if (c.row->tip == nullptr)
            continue;
        std::wstring tip = toWide(c.row->tip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(c.hwnd);
        tool.lpszText = tip.data();
        SendMessageW(m_toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CalculatorWindow::presentControls()
{
    for (Control& c : m_controls) {
        // An assistive tool's press runs the control's click once, posted, so that the tool's
        // call returns at once and presses run in the order they came.
        const auto press = [window = hwnd(), id = controlId(*c.row)] {
            PostMessageW(window, PressMessage, static_cast<WPARAM>(id), 0);
        };
        present(c.hwnd, presentationOf(*c.row, press, [&c] { return c.tip; }));
    }
}

void CalculatorWindow::bindEvents()
{
    for (const Binding& binding : bindings()) {
        const auto handler = [this, &binding] { handle([&binding](CalculatorWindowModel& model) { run(binding, model); }); };
        if (binding.control == ControlId::tmrCalc) {
            m_tick = handler;
            continue;
        }
        if (menuItemDesign(binding.control) != nullptr) {
            m_clicks[menuItemId(binding.control)] = handler;
            continue;
        }
        Control& c = control(binding.control);
        const int id = controlId(*c.row);
        m_clicks[id] = handler;
        // A caret as wide as the keys' focus mark, as high as a line of the box's font.
        const auto caret = [this, &c] {
            return SIZE{scaledPx(design::FocusMarkWidth, static_cast<int>(m_dpi)), rowHeight(c.hwnd, c.font.get())};
        };
        handleClicks(c.hwnd, {c.row->kind, [this, id] { click(id); }, caret});
    }
}

void CalculatorWindow::layOut()
{
    for (Control& c : m_controls) {
        placeControl(c.hwnd, placeIn(*c.row, m_variant), m_dpi);
        if (c.row->font.family == nullptr)
            continue;
        // The control takes the new font before the old one goes.
        Font font = designFont(c.row->font, m_dpi);
        setFont(c.hwnd, font.get());
        c.font = std::move(font);
        c.fitted.reset();
    }
    for (Control& c : m_controls) {
        if (c.row->shrinkToFit)
            fitDisplay(c);
    }
    setDateAndTimeText(toUtf8(windowText(m_lblDateAndTime->hwnd)));

    // The text boxes' own margins would leave "SHOW  Entries" too little room.
    const int margin = scaledPx(1, static_cast<int>(m_dpi));
    for (Control* box : {m_txtShowEntries, &control(ControlId::txtClearEntries)})
        SendMessageW(box->hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));

    m_tape->setFont(m_lstEntered->font.get(), m_dpi);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void CalculatorWindow::refit()
{
    const UINT dpi = fitToWorkArea(hwnd(), design::ClientArea.width, design::ClientArea.height, m_monitorDpi, Placement::Keep);
    if (dpi != m_dpi) {
        m_dpi = dpi;
        layOut();
    }
}

CalculatorWindow::Control& CalculatorWindow::control(ControlId id)
{
    const auto index = static_cast<std::size_t>(id);
    if (index >= m_controls.size())
        throw std::logic_error("the calculator window has no control " + std::string(nameOf(id)));
    return m_controls[index];
}

int CalculatorWindow::menuItemId(ControlId item) const
{
    const int id = m_menuItemIds.at(static_cast<std::size_t>(item));
    if (id == 0)
        throw std::logic_error("the calculator window has no menu item " + std::string(nameOf(item)));
    return id;
}

CalculatorWindow::Control* CalculatorWindow::controlOf(HWND hwnd)
{
    const auto found = std::ranges::find(m_controls, hwnd, &Control::hwnd);
    return found != m_controls.end() ? &*found : nullptr;
}

HBRUSH CalculatorWindow::brush(Rgb colour)
{
    auto& made = m_brushes[colour];
    if (!made)
        made = solidBrush(colour);
    return made.get();
}

HBRUSH CalculatorWindow::controlColours(HDC dc, HWND hwnd)
{
    const Control* c = controlOf(hwnd);
    if (c == nullptr)
        return nullptr;
    SetTextColor(dc, colorRef(c->row->fore));
    SetBkColor(dc, colorRef(c->row->back));
    return brush(c->row->back);
}

LRESULT CalculatorWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A new monitor, scale, work area or display: fitted anew for it.
    if (asksForRefit(hwnd(), message, wParam, lParam, m_monitorDpi)) {
        refit();
        if (message == WM_DPICHANGED)
            return 0;
    }
    switch (message) {
    case WM_COMMAND: {
        // A key's BN_CLICKED and a menu item's command (lParam 0); the clear labels' and the text
        // boxes' clicks come through controlProc().
        const Control* from = controlOf(reinterpret_cast<HWND>(lParam));
        if (HIWORD(wParam) == BN_CLICKED && (lParam == 0 || (from != nullptr && from->row->kind == ControlKind::Button)))
            click(LOWORD(wParam));
        return 0;
    }
    case PressMessage:
        click(static_cast<int>(wParam));
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_LISTBOX)
            m_tape->draw(item);
        else if (const Control* key = controlOf(item.hwndItem))
            paintKey(item, key->row->back, m_dpi);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_LISTBOX)
            item.itemHeight = static_cast<UINT>(m_tape->itemHeight(item.itemID));
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (const HBRUSH colours = controlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(colours);
        break;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush(colour::Window));
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == TimerId && m_tick)
            m_tick();
        return 0;
    case WM_ACTIVATE:
        // The focus is the window's to keep: leaving, it remembers which control had it; coming
        // back (after a message box, too), that control gets it again.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const HWND focus = GetFocus(); focus != nullptr && IsChild(hwnd(), focus))
                m_lastFocus = focus;
            return 0;
        }
        [[fallthrough]];
    case WM_SETFOCUS:
        if (m_lastFocus != nullptr && shown(m_lastFocus)) {
            SetFocus(m_lastFocus);
            return 0;
        }
        break;
    case WM_CLOSE:
        // The close button and the control menu's Close end the program as e&Xit does.
        handle([](CalculatorWindowModel& model) { model.mnuFilesExit_Click(); });
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), TimerId);
        m_announcer->clear();
        break;
    default:
        break;
    }
    return defaultHandling(message, wParam, lParam);
}

bool CalculatorWindow::preTranslate(const MSG& message)
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB
        || (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd)))
        return false;
    moveFocus(GetKeyState(VK_SHIFT) < 0);
    return true;
}

void CalculatorWindow::moveFocus(bool backwards)
{
    const std::size_t count = m_tabOrder.size();
    const auto at = std::ranges::find(m_tabOrder, GetFocus());
    std::size_t index = at != m_tabOrder.end() ? static_cast<std::size_t>(at - m_tabOrder.begin())
                                               : (backwards ? 0 : count - 1);
    for (std::size_t step = 0; step < count; ++step) {
        index = backwards ? (index + count - 1) % count : (index + 1) % count;
        const HWND next = m_tabOrder[index];
        if (!shown(next) || !IsWindowEnabled(next))
            continue;
        SetFocus(next);
        // A text box reached by Tab shows its whole text selected, as a dialog's would.
        if (controlOf(next)->row->kind == ControlKind::TextBox)
            SendMessageW(next, EM_SETSEL, 0, -1);
        return;
    }
}

void CalculatorWindow::click(int id)
{
    if (const auto handler = m_clicks.find(id); handler != m_clicks.end())
        handler->second();
}

void CalculatorWindow::handle(const std::function<void(CalculatorWindowModel&)>& handler)
{
    handler(m_model);
    draw();
}

void CalculatorWindow::draw() { m_drawer.draw(m_model.view(), *this); }

void CalculatorWindow::setDisplayText(ControlId id, const std::string& text)
{
    Control& label = control(id);
    const std::wstring wide = toWide(text);
    if (windowText(label.hwnd) == wide)
        return;
    SetWindowTextW(label.hwnd, wide.c_str());
    if (label.row->shrinkToFit)
        fitDisplay(label);
}

void CalculatorWindow::setShown(ControlId id, bool visible) { ShowWindow(control(id).hwnd, visible ? SW_SHOWNA : SW_HIDE); }

void CalculatorWindow::setTape(const std::vector<std::string>& lines) { m_tape->setLines(lines); }

void CalculatorWindow::setShowEntries(const std::string& text, const std::string& tip)
{
    setWindowText(m_txtShowEntries->hwnd, text);
    setToolTip(*m_txtShowEntries, tip);
    // The new text shows from its start.
    SendMessageW(m_txtShowEntries->hwnd, EM_SETSEL, 0, 0);
}

void CalculatorWindow::setDateAndTime(const std::string& text)
{
    if (toWide(text) != windowText(m_lblDateAndTime->hwnd))
        setDateAndTimeText(text);
}

void CalculatorWindow::say(const std::string& words) { m_announcer->say(words); }

void CalculatorWindow::endProgram() { PostQuitMessage(0); }

void CalculatorWindow::fitDisplay(Control& label)
{
    const std::wstring text = windowText(label.hwnd);
    RECT client;
    GetClientRect(label.hwnd, &client);
    const FontDesign& design = label.row->font;
    const double points = fittingPointSize(design.points, client.right, [&](double size) {
        const Font trial = size == design.points ? Font() : designFont(design, m_dpi, size);
        return textExtent(label.hwnd, trial ? trial.get() : label.font.get(), text).cx;
    });
    if (points == design.points) {
        setFont(label.hwnd, label.font.get());
        label.fitted.reset();
        return;
    }
    Font fitted = designFont(design, m_dpi, points);
    setFont(label.hwnd, fitted.get());
    label.fitted = std::move(fitted);
}

void CalculatorWindow::setDateAndTimeText(const std::string& text)
{
    const HWND label = m_lblDateAndTime->hwnd;
    setWindowText(label, text);
    // The label fits its caption, keeping its left and top edges.
    const SIZE size = textExtent(label, m_lblDateAndTime->font.get(), toWide(text));
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CalculatorWindow::setToolTip(Control& control, std::string_view tip)
{
    std::wstring text = toWide(tip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd);
    tool.lpszText = text.data();
    SendMessageW(m_toolTips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    control.tip = tip;
    // A text box is named by its tip.
    NotifyWinEvent(NameChanged, control.hwnd, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(DescriptionChanged, control.hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void CalculatorWindow::setChecked(ControlId item, bool checked)
{
    CheckMenuItem(m_menuBar, static_cast<UINT>(menuItemId(item)), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CalculatorWindow::showTape(bool visible)
{
    const HWND list = m_lstEntered->hwnd;
    if (shown(list) == visible)
        return;
    // The keyboard focus does not stay behind in a list that goes.
    if (!visible && GetFocus() == list)
        moveFocus(false);
    ShowWindow(list, visible ? SW_SHOWNA : SW_HIDE);
    if (visible)
        m_tape->scrollToNewest();
}

void CalculatorWindow::enableTimer(bool enabled)
{
    // Enabling a running timer keeps its rhythm: the next tick comes when it was due.
    if (enabled && !m_timerRunning)
        SetTimer(hwnd(), TimerId, design::TimerIntervalMs, nullptr);
    else if (!enabled && m_timerRunning)
        KillTimer(hwnd(), TimerId);
    m_timerRunning = enabled;
}

void CalculatorWindow::show()
{
    if (!m_model.view().window.loaded) {
        // The timer is enabled by design from the moment the window is loaded; the load step then
        // switches it with the date-time option.
        handle([](CalculatorWindowModel& model) { model.Form_Load(); });
        // The first control in the tab order holds the focus when the window opens.
        m_lastFocus = m_txtShowEntries->hwnd;
    }
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    if (m_lastFocus != nullptr)
        SetFocus(m_lastFocus);
}

} // namespace tavoro
