#pragma once
// What differs between the two programs, Tavoro 3 and Tavoro 2, as plain data. Each program is one
// `ProgramDescription` (see programs.h); the splash window, the calculator window and the start-up
// code read it and hold no per-program code of their own.

#include "calculatorwindow.h"
#include "twips.h"

namespace tavoro {

// The two border styles a splash window comes in.
enum class SplashBorder {
    Sizable,            // title bar with the window buttons; placed where the platform puts new windows
    DialogWithoutTitle, // fixed size, no title bar and no window buttons; centred on the screen
};

// One splash window design. Places are in twips, the controls' measured from Frame1's corner.
struct SplashVariant {
    const char* className; // the window's object name: "frmSplash3" or "frmSplash"
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
    unsigned startButtonFace; // #RRGGBB
    const char* platformCaption;
    // Whether the window has a load step (Form_Load), which shows the program title in
    // lblProductName instead of the design caption.
    bool loadShowsTitle;
};

struct ProgramDescription {
    const char* title; // the program title: Qt's application name and display name
    SplashVariant splash;
    CalculatorVariant calculator;
};

// Both programs carry version 1.00.
inline constexpr const char* ProgramVersion = "1.00";

} // namespace tavoro
