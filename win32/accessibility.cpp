// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "widetext.h"

#include <algorithm>
#include <array>

namespace tavoro {

namespace {

// UI Automation's LiveSetting property and its Polite value, as Windows documents them; MinGW's
// headers lack the GUID, and EVENT_OBJECT_LIVEREGIONCHANGED needs Windows 8 headers.
constexpr GUID LiveSettingProperty{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr long LiveSettingPolite = 1;
constexpr DWORD LiveRegionChanged = 0x8019; // EVENT_OBJECT_LIVEREGIONCHANGED

VARIANT longVariant(long value)
{
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

} // namespace

Annotations::Annotations()
{
    CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
        m_service.putVoid());
}

void Annotations::clear()
{
    if (!m_service)
        return;
    const std::array<MSAAPROPID, 4> properties{PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, PROPID_ACC_ROLE,
        LiveSettingProperty};
    for (HWND control : m_annotated) {
        m_service->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, properties.data(),
            static_cast<int>(properties.size()));
    }
    m_annotated.clear();
}

void Annotations::setName(HWND control, std::string_view name)
{
    if (!m_service)
        return;
    m_service->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, toWide(name).c_str());
    remember(control);
}

void Annotations::setDescription(HWND control, std::string_view description)
{
    if (!m_service)
        return;
    m_service->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_DESCRIPTION,
        toWide(description).c_str());
    remember(control);
}

void Annotations::setButtonRole(HWND control)
{
    if (!m_service)
        return;
    m_service->SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, longVariant(ROLE_SYSTEM_PUSHBUTTON));
    remember(control);
}

void Annotations::setPoliteLiveRegion(HWND control)
{
    if (!m_service)
        return;
    m_service->SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, LiveSettingProperty, longVariant(LiveSettingPolite));
    remember(control);
}

void Annotations::announceChange(HWND control)
{
    NotifyWinEvent(LiveRegionChanged, control, OBJID_CLIENT, CHILDID_SELF);
}

void Annotations::remember(HWND control)
{
    if (std::ranges::find(m_annotated, control) == m_annotated.end())
        m_annotated.push_back(control);
}

} // namespace tavoro
