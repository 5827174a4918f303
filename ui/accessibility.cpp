// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "accessibletext.h"
#include "atspiguard.h"
#include "clicklabel.h"
#include "clicklineedit.h"
#include "designlabel.h"
#include "qtdesign.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>

#include <functional>
#include <utility>

namespace tavoro {

namespace {

QString spokenCaption(const QString& caption) { return QString::fromStdString(tavoro::spokenCaption(caption.toStdString())); }

// A control that assistive tools can press: its "press" action runs the control's click once.
// The click is queued, so that the assistive tool's call returns at once, even when the click's
// handler goes on to open a modal message box, and so that presses run one after the other in the
// order they came, whichever control they press. A press for a control that is gone is dropped.
// Without an accessible name of its own, the control is named by `caption`, where one is given.
class PressableAccessible : public QAccessibleWidget {
public:
    PressableAccessible(QWidget* widget, QAccessible::Role role, std::function<void()> click,
        std::function<QString()> caption = {})
        : QAccessibleWidget(widget, role)
        , m_click(std::move(click))
        , m_caption(std::move(caption))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && m_caption && widget()->accessibleName().isEmpty())
            return m_caption();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction())
            QMetaObject::invokeMethod(widget(), m_click, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(actionName);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    std::function<void()> m_click;
    std::function<QString()> m_caption;
};

// One line of text without attributes, read through the text interface: what a display label and
// a text box share. `Base` is the widget interface it adds the text interface to; shownText() is
// the text as it shows. Offsets are characters (AccessibleText), whatever an assistive tool sends.
template <typename Base>
class PlainTextAccessible : public Base, public QAccessibleTextInterface {
public:
    using Base::Base;
    using Base::text;

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return Base::interface_cast(t);
    }

    QString text(int startOffset, int endOffset) const override { return AccessibleText(shownText()).mid(startOffset, endOffset); }
    int characterCount() const override { return AccessibleText(shownText()).size(); }
    QRect characterRect(int) const override { return {}; }

    // Qt 6.4's own walks (QAccessibleTextInterface::textAtOffset and its kin) count UTF-16 units
    // and never return for a word or a sentence at offset 0 when the text starts with neither a
    // letter nor a digit, nor at the end of the text: the program froze. These walks are ours.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override
    {
        return walk(AccessibleText::Where::Before, offset, boundary, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override
    {
        return walk(AccessibleText::Where::At, offset, boundary, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override
    {
        return walk(AccessibleText::Where::After, offset, boundary, startOffset, endOffset);
    }

    // One run without attributes covers the whole text. A run as long as one offset made Orca
    // drop the last letter when it read a line ("SHOW Entrie").
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

protected:
    virtual QString shownText() const = 0;

private:
    QString walk(AccessibleText::Where where, int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
        int* endOffset) const
    {
        const AccessibleText shown(shownText());
        // By convention offset -2 stands for the cursor position and -1 for the end of the text.
        const int at = offset == -2 ? cursorPosition() : offset == -1 ? shown.size() : offset;
        const AccessibleText::Item item = shown.item(where, at, boundary);
        *startOffset = item.start;
        *endOffset = item.end;
        return item.text;
    }
};

// A design label as assistive tools see it: static text whose name is its accessible name (or its
// caption) and whose text interface reads the caption exactly as shown, e.g. "15" for the total.
class DesignLabelAccessible : public PlainTextAccessible<QAccessibleWidget> {
public:
    explicit DesignLabelAccessible(QWidget* widget)
        : PlainTextAccessible(widget, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return spokenCaption(shownText());
        if (t == QAccessible::Value)
            return shownText();
        return QAccessibleWidget::text(t);
    }
    using PlainTextAccessible::text;

    // Read-only text: no selection, the cursor at the start.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override { }

protected:
    QString shownText() const override { return static_cast<const QLabel*>(widget())->text(); }
};

// A caption without its access-key marks: "&OK" is "OK", "&&" a plain "&".
QString withoutAccessKeys(const QString& caption)
{
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i == caption.size())
            break;
        plain += caption[i];
    }
    return plain;
}

// A push button, a key among them, as assistive tools see it: named by its accessible name or its
// caption, described by its tool tip, pressed with one click at once. Qt's own press is an
// animated click that comes 100 ms later, so that two quick presses of "5" made one, and a key
// pressed before a clear label ran after it.
class KeyAccessible : public PressableAccessible {
public:
    explicit KeyAccessible(QPushButton* key)
        : PressableAccessible(key, QAccessible::Button, [key] { key->click(); }, [key] { return withoutAccessKeys(key->text()); })
    {
    }

    QAccessible::State state() const override
    {
        const auto* key = static_cast<const QPushButton*>(widget());
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = key->isDown();
        state.checkable = key->isCheckable();
        state.checked = key->isChecked();
        state.defaultButton = key->isDefault();
        return state;
    }
};

// A clear label as assistive tools see it: a button named by its caption in words, whose "press"
// action runs the label's click.
PressableAccessible* clickLabelAccessible(ClickLabel* label)
{
    return new PressableAccessible(label, QAccessible::Button, [label] { label->click(); },
        [label] { return spokenCaption(label->text()); });
}

// A text box that serves as a key ("SHOW Entries", "CLEAR Entries") as assistive tools see it:
// editable text, as a sighted user may type into it, with a "press" action that runs its click.
class TextBoxAccessible : public PlainTextAccessible<PressableAccessible>, public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(QWidget* widget)
        : PlainTextAccessible(widget, QAccessible::EditableText, [box = static_cast<ClickLineEdit*>(widget)] { box->click(); })
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? shownText() : PlainTextAccessible::text(t);
    }
    using PlainTextAccessible::text;

