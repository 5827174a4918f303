// SPDX-License-Identifier: GPL-3.0-or-later
#include "designfont.h"

#include "screenfit.h"

#include <QFontDatabase>
#include <QStringList>

#include <array>
#include <utility>

namespace tavoro {

namespace {

// Metric-compatible or nearest-weight stand-ins for the design families. fontconfig would find
// similar ones on its own, but naming them keeps the text widths the same on every machine with
// fonts-liberation and fonts-dejavu-core.
constexpr std::array<std::pair<const char*, const char*>, 3> Fallbacks{{
    {"Arial", "Liberation Sans"},
    {"Arial Black", "DejaVu Sans"},
    {"MS Sans Serif", "DejaVu Sans"},
}};

// Whether the font database holds `family` itself, not merely a font that fontconfig would match
// for that name. Read once: the fonts do not change while the program runs.
bool isInstalled(const QString& family)
{
    static const QStringList installed = QFontDatabase::families();
    return installed.contains(family, Qt::CaseInsensitive);
}

} // namespace

QString fallbackFamily(const QString& family)
{
    for (const auto& [design, standIn] : Fallbacks) {
        if (family == QLatin1String(design))
            return QString::fromLatin1(standIn);
    }
    return family;
}

QFont designFont(const QString& family, qreal pointSize, bool underline)
{
    QFont font;
    // The design family first where the machine has it, then its stand-in; else the stand-in
    // alone. Asked for a missing family, Qt has fontconfig sort every installed font against that
    // name, once per family, style and script: about 1.5 ms each at start-up.
    QStringList families{family};
    const QString standIn = fallbackFamily(family);
    if (standIn != family) {
        if (isInstalled(family))
            families << standIn;
        else
            families = QStringList{standIn};
    }
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Bold);
    font.setUnderline(underline);
    return font;
}

QFont designFont(const FontDesign& design, int dpi)
{
    return designFont(QString::fromLatin1(design.family), scaledPoints(design.points, dpi, StandardDpi), design.underline);
}

} // namespace tavoro
