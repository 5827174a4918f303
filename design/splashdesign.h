// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splash window's design as toolkit-free data: what both programs' splash windows share, and
// the `SplashVariant` that holds what differs. Places are in twips; the controls' places are
// measured from Frame1's top-left corner, Frame1's from the client area's.

#include "calculatordesign.h"
#include "colours.h"
#include "units.h"

namespace tavoro {

// The two border styles a splash window comes in.
enum class SplashBorder {
    Sizable,            // title bar with the window buttons; placed where the platform puts new windows
    DialogWithoutTitle, // fixed size, no title bar and no window buttons; centred on the screen
};

// One splash window design.
struct SplashVariant {
    const char* className; // the window's class name: "frmSplash3" or "frmSplash"
    const char* caption;   // the window caption, "" for none
    SplashBorder border;
    int clientWidth;  // twips
    int clientHeight; // twips
    Twips frame1;
    Twips lblProductName;
    Twips lblOldGuys;
    Twips imgLogo;
    Twips cmdStartTavoro;
    Twips lblPlatform;
    Rgb startButtonFace;
    const char* platformCaption;
    // Whether the window has a load step (Form_Load), which shows the program title in
    // lblProductName instead of the design caption.
    bool loadShowsTitle;
};

// What both splash windows share. Labels without colours keep the window's own (the platform's
// window-face background, black text).
namespace splash {
inline constexpr const char* ProductNameCaption = " Tavoro "; // one blank on each side
inline constexpr const char* OldGuysCaption = "An easy to see (and use) calculator for us old blind guys.";
inline constexpr const char* StartCaption = "CLICK to Start Tavoro";

inline constexpr FontDesign ProductNameFont{"Arial", 32.25};
inline constexpr FontDesign OldGuysFont{"MS Sans Serif", 12.0};
inline constexpr FontDesign StartFont{"MS Sans Serif", 12.0};
inline constexpr FontDesign PlatformFont{"Arial", 11.25};

inline constexpr Rgb ProductNameBack = colour::DarkGreen;
inline constexpr Rgb ProductNameFore = colour::PaleGreen;
inline constexpr Rgb OldGuysBack = colour::PaleGreen;
inline constexpr Rgb OldGuysFore = colour::DeepGreen;

// What screen readers say of the logo picture.
inline constexpr const char* LogoName = "Tavoro logo";
inline constexpr const char* LogoDescription = "A desk calculator with a magnifying glass and a pen";
} // namespace splash

} // namespace tavoro
