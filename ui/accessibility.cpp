#include "accessibility.h"

#include "clicklabel.h"
#include "designlabel.h"
#include "qtdesign.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>

#include <array>

namespace tavoro {

namespace {

constexpr std::array<const char*, 2> TextBoxes{"txtShowEntries", "txtClearEntries"};

QString spokenCaption(const QString& caption) { return QString::fromStdString(tavoro::spokenCaption(caption.toStdString())); }

// A design label as assistive tools see it: static text whose name is its accessible name (or its
// caption) and whose text interface reads the caption exactly as shown, e.g. "15" for the total.
class DesignLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit DesignLabelAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return spokenCaption(caption());
        if (t == QAccessible::Value)
            return caption();
        return QAccessibleWidget::text(t);
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Read-only text: no selection, the caret at the start.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int startOffset, int endOffset) const override
    {
        return caption().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(caption().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    QString caption() const { return static_cast<const QLabel*>(widget())->text(); }
};

// A clear label as assistive tools see it: a button whose "press" action runs the label's click.
class ClickLabelAccessible : public QAccessibleWidget {
public:
    explicit ClickLabelAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return spokenCaption(static_cast<const QLabel*>(widget())->text());
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString& actionName) override
    {
        if (actionName != pressAction()) {
            QAccessibleWidget::doAction(actionName);
            return;
        }
        // Queued, as Qt's buttons do it: the assistive tool's call returns at once, even when the
        // click's handler goes on to open a modal message box.
        QMetaObject::invokeMethod(static_cast<ClickLabel*>(widget()), &ClickLabel::click, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

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
    // Qt asks for the most derived class first, so a clear label is never taken for a plain one.
    if (className == QLatin1String(ClickLabel::staticMetaObject.className()))
        return new ClickLabelAccessible(widget);
    if (className == QLatin1String(DesignLabel::staticMetaObject.className()))
        return new DesignLabelAccessible(widget);
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
        if (const auto spoken = spokenName(row.name))
            named(QLatin1String(row.name))->setAccessibleName(toQString(*spoken));
    }
    for (const char* objectName : TextBoxes)
        new NameFollowsToolTip(named(QLatin1String(objectName)));
    // Qt's list interface, unlike the others, does not offer the tool tip as the description.
    QWidget* tape = named(QStringLiteral("lstEntered"));
    tape->setAccessibleDescription(tape->toolTip());
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

} // namespace tavoro
