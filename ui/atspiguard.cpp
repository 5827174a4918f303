// SPDX-License-Identifier: GPL-3.0-or-later
#include "atspiguard.h"

#include "accessibletext.h"

#include <QAccessible>
#include <QClipboard>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QGuiApplication>

#include <algorithm>
#include <optional>
#include <string_view>

namespace tavoro {

// A range of text as AT-SPI's GetBoundedRanges answers it: (start, end, text, attributes).
struct TextRange {
    int start = 0;
    int end = 0;
    QString text;
    QDBusVariant attributes;
};

QDBusArgument& operator<<(QDBusArgument& argument, const TextRange& range)
{
    argument.beginStructure();
    argument << range.start << range.end << range.text << range.attributes;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, TextRange& range)
{
    argument.beginStructure();
    argument >> range.start >> range.end >> range.text >> range.attributes;
    argument.endStructure();
    return argument;
}

namespace {

// Where Qt's bridge answers for every accessible object: this path and those below it, on the
// D-Bus connection it names "a11y".
const char* const AccessiblePath = "/org/a11y/atspi/accessible";
constexpr std::string_view AtSpi = "org.a11y.atspi.";
constexpr uint WindowCoords = 1; // ATSPI_COORD_TYPE_WINDOW
constexpr uint ParentCoords = 2; // ATSPI_COORD_TYPE_PARENT, the last
constexpr uint LastBoundaryType = 6; // ATSPI_TEXT_BOUNDARY_LINE_END

// The AT-SPI calls whose arguments Qt 6.4's bridge reads, and the arguments it reads. It reads
// them without looking, so that a call with fewer made it read past their end; Properties.Get and
// Set reach these too, with the property name after "Get" or "Set" as the call.
struct ArgumentsRead {
    std::string_view interface;
    std::string_view call;
    std::string_view signature;
};
constexpr ArgumentsRead ArgumentsReadByQt[] = {
    {"Accessible", "GetChildAtIndex", "i"},
    {"Application", "GetLocale", "u"},
    {"Application", "SetId", "ssv"},
    {"Component", "Contains", "iiu"},
    {"Component", "GetAccessibleAtPoint", "iiu"},
    {"Component", "GetExtents", "u"},
    {"Component", "GetPosition", "u"},
    {"Action", "DoAction", "i"},
    {"Action", "GetName", "i"},
    {"Action", "GetDescription", "i"},
    {"Action", "GetKeyBinding", "i"},
    {"Text", "AddSelection", "ii"},
    {"Text", "GetAttributeRun", "ib"},
    {"Text", "GetAttributeValue", "is"},
    {"Text", "GetAttributes", "i"},
    {"Text", "GetBoundedRanges", "iiiiuuu"},
    {"Text", "GetCharacterAtOffset", "i"},
    {"Text", "GetCharacterExtents", "iu"},
    {"Text", "GetOffsetAtPoint", "iiu"},
    {"Text", "GetRangeExtents", "iiu"},
    {"Text", "GetSelection", "i"},
    {"Text", "GetText", "ii"},
    {"Text", "GetTextAfterOffset", "iu"},
    {"Text", "GetTextAtOffset", "iu"},
    {"Text", "GetTextBeforeOffset", "iu"},
    {"Text", "RemoveSelection", "i"},
    {"Text", "SetCaretOffset", "i"},
    {"Text", "SetSelection", "iii"},
    {"EditableText", "CopyText", "ii"},
    {"EditableText", "CutText", "ii"},
    {"EditableText", "DeleteText", "ii"},
    {"EditableText", "InsertText", "isi"},
    {"EditableText", "PasteText", "i"},
    {"EditableText", "SetTextContents", "s"},
    {"Value", "SetCurrentValue", "ssv"}, // the new value of the property, third
    {"Table", "GetAccessibleAt", "ii"},
    {"Table", "GetIndexAt", "ii"},
    {"Table", "GetColumnAtIndex", "i"},
    {"Table", "GetRowAtIndex", "i"},
    {"Table", "GetColumnDescription", "i"},
    {"Table", "GetRowDescription", "i"},
    {"Table", "GetRowColumnExtentsAtIndex", "i"},
    {"Table", "GetColumnExtentAt", "ii"},
    {"Table", "GetRowExtentAt", "ii"},
    {"Table", "GetColumnHeader", "i"},
    {"Table", "GetRowHeader", "i"},
    {"Table", "IsColumnSelected", "i"},
    {"Table", "IsRowSelected", "i"},
    {"Table", "IsSelected", "ii"},
    {"Table", "AddColumnSelection", "i"},
    {"Table", "AddRowSelection", "i"},
    {"Table", "RemoveColumnSelection", "i"},
    {"Table", "RemoveRowSelection", "i"},
};

const ArgumentsRead* argumentsRead(const QString& interface, const QString& call)
{
    const std::string name = interface.toStdString();
    if (name.compare(0, AtSpi.size(), AtSpi) != 0)
        return nullptr;
    const std::string_view shortName = std::string_view(name).substr(AtSpi.size());
    const std::string member = call.toStdString();
    const auto* found = std::find_if(std::begin(ArgumentsReadByQt), std::end(ArgumentsReadByQt),
        [&](const ArgumentsRead& read) { return read.interface == shortName && read.call == member; });
    return found != std::end(ArgumentsReadByQt) ? found : nullptr;
}

QAccessibleInterface* accessibleAt(const QString& path)
{
    const QString prefix = QLatin1String(AccessiblePath) + u'/';
    if (!path.startsWith(prefix))
        return nullptr;
    const QString id = path.mid(prefix.size());
    if (id == u"root")
        return QAccessible::queryAccessibleInterface(QCoreApplication::instance());
    bool isNumber = false;
    const QAccessible::Id number = id.toUInt(&isNumber);
    return isNumber ? QAccessible::accessibleInterface(number) : nullptr;
}

QDBusMessage refusal(const QDBusMessage& call, const QString& why)
{
    return call.createErrorReply(QDBusError::InvalidArgs, why);
}

// A rectangle on the screen in the coordinates AT-SPI asks for: the screen's, the window's or
// the parent's.
QRect inCoordinates(QAccessibleInterface* object, QRect rect, uint coordType)
{
    QAccessibleInterface* origin = nullptr;
    if (coordType == ParentCoords)
        origin = object->parent();
    if (coordType == WindowCoords) {
        origin = object;
        while (origin != nullptr && origin->role() != QAccessible::Window && origin->role() != QAccessible::Dialog)
            origin = origin->parent();
    }
    return origin != nullptr ? rect.translated(-origin->rect().topLeft()) : rect;
}

std::optional<QDBusMessage> answerText(QAccessibleInterface* object, const QString& call, const QDBusMessage& message)
{
    QAccessibleTextInterface* text = object->textInterface();
    if (text == nullptr)
        return std::nullopt;
    const QList<QVariant> args = message.arguments();
    const int count = text->characterCount();
    if (call == u"GetTextAtOffset" || call == u"GetTextBeforeOffset" || call == u"GetTextAfterOffset") {
        // Qt 6.4 asserts on a boundary type AT-SPI does not have.
        if (args[1].toUInt() > LastBoundaryType)
            return refusal(message, QStringLiteral("no such boundary type"));
    } else if (call == u"GetCharacterAtOffset") {
        // Qt 6.4 answers the first byte of the character in the locale's encoding.
        const int offset = args[0].toInt();
        const QList<uint> character = offset >= 0 && offset < count ? text->text(offset, offset + 1).toUcs4() : QList<uint>();
        return message.createReply(static_cast<int>(character.value(0)));
    } else if (call == u"GetRangeExtents") {
        // Qt 6.4 asks for the place of every offset from the start to the end given, 2147483647
        // of them if it is told so: only the characters of the text have a place.
        const uint coordType = args[2].toUInt();
        if (coordType > ParentCoords)
            return refusal(message, QStringLiteral("no such coordinate type"));
        const int start = std::clamp(args[0].toInt(), 0, count);
        const int end = args[1].toInt() == -1 ? count : std::clamp(args[1].toInt(), 0, count);
        QRect extents;
        for (int offset = start; offset < end; ++offset)
            extents |= text->characterRect(offset);
        if (extents.isEmpty())
            return message.createReply(QList<QVariant>{-1, -1, 0, 0});
        extents = inCoordinates(object, extents, coordType);
        return message.createReply(QList<QVariant>{extents.x(), extents.y(), extents.width(), extents.height()});
    } else if (call == u"GetBoundedRanges") {
        // Qt 6.4 cannot send its answer (its range type has no D-Bus form), so the caller waited
        // out its whole timeout. The characters here have no place on the screen (no
        // characterRect()), so no range lies within any box.
        return message.createReply(QVariant::fromValue(QList<TextRange>()));
    }
    return std::nullopt;
}

// The text of an object with editable text, and the edits an assistive tool makes to it; each
// answer says whether the text changed.
std::optional<QDBusMessage> answerEditing(QAccessibleInterface* object, const QString& call, const QDBusMessage& message)
{
    QAccessibleEditableTextInterface* editable = object->editableTextInterface();
    QAccessibleTextInterface* text = object->textInterface();
    // Qt 6.4 edits an object without editable text (a label, a key) through a fallback of its
    // own, which took a negative length and wrote outside the text.
    if (editable == nullptr || text == nullptr)
        return message.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("no editable text"));
    const QList<QVariant> args = message.arguments();
    const auto whole = [text] { return text->text(0, text->characterCount()); };
    const QString before = whole();
    if (call == u"DeleteText") {
        editable->deleteText(args[0].toInt(), args[1].toInt());
    } else if (call == u"CutText") {
        const QString cut = text->text(args[0].toInt(), args[1].toInt());
        editable->deleteText(args[0].toInt(), args[1].toInt());
        if (whole() != before)
            QGuiApplication::clipboard()->setText(cut);
    } else if (call == u"InsertText") {
        // The first `length` characters of the text; all of it for a negative length. Qt 6.4
        // padded the text to `length` with whatever its memory held.
        const int length = args[2].toInt();
        const QString inserted = args[1].toString();
        editable->insertText(args[0].toInt(), length < 0 ? inserted : AccessibleText(inserted).mid(0, length));
    } else if (call == u"PasteText") {
        editable->insertText(args[0].toInt(), QGuiApplication::clipboard()->text());
    } else if (call == u"SetTextContents") {
        editable->replaceText(0, text->characterCount(), args[0].toString());
        return message.createReply(whole() == args[0].toString());
    } else {
        return std::nullopt; // CopyText reads through our text interface
    }
    // Qt 6.4 answers true for an edit it did not make.
    return message.createReply(whole() != before);
}

// A cell of `table` that exists.
bool hasCell(QAccessibleTableInterface* table, qint64 row, qint64 column)
{
    if (row < 0 || column < 0 || row >= table->rowCount() || column >= table->columnCount())
        return false;
    QAccessibleInterface* cell = table->cellAt(static_cast<int>(row), static_cast<int>(column));
    return cell != nullptr && cell->tableCellInterface() != nullptr;
}

std::optional<QDBusMessage> answerTable(QAccessibleInterface* object, const QString& call, const QDBusMessage& message)
{
    QAccessibleTableInterface* table = object->tableInterface();
    // Qt 6.4 takes the table calls on a cell of a table too (a line of the tape), and then asks a
    // table the cell does not have: a crash.
    if (table == nullptr)
        return message.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("not a table"));
    // Qt 6.4 uses the cell these calls name without looking whether there is one: any cell of an
    // empty tape, a row past its last line, column 1 or -1 crashed the program.
    const QList<QVariant> args = message.arguments();
    if (call == u"GetRowColumnExtentsAtIndex") {
        const int columns = table->columnCount();
        const qint64 index = args[0].toInt();
        if (columns > 0 && index >= 0 && hasCell(table, index / columns, index % columns))
            return std::nullopt;
        return message.createReply(QList<QVariant>{false, -1, -1, -1, -1, false}); // no such cell
    }
    if (call == u"GetRowAtIndex" || call == u"GetColumnAtIndex") {
        if (args[0].toInt() >= 0 && args[0].toInt() < object->childCount())
            return std::nullopt;
        return refusal(message, QStringLiteral("no cell at index %1").arg(args[0].toInt()));
    }
    const bool atCell = call == u"GetRowExtentAt" || call == u"GetColumnExtentAt" || call == u"IsSelected" || call == u"GetIndexAt";
    if (!atCell && call != u"GetRowHeader" && call != u"GetColumnHeader")
        return std::nullopt;
    const int row = call == u"GetColumnHeader" ? 0 : args[0].toInt();
    const int column = atCell ? args[1].toInt() : call == u"GetColumnHeader" ? args[0].toInt() : 0;
    if (hasCell(table, row, column))
        return std::nullopt;
    return refusal(message, QStringLiteral("no cell at row %1, column %2").arg(row).arg(column));
}

