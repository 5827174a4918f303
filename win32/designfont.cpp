// SPDX-License-Identifier: GPL-3.0-or-later
#include "designfont.h"

#include "widetext.h"

#include <array>
#include <cmath>
#include <map>
#include <string>

namespace tavoro {

namespace {

// Stand-ins for two design families. "MS Sans Serif" is a bitmap font in a few fixed sizes, blocky
// when enlarged, while "Microsoft Sans Serif" is the same design in TrueType, sharp at every size
// and DPI: it is taken wherever it is installed. A Windows without Arial Black gets Arial.
struct StandIn {
    std::string_view design;
    const wchar_t* standIn;
    bool preferred; // taken even where the design's family is installed
};
constexpr std::array<StandIn, 2> StandIns{{
    {"MS Sans Serif", L"Microsoft Sans Serif", true},
    {"Arial Black", L"Arial", false},
}};

int CALLBACK fontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM present)
{
    *reinterpret_cast<bool*>(present) = true;
    return 0; // one is enough
}

bool installed(const std::wstring& family)
{
    static std::map<std::wstring, bool> known; // fonts do not come and go while the program runs
    if (const auto found = known.find(family); found != known.end())
        return found->second;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    family.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool present = false;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, fontFound, reinterpret_cast<LPARAM>(&present), 0);
    ReleaseDC(nullptr, screen);
    known.emplace(family, present);
    return present;
}

// The family to ask GDI for. Where neither the design's family nor its stand-in is installed the
// design's name stays, and GDI's font mapper takes the nearest bold sans serif (FF_SWISS).
std::wstring familyFor(std::string_view design)
{
    const std::wstring family = toWide(design);
    for (const StandIn& row : StandIns) {
        if (row.design == design && (row.preferred || !installed(family)) && installed(row.standIn))
            return row.standIn;
    }
    return family;
}

} // namespace

Font designFont(const FontDesign& design, UINT dpi, double points)
{
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
    font.lfWeight = FW_BOLD;
    font.lfUnderline = design.underline ? TRUE : FALSE;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = CLEARTYPE_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    if (design.family != nullptr)
        familyFor(design.family).copy(font.lfFaceName, LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&font));
}

SIZE textExtent(HWND window, HFONT font, std::wstring_view text)
{
    const MeasuringDc dc(window, font);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace tavoro
