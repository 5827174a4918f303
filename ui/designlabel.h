// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label of the window designs: opaque, borderless, its text starting at the top edge and, when
// word wrap is on, broken into lines at blanks the way the classic label control breaks them.
//
// Qt's own wrapping never breaks after blanks that open a caption, so "     clear" (five blanks,
// then the word) stays one clipped line in a narrow label, where the design means the blanks as a
// first, empty line that moves "clear" down to the second.

#include <QLabel>
#include <QStringList>

class QFontMetrics;

namespace tavoro {

// Breaks `text` into lines no wider than `width` pixels: a line takes whole words and the blanks
// between them, and a word that does not fit after what the line already holds (blanks included)
// starts the next line. The blanks before such a word stay at the end of the line they follow; a
// word wider than `width` gets a line of its own and is clipped when drawn.
QStringList wrapAtBlanks(const QString& text, int width, const QFontMetrics& metrics);

class DesignLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    // A display label: a caption too wide for the label at its font is drawn at the largest size
    // that fits its width instead of being cut off.
    void setShrinkToFit(bool shrink);
    // The font the caption is drawn in: the label's font, or a smaller size of it that fits.
    QFont drawnFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_shrinkToFit = false;
};

} // namespace tavoro
