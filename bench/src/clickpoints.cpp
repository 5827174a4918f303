#include "clickpoints.h"

#include "floordesign.h"

namespace tavoro::bench {

namespace {

struct TwipsRect {
    int left, top, width, height;
};

Point centre(const TwipsRect& frame, const TwipsRect& control)
{
    const int left = pixels(frame.left) + pixels(control.left);
    const int top = pixels(frame.top) + pixels(control.top);
    return {left + pixels(control.width) / 2, top + pixels(control.height) / 2};
}

// Frame1 and cmdStartTavoro of each splash window.
constexpr TwipsRect Frame1Tavoro3{300, 300, 8820, 6390};
constexpr TwipsRect StartTavoro3{5580, 3810, 2025, 705};
constexpr TwipsRect Frame1Tavoro2{360, 390, 8610, 5070};
constexpr TwipsRect StartTavoro2{5220, 3450, 2025, 705};
// cmdDigit(1) in the calculator's client area.
constexpr TwipsRect Digit1{1605, 1470, 1155, 1110};

} // namespace

Point startButtonCentre(Kind kind)
{
    switch (kind) {
    case Kind::Tavoro3:
        return centre(Frame1Tavoro3, StartTavoro3);
    case Kind::Tavoro2:
        return centre(Frame1Tavoro2, StartTavoro2);
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
    const Point key = centre({0, 0, 0, 0}, Digit1);
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