class AtSpiGuard : public QDBusVirtualObject {
    Q_OBJECT

public:
    // Made a child of Qt's answerer, so that it goes with it.
    explicit AtSpiGuard(QDBusVirtualObject* qt)
        : QDBusVirtualObject(qt)
        , m_qt(qt)
    {
        qDBusRegisterMetaType<TextRange>();
        qDBusRegisterMetaType<QList<TextRange>>();
    }

    QString introspect(const QString& path) const override { return m_qt->introspect(path); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (const std::optional<QDBusMessage> answer = guard(message)) {
            connection.send(*answer);
            return true;
        }
        return m_qt->handleMessage(message, connection);
    }

private:
    // Our answer to `message`, or none where Qt's may be trusted.
    static std::optional<QDBusMessage> guard(const QDBusMessage& message)
    {
        QString interface = message.interface();
        QString call = message.member();
        const QString signature = message.signature();
        if (interface == u"org.freedesktop.DBus.Properties") {
            // Qt 6.4 takes the first two arguments of any Properties call for an interface and a
            // property name: GetAll, which has one, made it read past the end.
            if (call == u"GetAll")
                return message.createErrorReply(QDBusError::NotSupported, QStringLiteral("ask for each property"));
            if (!(call == u"Get" && signature == u"ss") && !(call == u"Set" && signature == u"ssv"))
                return refusal(message, QStringLiteral("Get takes (ss), Set (ssv)"));
            interface = message.arguments().at(0).toString();
            call += message.arguments().at(1).toString();
        }
        const ArgumentsRead* read = argumentsRead(interface, call);
        if (read != nullptr && signature.toStdString() != read->signature) {
            const auto expected = QLatin1String(read->signature.data(), static_cast<qsizetype>(read->signature.size()));
            return refusal(message, QStringLiteral("%1 takes (%2)").arg(call, expected));
        }
        QAccessibleInterface* object = accessibleAt(message.path());
        if (object == nullptr || !object->isValid())
            return std::nullopt;
        if (interface == u"org.a11y.atspi.Text")
            return answerText(object, call, message);
        if (interface == u"org.a11y.atspi.EditableText")
            return answerEditing(object, call, message);
        if (interface == u"org.a11y.atspi.Table")
            return answerTable(object, call, message);
        return std::nullopt;
    }

