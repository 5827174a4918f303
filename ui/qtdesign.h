// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The toolkit-free designs in Qt's terms: twip places as rectangles in the device-independent
// pixels Qt lays widgets out in (96 dpi, which Qt's high-density scaling turns into the screen's
// pixels), design colours as QColor, alignments as Qt::Alignment and texts as QString.

#include "calculatordesign.h"
#include "colours.h"
#include "units.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

#include <string_view>

namespace tavoro {

inline QRect toRect(const Twips& t) { return QRect(px(t.left), px(t.top), px(t.width), px(t.height)); }

inline QSize toSize(int widthTwips, int heightTwips) { return {px(widthTwips), px(heightTwips)}; }

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
