// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fonts of the window designs, named as the designs name them ("Arial", "Arial Black",
// "MS Sans Serif") with their point sizes. Every design font is bold.

#include "calculatordesign.h"
#include "units.h"

#include <QFont>
#include <QString>

namespace tavoro {

// The design font `family` at `pointSize` points, weight 700, optionally underlined. A family
// that is not installed falls back to the nearest heavy sans-serif: "Arial" to Liberation Sans
// (same widths), "Arial Black" and "MS Sans Serif" to DejaVu Sans Bold; the font then names the
// stand-in alone. Reads the font database (once), so the QGuiApplication must exist.
QFont designFont(const QString& family, qreal pointSize, bool underline = false);
// A design font with the design drawn at `dpi` (screenfit.h): its size the same share of the
// design's as the places.
QFont designFont(const FontDesign& design, int dpi = StandardDpi);

// The family that stands in for `family` when it is missing; `family` itself when none is known.
QString fallbackFamily(const QString& family);

} // namespace tavoro
