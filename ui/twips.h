#pragma once
// Design units: places and sizes are given in twips (1/1440 inch). 15 twips make one pixel at
// 96 dpi, i.e. one Qt device-independent pixel, so Qt's high-DPI scaling keeps the physical size.

#include <QRect>

namespace tavoro {

struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int TwipsPerPixel = 15;

constexpr int px(int twips) { return twips / TwipsPerPixel; }

inline QRect toRect(const Twips& t) { return QRect(px(t.left), px(t.top), px(t.width), px(t.height)); }

} // namespace tavoro
