#include "designfont.h"

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
    // The design family first, so that a machine that has it uses it; then its stand-in.
    QStringList families{family};
    const QString standIn = fallbackFamily(family);
    if (standIn != family)
        families << standIn;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Bold);
    font.setUnderline(underline);
    return font;
}

} // namespace tavoro
