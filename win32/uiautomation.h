// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program (and its Wine checks) use of UI Automation's core, uiautomationcore.dll: the
// identifiers Windows documents, spelt out because MinGW's headers lack most of them (and their
// uiautomationcoreapi.h does not compile as C++), and the flat API's functions, found at run time
// so that a Windows or Wine that lacks one still starts the program.

#include <ole2.h>
#include <uiautomationcore.h>
#include <windows.h>

namespace tavoro::uia {

// IRawElementProviderSimple's identifier, spelt out: MinGW's uuid library may lack it.
inline constexpr IID RawElementProviderSimpleIid{0xd6dd68d1, 0x86fd, 0x4332, {0x86, 0x66, 0x9a, 0xbe, 0xde, 0xa2, 0xd2, 0x4c}};

// The object identifier WM_GETOBJECT carries when UI Automation asks a window for its provider.
inline constexpr LPARAM RootObjectId = -25;
inline constexpr HRESULT ElementNotAvailable = static_cast<HRESULT>(0x80040201); // UIA_E_ELEMENTNOTAVAILABLE

// Properties.
inline constexpr PROPERTYID ControlTypeProperty = 30003;
inline constexpr PROPERTYID NameProperty = 30005;
inline constexpr PROPERTYID IsKeyboardFocusableProperty = 30009;
inline constexpr PROPERTYID LiveSettingProperty = 30135;
// Control types.
inline constexpr long ButtonControl = 50000;
inline constexpr long EditControl = 50004;
inline constexpr long ListControl = 50008;
inline constexpr long TextControl = 50020;
// LiveSetting's values.
inline constexpr long LiveOff = 0;
inline constexpr long LivePolite = 1;
// Events.
inline constexpr EVENTID LiveRegionChangedEvent = 20024;

using ReturnRawElementProvider = LRESULT WINAPI(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
using HostProviderFromHwnd = HRESULT WINAPI(HWND, IRawElementProviderSimple**);
using RaiseAutomationEvent = HRESULT WINAPI(IRawElementProviderSimple*, EVENTID);
// Windows 8 and later.
using DisconnectProvider = HRESULT WINAPI(IRawElementProviderSimple*);

// The function `name` of uiautomationcore.dll, loaded from Windows' own folder on first use;
// nullptr where the library or the function is missing.
FARPROC coreFunction(const char* name);

template <typename Function>
Function* core(const char* name)
{
    // Through a pointer to a function without parameters, which any function pointer may become.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(coreFunction(name)));
}

} // namespace tavoro::uia
