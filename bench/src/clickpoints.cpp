// SPDX-License-Identifier: GPL-3.0-or-later
#include "clickpoints.h"

#include "floordesign.h"
#include "programs.h"

namespace tavoro::bench {

namespace {

Point centre(const Twips& frame, const Twips& control)
{
    const int left = pixels(frame.left) + pixels(control.left);
    const int top = pixels(frame.top) + pixels(control.top);
    return {left + pixels(control.width) / 2, top + pixels(control.height) / 2};
}

Point startButtonOf(const SplashVariant& splash) { return centre(splash.frame1, splash.cmdStartTavoro); }

} // namespace

Point startButtonCentre(Kind kind)
{
    switch (kind) {
    case Kind::Tavoro3:
        return startButtonOf(Tavoro3.splash);
    case Kind::Tavoro2:
        return startButtonOf(Tavoro2.splash);
    case Kind::Floor:
        break;
    }
    return {};
}

int clientTop(int windowHeight)
{
    const int top = windowHeight - CalculatorClientHeight;
    return top > 0 ? top : 0;
}

Point digitKeyCentre(Kind kind, int windowHeight)
{
    if (kind == Kind::Floor)
        return {floorwindow::buttonLeft(0) + floorwindow::ButtonSize / 2, floorwindow::buttonTop(0) + floorwindow::ButtonSize / 2};
    const Point key = centre({}, findControl("cmdDigit(1)")->place);
    return {key.x, key.y + clientTop(windowHeight)};
}

const char* kindName(Kind kind)
{
    switch (kind) {
    case Kind::Floor:
        return "floor";
    case Kind::Tavoro3:
        return "tavoro3";
    case Kind::Tavoro2:
        return "tavoro2";
    }
    return "?";
}

} // namespace tavoro::bench
