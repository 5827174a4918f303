// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a text that is too wide for its control is shown, the same way by every front end: a display
// shrinks its font until the number fits, a tape line wraps onto further rows. A number is never
// clipped or elided, so what a user reads is always the whole number. The front end measures; these
// functions decide.

#include <functional>
#include <string_view>
#include <vector>

namespace tavoro {

// The smallest size a display's font shrinks to. The longest text a display can hold (22
// characters, "-1.23456789012345E-308") fits its label at about 18 points.
inline constexpr double MinimumFitPoints = 6.0;
// Sizes are tried in quarter points, the step in which the design gives its sizes.
inline constexpr double FitPointStep = 0.25;

// The font size at which a text is drawn in a control `width` pixels wide: `designPoints` when the
// text fits at that size, else the largest size in quarter points below it at which it fits (at
// least MinimumFitPoints). `widthAt(points)` is the text's width in pixels at a size, and is taken
// to grow with the size.
double fittingPointSize(double designPoints, int width, const std::function<int(double)>& widthAt);

// The rows a line is drawn in when it is `width` pixels wide at most: each row as many characters
// as fit, at least one, breaking anywhere (inside a number too). A line that fits is one row; an
// empty line is one empty row. `widthOf(part)` is the width in pixels of a part of the line.
std::vector<std::string_view> wrapAnywhere(std::string_view line, int width,
    const std::function<int(std::string_view)>& widthOf);

} // namespace tavoro
