// SPDX-License-Identifier: GPL-3.0-or-later
// wine_driver: plays a user of one Windows program, the way Windows automation does, and checks
// what the program's windows really show. It starts the program, finds its windows by class name
// and their controls by identifier, clicks with BM_CLICK, mouse messages and real mouse input, reads
// texts with WM_GETTEXT and LB_GETTEXT, colours from the screen, and ends the program through its
// menu. As a Windows screen reader does, it reads every control through MSAA
// (AccessibleObjectFromWindow), presses through accDoDefaultAction, and hears what the program
// announces through an out-of-context WinEvent hook. As Narrator does, it reads the controls through
// UI Automation's flat API (UiaNodeFromHandle, UiaGetPropertyValue) and hears the announcer's
// live-region events (UiaAddEvent), from this process, not the program's.
//
// Usage: wine_driver PROGRAM.exe 3|2 [--pause | --fit]
//   3 or 2: the program is Tavoro 3 or Tavoro 2 (the expected values come from its description).
//   --pause: before each screenshot-worthy moment, print "shot NAME" and wait for a line on the
//   standard input (check-wine-session.sh takes the screenshot meanwhile).
//   --fit: only what a user of a small screen at a large display scale needs: both windows
//   wholly inside the work area, the total display on the screen, real clicks on the start
//   button and on 1 + 2 = showing 3 there, and e&Xit.
// Prints one line per check; exits 0 when every check passed.

#include "accessibility.h"
#include "announcement.h"
#include "calculator.h"
#include "comptr.h"
#include "controlids.h"
#include "dpi.h"
#include "programs.h"
#include "uiautomation.h"
#include "widetext.h"

#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavoro {
namespace {

int failures = 0;
bool pausing = false;

void check(bool passed, const std::string& what)
{
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed)
        ++failures;
}

template <typename T>
void checkEqual(const T& actual, const T& expected, const std::string& what)
{
    check(actual == expected, what);
}

void checkText(const std::wstring& actual, std::string_view expected, const std::string& what)
{
    check(actual == toWide(expected), what + ": \"" + toUtf8(actual) + "\", expected \"" + std::string(expected) + "\"");
}

void pause(const char* shot)
{
    if (!pausing)
        return;
    std::printf("shot %s\n", shot);
    std::fflush(stdout);
    char line[16];
    std::fgets(line, sizeof line, stdin);
}

// Waits, delivering what the WinEvent hook is told meanwhile.
void pump(DWORD milliseconds)
{
    const ULONGLONG until = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

bool waitFor(const std::function<bool()>& done, DWORD milliseconds = 10000)
{
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        if (done())
            return true;
        pump(50);
    }
    return done();
}

// Lets the program handle what was posted to it, and paint.
void settle() { pump(400); }

std::wstring text(HWND control)
{
    std::wstring buffer(4096, L'\0');
    const auto length = SendMessageW(control, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

std::vector<std::wstring> tapeLines(HWND list)
{
    std::vector<std::wstring> lines;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1, L'\0');
        line.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()))));
        lines.push_back(line);
    }
    return lines;
}

SIZE clientSize(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

RECT screenRect(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    return r;
}

HWND focusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

Rgb pixel(int x, int y)
{
    const HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return (static_cast<Rgb>(GetRValue(c)) << 16) | (static_cast<Rgb>(GetGValue(c)) << 8) | GetBValue(c);
}

std::string hex(Rgb rgb)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%06X", rgb);
    return buffer;
}

std::string hex(HRESULT result)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%#lx", static_cast<unsigned long>(result));
    return buffer;
}

// What is wrong with a key's colours, or "": its face beside its left edge, clear of the caption,
// must be exactly its design colour, and the focus mark inside the edge black exactly when the key
// has the focus.
std::string keyColourFault(HWND key, Rgb face, bool focused, int dpi)
{
    const RECT r = screenRect(key);
    const int middle = (r.top + r.bottom) / 2;
    const int edge = scaledPx(design::KeyEdgeWidth, dpi);
    const Rgb beside = pixel(r.left + edge, middle);
    const Rgb mark = pixel(r.left + edge + scaledPx(design::FocusMarkGap, dpi), middle);
    const Rgb expectedMark = focused ? colour::FocusMark : face;
    if (beside == face && mark == expectedMark)
        return {};
    return "face " + hex(beside) + " and mark " + hex(mark) + ", expected " + hex(face) + " and " + hex(expectedMark);
}

void click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

