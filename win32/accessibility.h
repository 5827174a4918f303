// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What screen readers (Narrator, NVDA, JAWS) learn of the controls, through accessible objects of
// our own: each control answers WM_GETOBJECT with an IAccessible built on Windows' standard one,
// which gives it the role, name, description and default action that the standard one cannot
// (a label that serves as a key is a push button named "clear all"; "/" is "divided by"; the tape
// is a list whose children are its lines). The words said after each press reach screen readers
// through one hidden announcer, a polite live region, both as an MSAA object (NVDA, JAWS) and as a
// UI Automation element of its own (Narrator).

#include "comptr.h"
#include "uiautomation.h"

#include <oleacc.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavoro {

// IAccessible's identifier, spelt out: MinGW's oleacc library defines IID_IAccessible as code.
inline constexpr IID AccessibleIid{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
// Events of Windows 8's headers, which MinGW's lack.
inline constexpr DWORD LiveRegionChanged = 0x8019; // EVENT_OBJECT_LIVEREGIONCHANGED

// A VARIANT of a number: a child identifier (CHILDID_SELF for the object itself), a role, a state.
VARIANT longVariant(long value);

// How one control presents itself, beyond what Windows' standard object says of it.
struct Presentation {
    long role = ROLE_SYSTEM_CLIENT;
    // The name in words; empty: the control's own text, as shown.
    std::function<std::wstring()> name{};
    std::function<std::wstring()> description{};
    // Runs the control's click, the "Press" default action; empty: the standard object's.
    std::function<void()> press{};
    // A list box whose items are its children, list items named by their text.
    bool itemsAsChildren = false;
    // Words said before, reached by the child identifier (1, 2, ...) of the event that said them;
    // nothing for an identifier that is not, or no longer, kept.
    std::function<std::optional<std::wstring>(long)> saidBefore{};
    // The answer to WM_GETOBJECT for UI Automation's root object, from a provider of the control's
    // own; empty, or 0: UI Automation reads the accessible object through its proxy.
    std::function<LRESULT(WPARAM)> automationElement{};
};

// The answer to WM_GETOBJECT sent to `control` for `objectId`: for the client area (OBJID_CLIENT),
// an accessible object presented by `presentation`; 0, Windows' own answer, for anything else.
// The object holds the presentation weakly: once it is gone, the object answers that it is no
// longer connected.
LRESULT accessibleObject(HWND control, WPARAM wParam, LPARAM objectId, const std::shared_ptr<const Presentation>& presentation);

// Gives `control`, a window of Windows' own classes, an accessible object presented by
// `presentation`, which the control keeps for as long as it lives.
void present(HWND control, std::shared_ptr<const Presentation> presentation);

class LiveTextElement;

// Says words through the screen reader without showing anything: a control without pixels and
// outside the tab order, named by the words last said, a polite live region whose change is
// announced once a press on each path: EVENT_OBJECT_LIVEREGIONCHANGED from its MSAA object, which
// NVDA and JAWS read, and UI Automation's LiveRegionChanged from its own UI Automation element
// (Text, LiveSetting Polite), which Narrator reads. Each time's words stay readable a while as an
// MSAA child of its own.
class Announcer {
public:
    // Needs COM initialised on the thread.
    Announcer(HWND parent, int id);
    ~Announcer();
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;

    HWND hwnd() const { return m_hwnd; }
    void say(std::string_view words);
    // Disconnects the UI Automation element, which from then on answers that it is not available;
    // the window calls it as its controls are destroyed.
    void clear();
    // The UI Automation element, as UI Automation's core gets it.
    IRawElementProviderSimple* automationElement() const;

private:
    static constexpr std::size_t KeptWords = 32;

    HWND m_hwnd;
    long m_said = 0;                  // how many times words were said
    std::deque<std::wstring> m_recent; // the words last said, the newest last
    ComPtr<LiveTextElement> m_element;
};

} // namespace tavoro
