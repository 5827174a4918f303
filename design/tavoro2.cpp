// SPDX-License-Identifier: GPL-3.0-or-later
// Tavoro 2: a centred splash window without a title bar whose load step shows the program title,
// and the calculator window frmTavoro, captioned "Tavoro." with three labels 30 twips higher.

#include "programs.h"

namespace tavoro {

const ProgramDescription Tavoro2{
    .title = "Tavoro 2",
    .splash{
        .className = "frmSplash",
        .caption = "",
        .border = SplashBorder::DialogWithoutTitle,
        .clientWidth = 9330,
        .clientHeight = 7185,
        .frame1{360, 390, 8610, 5070},
        .lblProductName{420, 870, 3885, 765},
        .lblOldGuys{4200, 930, 3885, 615},
        .imgLogo{1200, 1650, 2265, 2085},
        .cmdStartTavoro{5220, 3450, 2025, 705},
        .lblPlatform{1020, 3750, 2715, 270},
        .startButtonFace = 0xE0E0E0,
        .platformCaption = "Version 2.1... for Windows",
        .loadShowsTitle = true,
    },
    .calculator{
        .className = "frmTavoro",
        .caption = "Tavoro.",
        .lblNewNum{1590, 5850, 5820, 690},
        .lblOp{7560, 6000, 600, 555},
        .lblSpacer1{7380, 5850, 195, 690},
    },
};

} // namespace tavoro