// Real mouse input, as a hand gives it: the pointer to (x, y) on the screen, the left button down
// or up there.
void mouse(POINT at, DWORD button)
{
    SetCursorPos(at.x, at.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = button;
    SendInput(1, &input, sizeof input);
}

POINT middleOf(HWND control)
{
    const RECT r = screenRect(control);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Two real clicks on the same spot, `apart` milliseconds from one press to the next.
void clickTwice(HWND control, DWORD apart)
{
    const POINT at = middleOf(control);
    for (int i = 0; i < 2; ++i) {
        mouse(at, MOUSEEVENTF_LEFTDOWN);
        pump(20);
        mouse(at, MOUSEEVENTF_LEFTUP);
        pump(apart - 20);
    }
}

// What a screen reader reads of an accessible object (or of its child `child`).
struct Read {
    std::wstring name;
    long role = 0;
    std::wstring description;
    std::wstring action;
};

std::wstring taken(BSTR text)
{
    std::wstring copy = text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return copy;
}

Read read(IAccessible* object, long child = CHILDID_SELF)
{
    Read read;
    if (object == nullptr)
        return read;
    BSTR text = nullptr;
    object->get_accName(longVariant(child), &text);
    read.name = taken(text);
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(object->get_accRole(longVariant(child), &role)) && role.vt == VT_I4)
        read.role = role.lVal;
    text = nullptr;
    object->get_accDescription(longVariant(child), &text);
    read.description = taken(text);
    text = nullptr;
    object->get_accDefaultAction(longVariant(child), &text);
    read.action = taken(text);
    return read;
}

std::string roleText(long role)
{
    wchar_t text[64] = L"";
    GetRoleTextW(static_cast<DWORD>(role), text, 64);
    return toUtf8(text);
}

std::string describe(const Read& r)
{
    std::string line;
    for (const std::string& part : {toUtf8(r.name), roleText(r.role), toUtf8(r.description), toUtf8(r.action)})
        line.append(line.empty() ? "" : ", ").append("\"").append(part).append("\"");
    return line;
}

// The control's accessible object, from another process as a screen reader gets it.
void accessibleOf(HWND control, ComPtr<IAccessible>& object)
{
    AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), AccessibleIid, object.putVoid());
}

// UI Automation's client side, the flat API of uiautomationcore.dll as Windows documents it (MinGW's
// headers lack it), found at run time: Wine 8 lacks some of it.
namespace uiaclient {
struct NodeData;
using Node = NodeData*;
struct EventData;
using Event = EventData*;
struct Condition {
    int type = 0; // ConditionType_True
};
struct CacheRequest {
    Condition* viewCondition;
    int scope; // TreeScope
    PROPERTYID* properties;
    int propertyCount;
    PATTERNID* patterns;
    int patternCount;
    int elementMode; // AutomationElementMode
};
struct EventArgs {
    int type;
    int eventId;
};
constexpr int ElementScope = 1; // TreeScope_Element
constexpr int FullElements = 1; // AutomationElementMode_Full
using EventCallback = void WINAPI(EventArgs*, SAFEARRAY*, BSTR);
using NodeFromHandle = HRESULT WINAPI(HWND, Node*);
using GetPropertyValue = HRESULT WINAPI(Node, PROPERTYID, VARIANT*);
using NodeRelease = BOOL WINAPI(Node);
using AddEvent = HRESULT WINAPI(Node, EVENTID, EventCallback*, int, PROPERTYID*, int, CacheRequest*, Event*);
using RemoveEvent = HRESULT WINAPI(Event);

struct Api {
    NodeFromHandle* nodeFromHandle = uia::core<NodeFromHandle>("UiaNodeFromHandle");
    GetPropertyValue* getPropertyValue = uia::core<GetPropertyValue>("UiaGetPropertyValue");
    NodeRelease* nodeRelease = uia::core<NodeRelease>("UiaNodeRelease");
    AddEvent* addEvent = uia::core<AddEvent>("UiaAddEvent");
    RemoveEvent* removeEvent = uia::core<RemoveEvent>("UiaRemoveEvent");
};
const Api& api()
{
    static const Api functions;
    return functions;
}

// The element of a window, as UI Automation's core finds it; released when it goes.
class Element {
public:
    explicit Element(HWND hwnd)
    {
        m_found = api().nodeFromHandle != nullptr ? api().nodeFromHandle(hwnd, &m_node) : E_NOTIMPL;
        if (FAILED(m_found))
            m_node = nullptr;
    }
    ~Element()
    {
        if (m_node != nullptr)
            api().nodeRelease(m_node);
    }
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    Node node() const { return m_node; }
    // What UiaNodeFromHandle answered.
    HRESULT found() const { return m_found; }
    // The property's value; empty where it has none.
    VARIANT property(PROPERTYID id) const
    {
        VARIANT value;
        VariantInit(&value);
        if (m_node != nullptr)
            api().getPropertyValue(m_node, id, &value);
        return value;
    }
    std::wstring name() const { return text(property(uia::NameProperty)); }
    long number(PROPERTYID id) const { return number(property(id)); }

    static std::wstring text(VARIANT value)
    {
        std::wstring copy = value.vt == VT_BSTR && value.bstrVal != nullptr ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal)) : L"";
        VariantClear(&value);
        return copy;
    }
    static long number(VARIANT value)
    {
        const long copy = value.vt == VT_I4 ? value.lVal : -1;
        VariantClear(&value);
        return copy;
    }

private:
    Node m_node = nullptr;
    HRESULT m_found = E_NOTIMPL;
};
} // namespace uiaclient

// What a UI Automation client hears of live regions: each event's element's name and LiveSetting,
// read when it was raised. Told on UI Automation's own thread.
struct LiveRegionChange {
    std::wstring name;
    long liveSetting = -1;
};
SRWLOCK liveRegionLock = SRWLOCK_INIT;
std::vector<LiveRegionChange> liveRegionChanges;

std::vector<LiveRegionChange> liveRegionChangesSince(std::size_t first)
{
    AcquireSRWLockShared(&liveRegionLock);
    std::vector<LiveRegionChange> changes(liveRegionChanges.begin() + static_cast<std::ptrdiff_t>(std::min(first, liveRegionChanges.size())),
        liveRegionChanges.end());
    ReleaseSRWLockShared(&liveRegionLock);
    return changes;
}