    QDBusVirtualObject* m_qt;
};

// Puts the guard in the place of Qt's answerer, which it then calls itself.
void guardQtAnswerer()
{
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected())
        return;
    const QString path = QLatin1String(AccessiblePath);
    auto* qt = qobject_cast<QDBusVirtualObject*>(bus.objectRegisteredAt(path));
    if (qt == nullptr || qobject_cast<AtSpiGuard*>(qt) != nullptr)
        return;
    bus.unregisterObject(path);
    auto* guard = new AtSpiGuard(qt);
    if (!bus.registerVirtualObject(path, guard, QDBusConnection::SubPath)) {
        delete guard;
        bus.registerVirtualObject(path, qt, QDBusConnection::SubPath);
    }
}

// Qt's bridge registers its answerer right after it reports itself active: the guard follows on
// the next pass of the event loop, before any assistive tool could have asked much.
class GuardWhenActive : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override
    {
        if (active && QCoreApplication::instance() != nullptr)
            QMetaObject::invokeMethod(QCoreApplication::instance(), &guardQtAnswerer, Qt::QueuedConnection);
    }
};

} // namespace

void guardAssistiveToolCalls()
{
    static GuardWhenActive observer;
    static const bool installed = [] {
        QAccessible::installActivationObserver(&observer);
        return true;
    }();
    Q_UNUSED(installed);
    if (QAccessible::isActive())
        observer.accessibilityActiveChanged(true);
}

} // namespace tavoro

#include "atspiguard.moc"
