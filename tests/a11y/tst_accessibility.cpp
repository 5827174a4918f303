// The calculator window as assistive tools see it, through Qt's accessibility interfaces on the
// offscreen platform: names, roles, descriptions and press actions of every control, presses
// through those actions doing what clicks do, and the displays' accessible text. The offscreen
// platform has no accessibility bridge, so Qt sends no change events here: the screen-reader
// test checks those over AT-SPI.

#include "calculatorwindow.h"
#include "recordingservices.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QTest>

#include <memory>

using namespace tavoro;

namespace {

constexpr CalculatorVariant Tavoro3Window{
    "frmTavoro3", "Tavoro 3", {1620, 5880, 5820, 690}, {7560, 6030, 600, 555}, {7380, 5880, 195, 690}};

// The control that a key of a test sequence presses: digits, ".", the operators, and C (clear ALL),
// E ("clear"), R ("ERROR").
QString controlOfKey(QChar key)
{
    switch (key.unicode()) {
    case '.': return QStringLiteral("cmdDigit(11)");
    case '+': return QStringLiteral("cmdOp(0)");
    case '-': return QStringLiteral("cmdOp(1)");
    case 'X': return QStringLiteral("cmdOp(2)");
    case '/': return QStringLiteral("cmdOp(3)");
    case '=': return QStringLiteral("cmdOp(5)");
    case 'C': return QStringLiteral("lblClearAll");
    case 'E': return QStringLiteral("lblClearError");
    case 'R': return QStringLiteral("lblClearError2");
    default: return QStringLiteral("cmdDigit(%1)").arg(key);
    }
}

} // namespace

class tst_Accessibility : public QObject {
    Q_OBJECT

    RecordingServices m_services;
    std::unique_ptr<CalculatorWindow> m_window;