// The cached values come as a table of one row: the element, then the requested properties.
void WINAPI onLiveRegionChanged(uiaclient::EventArgs*, SAFEARRAY* cached, BSTR)
{
    LiveRegionChange change;
    LONG at[2] = {0, 1};
    VARIANT value;
    VariantInit(&value);
    if (cached != nullptr && SUCCEEDED(SafeArrayGetElement(cached, at, &value)))
        change.name = uiaclient::Element::text(value);
    at[1] = 2;
    VariantInit(&value);
    if (cached != nullptr && SUCCEEDED(SafeArrayGetElement(cached, at, &value)))
        change.liveSetting = uiaclient::Element::number(value);
    AcquireSRWLockExclusive(&liveRegionLock);
    liveRegionChanges.push_back(change);
    ReleaseSRWLockExclusive(&liveRegionLock);
}

std::string joined(const std::vector<LiveRegionChange>& changes)
{
    std::string all;
    for (const LiveRegionChange& change : changes)
        all += (all.empty() ? "\"" : ", \"") + toUtf8(change.name) + "\" (LiveSetting " + std::to_string(change.liveSetting) + ")";
    return "[" + all + "]";
}

std::string wineVersion()
{
    using Version = const char* CDECL();
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto* version = reinterpret_cast<Version*>(reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "wine_get_version")));
    return version != nullptr ? std::string("Wine ") + version() : "not Wine";
}

// What the program tells screen readers, as an out-of-context WinEvent hook hears it: the words of
// each live-region change (the name of the object that raised it) and the tape's new lines.
struct Heard {
    std::vector<std::wstring> announced;
    std::vector<HWND> announcers; // the window of each announcement
    std::vector<std::wstring> linesAdded;
};
Heard heard;

std::wstring nameFromEvent(HWND hwnd, LONG object, LONG child)
{
    IAccessible* accessible = nullptr;
    VARIANT id;
    VariantInit(&id);
    if (FAILED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), static_cast<DWORD>(child), &accessible, &id))
        || accessible == nullptr)
        return L"(no object)";
    BSTR name = nullptr;
    accessible->get_accName(id, &name);
    accessible->Release();
    return taken(name);
}

// Reading a name pumps messages, so that the next event may arrive before the name: each event
// takes its place in the list first.
void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    std::vector<std::wstring>* list = nullptr;
    if (event == LiveRegionChanged) {
        list = &heard.announced;
        heard.announcers.push_back(hwnd);
    } else if (event == EVENT_OBJECT_CREATE && object == OBJID_CLIENT && child > 0
        && GetDlgCtrlID(hwnd) == controlId(*findControl("lstEntered"))) {
        list = &heard.linesAdded;
    }
    if (list == nullptr)
        return;
    const std::size_t place = list->size();
    list->emplace_back();
    (*list)[place] = nameFromEvent(hwnd, object, child);
}

std::string joined(const std::vector<std::wstring>& texts)
{
    std::string all;
    for (const std::wstring& text : texts)
        all += (all.empty() ? "\"" : ", \"") + toUtf8(text) + "\"";
    return "[" + all + "]";
}