    void setText(QAccessible::Text t, const QString& text) override
    {
        if (t == QAccessible::Value)
            box()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.selectableText = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return PlainTextAccessible::interface_cast(t);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        const bool selected = selectionIndex == 0 && box()->hasSelectedText();
        const AccessibleText shown(shownText());
        *startOffset = selected ? shown.offsetOf(box()->selectionStart()) : 0;
        *endOffset = selected ? shown.offsetOf(box()->selectionEnd()) : 0;
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            box()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        const auto span = AccessibleText(shownText()).utf16Span(startOffset, endOffset);
        if (selectionIndex == 0 && span)
            box()->setSelection(span->start, span->end - span->start);
    }
    int cursorPosition() const override { return AccessibleText(shownText()).offsetOf(box()->cursorPosition()); }
    void setCursorPosition(int position) override
    {
        if (const auto span = AccessibleText(shownText()).utf16Span(position, position))
            box()->setCursorPosition(span->start);
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return AccessibleText(shownText()).offsetOf(box()->cursorPositionAt(box()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        if (const auto span = AccessibleText(shownText()).utf16Span(startIndex, endIndex)) {
            box()->setCursorPosition(span->end);
            box()->setCursorPosition(span->start);
        }
    }

    // An edit changes exactly the characters it names, or nothing when they are not all in the
    // text or come reversed: QString::replace() took a negative length and wrote outside the text.
    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        const QString shown = shownText();
        if (const auto span = AccessibleText(shown).utf16Span(startOffset, endOffset))
            box()->setText(QString(shown).replace(span->start, span->end - span->start, text));
    }

protected:
    QString shownText() const override { return box()->text(); }

private:
    ClickLineEdit* box() const { return static_cast<ClickLineEdit*>(widget()); }
};

// Says words through the screen reader without showing anything. Where Qt has announcements
// (6.8 on), it makes one: AT-SPI's announcement signal, which carries the words themselves and
// which Orca 45 and later speak as they are. Before that, the announcer stays hidden and tells
// assistive tools that it was shown, with the words as its name: Orca speaks a notification when
// it is shown, and one within a status bar without the word "notification". A screen reader may
// keep the name it read first (Orca 48 does) and would then repeat the first words after every
// press, so the new name is told before the announcer is shown again.
class Announcer : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    const QString& words() const { return m_words; }

    void say(const QString& words)
    {
        m_words = words;
        if (!QAccessible::isActive())
            return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        QAccessibleAnnouncementEvent announcement(this, words);
        announcement.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
        QAccessible::updateAccessibility(&announcement);
#else
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
        QAccessibleEvent shown(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
#endif
    }

private:
    QString m_words;
};

class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const Announcer*>(widget())->words() : QAccessibleWidget::text(t);
    }
};

// The announcer of `window`, made on first use inside a hidden status bar of its own.
Announcer* announcerOf(QWidget* window)
{
    if (auto* announcer = window->findChild<Announcer*>())
        return announcer;
    auto* bar = new QStatusBar(window);
    bar->setObjectName(QStringLiteral("announcements"));
    bar->hide();
    auto* announcer = new Announcer(bar);
    announcer->setObjectName(QStringLiteral("announcer"));
    return announcer;
}

