// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text as assistive tools address it. AT-SPI counts characters (Unicode code points) where
// QString counts UTF-16 units, so "a😀b" is three characters long, not four. Every offset an
// assistive tool sends is taken as untrusted: reads are clamped to the text, edits and selections
// outside it are refused, and the characters, words, sentences and lines of the text are found
// by walks of ours that always end.

#include <QAccessible>
#include <QString>

#include <optional>
#include <vector>

namespace tavoro {

class AccessibleText {
public:
    explicit AccessibleText(const QString& text);

    // Characters, as assistive tools count them.
    int size() const { return static_cast<int>(m_units.size()) - 1; }

    // Characters [start, end): -1 for `end` stands for the end of the text, as AT-SPI has it;
    // the span is clamped to the text, and a reversed one is empty.
    QString mid(int start, int end) const;

    // Characters [start, end) as UTF-16 units of the text, where both lie within the text
    // (-1 for either standing for its end) and start <= end; otherwise nothing, as an edit or a
    // selection of characters the text does not have changes nothing.
    struct Span {
        int start;
        int end;
    };
    std::optional<Span> utf16Span(int start, int end) const;

    // The character offset of UTF-16 unit `position` (clamped to the text).
    int offsetOf(int position) const;

    // The item of `boundary` (a character, word, sentence, line or the whole text) at, before or
    // after character `offset`. A word is a run of letters and digits ("12.5" and "don't" being
    // one) or a run of the other characters between them. At the end of the text there is no
    // character, word or sentence, but the last line. Where there is no such item, or `offset`
    // lies outside the text, the answer is empty at the nearest end of the text.
    enum class Where { Before, At, After };
    struct Item {
        QString text;
        int start;
        int end;
    };
    Item item(Where where, int offset, QAccessible::TextBoundaryType boundary) const;

private:
    std::pair<int, int> itemAt(int offset, const std::vector<int>& starts, bool lastLineAtEnd) const;
    std::vector<int> itemStarts(QAccessible::TextBoundaryType boundary) const;
    bool inWord(int index) const;
    bool breaksLine(int index) const;

    QString m_text;
    std::vector<char32_t> m_chars;
    std::vector<int> m_units; // UTF-16 position of each character, and of the end
};

} // namespace tavoro
