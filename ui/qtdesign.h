// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The toolkit-free designs in Qt's terms: twip places as rectangles in the device-independent
// pixels Qt lays widgets out in (96 dpi, which Qt's high-density scaling turns into the screen's
// pixels; fewer where the design is drawn smaller to fit the screen), design colours as QColor,
// alignments as Qt::Alignment and texts as QString.

#include "calculatordesign.h"
#include "colours.h"
#include "units.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

#include <string_view>

namespace tavoro {

// A design place in device-independent pixels with the design drawn at `dpi` (screenfit.h): each
// of left, top, width and height converted on its own, so that keys of one size stay alike.
inline QRect toRect(const Twips& t, int dpi = StandardDpi)
{
    return QRect(pxAtDpi(t.left, dpi), pxAtDpi(t.top, dpi), pxAtDpi(t.width, dpi), pxAtDpi(t.height, dpi));
}

inline QSize toSize(int widthTwips, int heightTwips, int dpi = StandardDpi)
{
    return {pxAtDpi(widthTwips, dpi), pxAtDpi(heightTwips, dpi)};
}

inline QColor toQColor(Rgb rgb) { return QColor(red(rgb), green(rgb), blue(rgb)); }

inline Qt::Alignment toQt(Align align)
{
    switch (align) {
    case Align::Left:
        return Qt::AlignLeft;
    case Align::Centre:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

inline QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace tavoro