    QWidget* find(const QString& name) const
    {
        auto* widget = m_window->findChild<QWidget*>(name);
        if (widget == nullptr)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QAccessibleInterface* accessible(const QString& name) const
    {
        return QAccessible::queryAccessibleInterface(find(name));
    }
    // Presses a control as a screen reader does, through its accessible press action, and waits
    // until the press has been delivered (Qt's buttons click 100 ms later, the clear labels on
    // the next pass of the event loop).
    void pressAccessibly(const QString& name)
    {
        QAccessibleActionInterface* actions = accessible(name)->actionInterface();
        QVERIFY2(actions != nullptr, qPrintable(name));
        QVERIFY2(actions->actionNames().contains(QAccessibleActionInterface::pressAction()), qPrintable(name));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        if (auto* button = qobject_cast<QAbstractButton*>(find(name)))
            QTRY_VERIFY(!button->isDown());
    }
    QString accessibleText(const QString& name) const
    {
        QAccessibleTextInterface* text = accessible(name)->textInterface();
        return text != nullptr ? text->text(0, text->characterCount()) : QStringLiteral("<no text interface>");
    }

private slots:
    void init()
    {
        m_services = RecordingServices{};
        m_window = std::make_unique<CalculatorWindow>(Tavoro3Window, m_services);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void everyControlHasANameInWords_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description"); // the tool tip
        QTest::addColumn<bool>("pressable");

        for (int digit = 0; digit <= 9; ++digit) {
            QTest::addRow("cmdDigit(%d)", digit)
                << QStringLiteral("cmdDigit(%1)").arg(digit) << QAccessible::Button << QString::number(digit) << "" << true;
        }
        struct Row {
            const char* control;
            QAccessible::Role role;
            const char* name;
            const char* description;
            bool pressable;
        };
        const Row rows[] = {
            {"cmdDigit(11)", QAccessible::Button, "decimal point", "DECIMAL point.", true},
            {"cmdOp(0)", QAccessible::Button, "plus", "PLUS...", true},
            {"cmdOp(1)", QAccessible::Button, "minus", "MINUS...", true},
            {"cmdOp(2)", QAccessible::Button, "times", "TIMES...", true},
            {"cmdOp(3)", QAccessible::Button, "divided by", "DIVIDED BY...", true},
            {"cmdOp(5)", QAccessible::Button, "equals", "EQUALS...", true},
            {"lblClearError", QAccessible::Button, "clear last entry", "Clear LAST ENTRY.", true},
            {"lblClearError2", QAccessible::Button, "clear last entry", "Clear LAST ENTRY.", true},
            {"lblClearAll", QAccessible::Button, "clear all", "Clear TOTAL.", true},
            {"txtShowEntries", QAccessible::EditableText, "show entries tape", " SHOW Entries Tape ", false},
            {"txtClearEntries", QAccessible::EditableText, "clear entries tape", "CLEAR Entries Tape", false},
            {"lstEntered", QAccessible::List, "tape", "PREVIOUS ENTRIES", false},
            {"lblDisplay", QAccessible::StaticText, "total", "", false},
            {"lblNewNum", QAccessible::StaticText, "new number", "", false},
            {"lblOp", QAccessible::StaticText, "pending operator", "", false},
            {"lblTotal", QAccessible::StaticText, "(Total)", "", false},
        };
        for (const Row& row : rows) {
            QTest::newRow(row.control) << row.control << row.role << row.name << row.description << row.pressable;
        }
    }
    void everyControlHasANameInWords()
    {
        QFETCH(QString, control);
        QAccessibleInterface* iface = accessible(control);
        QVERIFY(iface != nullptr);
        QTEST(iface->role(), "role");
        QTEST(iface->text(QAccessible::Name), "name");
        QTEST(iface->text(QAccessible::Description), "description");
        const QAccessibleActionInterface* actions = iface->actionInterface();
        QTEST(actions != nullptr && actions->actionNames().contains(QAccessibleActionInterface::pressAction()),
            "pressable");
        // The window's tree leads to the control, as a screen reader walks it.
        QAccessibleInterface* parent = iface->parent();
        QVERIFY(parent != nullptr);
        QVERIFY(parent->indexOfChild(iface) >= 0);
    }

    void pressActionsDoWhatClicksDo_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("total"); // the total display's accessible text afterwards
        QTest::newRow("12+3=") << "12+3=" << "15";
        QTest::newRow(".5X4=") << ".5X4=" << "2";
        QTest::newRow("9/, clear") << "9/4E" << "9";
        QTest::newRow("9/, ERROR") << "9/4R" << "9";
        QTest::newRow("clear ALL after a result") << "12+3=C" << "";
        QTest::newRow("operator first: a message") << "+" << "0";
    }
    void pressActionsDoWhatClicksDo()
    {
        QFETCH(QString, keys);
        for (const QChar key : keys)
            QTest::mouseClick(find(controlOfKey(key)), Qt::LeftButton);
        const DisplayState byClicks = m_window->engine().display();
        const std::vector<std::string> messagesByClicks = m_services.messages;
        const int beepsByClicks = m_services.beeps;

        init();
        for (const QChar key : keys)
            pressAccessibly(controlOfKey(key));
        QCOMPARE(m_window->engine().display(), byClicks);
        QCOMPARE(m_services.messages, messagesByClicks);
        QCOMPARE(m_services.beeps, beepsByClicks);
        QTEST(accessibleText(QStringLiteral("lblDisplay")), "total");
    }

    void textBoxNamesFollowTheTape()
    {
        QAccessibleInterface* box = accessible(QStringLiteral("txtShowEntries"));
        QTest::mouseClick(find(QStringLiteral("txtShowEntries")), Qt::LeftButton);
        QCOMPARE(box->text(QAccessible::Name), QStringLiteral("hide entries tape"));
        QTest::mouseClick(find(QStringLiteral("txtShowEntries")), Qt::LeftButton);
        QCOMPARE(box->text(QAccessible::Name), QStringLiteral("show entries tape"));
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