void mouseClick(HWND control)
{
    const SIZE size = clientSize(control);
    const LPARAM at = MAKELPARAM(size.cx / 2, size.cy / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

void key(WORD virtualKey, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

class Session {
public:
    Session(const ProgramDescription& program, HWND splash, HANDLE process, DWORD processId)
        : m_program(program)
        , m_splash(splash)
        , m_process(process)
        , m_dpi(static_cast<int>(dpiOf(splash)))
    {
        m_hook = SetWinEventHook(EVENT_OBJECT_CREATE, LiveRegionChanged, nullptr, onWinEvent, processId, 0,
            WINEVENT_OUTOFCONTEXT);
    }
    ~Session()
    {
        if (m_hook != nullptr)
            UnhookWinEvent(m_hook);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void splashWindow();
    void start();
    // The windows on a small screen, at whatever scale (--fit).
    void fitsTheScreen();
    void refusedOperator();
    void calculation();
    void screenReader();
    // What Narrator reads and hears, through UI Automation.
    void narrator();
    void realClicks();
    void tape();
    void longNumber();
    void exitFromMenu();

private:
    // Waits for the calculator window to show, and takes it.
    bool calculatorShown();
    void menuCommand(WORD menu, WORD item);
    HWND control(const char* name) { return GetDlgItem(m_calculator, controlId(*findControl(name))); }
    HWND key(const char* name) { return control(name); }
    void press(std::initializer_list<const char*> keys)
    {
        for (const char* name : keys) {
            click(key(name));
            settle();
        }
    }
    // Presses a control, by a click or through its accessible object's default action, and checks
    // the words the screen reader is told after it.
    void pressAndHear(const char* name, std::string_view words, bool byAction = false);
    Read expectedRead(const ControlDesign& row);

    const ProgramDescription& m_program;
    HWND m_splash;
    HANDLE m_process;
    int m_dpi;
    HWND m_calculator = nullptr;
    HWINEVENTHOOK m_hook = nullptr;
};

void Session::splashWindow()
{
    const SplashVariant& splash = m_program.splash;
    std::printf("splash window at %d dpi\n", m_dpi);
    const SIZE size = clientSize(m_splash);
    check(size.cx == pxAtDpi(splash.clientWidth, m_dpi) && size.cy == pxAtDpi(splash.clientHeight, m_dpi),
        "splash client area " + std::to_string(size.cx) + " x " + std::to_string(size.cy));
    checkText(text(m_splash), splash.caption, "splash caption");
    const auto style = GetWindowLongPtrW(m_splash, GWL_STYLE);
    if (splash.border == SplashBorder::Sizable)
        check((style & WS_CAPTION) == WS_CAPTION && (style & WS_THICKFRAME) != 0, "sizable with a title bar");
    else
        check((style & WS_CAPTION) != WS_CAPTION && (style & WS_THICKFRAME) == 0, "fixed, without a title bar");

    const HWND frame = GetDlgItem(m_splash, splashid::Frame1);
    check(frame != nullptr && GetParent(GetDlgItem(frame, splashid::cmdStartTavoro)) == frame,
        "Frame1 holds the start button");
    checkText(text(GetDlgItem(frame, splashid::lblProductName)),
        splash.loadShowsTitle ? m_program.title : splash::ProductNameCaption, "product name");
    checkText(text(GetDlgItem(frame, splashid::lblPlatform)), splash.platformCaption, "platform line");
    const RECT logo = screenRect(GetDlgItem(frame, splashid::imgLogo));
    check(logo.right - logo.left == pxAtDpi(splash.imgLogo.width, m_dpi)
            && logo.bottom - logo.top == pxAtDpi(splash.imgLogo.height, m_dpi),
        "logo at its control's size");
    const HWND start = GetDlgItem(frame, splashid::cmdStartTavoro);
    check(focusOf(m_splash) == start, "the start button has the focus");
    const std::string fault = keyColourFault(start, splash.startButtonFace, true, m_dpi);
    check(fault.empty(), "the start button in its face colour with the focus mark " + fault);
    pause("splash");
}

bool Session::calculatorShown()
{
    const std::wstring className = toWide(m_program.calculator.className);
    return waitFor([&] {
        m_calculator = FindWindowW(className.c_str(), nullptr);
        return m_calculator != nullptr && IsWindowVisible(m_calculator);
    });
}

void Session::start()
{
    click(GetDlgItem(GetDlgItem(m_splash, splashid::Frame1), splashid::cmdStartTavoro));
    const bool shown = calculatorShown();
    check(shown, "the start button shows the calculator window");
    if (!shown)
        return;
    settle();
    check(!IsWindowVisible(m_splash), "the splash window is hidden");
    const SIZE size = clientSize(m_calculator);
    check(size.cx == pxAtDpi(design::ClientArea.width, m_dpi) && size.cy == pxAtDpi(design::ClientArea.height, m_dpi),
        "calculator client area " + std::to_string(size.cx) + " x " + std::to_string(size.cy));
    checkText(text(m_calculator), m_program.calculator.caption, "calculator caption");
    check((GetWindowLongPtrW(m_calculator, GWL_STYLE) & WS_THICKFRAME) == 0, "not resizable by its border");
    check(focusOf(m_calculator) == control("txtShowEntries"), "txtShowEntries has the focus");
    // The design's tab order: after the box (0) comes the "0" key (1); Shift+Tab goes back.
    SetForegroundWindow(m_calculator);
    tavoro::key(VK_TAB, false);
    tavoro::key(VK_TAB, true);
    settle();
    check(focusOf(m_calculator) == key("cmdDigit(0)"), "Tab moves the focus to the \"0\" key");
    tavoro::key(VK_SHIFT, false);
    tavoro::key(VK_TAB, false);
    tavoro::key(VK_TAB, true);
    tavoro::key(VK_SHIFT, true);
    settle();
    check(focusOf(m_calculator) == control("txtShowEntries"), "Shift+Tab moves it back");
    checkText(text(control("lblDisplay")), "0", "big display");
    check(!IsWindowVisible(control("lstEntered")) && !IsWindowVisible(control("lblNewNum")), "tape and green bar hidden");
    std::string faults;
    for (const ControlDesign& row : calculatorDesign()) {
        if (row.kind != ControlKind::Button)
            continue;
        if (const std::string fault = keyColourFault(key(row.name), row.back, false, m_dpi); !fault.empty())
            faults.append(" ").append(row.name).append(": ").append(fault).append(";");
    }
    check(faults.empty(), "every key in exactly its face colour, without a focus mark" + faults);
    pause("calculator");
}

void Session::refusedOperator()
{
    click(key("cmdOp(0)"));
    HWND box = nullptr;
    const std::wstring title = toWide(m_program.title);
    check(waitFor([&] {
        box = FindWindowW(L"#32770", title.c_str());
        return box != nullptr && IsWindowVisible(box);
    }),
        "\"+\" with nothing typed brings a message box titled with the program title");
    if (box == nullptr)
        return;
    check(GetWindow(box, GW_OWNER) == m_calculator, "the message box belongs to the calculator window");
    checkText(text(GetDlgItem(box, 0xFFFF)), text::NumberFirst, "message");
    pause("message");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    check(waitFor([&] { return !IsWindow(box); }), "OK dismisses the message box");
    settle();
    // The key keeps the focus and its face colour, and wears the focus mark.
    check(focusOf(m_calculator) == key("cmdOp(0)"), "the \"+\" key has the focus again");
    const std::string fault = keyColourFault(key("cmdOp(0)"), findControl("cmdOp(0)")->back, true, m_dpi);
    check(fault.empty(), "the focused \"+\" keeps its face colour and wears the focus mark " + fault);
}

void Session::pressAndHear(const char* name, std::string_view words, bool byAction)
{
    const std::size_t before = heard.announced.size();
    if (byAction) {
        ComPtr<IAccessible> object;
        accessibleOf(control(name), object);
        check(object && SUCCEEDED(object->accDoDefaultAction(longVariant(CHILDID_SELF))),
            std::string(name) + " pressed through its default action");
    } else {
        click(key(name));
    }
    waitFor([&] { return heard.announced.size() > before; }, 3000);
    settle();
    const std::vector<std::wstring> said(heard.announced.begin() + static_cast<std::ptrdiff_t>(before), heard.announced.end());
    check(said == std::vector<std::wstring>{toWide(words)},
        std::string("after ") + name + " the screen reader is told " + joined(said) + ", expected \"" + std::string(words) + "\"");
}

void Session::calculation()
{
    // The "+" refused at first said nothing: its message box spoke.
    check(heard.announced.empty(), "nothing announced before the first number: " + joined(heard.announced));
    pressAndHear("cmdDigit(1)", "1");
    pressAndHear("cmdDigit(2)", "12", true);
    pressAndHear("cmdOp(0)", "plus, 12");
    pressAndHear("cmdDigit(3)", "3");
    check(IsWindowVisible(control("lblNewNum")) && IsWindowVisible(control("lblOp")), "the green bar is shown");
    checkText(text(control("lblNewNum")), "3", "the new number");
    pause("new-number");
    pressAndHear("cmdOp(5)", "equals 15");
    checkText(text(control("lblDisplay")), "15", "1 2 + 3 = in the big display");
    const std::vector<std::wstring> expected{L"   12", L"+ 3", toWide(text::TapeRule), L"=  15"};
    const auto lines = tapeLines(control("lstEntered"));
    check(lines == expected, "the four tape lines (" + std::to_string(lines.size()) + " lines)");
    const HWND announcer = GetDlgItem(m_calculator, AnnouncerId);
    check(std::ranges::all_of(heard.announcers, [announcer](HWND from) { return from == announcer; }),
        "only the announcer raises live-region events, once a press");
    const RECT r = screenRect(announcer);
    check(announcer != nullptr && r.right == r.left && r.bottom == r.top, "the announcer has no pixels");
}

// What a screen reader should read of a control of the design.
Read Session::expectedRead(const ControlDesign& row)
{
    if (row.kind == ControlKind::Label)
        return {text(control(row.name)), ROLE_SYSTEM_STATICTEXT, toWide(spokenName(row).value_or("")), L""};
    if (row.kind == ControlKind::TextBox)
        return {toWide(spokenToolTip(row.tip)), ROLE_SYSTEM_TEXT, toWide(row.tip), L"Press"};
    if (row.kind == ControlKind::ListBox)
        return {L"tape", ROLE_SYSTEM_LIST, toWide(row.tip), L""};
    return {toWide(spokenName(row).value_or(spokenCaption(row.caption))), ROLE_SYSTEM_PUSHBUTTON,
        toWide(row.tip != nullptr ? row.tip : ""), L"Press"};
}

// Every key, clear label, display, text box and the tape as a Windows screen reader reads them.
void Session::screenReader()
{
    std::string faults;
    for (const ControlDesign& row : calculatorDesign()) {
        ComPtr<IAccessible> object;
        accessibleOf(control(row.name), object);
        const Read r = read(object.get());
        std::printf("  %s: %s\n", row.name, describe(r).c_str());
        const Read expected = expectedRead(row);
        if (r.name != expected.name || r.role != expected.role || r.description != expected.description
            || r.action != expected.action)
            faults += std::string(" ") + row.name + " reads " + describe(r) + ", expected " + describe(expected) + ";";
    }
    check(faults.empty(), "every control reads through MSAA as designed" + faults);

    ComPtr<IAccessible> tape;
    accessibleOf(control("lstEntered"), tape);
    long count = 0;
    if (tape)
        tape->get_accChildCount(&count);
    std::vector<std::wstring> children;
    bool items = true;
    for (long child = 1; child <= count; ++child) {
        const Read line = read(tape.get(), child);
        children.push_back(line.name);
        items = items && line.role == ROLE_SYSTEM_LISTITEM;
    }
    check(items && children == tapeLines(control("lstEntered")), "the tape's children are its lines: " + joined(children));

    // Clear ALL pressed as a screen reader presses it, and one more child on the tape.
    pressAndHear("lblClearAll", AllCleared, true);
    checkText(text(control("lblDisplay")), "", "clear all empties the big display");
    const std::vector<std::wstring> added{L"   12", L"+ 3", toWide(text::TapeRule), L"=  15", toWide(text::TapeRule)};
    check(heard.linesAdded == added, "the tape told of each new line: " + joined(heard.linesAdded));

    // Presses made at once, as switch and voice tools make them, run once each in the order made.
    ComPtr<IAccessible> seven;
    ComPtr<IAccessible> clearAll;
    accessibleOf(key("cmdDigit(7)"), seven);
    accessibleOf(control("lblClearAll"), clearAll);
    const std::size_t before = heard.announced.size();
    const bool pressed = seven && clearAll && SUCCEEDED(seven->accDoDefaultAction(longVariant(CHILDID_SELF)))
        && SUCCEEDED(clearAll->accDoDefaultAction(longVariant(CHILDID_SELF)));
    waitFor([&] { return heard.announced.size() >= before + 2; }, 3000);
    settle();
    const std::vector<std::wstring> said(heard.announced.begin() + static_cast<std::ptrdiff_t>(before), heard.announced.end());
    check(pressed && text(control("lblDisplay")).empty() && said == std::vector<std::wstring>{L"7", toWide(AllCleared)},
        "7 and clear all pressed at once: told " + joined(said) + ", the big display \"" + toUtf8(text(control("lblDisplay"))) + "\"");
}

void realClick(HWND control);

// UI Automation's control types of the MSAA roles the controls have, as its proxy maps them.
long controlTypeOf(long role)
{
    switch (role) {
    case ROLE_SYSTEM_PUSHBUTTON:
        return uia::ButtonControl;
    case ROLE_SYSTEM_TEXT:
        return uia::EditControl;
    case ROLE_SYSTEM_LIST:
        return uia::ListControl;
    default:
        return uia::TextControl;
    }
}

// Every control through UI Automation, as Narrator reads it: the announcer an element of its own,
// the others their MSAA objects through UI Automation's proxy. Then 1 2 + 3 = and clear ALL, clicked
// for real: after each press exactly one live-region event of the announcer's element, Polite and
// named by that press's words, and exactly one MSAA live-region event beside it. The events are
// heard on the announcer's own element: under Wine, a subscription on an ancestor hears nothing
// of a child window's provider.
void Session::narrator()
{
    std::printf("UI Automation under %s\n", wineVersion().c_str());
    const uiaclient::Api& uia = uiaclient::api();
    if (uia.nodeFromHandle == nullptr || uia.getPropertyValue == nullptr || uia.nodeRelease == nullptr) {
        check(false, "UI Automation's core offers UiaNodeFromHandle and UiaGetPropertyValue");
        return;
    }
    std::string faults;
    std::size_t unproxied = 0;
    for (const ControlDesign& row : calculatorDesign()) {
        const uiaclient::Element element(control(row.name));
        if (element.found() == E_NOTIMPL) {
            ++unproxied;
            continue;
        }
        const Read expected = expectedRead(row);
        const std::wstring name = element.name();
        const long type = element.number(uia::ControlTypeProperty);
        if (name != expected.name || type != controlTypeOf(expected.role))
            faults += std::string(" ") + row.name + " reads \"" + toUtf8(name) + "\", type " + std::to_string(type)
                + (element.node() == nullptr ? " (no element: " + hex(element.found()) + ")" : std::string())
                + ", expected \"" + toUtf8(expected.name) + "\", " + std::to_string(controlTypeOf(expected.role)) + ";";
    }
    if (unproxied == calculatorDesign().size())
        std::printf("SKIP: the controls through UI Automation's MSAA proxy: this Wine's UiaNodeFromHandle answers "
                    "E_NOTIMPL for a window without a provider of its own (Wine 8 has no such proxy); Wine 10 reads them\n");
    else
        check(faults.empty() && unproxied == 0, "every control reads through UI Automation as designed" + faults
                + (unproxied > 0 ? " " + std::to_string(unproxied) + " controls without an element" : std::string()));

    const HWND announcer = GetDlgItem(m_calculator, AnnouncerId);
    const uiaclient::Element element(announcer);
    const VARIANT focusable = element.property(uia::IsKeyboardFocusableProperty);
    const std::wstring name = element.name();
    const long type = element.number(uia::ControlTypeProperty);
    const long live = element.number(uia::LiveSettingProperty);
    check(name == text(announcer) && type == uia::TextControl && live == uia::LivePolite && focusable.vt == VT_BOOL
            && focusable.boolVal == VARIANT_FALSE,
        "the announcer's own element: \"" + toUtf8(name) + "\", type " + std::to_string(type) + ", LiveSetting "
            + std::to_string(live) + ", keyboard focusable " + (focusable.vt == VT_BOOL ? std::to_string(focusable.boolVal) : "(none)"));

    uiaclient::Condition everything;
    PROPERTYID cached[] = {uia::NameProperty, uia::LiveSettingProperty};
    uiaclient::CacheRequest request{&everything, uiaclient::ElementScope, cached, 2, nullptr, 0, uiaclient::FullElements};
    uiaclient::Event subscription = nullptr;
    const HRESULT added = uia.addEvent == nullptr ? E_NOTIMPL
        : uia.addEvent(element.node(), uia::LiveRegionChangedEvent, onLiveRegionChanged, uiaclient::ElementScope, nullptr, 0,
              &request, &subscription);
    if (FAILED(added)) {
        std::printf("SKIP: the live-region events through UI Automation: this Wine's UI Automation raises no events "
                    "(UiaAddEvent %s, %#lx); Wine 10 does\n",
            uia.addEvent == nullptr ? "is missing" : "fails", static_cast<unsigned long>(added));
        return;
    }
    SetForegroundWindow(m_calculator);
    settle();
    struct Press {
        const char* control;
        std::string_view words;
    };
    for (const Press press : {Press{"cmdDigit(1)", "1"}, Press{"cmdDigit(2)", "12"}, Press{"cmdOp(0)", "plus, 12"},
             Press{"cmdDigit(3)", "3"}, Press{"cmdOp(5)", "equals 15"}, Press{"lblClearAll", AllCleared}}) {
        const std::size_t before = liveRegionChangesSince(0).size();
        const std::size_t msaaBefore = heard.announced.size();
        realClick(control(press.control));
        waitFor([&] { return !liveRegionChangesSince(before).empty() && heard.announced.size() > msaaBefore; }, 5000);
        settle();
        const std::vector<LiveRegionChange> changes = liveRegionChangesSince(before);
        const std::vector<std::wstring> said(heard.announced.begin() + static_cast<std::ptrdiff_t>(msaaBefore), heard.announced.end());
        check(changes.size() == 1 && changes[0].name == toWide(press.words) && changes[0].liveSetting == uia::LivePolite
                && said == std::vector<std::wstring>{toWide(press.words)},
            std::string("a real click on ") + press.control + ": UI Automation hears " + joined(changes) + ", MSAA "
                + joined(said) + ", expected \"" + std::string(press.words) + "\" once on each");
    }
    if (uia.removeEvent != nullptr)
        uia.removeEvent(subscription);
}

// Real mouse clicks: a quick second press counts, a press that slides off does nothing, and a
// double click on a clear label is one click.
// A real click in the middle of a control: the left button pressed and let go there.
void realClick(HWND control)
{
    mouse(middleOf(control), MOUSEEVENTF_LEFTDOWN);
    pump(30);
    mouse(middleOf(control), MOUSEEVENTF_LEFTUP);
    settle();
}

std::string describe(const RECT& r)
{
    return std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top) + " at " + std::to_string(r.left)
        + ", " + std::to_string(r.top);
}

bool inside(const RECT& r, const RECT& area)
{
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

void Session::fitsTheScreen()
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::printf("%d dpi, work area %s\n", m_dpi, describe(work).c_str());
    const RECT splash = screenRect(m_splash);
    check(inside(splash, work), "the splash window, " + describe(splash) + ", inside the work area");
    pause("fit-splash");

    SetForegroundWindow(m_splash);
    realClick(GetDlgItem(GetDlgItem(m_splash, splashid::Frame1), splashid::cmdStartTavoro));
    const bool shown = calculatorShown();
    check(shown, "a real click on the start button shows the calculator window");
    if (!shown)
        return;
    settle();
    const RECT calculator = screenRect(m_calculator);
    check(inside(calculator, work), "the calculator window, " + describe(calculator) + ", inside the work area");
    const RECT total = screenRect(control("lblDisplay"));
    check(inside(total, work), "the total display, " + describe(total) + ", inside the work area");

    SetForegroundWindow(m_calculator);
    for (const char* name : {"cmdDigit(1)", "cmdOp(0)", "cmdDigit(2)", "cmdOp(5)"})
        realClick(key(name));
    // Real input goes round through the X server: on a busy machine the last click may still be
    // on its way.
    waitFor([&] { return text(control("lblDisplay")) == L"3"; });
    checkText(text(control("lblDisplay")), "3", "real clicks on 1 + 2 =: the total display");
    pause("fit-calculator");
}

void Session::realClicks()
{
    SetForegroundWindow(m_calculator);
    clickTwice(key("cmdDigit(5)"), 120);
    settle();
    checkText(text(control("lblDisplay")), "55", "two clicks on \"5\" 120 ms apart");

    const HWND clearAll = control("lblClearAll");
    const std::size_t lines = tapeLines(control("lstEntered")).size();
    mouse(middleOf(clearAll), MOUSEEVENTF_LEFTDOWN);
    pump(100);
    mouse(middleOf(key("cmdDigit(9)")), MOUSEEVENTF_LEFTUP);
    settle();
    check(text(control("lblDisplay")) == L"55" && tapeLines(control("lstEntered")).size() == lines,
        "a press on \"clear ALL\" released outside it changes nothing");

    clickTwice(clearAll, 120);
    settle();
    check(text(control("lblDisplay")).empty() && tapeLines(control("lstEntered")).size() == lines + 1,
        "a double click on \"clear ALL\" clears once");
}

void Session::tape()
{
    mouseClick(control("txtShowEntries"));
    settle();
    check(IsWindowVisible(control("lstEntered")) && IsWindowVisible(control("txtClearEntries")),
        "\"SHOW  Entries\" shows the tape and \"CLEAR Entries \"");
    checkText(text(control("txtShowEntries")), text::HideEntries, "text box after the click");

    // sho&W Date and Time from the &Options menu: the label shows the clock from the next tick on,
    // sized to the text.
    menuCommand('O', 'W');
    const HWND clock = control("lblDateAndTime");
    const bool ticked = waitFor([&] { return IsWindowVisible(clock) && text(clock).size() > 1; }, 3000);
    check(ticked, "the date and time: \"" + toUtf8(text(clock)) + "\"");
    check(screenRect(clock).right - screenRect(clock).left > pxAtDpi(findControl("lblDateAndTime")->place.width, m_dpi),
        "the date-time label sizes itself to its text");
    pause("tape");
}

void Session::longNumber()
{
    const HWND list = control("lstEntered");
    const auto oneRow = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    // After "=" a new number needs clear ALL first.
    mouseClick(control("lblClearAll"));
    settle();
    for (const char digit : std::string_view("9876543219876543219")) {
        click(key(("cmdDigit(" + std::string(1, digit) + ")").c_str()));
        Sleep(30);
    }
    press({"cmdOp(2)"});
    for (const char digit : std::string_view("987654321987")) {
        click(key(("cmdDigit(" + std::string(1, digit) + ")").c_str()));
        Sleep(30);
    }
    press({"cmdOp(5)"});
    const HWND display = control("lblDisplay");
    checkText(text(display), "9.75461059740247E+30", "a long result");
    // Right-aligned and fitted: the label's first columns show no glyph, so nothing is cut off.
    const RECT r = screenRect(display);
    bool clear = true;
    for (int x = r.left; x < r.left + 3; ++x) {
        for (int y = r.top; y < r.bottom; ++y)
            clear = clear && pixel(x, y) == findControl("lblDisplay")->back;
    }
    check(clear, "the long result fits its display");
    const auto lines = tapeLines(list);
    const auto count = static_cast<LRESULT>(lines.size());
    checkText(lines.back(), "=  9.75461059740247E+30", "the result's tape line, whole");
    check(SendMessageW(list, LB_GETITEMHEIGHT, count - 1, 0) >= 2 * oneRow, "the long tape line wraps onto a second row");
    LRESULT used = 0;
    for (LRESULT index = SendMessageW(list, LB_GETTOPINDEX, 0, 0); index < count; ++index)
        used += SendMessageW(list, LB_GETITEMHEIGHT, index, 0);
    check(used <= clientSize(list).cy, "the newest line is in view");
    pause("long-number");
}

void Session::menuCommand(WORD menu, WORD item)
{
    // By the access keys, as a keyboard user chooses: Alt and the menu's letter, then the item's.
    SetForegroundWindow(m_calculator);
    settle();
    tavoro::key(VK_MENU, false);
    tavoro::key(menu, false);
    tavoro::key(menu, true);
    tavoro::key(VK_MENU, true);
    settle();
    tavoro::key(item, false);
    tavoro::key(item, true);
}

void Session::exitFromMenu()
{
    menuCommand('F', 'X');
    check(WaitForSingleObject(m_process, 10000) == WAIT_OBJECT_0, "e&Xit ends the process");
    DWORD status = 1;
    GetExitCodeProcess(m_process, &status);
    checkEqual<DWORD>(status, 0, "exit status 0");
}

int finish(const PROCESS_INFORMATION& process, const ProgramDescription& description)
{
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%s: %s\n", description.title, failures == 0 ? "every check passed" : "some checks failed");
    return failures == 0 ? 0 : 1;
}

// The announcer's UI Automation element as the program holds it, here in this process: no
// reference is left behind by a press, and once its window is gone it answers every question with
// UIA_E_ELEMENTNOTAVAILABLE. (No client listens here: under Wine 10 a client in the provider's own
// process hears each event twice and keeps two references to the element per event, so that the
// count would measure Wine, not the announcer.)
void announcerElementLifetime()
{
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    std::optional<Announcer> announcer(std::in_place, parent, AnnouncerId);
    IRawElementProviderSimple* element = announcer->automationElement();
    const auto references = [element] {
        element->AddRef();
        return element->Release();
    };
    announcer->say("1");
    pump(100);
    const ULONG before = references();
    for (int press = 0; press < 20; ++press) {
        announcer->say(std::to_string(press));
        pump(10);
    }
    const ULONG after = references();
    check(after == before, "20 presses leave the announcer's UI Automation element " + std::to_string(after) + " references, as before ("
            + std::to_string(before) + ")");

    element->AddRef();
    DestroyWindow(parent);
    VARIANT name;
    const HRESULT nameRead = element->GetPropertyValue(uia::NameProperty, &name);
    IRawElementProviderSimple* host = nullptr;
    const HRESULT hostRead = element->get_HostRawElementProvider(&host);
    check(nameRead == uia::ElementNotAvailable && name.vt == VT_EMPTY && hostRead == uia::ElementNotAvailable && host == nullptr,
        "the announcer's element, its window gone, is not available");
    announcer.reset();
    check(references() == 1, "the announcer gone, only this check holds its element");
    element->Release();
}

int run(const std::wstring& program, const ProgramDescription& description, bool fitOnly)
{
    if (!fitOnly)
        announcerElementLifetime();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
            &process)) {
        std::printf("FAIL: cannot start %s\n", toUtf8(program).c_str());
        return 1;
    }
    const std::wstring splashClass = toWide(description.splash.className);
    HWND splash = nullptr;
    const bool up = waitFor([&] {
        splash = FindWindowW(splashClass.c_str(), nullptr);
        return splash != nullptr && IsWindowVisible(splash);
    }, 20000);
    check(up, "the splash window comes up");
    if (up) {
        settle();
        Session session(description, splash, process.hProcess, process.dwProcessId);
        if (fitOnly) {
            session.fitsTheScreen();
            session.exitFromMenu();
            return finish(process, description);
        }
        session.splashWindow();
        session.start();
        session.refusedOperator();
        session.calculation();
        session.screenReader();
        session.narrator();
        session.realClicks();
        session.tape();
        session.longNumber();
        session.exitFromMenu();
    }
    return finish(process, description);
}

} // namespace
} // namespace tavoro

int wmain(int argc, wchar_t* argv[])
{
    if (argc < 3 || (std::wstring_view(argv[2]) != L"3" && std::wstring_view(argv[2]) != L"2")) {
        std::printf("usage: wine_driver PROGRAM.exe 3|2 [--pause | --fit]\n");
        return 2;
    }
    bool fitOnly = false;
    for (int i = 3; i < argc; ++i) {
        tavoro::pausing = tavoro::pausing || std::wstring_view(argv[i]) == L"--pause";
        fitOnly = fitOnly || std::wstring_view(argv[i]) == L"--fit";
    }
    // A screen reader's apartment: accessible objects of other processes come through COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return tavoro::run(argv[1], std::wstring_view(argv[2]) == L"3" ? tavoro::Tavoro3 : tavoro::Tavoro2, fitOnly);
}
