// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibletext.h"

#include <algorithm>

namespace tavoro {

AccessibleText::AccessibleText(const QString& text)
    : m_text(text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        m_units.push_back(static_cast<int>(i));
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            m_chars.push_back(QChar::surrogateToUcs4(text[i], text[i + 1]));
            ++i;
        } else {
            m_chars.push_back(text[i].unicode()); // a lone surrogate counts as a character
        }
    }
    m_units.push_back(static_cast<int>(text.size()));
}

QString AccessibleText::mid(int start, int end) const
{
    const int count = size();
    if (end == -1)
        end = count;
    start = std::clamp(start, 0, count);
    end = std::clamp(end, 0, count);
    return start < end ? m_text.mid(m_units[start], m_units[end] - m_units[start]) : QString();
}

std::optional<AccessibleText::Span> AccessibleText::utf16Span(int start, int end) const
{
    const int count = size();
    if (start == -1)
        start = count;
    if (end == -1)
        end = count;
    if (start < 0 || start > end || end > count)
        return std::nullopt;
    return Span{m_units[start], m_units[end]};
}

int AccessibleText::offsetOf(int position) const
{
    const auto at = std::lower_bound(m_units.begin(), m_units.end(), position);
    return std::min(static_cast<int>(at - m_units.begin()), size());
}

namespace {

bool endsSentence(char32_t c) { return c == u'.' || c == u'!' || c == u'?'; }

} // namespace

bool AccessibleText::inWord(int index) const
{
    const char32_t c = m_chars[index];
    if (QChar::isLetterOrNumber(c) || QChar::isMark(c))
        return true;
    // A point, comma or apostrophe between letters or digits: "12.5", "1,000", "don't".
    const bool joins = c == u'.' || c == u',' || c == u'\'' || c == U'\u2019';
    return joins && index > 0 && index + 1 < size() && QChar::isLetterOrNumber(m_chars[index - 1])
        && QChar::isLetterOrNumber(m_chars[index + 1]);
}

// Whether a line ends after character `index`: a line feed, a carriage return not followed by
// one, a line or paragraph separator.
bool AccessibleText::breaksLine(int index) const
{
    const char32_t c = m_chars[index];
    return c == u'\n' || c == U'\u2028' || c == U'\u2029'
        || (c == u'\r' && (index + 1 == size() || m_chars[index + 1] != u'\n'));
}

// Where the items of `boundary` start: 0 first, then in increasing order; one pass over the text.
std::vector<int> AccessibleText::itemStarts(QAccessible::TextBoundaryType boundary) const
{
    std::vector<int> starts{0};
    bool sentenceEnded = false; // a full stop, question or exclamation mark came...
    bool blankAfterEnd = false; // ...and a blank after it
    for (int i = 1; i < size(); ++i) {
        const char32_t previous = m_chars[i - 1];
        const bool lineStarts = breaksLine(i - 1);
        if (endsSentence(previous)) {
            sentenceEnded = true;
            blankAfterEnd = false;
        } else if (QChar::isSpace(previous)) {
            blankAfterEnd = sentenceEnded;
        } else {
            sentenceEnded = blankAfterEnd = false;
        }
        bool itemStarts = false;
        switch (boundary) {
        case QAccessible::CharBoundary: itemStarts = true; break;
        case QAccessible::WordBoundary: itemStarts = inWord(i) != inWord(i - 1); break;
        case QAccessible::SentenceBoundary: itemStarts = lineStarts || (blankAfterEnd && !QChar::isSpace(m_chars[i])); break;
        case QAccessible::ParagraphBoundary:
        case QAccessible::LineBoundary: itemStarts = lineStarts; break;
        case QAccessible::NoBoundary: break;
        }
        if (itemStarts)
            starts.push_back(i);
    }
    return starts;
}

// The item holding character `offset` (0 <= offset <= size()) as [start, end). At the end of the
// text, the last item where it takes in the end, else none.
std::pair<int, int> AccessibleText::itemAt(int offset, const std::vector<int>& starts, bool lastItemAtEnd) const
{
    const int count = size();
    if (offset == count && !(lastItemAtEnd && count > 0))
        return {count, count};
    const int held = std::min(offset, count - 1);
    const auto next = std::upper_bound(starts.begin(), starts.end(), held);
    return {*(next - 1), next == starts.end() ? count : *next};
}

AccessibleText::Item AccessibleText::item(Where where, int offset, QAccessible::TextBoundaryType boundary) const
{
    const int count = size();
    if (offset < 0 || offset > count) {
        const int nearest = offset < 0 ? 0 : count;
        return {{}, nearest, nearest};
    }
    // A cursor after the last character stands on the last line (unless a line break ends the
    // text), and within the whole text.
    const bool lines = boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary;
    const bool lastItemAtEnd = boundary == QAccessible::NoBoundary || (lines && count > 0 && !breaksLine(count - 1));
    const std::vector<int> starts = itemStarts(boundary);
    auto [start, end] = itemAt(offset, starts, lastItemAtEnd);
    if (where == Where::Before) {
        if (start == 0)
            return {{}, 0, 0};
        std::tie(start, end) = itemAt(start - 1, starts, lastItemAtEnd);
    } else if (where == Where::After) {
        if (end == count)
            return {{}, count, count};
        std::tie(start, end) = itemAt(end, starts, lastItemAtEnd);
    }
    return {mid(start, end), start, end};
}

} // namespace tavoro
