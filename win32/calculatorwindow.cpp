// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculatorwindow.h"

#include "controlids.h"
#include "controls.h"
#include "designfont.h"
#include "dpi.h"
#include "keypainter.h"
#include "services.h"
#include "textfit.h"
#include "widetext.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tavoro {

namespace {

constexpr UINT_PTR TimerId = 1;
constexpr UINT_PTR ControlSubclassId = 1;
// Posted to the window: run the click of the control whose identifier is wParam, as an assistive
// tool's press does.
constexpr UINT PressMessage = WM_APP + 1;
constexpr DWORD ObjectCreated = 0x8000;   // EVENT_OBJECT_CREATE
constexpr DWORD ChildrenReordered = 0x8004; // EVENT_OBJECT_REORDER
constexpr DWORD NameChanged = 0x800C;     // EVENT_OBJECT_NAMECHANGE
constexpr DWORD DescriptionChanged = 0x800D; // EVENT_OBJECT_DESCRIPTIONCHANGE

// Windows' class and styles for a control of the design.
struct NativeControl {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle = 0;
};

DWORD aligned(Align align, DWORD left, DWORD centre, DWORD right)
{
    switch (align) {
    case Align::Left:
        return left;
    case Align::Centre:
        return centre;
    case Align::Right:
        return right;
    }
    return left;
}

NativeControl nativeControl(const ControlDesign& row)
{
    switch (row.kind) {
    case ControlKind::Button:
        return {L"BUTTON", WS_TABSTOP | BS_OWNERDRAW};
    case ControlKind::Label:
    case ControlKind::ClickLabel: {
        // Opaque (WM_CTLCOLORSTATIC), wrapped at blanks and aligned as designed, the text from the
        // top edge; a label that sizes itself to its caption keeps to one line.
        DWORD style = SS_NOPREFIX | (row.autoSize ? SS_LEFTNOWORDWRAP : aligned(row.align, SS_LEFT, SS_CENTER, SS_RIGHT));
        // Only a label that serves as a key reports clicks (and so shows its tool tip).
        if (row.kind == ControlKind::ClickLabel)
            style |= SS_NOTIFY;
        return {L"STATIC", style};
    }
    case ControlKind::TextBox:
        return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | aligned(row.align, ES_LEFT, ES_CENTER, ES_RIGHT), WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        // Owner-drawn rows of their own heights, so that a long line wraps onto further rows of its
        // item; the items keep their texts (LBS_HASSTRINGS). The scroll bar is always there, so the
        // width lines wrap at never changes.
        return {L"LISTBOX",
            WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT
                | LBS_DISABLENOSCROLL,
            WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0};
}

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
    : m_engine(services)
    , m_services(services)
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
        const NativeControl native = nativeControl(row);
        const HWND control = createControl(hwnd(), native.className, row.caption,
            native.style | (row.hidden ? 0 : WS_VISIBLE), native.exStyle, controlId(row));
        // The table is in stacking order: each control goes above those made before it.
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_controls.push_back({&row, control, {}, {}, row.tip != nullptr ? row.tip : ""});
        if (takesFocus(row.kind))
            tabOrder.emplace_back(row.tab, control);
        SetWindowSubclass(control, controlProc, ControlSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    std::ranges::sort(tabOrder, {}, &std::pair<int, HWND>::first);
    for (const auto& [tab, control] : tabOrder)
        m_tabOrder.push_back(control);

    m_lblDisplay = &control("lblDisplay");
    m_lblNewNum = &control("lblNewNum");
    m_lblOp = &control("lblOp");
    m_lblSpacer1 = &control("lblSpacer(1)");
    m_lblDateAndTime = &control("lblDateAndTime");
    m_lstEntered = &control("lstEntered");
    m_txtShowEntries = &control("txtShowEntries");
    m_txtClearEntries = &control("txtClearEntries");
}

void CalculatorWindow::buildMenus()
{
    m_menuBar = CreateMenu();
    int id = FirstMenuItemId;
    for (const MenuDesign& menu : calculatorMenus()) {
        const HMENU items = CreatePopupMenu();
        for (const MenuItemDesign& item : menu.items) {
            AppendMenuW(items, MF_STRING, static_cast<UINT_PTR>(id), toWide(item.caption).c_str());
            m_menuItems.emplace(item.name, id++);
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
    const HWND window = hwnd();
    for (Control& c : m_controls) {
        const ControlDesign& row = *c.row;
        Presentation shown;
        const auto spoken = spokenName(row.name);
        const std::wstring spokenWide = toWide(spoken.value_or(""));
        const auto words = [spokenWide] { return spokenWide; };
        // An assistive tool's press runs the control's click once, posted, so that the tool's
        // call returns at once and presses run in the order they came.
        const auto press = [window, id = controlId(row)] { PostMessageW(window, PressMessage, static_cast<WPARAM>(id), 0); };
        const auto tip = [&c] { return toWide(c.tip); };
        switch (row.kind) {
        case ControlKind::Button:
        case ControlKind::ClickLabel: {
            // Named in words: "divided by" for "/", "clear all" for "              clear ALL".
            const std::wstring name = spoken ? spokenWide : toWide(spokenCaption(row.caption));
            shown = {.role = ROLE_SYSTEM_PUSHBUTTON, .name = [name] { return name; }, .press = press};
            if (row.tip != nullptr)
                shown.description = tip;
            break;
        }
        case ControlKind::Label:
            // A display is read by what it shows ("15"); what it is ("total") is its description.
            shown = {.role = ROLE_SYSTEM_STATICTEXT};
            if (spoken)
                shown.description = words;
            break;
        case ControlKind::TextBox:
            // Named by the tool tip as it stands, which says what a click on the box does.
            shown = {.role = ROLE_SYSTEM_TEXT, .name = [&c] { return toWide(spokenToolTip(c.tip)); },
                .description = tip, .press = press};
            break;
        case ControlKind::ListBox:
            shown = {.role = ROLE_SYSTEM_LIST, .name = words, .description = tip, .itemsAsChildren = true};
            break;
        }
        present(c.hwnd, std::make_shared<const Presentation>(std::move(shown)));
    }
}

void CalculatorWindow::bindEvents()
{
    const auto onClick = [this](const std::string& name, std::function<void()> handler) {
        m_clicks[controlId(*control(name).row)] = std::move(handler);
    };
    for (const int index : DigitIndices)
        onClick("cmdDigit(" + std::to_string(index) + ")", [this, index] { cmdDigit_Click(index); });
    for (const int index : OperatorIndices)
        onClick("cmdOp(" + std::to_string(index) + ")", [this, index] { cmdOp_Click(index); });
    onClick("lblClearAll", [this] { lblClearAll_Click(); });
    onClick("lblClearError", [this] { lblClearError_Click(); });
    onClick("lblClearError2", [this] { lblClearError2_Click(); });
    onClick("txtShowEntries", [this] { txtShowEntries_Click(); });
    onClick("txtClearEntries", [this] { txtClearEntries_Click(); });

    const auto onMenu = [this](std::string_view item, std::function<void()> handler) {
        m_clicks[m_menuItems.find(item)->second] = std::move(handler);
    };
    onMenu("mnuFilesExit", [this] { mnuFilesExit_Click(); });
    onMenu("mnuOptionsShowTape", [this] { mnuOptionsShowTape_Click(); });
    onMenu("mnuOptionsHideTape", [this] { mnuOptionsHideTape_Click(); });
    onMenu("mnuOptionsDateAndTimeOn", [this] { mnuOptionsDateAndTimeOn_Click(); });
    onMenu("mnuOptionsDateAndTimeOff", [this] { mnuOptionsDateAndTimeOff_Click(); });
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
    for (Control* box : {m_txtShowEntries, m_txtClearEntries})
        SendMessageW(box->hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));

    const int lines = static_cast<int>(SendMessageW(m_lstEntered->hwnd, LB_GETCOUNT, 0, 0));
    for (int index = 0; index < lines; ++index)
        SendMessageW(m_lstEntered->hwnd, LB_SETITEMHEIGHT, static_cast<WPARAM>(index), tapeLineHeight(static_cast<std::size_t>(index)));
    scrollTapeToNewest();
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

CalculatorWindow::Control& CalculatorWindow::control(std::string_view name)
{
    const auto found = std::ranges::find_if(m_controls, [name](const Control& c) { return c.row->name == name; });
    if (found == m_controls.end())
        throw std::logic_error("no control in the design is called " + std::string(name));
    return *found;
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
            drawTapeLine(item);
        else if (const Control* key = controlOf(item.hwndItem))
            paintKey(item, key->row->back, m_dpi);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_LISTBOX)
            item.itemHeight = static_cast<UINT>(tapeLineHeight(item.itemID));
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
        if (wParam == TimerId)
            tmrCalc_Timer();
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
        mnuFilesExit_Click();
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

LRESULT CALLBACK CalculatorWindow::controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
    DWORD_PTR window)
{
    auto* self = reinterpret_cast<CalculatorWindow*>(window);
    Control* c = self->controlOf(hwnd);
    if (message == WM_NCDESTROY || c == nullptr) {
        RemoveWindowSubclass(hwnd, controlProc, ControlSubclassId);
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    switch (c->row->kind) {
    case ControlKind::Button:
        // The second click of a quick pair is a click like the first: a key pressed twice quickly
        // enters its digit twice. The key then goes down as for any press and clicks on release.
        if (message == WM_LBUTTONDBLCLK)
            return DefSubclassProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
        break;
    case ControlKind::ClickLabel:
        return self->clickLabelMessage(*c, message, wParam, lParam);
    case ControlKind::TextBox:
        return self->textBoxMessage(*c, message, wParam, lParam);
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

namespace {

// Whether a mouse message's point lies in the control's client area.
bool inside(HWND control, LPARAM lParam)
{
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client;
    GetClientRect(control, &client);
    return PtInRect(&client, at) != FALSE;
}

} // namespace

LRESULT CalculatorWindow::clickLabelMessage(Control& label, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A click is a press and a release inside the label, as on a key: the label itself would
    // report one as soon as the button goes down. The second click of a double click is no click.
    switch (message) {
    case WM_LBUTTONDOWN:
        label.pressed = true;
        SetCapture(label.hwnd);
        return 0;
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_LBUTTONUP: {
        const bool clicked = label.pressed && inside(label.hwnd, lParam);
        label.pressed = false;
        if (GetCapture() == label.hwnd)
            ReleaseCapture();
        if (clicked)
            click(controlId(*label.row));
        return 0;
    }
    case WM_CAPTURECHANGED:
        label.pressed = false;
        break;
    default:
        break;
    }
    return DefSubclassProc(label.hwnd, message, wParam, lParam);
}

LRESULT CalculatorWindow::textBoxMessage(Control& box, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND hwnd = box.hwnd;
    switch (message) {
    case WM_LBUTTONDOWN:
        box.pressed = true;
        break;
    case WM_LBUTTONDBLCLK:
        // The text box still selects the word under the mouse; only the click is withheld.
        box.pressed = false;
        break;
    case WM_LBUTTONUP: {
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        const bool clicked = box.pressed && inside(hwnd, lParam);
        box.pressed = false;
        if (clicked)
            click(controlId(*box.row));
        return result;
    }
    case WM_SETFOCUS: {
        // A caret as wide as the keys' focus mark, easy to find; the box keeps placing it.
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        POINT at{};
        GetCaretPos(&at);
        CreateCaret(hwnd, nullptr, scaledPx(design::FocusMarkWidth, static_cast<int>(m_dpi)), rowHeight(hwnd, box.font.get()));
        SetCaretPos(at.x, at.y);
        ShowCaret(hwnd);
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void CalculatorWindow::click(int id)
{
    if (const auto handler = m_clicks.find(id); handler != m_clicks.end())
        handler->second();
}

int CalculatorWindow::tapeLineHeight(std::size_t index)
{
    const auto& tape = m_engine.display().lstEntered;
    const std::wstring line = index < tape.size() ? toWide(tape[index]) : std::wstring();
    const int rows = static_cast<int>(tapeRows(line).size());
    // A list box item is at most 255 pixels high.
    return std::min(255, rows * rowHeight(m_lstEntered->hwnd, m_lstEntered->font.get()));
}

std::vector<std::wstring> CalculatorWindow::tapeRows(std::wstring_view line)
{
    // The rule is decoration: one row, cut at the list's edge.
    if (line == toWide(text::TapeRule))
        return {std::wstring(line)};
    RECT client;
    GetClientRect(m_lstEntered->hwnd, &client);
    const int width = client.right - 2 * scaledPx(2, static_cast<int>(m_dpi));
    const std::string utf8 = toUtf8(line);
    const HWND list = m_lstEntered->hwnd;
    const HFONT font = m_lstEntered->font.get();
    std::vector<std::wstring> rows;
    for (const std::string_view row :
        wrapAnywhere(utf8, width, [list, font](std::string_view part) { return textExtent(list, font, toWide(part)).cx; }))
        rows.push_back(toWide(row));
    return rows;
}

void CalculatorWindow::drawTapeLine(const DRAWITEMSTRUCT& item)
{
    const HDC dc = item.hDC;
    const ControlDesign& row = *m_lstEntered->row;
    const int d = static_cast<int>(m_dpi);
    // A selected line in inverse video: plain to see in any theme.
    const bool selected = item.itemID != static_cast<UINT>(-1) && (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, brush(selected ? row.fore : row.back));
    if (item.itemID != static_cast<UINT>(-1)) {
        const std::wstring line = listBoxItem(item.hwndItem, static_cast<long>(item.itemID));
        const HGDIOBJ previous = SelectObject(dc, m_lstEntered->font.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorRef(selected ? row.back : row.fore));
        const int height = rowHeight(item.hwndItem, m_lstEntered->font.get());
        int top = item.rcItem.top;
        for (const std::wstring& part : tapeRows(line)) {
            ExtTextOutW(dc, item.rcItem.left + scaledPx(2, d), top, ETO_CLIPPED, &item.rcItem, part.c_str(),
                static_cast<UINT>(part.size()), nullptr);
            top += height;
        }
        SelectObject(dc, previous);
    }
    // The line with the list's focus wears the keys' focus mark, whatever the keyboard cues say.
    if ((item.itemState & ODS_FOCUS) != 0 || (GetFocus() == item.hwndItem && item.itemID == static_cast<UINT>(-1))) {
        const Rgb mark = selected ? colour::FocusMarkOnDark : colour::FocusMark;
        fillFrame(dc, item.rcItem, scaledPx(design::FocusMarkWidth, d), mark, mark);
    }
}

void CalculatorWindow::scrollTapeToNewest()
{
    const HWND list = m_lstEntered->hwnd;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (count <= 0)
        return;
    // The first line from which the rest fits, newest at the bottom, like a paper strip.
    RECT client;
    GetClientRect(list, &client);
    int top = count - 1;
    int used = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, static_cast<WPARAM>(top), 0));
    while (top > 0) {
        const int above = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, static_cast<WPARAM>(top - 1), 0));
        if (used + above > client.bottom)
            break;
        used += above;
        --top;
    }
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

void CalculatorWindow::syncFromEngine()
{
    const DisplayState& display = m_engine.display();
    for (const auto& [label, text] : {std::pair{m_lblDisplay, &display.lblDisplay}, std::pair{m_lblNewNum, &display.lblNewNum},
             std::pair{m_lblOp, &display.lblOp}})
        setDisplayText(*label, *text);
    ShowWindow(m_lblNewNum->hwnd, display.lblNewNumVisible ? SW_SHOWNA : SW_HIDE);
    ShowWindow(m_lblOp->hwnd, display.lblOpVisible ? SW_SHOWNA : SW_HIDE);
    ShowWindow(m_lblSpacer1->hwnd, display.lblSpacer1Visible ? SW_SHOWNA : SW_HIDE);

    // The tape only grows, except when it is emptied.
    const HWND list = m_lstEntered->hwnd;
    const auto& tape = display.lstEntered;
    auto lines = static_cast<std::size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (lines > tape.size()) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        NotifyWinEvent(ChildrenReordered, list, OBJID_CLIENT, CHILDID_SELF);
        lines = 0;
    }
    if (lines < tape.size()) {
        // Each line is a new child of the tape's accessible object, numbered from 1.
        for (; lines < tape.size(); ++lines) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(tape[lines]).c_str()));
            NotifyWinEvent(ObjectCreated, list, OBJID_CLIENT, static_cast<LONG>(lines + 1));
        }
        scrollTapeToNewest();
    }
}

void CalculatorWindow::announce(const PressAnnouncement& press)
{
    if (const std::string words = press.words(); !words.empty())
        m_announcer->say(words);
}

bool CalculatorWindow::setDisplayText(Control& label, const std::string& text)
{
    const std::wstring wide = toWide(text);
    if (windowText(label.hwnd) == wide)
        return false;
    SetWindowTextW(label.hwnd, wide.c_str());
    if (label.row->shrinkToFit)
        fitDisplay(label);
    return true;
}

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

void CalculatorWindow::setChecked(std::string_view item, bool checked)
{
    CheckMenuItem(m_menuBar, static_cast<UINT>(m_menuItems.find(item)->second),
        MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CalculatorWindow::showTape(bool shown)
{
    const HWND list = m_lstEntered->hwnd;
    // The keyboard focus does not stay behind in a list that goes.
    if (!shown && GetFocus() == list)
        moveFocus(false);
    ShowWindow(list, shown ? SW_SHOWNA : SW_HIDE);
    if (shown)
        scrollTapeToNewest();
}

void CalculatorWindow::enableTimer(bool enabled)
{
    // Enabling a running timer keeps its rhythm: the next tick comes when it was due.
    if (enabled && !m_timerEnabled)
        SetTimer(hwnd(), TimerId, design::TimerIntervalMs, nullptr);
    else if (!enabled)
        KillTimer(hwnd(), TimerId);
    m_timerEnabled = enabled;
}

void CalculatorWindow::show()
{
    if (!m_loaded) {
        m_loaded = true;
        // The timer is enabled by design from the moment the window is loaded; the load step then
        // switches it with the date-time option.
        enableTimer(true);
        Form_Load();
        // The first control in the tab order holds the focus when the window opens.
        m_lastFocus = m_txtShowEntries->hwnd;
    }
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    if (m_lastFocus != nullptr)
        SetFocus(m_lastFocus);
}

void CalculatorWindow::Form_Load()
{
    if (m_engine.state().blnDateAndTime != 0)
        mnuOptionsDateAndTimeOn_Click();
    else
        mnuOptionsDateAndTimeOff_Click();
    m_engine.hideNewNumberBar();
    syncFromEngine();
}

void CalculatorWindow::cmdDigit_Click(int index)
{
    const PressAnnouncement press(m_engine, "cmdDigit(" + std::to_string(index) + ")");
    m_engine.cmdDigit_Click(index);
    syncFromEngine();
    announce(press);
}

void CalculatorWindow::cmdOp_Click(int index)
{
    const PressAnnouncement press(m_engine, "cmdOp(" + std::to_string(index) + ")");
    m_engine.cmdOp_Click(index);
    syncFromEngine();
    announce(press);
}

void CalculatorWindow::lblClearAll_Click()
{
    const PressAnnouncement press(m_engine, "lblClearAll");
    m_engine.lblClearAll_Click();
    syncFromEngine();
    announce(press);
}

void CalculatorWindow::lblClearError_Click()
{
    const PressAnnouncement press(m_engine, "lblClearError");
    m_engine.lblClearError_Click();
    syncFromEngine();
    announce(press);
}

void CalculatorWindow::lblClearError2_Click()
{
    const PressAnnouncement press(m_engine, "lblClearError2");
    m_engine.lblClearError2_Click();
    syncFromEngine();
    announce(press);
}

// The text-box buttons toggle by the list's own visibility and never touch the menu checks.
void CalculatorWindow::txtShowEntries_Click()
{
    const bool hidden = !shown(m_lstEntered->hwnd);
    showTape(hidden);
    ShowWindow(m_txtClearEntries->hwnd, hidden ? SW_SHOWNA : SW_HIDE);
    setWindowText(m_txtShowEntries->hwnd, hidden ? text::HideEntries : text::ShowEntries);
    setToolTip(*m_txtShowEntries, hidden ? text::HideEntriesTip : text::ShowEntriesTip);
    // The new text shows from its start.
    SendMessageW(m_txtShowEntries->hwnd, EM_SETSEL, 0, 0);
}

void CalculatorWindow::txtClearEntries_Click()
{
    m_engine.clearTape();
    syncFromEngine();
}

// The menu items set explicit states and never touch the text-box buttons.
void CalculatorWindow::mnuOptionsShowTape_Click()
{
    setChecked("mnuOptionsShowTape", true);
    setChecked("mnuOptionsHideTape", false);
    showTape(true);
}

void CalculatorWindow::mnuOptionsHideTape_Click()
{
    setChecked("mnuOptionsShowTape", false);
    setChecked("mnuOptionsHideTape", true);
    showTape(false);
}

void CalculatorWindow::mnuOptionsDateAndTimeOn_Click()
{
    setChecked("mnuOptionsDateAndTimeOff", false);
    setChecked("mnuOptionsDateAndTimeOn", true);
    enableTimer(true);
    ShowWindow(m_lblDateAndTime->hwnd, SW_SHOWNA);
    m_engine.setDateAndTime(true);
}

void CalculatorWindow::mnuOptionsDateAndTimeOff_Click()
{
    setChecked("mnuOptionsDateAndTimeOff", true);
    setChecked("mnuOptionsDateAndTimeOn", false);
    enableTimer(false);
    ShowWindow(m_lblDateAndTime->hwnd, SW_HIDE);
    m_engine.setDateAndTime(false);
}

void CalculatorWindow::tmrCalc_Timer() { setDateAndTimeText(m_services.currentDateTime()); }

void CalculatorWindow::mnuFilesExit_Click()
{
    // Ends the whole program at once, the hidden splash window included: no question, nothing saved.
    PostQuitMessage(0);
}

} // namespace tavoro