// Tells assistive tools of each line added to the tape, as a new list item named by the line. Qt
// tells them nothing: its bridge drops the list's notice of inserted rows.
void reportNewLines(QListWidget* tape)
{
    QObject::connect(tape->model(), &QAbstractItemModel::rowsInserted, tape, [tape](const QModelIndex&, int first, int last) {
        if (!QAccessible::isActive())
            return;
        QAccessibleTableInterface* list = QAccessible::queryAccessibleInterface(tape)->tableInterface();
        for (int row = first; list != nullptr && row <= last; ++row) {
            if (QAccessibleInterface* line = list->cellAt(row, 0)) {
                QAccessibleEvent created(line, QAccessible::ObjectCreated);
                QAccessible::updateAccessibility(&created);
            }
        }
    });
}

// The classes whose widgets are windows to assistive tools (presentAsWindow()).
QStringList& windowClasses()
{
    static QStringList classes;
    return classes;
}

QAccessibleInterface* designInterfaces(const QString& className, QObject* object)
{
    if (!object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (widget->isWindow() && windowClasses().contains(className))
        return new QAccessibleWidget(widget, QAccessible::Window);
    // Qt asks for the most derived class first, so a clear label is never taken for a plain one,
    // and then for each base class in turn, so that every kind of push button is a key.
    const auto is = [&className](const QMetaObject& type) { return className == QLatin1String(type.className()); };
    if (is(ClickLabel::staticMetaObject))
        return clickLabelAccessible(static_cast<ClickLabel*>(widget));
    if (is(DesignLabel::staticMetaObject))
        return new DesignLabelAccessible(widget);
    if (is(ClickLineEdit::staticMetaObject))
        return new TextBoxAccessible(widget);
    if (is(QPushButton::staticMetaObject))
        return new KeyAccessible(static_cast<QPushButton*>(widget));
    if (is(Announcer::staticMetaObject))
        return new AnnouncerAccessible(widget);
    return nullptr;
}

// Keeps a widget's accessible name in step with its tool tip, in lower case: the text boxes'
// tips say what a click on them does.
class NameFollowsToolTip : public QObject {
public:
    explicit NameFollowsToolTip(QWidget* widget)
        : QObject(widget)
    {
        follow(widget);
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTipChange)
            follow(static_cast<QWidget*>(watched));
        return false;
    }

private:
    static void follow(QWidget* widget) { widget->setAccessibleName(spokenCaption(widget->toolTip()).toLower()); }
};

} // namespace

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(designInterfaces);
        guardAssistiveToolCalls();
        return true;
    }();
    Q_UNUSED(installed);
}

void presentAsWindow(const QMetaObject& windowClass)
{
    installAccessibleInterfaces();
    const QString className = QLatin1String(windowClass.className());
    if (!windowClasses().contains(className))
        windowClasses().append(className);
}

void nameControlsForAssistiveTools(QWidget* client)
{
    const auto named = [client](const QString& objectName) {
        QWidget* widget = client->findChild<QWidget*>(objectName, Qt::FindDirectChildrenOnly);
        Q_ASSERT(widget != nullptr);
        return widget;
    };
    for (const ControlDesign& row : calculatorDesign()) {
        QWidget* widget = named(QLatin1String(row.name));
        if (const auto spoken = spokenName(row))
            widget->setAccessibleName(toQString(*spoken));
        if (row.kind == ControlKind::TextBox)
            new NameFollowsToolTip(widget);
        if (row.kind == ControlKind::ListBox) {
            // Qt's list interface, unlike the others, does not offer the tool tip as the description.
            auto* tape = static_cast<QListWidget*>(widget);
            tape->setAccessibleDescription(tape->toolTip());
            reportNewLines(tape);
        }
    }
}

void setDisplayText(QLabel* label, const QString& text)
{
    const QString old = label->text();
    if (text == old)
        return;
    label->setText(text);
    if (!QAccessible::isActive())
        return;
    // AT-SPI has no "text replaced": the old text goes, then the new one comes.
    if (!old.isEmpty()) {
        QAccessibleTextRemoveEvent removed(label, 0, old);
        QAccessible::updateAccessibility(&removed);
    }
    if (!text.isEmpty()) {
        QAccessibleTextInsertEvent inserted(label, 0, text);
        QAccessible::updateAccessibility(&inserted);
    }
}

void announce(QWidget* window, const QString& words)
{
    if (!words.isEmpty())
        announcerOf(window)->say(words);
}

} // namespace tavoro

#include "accessibility.moc"
