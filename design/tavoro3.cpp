// SPDX-License-Identifier: GPL-3.0-or-later
// Tavoro 3: a sizable splash window with a title bar, and the calculator window frmTavoro3.

#include "programs.h"

namespace tavoro {

const ProgramDescription Tavoro3{
    .title = "Tavoro 3",
    .splash{
        .className = "frmSplash3",
        .caption = "Tavoro 3",
        .border = SplashBorder::Sizable,
        .clientWidth = 9450,
        .clientHeight = 7020,
        .frame1{300, 300, 8820, 6390},
        .lblProductName{780, 630, 3885, 765},
        .lblOldGuys{4560, 690, 3885, 615},
        .imgLogo{1230, 1800, 2985, 2745},
        .cmdStartTavoro{5580, 3810, 2025, 705},
        .lblPlatform{1380, 4830, 2715, 270},
        .startButtonFace = 0xC0FFC0,
        .platformCaption = "Version 3.1... for Windows",
        .loadShowsTitle = false,
    },
    .calculator{
        .className = "frmTavoro3",
        .caption = "Tavoro 3",
        .lblNewNum{1620, 5880, 5820, 690},
        .lblOp{7560, 6030, 600, 555},
        .lblSpacer1{7380, 5880, 195, 690},
    },
};

} // namespace tavoro
