// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "controls.h"
#include "widetext.h"

#include <commctrl.h>

#include <atomic>
#include <optional>

namespace tavoro {

namespace {

BSTR bstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The accessible object of one control: ours where the presentation says more than Windows'
// standard object, the standard one for the rest (parent, place, state, focus, value).
class ControlAccessible final : public IAccessible, public IOleWindow {
public:
    ControlAccessible(HWND control, std::weak_ptr<const Presentation> presentation)
        : m_control(control)
        , m_presentation(std::move(presentation))
    {
        CreateStdAccessibleObject(control, OBJID_CLIENT, AccessibleIid, m_standard.putVoid());
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == AccessibleIid)
            *object = static_cast<IAccessible*>(this);
        else if (iid == IID_IOleWindow)
            *object = static_cast<IOleWindow*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: not offered; screen readers call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count == nullptr)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IOleWindow: which window the object belongs to.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        if (window == nullptr)
            return E_POINTER;
        *window = m_control;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        return connected() ? m_standard->get_accParent(parent) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        return answer(count, [&](const Presentation& shown) {
            if (!shown.itemsAsChildren)
                return m_standard->get_accChildCount(count);
            *count = items();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return answer(object, [&](const Presentation& shown) {
            // A line, or words said before, is a simple element, reached by its child identifier.
            if (isChild(shown, child))
                return S_FALSE;
            return shown.itemsAsChildren ? E_INVALIDARG : m_standard->get_accChild(child, object);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return answer(name, [&](const Presentation& shown) {
            if (isSelf(child))
                *name = bstr(shown.name ? shown.name() : windowText(m_control));
            else if (const auto said = childName(shown, child))
                *name = bstr(*said);
            else
                return E_INVALIDARG;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return ofSelf(child, value, [&](const Presentation&) { return m_standard->get_accValue(child, value); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return ofSelf(child, description, [&](const Presentation& shown) {
            if (!shown.description)
                return S_FALSE;
            *description = bstr(shown.description());
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        return answer(role, [&](const Presentation& shown) {
            if (isSelf(child))
                *role = longVariant(shown.role);
            else if (isChild(shown, child))
                *role = longVariant(shown.itemsAsChildren ? ROLE_SYSTEM_LISTITEM : ROLE_SYSTEM_STATICTEXT);
            else
                return E_INVALIDARG;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return answer(state, [&](const Presentation& shown) {
            if (isSelf(child))
                return m_standard->get_accState(child, state);
            if (!isChild(shown, child))
                return E_INVALIDARG;
            if (!shown.itemsAsChildren) {
                *state = longVariant(STATE_SYSTEM_READONLY);
                return S_OK;
            }
            long flags = STATE_SYSTEM_SELECTABLE;
            if (SendMessageW(m_control, LB_GETSEL, static_cast<WPARAM>(child.lVal - 1), 0) > 0)
                flags |= STATE_SYSTEM_SELECTED;
            if (!IsWindowVisible(m_control))
                flags |= STATE_SYSTEM_INVISIBLE;
            *state = longVariant(flags);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return ofSelf(child, help, [&](const Presentation&) { return m_standard->get_accHelp(child, help); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return connected() ? m_standard->get_accHelpTopic(file, child, topic) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return ofSelf(child, shortcut, [&](const Presentation&) { return m_standard->get_accKeyboardShortcut(child, shortcut); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        return connected() ? m_standard->get_accFocus(focus) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        return connected() ? m_standard->get_accSelection(selection) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return ofSelf(child, action, [&](const Presentation& shown) {
            if (!shown.press)
                return m_standard->get_accDefaultAction(child, action);
            *action = bstr(L"Press");
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return connected() ? m_standard->accSelect(flags, child) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
            return E_POINTER;
        return answer(left, [&](const Presentation& shown) {
            if (isSelf(child) || (!shown.itemsAsChildren && isChild(shown, child)))
                return m_standard->accLocation(left, top, width, height, longVariant(CHILDID_SELF));
            if (!isChild(shown, child))
                return E_INVALIDARG;
            RECT item{};
            SendMessageW(m_control, LB_GETITEMRECT, static_cast<WPARAM>(child.lVal - 1), reinterpret_cast<LPARAM>(&item));
            MapWindowPoints(m_control, nullptr, reinterpret_cast<POINT*>(&item), 2);
            *left = item.left;
            *top = item.top;
            *width = item.right - item.left;
            *height = item.bottom - item.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return answer(end, [&](const Presentation& shown) {
            if (!shown.itemsAsChildren || (isSelf(start) && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD))
                return m_standard->accNavigate(direction, start, end);
            const long count = items();
            long to = 0;
            if (isSelf(start))
                to = direction == NAVDIR_FIRSTCHILD ? 1 : count;
            else if (!isItem(start))
                return E_INVALIDARG;
            else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN)
                to = start.lVal + 1;
            else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP)
                to = start.lVal - 1;
            if (to < 1 || to > count)
                return S_FALSE;
            *end = longVariant(to);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override
    {
        return answer(child, [&](const Presentation& shown) {
            const HRESULT hit = m_standard->accHitTest(x, y, child);
            if (hit != S_OK || !shown.itemsAsChildren || !isSelf(*child))
                return hit;
            POINT at{x, y};
            ScreenToClient(m_control, &at);
            const LRESULT found = SendMessageW(m_control, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
            // The high word says the point lies outside every item.
            if (HIWORD(found) == 0)
                *child = longVariant(static_cast<long>(LOWORD(found)) + 1);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        const auto shown = presentation();
        if (!shown)
            return CO_E_OBJNOTCONNECTED;
        if (!isSelf(child) || !shown->press)
            return m_standard->accDoDefaultAction(child);
        shown->press();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return connected() ? m_standard->put_accValue(child, value) : CO_E_OBJNOTCONNECTED;
    }

private:
    ~ControlAccessible() = default;

    std::shared_ptr<const Presentation> presentation() const
    {
        auto shown = m_presentation.lock();
        return shown && m_standard && IsWindow(m_control) ? shown : nullptr;
    }
    bool connected() const { return presentation() != nullptr; }
    long items() const { return static_cast<long>(SendMessageW(m_control, LB_GETCOUNT, 0, 0)); }
    bool isItem(const VARIANT& child) const { return child.vt == VT_I4 && child.lVal >= 1 && child.lVal <= items(); }
    // The name of a child: a line of the list, or words said before.
    std::optional<std::wstring> childName(const Presentation& shown, const VARIANT& child) const
    {
        if (shown.itemsAsChildren && isItem(child))
            return listBoxItem(m_control, child.lVal - 1);
        if (shown.saidBefore && child.vt == VT_I4 && child.lVal != CHILDID_SELF)
            return shown.saidBefore(child.lVal);
        return std::nullopt;
    }
    bool isChild(const Presentation& shown, const VARIANT& child) const { return childName(shown, child).has_value(); }

    static void empty(BSTR& text) { text = nullptr; }
    static void empty(VARIANT& variant) { VariantInit(&variant); }
    static void empty(IDispatch*& object) { object = nullptr; }
    static void empty(long&) { }

    // What every question asks first: the object is still connected, and `out`, where the answer
    // goes, is somewhere to write; emptied, it is given to `get` with the presentation.
    template <typename Out, typename Get>
    HRESULT answer(Out* out, Get get)
    {
        const auto shown = presentation();
        if (!shown)
            return CO_E_OBJNOTCONNECTED;
        if (out == nullptr)
            return E_POINTER;
        empty(*out);
        return get(*shown);
    }
    // A text of the control itself; a line has none.
    template <typename Get>
    HRESULT ofSelf(const VARIANT& child, BSTR* out, Get get)
    {
        return answer(out, [&](const Presentation& shown) {
            if (isSelf(child))
                return get(shown);
            return isChild(shown, child) ? S_FALSE : E_INVALIDARG;
        });
    }

    HWND m_control;
    std::weak_ptr<const Presentation> m_presentation;
    ComPtr<IAccessible> m_standard;
    std::atomic<ULONG> m_references{1};
};

constexpr UINT_PTR PresentedSubclassId = 0x7461; // one of our own, beside the window's others

LRESULT CALLBACK presentedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* presentation = reinterpret_cast<std::shared_ptr<const Presentation>*>(data);
    if (message == WM_GETOBJECT) {
        if (static_cast<DWORD>(lParam) == static_cast<DWORD>(uia::RootObjectId) && (*presentation)->automationElement) {
            if (const LRESULT element = (*presentation)->automationElement(wParam))
                return element;
        }
        if (const LRESULT object = accessibleObject(hwnd, wParam, lParam, *presentation))
            return object;
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, presentedProc, PresentedSubclassId);
        delete presentation;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

// The announcer's UI Automation element: a Text element named by the words last said, a polite live
// region, never a keyboard focus target. It lives as long as the announcer's window; once that is
// gone or the element disconnected, every question is answered with UIA_E_ELEMENTNOTAVAILABLE.
// It answers from what it holds, under a lock, and never sends the window a message: UI Automation
// may ask while the window's thread is raising an event.
class LiveTextElement final : public IRawElementProviderSimple {
public:
    explicit LiveTextElement(HWND hwnd)
        : m_hwnd(hwnd)
    {
    }

    // What the window answers to UI Automation's WM_GETOBJECT; 0 once the element is gone.
    LRESULT answer(WPARAM wParam)
    {
        static auto* const returnProvider = uia::core<uia::ReturnRawElementProvider>("UiaReturnRawElementProvider");
        if (!available() || returnProvider == nullptr)
            return 0;
        return returnProvider(m_hwnd, wParam, uia::RootObjectId, this);
    }

    // The words last said; UI Automation's clients are told that they changed.
    void say(std::wstring words)
    {
        AcquireSRWLockExclusive(&m_lock);
        m_name = std::move(words);
        ReleaseSRWLockExclusive(&m_lock);
        static auto* const raise = uia::core<uia::RaiseAutomationEvent>("UiaRaiseAutomationEvent");
        if (available() && raise != nullptr)
            raise(this, uia::LiveRegionChangedEvent);
    }

    // From now on the element is gone; UI Automation's core lets go of it where it can (Windows 8
    // and later).
    void disconnect()
    {
        if (!m_connected.exchange(false))
            return;
        static auto* const disconnectProvider = uia::core<uia::DisconnectProvider>("UiaDisconnectProvider");
        if (disconnectProvider != nullptr)
            disconnectProvider(this);
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (iid != IID_IUnknown && iid != uia::RawElementProviderSimpleIid) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IRawElementProviderSimple*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // IRawElementProviderSimple
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override
    {
        if (options == nullptr)
            return E_POINTER;
        // Called through COM on the window's thread, like the MSAA objects.
        *options = static_cast<ProviderOptions>(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
        return available() ? S_OK : uia::ElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** pattern) override
    {
        if (pattern == nullptr)
            return E_POINTER;
        *pattern = nullptr;
        return available() ? S_OK : uia::ElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override
    {
        if (value == nullptr)
            return E_POINTER;
        VariantInit(value);
        if (!available())
            return uia::ElementNotAvailable;
        switch (property) {
        case uia::NameProperty:
            AcquireSRWLockShared(&m_lock);
            value->vt = VT_BSTR;
            value->bstrVal = bstr(m_name);
            ReleaseSRWLockShared(&m_lock);
            break;
        case uia::ControlTypeProperty:
            *value = longVariant(uia::TextControl);
            break;
        case uia::LiveSettingProperty:
            *value = longVariant(uia::LivePolite);
            break;
        case uia::IsKeyboardFocusableProperty:
            value->vt = VT_BOOL;
            value->boolVal = VARIANT_FALSE;
            break;
        default:
            // Empty: the window's host provider, or UI Automation's default, answers.
            break;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override
    {
        if (host == nullptr)
            return E_POINTER;
        *host = nullptr;
        if (!available())
            return uia::ElementNotAvailable;
        static auto* const hostProvider = uia::core<uia::HostProviderFromHwnd>("UiaHostProviderFromHwnd");
        return hostProvider != nullptr ? hostProvider(m_hwnd, host) : S_OK;
    }

private:
    ~LiveTextElement() = default;

    bool available() const { return m_connected && IsWindow(m_hwnd); }

    HWND m_hwnd;
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::wstring m_name; // under m_lock
    std::atomic<bool> m_connected{true};
    std::atomic<ULONG> m_references{1};
};

VARIANT longVariant(long value)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

LRESULT accessibleObject(HWND control, WPARAM wParam, LPARAM objectId, const std::shared_ptr<const Presentation>& presentation)
{
    if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT) || !presentation)
        return 0;
    auto* object = new ControlAccessible(control, presentation);
    const LRESULT result = LresultFromObject(AccessibleIid, wParam, static_cast<IAccessible*>(object));
    object->Release();
    return result;
}

void present(HWND control, std::shared_ptr<const Presentation> presentation)
{
    SetWindowSubclass(control, presentedProc, PresentedSubclassId,
        reinterpret_cast<DWORD_PTR>(new std::shared_ptr<const Presentation>(std::move(presentation))));
}

Announcer::Announcer(HWND parent, int id)
    // No size: it shows nothing. Visible, so that screen readers do not take it for gone.
    : m_hwnd(createControl(parent, L"STATIC", "", WS_VISIBLE | SS_NOPREFIX, 0, id))
    , m_element(new LiveTextElement(m_hwnd))
{
    // The window's answer holds a reference of its own: the element is there for as long as the
    // window or the announcer is.
    m_element->AddRef();
    const std::shared_ptr<LiveTextElement> element(m_element.get(), [](LiveTextElement* held) { held->Release(); });
    present(m_hwnd, std::make_shared<const Presentation>(Presentation{
        .role = ROLE_SYSTEM_STATICTEXT,
        .saidBefore = [this](long child) -> std::optional<std::wstring> {
            const long age = m_said - child;
            if (child < 1 || age < 0 || age >= static_cast<long>(m_recent.size()))
                return std::nullopt;
            return m_recent[m_recent.size() - 1 - static_cast<std::size_t>(age)];
        },
        .automationElement = [element](WPARAM wParam) { return element->answer(wParam); },
    }));
}

Announcer::~Announcer() { clear(); }

void Announcer::say(std::string_view words)
{
    // Its name is its text, the words last said. The events make screen readers read them now;
    // the MSAA one carries their number, so that a reader that comes to it after the next press
    // still reads these words, not the next ones. Each path has its one event: no UI Automation
    // notification beside the live-region change, which Narrator would read as a second time.
    setWindowText(m_hwnd, words);
    m_recent.push_back(toWide(words));
    if (m_recent.size() > KeptWords)
        m_recent.pop_front();
    NotifyWinEvent(LiveRegionChanged, m_hwnd, OBJID_CLIENT, ++m_said);
    m_element->say(m_recent.back());
}

void Announcer::clear() { m_element->disconnect(); }

IRawElementProviderSimple* Announcer::automationElement() const { return m_element.get(); }

} // namespace tavoro
