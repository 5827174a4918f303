// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window as assistive tools see it, through Qt's accessibility interfaces on the
// offscreen platform: names, roles, descriptions and press actions of every control, presses
// through those actions doing what clicks do, at once and in order, the words announced after each
// press, and the displays' and text boxes' accessible text. The offscreen platform has no
// accessibility bridge, so Qt sends no change events here: the screen-reader tests check those
// over AT-SPI, and what Orca says.

#include "calculatorwindow.h"
#include "programs.h"
#include "recordingservices.h"
#include "testkeys.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace tavoro;

namespace {

const CalculatorVariant& Tavoro3Window = Tavoro3.calculator;

// The control that a key of a test sequence presses (testkeys.h).
QString controlOfKey(QChar key)
{
    const auto control = testkeys::controlOfKeyLetter(key.toLatin1());
    return control ? QLatin1String(nameOf(*control)) : QString();
}

// A key of a push-button class of its own, as a key with a focus ring is.
class RingedKey : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;
};

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
    // Presses a control as a screen reader does, through its accessible press action. The press
    // runs on the next pass of the event loop.
    void pressAccessibly(const QString& name)
    {
        QAccessibleActionInterface* actions = accessible(name)->actionInterface();
        QVERIFY2(actions != nullptr, qPrintable(name));
        QVERIFY2(actions->actionNames().contains(QAccessibleActionInterface::pressAction()), qPrintable(name));
        actions->doAction(QAccessibleActionInterface::pressAction());
    }
    void click(const QString& keys)
    {
        for (const QChar key : keys)
            QTest::mouseClick(find(controlOfKey(key)), Qt::LeftButton);
    }
    // The words last announced, as the hidden notification's accessible name holds them.
    QString announced() const
    {
        auto* announcer = m_window->findChild<QWidget*>(QStringLiteral("announcer"));
        return announcer != nullptr ? QAccessible::queryAccessibleInterface(announcer)->text(QAccessible::Name) : QString();
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
            {"txtShowEntries", QAccessible::EditableText, "show entries tape", " SHOW Entries Tape ", true},
            {"txtClearEntries", QAccessible::EditableText, "clear entries tape", "CLEAR Entries Tape", true},
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
        QTest::newRow("5 twice, quickly") << "55" << "55";
        QTest::newRow("7, then clear ALL quickly") << "7C" << "";
    }
    // Every press is made before any of them runs, as a switch or voice tool may make them:
    // each runs once, in the order made.
    void pressActionsDoWhatClicksDo()
    {
        QFETCH(QString, keys);
        click(keys);
        const DisplayState byClicks = m_window->engine().display();
        const std::vector<std::string> messagesByClicks = m_services.messages;
        const int beepsByClicks = m_services.beeps;

        init();
        for (const QChar key : keys)
            pressAccessibly(controlOfKey(key));
        QCoreApplication::processEvents();
        QCOMPARE(m_window->engine().display(), byClicks);
        QCOMPARE(m_services.messages, messagesByClicks);
        QCOMPARE(m_services.beeps, beepsByClicks);
        QTEST(accessibleText(QStringLiteral("lblDisplay")), "total");
    }

    void aKeyOfAnyPushButtonClassIsPressedAtOnce()
    {
        RingedKey key(QStringLiteral("&OK"));
        int clicks = 0;
        connect(&key, &QPushButton::clicked, this, [&clicks] { ++clicks; });
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&key);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("OK"));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks, 0); // the assistive tool's call returns before the click runs
        QCoreApplication::processEvents();
        QCOMPARE(clicks, 1);
    }

    void eachPressIsAnnounced_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("words"); // the words announced after the last key
        QTest::newRow("a digit") << "1" << "1";
        QTest::newRow("a second digit") << "12" << "12";
        QTest::newRow("an operator") << "12+" << "plus, 12";
        QTest::newRow("a digit once a total stands") << "12+3" << "3";
        QTest::newRow("equals") << "12+3=" << "equals 15";
        QTest::newRow("clear last entry") << "12+3E" << "Error Cleared";
        QTest::newRow("clear ALL") << "12+3=C" << "all cleared";
        QTest::newRow("an operator in place of another") << "5+X" << "times instead of plus";
        QTest::newRow("an operator refused: nothing") << "+" << "";
        QTest::newRow("a digit refused after a result: nothing new") << "12+3=7" << "equals 15";
    }
    void eachPressIsAnnounced()
    {
        QFETCH(QString, keys);
        click(keys);
        QTEST(announced(), "words");
    }

    // The announcer is heard, not seen: a notification in a status bar (which Orca speaks
    // without saying "notification"), hidden in the window.
    void theAnnouncerIsHeardNotSeen()
    {
        click(QStringLiteral("1"));
        auto* announcer = m_window->findChild<QWidget*>(QStringLiteral("announcer"));
        QVERIFY(announcer != nullptr);
        QVERIFY(!announcer->isVisible());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(announcer);
        QCOMPARE(iface->role(), QAccessible::Notification);
        QCOMPARE(iface->parent()->role(), QAccessible::StatusBar);
        QCOMPARE(iface->parent()->parent()->object(), m_window.get());
    }

    // The text boxes are pressed like keys and stay editable text; their names follow the tape.
    void textBoxesArePressedAndNamedByTheTape()
    {
        click(QStringLiteral("12+"));
        QAccessibleInterface* box = accessible(QStringLiteral("txtShowEntries"));
        pressAccessibly(QStringLiteral("txtShowEntries"));
        QCoreApplication::processEvents();
        QVERIFY(find(QStringLiteral("lstEntered"))->isVisible());
        QCOMPARE(box->text(QAccessible::Name), QStringLiteral("hide entries tape"));
        QCOMPARE(box->role(), QAccessible::EditableText);
        QCOMPARE(accessibleText(QStringLiteral("txtShowEntries")), QStringLiteral("HIDE Entries"));

        pressAccessibly(QStringLiteral("txtClearEntries"));
        QCoreApplication::processEvents();
        QCOMPARE(m_window->findChild<QListWidget*>(QStringLiteral("lstEntered"))->count(), 0);

        pressAccessibly(QStringLiteral("txtShowEntries"));
        QCoreApplication::processEvents();
        QVERIFY(find(QStringLiteral("lstEntered"))->isHidden());
        QCOMPARE(box->text(QAccessible::Name), QStringLiteral("show entries tape"));
    }

    // A screen reader walks a text by characters, words and lines, up to and past its end (the
    // cursor of a text box stands there): every walk returns, and one run without attributes
    // covers the whole text, so that a line is read to its last letter.
    void textWalksReturnEverywhere_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("a text box") << "txtShowEntries";
        QTest::newRow("a display") << "lblDisplay";
    }
    void textWalksReturnEverywhere()
    {
        QFETCH(QString, control);
        click(QStringLiteral("12"));
        QAccessibleTextInterface* text = accessible(control)->textInterface();
        const int count = text->characterCount();
        for (int boundary = QAccessible::CharBoundary; boundary <= QAccessible::NoBoundary; ++boundary) {
            const auto type = static_cast<QAccessible::TextBoundaryType>(boundary);
            for (int offset = -2; offset <= count; ++offset) {
                int start = 0;
                int end = 0;
                text->textBeforeOffset(offset, type, &start, &end);
                text->textAtOffset(offset, type, &start, &end);
                text->textAfterOffset(offset, type, &start, &end);
            }
        }
        int start = -1;
        int end = -1;
        QCOMPARE(text->textAtOffset(count, QAccessible::WordBoundary, &start, &end), QString());
        text->attributes(1, &start, &end);
        QCOMPARE(start, 0);
        QCOMPARE(end, count);
    }

    // The items a screen reader reads, in characters as AT-SPI counts them: "text@start..end".
    void textItemsAreCharactersWordsSentencesAndLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QAccessible::TextBoundaryType>("boundary");
        QTest::addColumn<int>("where"); // before, at or after
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("item");
        const int before = -1, at = 0, after = 1;
        QTest::newRow("a word after a bracket") << "(Total)" << QAccessible::WordBoundary << at << 3 << "Total@1..6";
        QTest::newRow("the bracket before it") << "(Total)" << QAccessible::WordBoundary << at << 0 << "(@0..1";
        QTest::newRow("a number is a word") << "  12.5 + 3" << QAccessible::WordBoundary << at << 3 << "12.5@2..6";
        QTest::newRow("the blanks before it") << "  12.5 + 3" << QAccessible::WordBoundary << before << 3 << "  @0..2";
        QTest::newRow("the word after it") << "  12.5 + 3" << QAccessible::WordBoundary << after << 7 << "3@9..10";
        QTest::newRow("no word at the end") << "SHOW  Entries" << QAccessible::WordBoundary << at << 13 << "@13..13";
        QTest::newRow("the last word before it") << "SHOW  Entries" << QAccessible::WordBoundary << before << 13 << "Entries@6..13";
        QTest::newRow("the line at the end") << "SHOW  Entries" << QAccessible::LineBoundary << at << 13 << "SHOW  Entries@0..13";
        QTest::newRow("a line before") << "a\nb" << QAccessible::LineBoundary << before << 3 << "a\n@0..2";
        QTest::newRow("a second sentence") << "One. Two" << QAccessible::SentenceBoundary << at << 6 << "Two@5..8";
        QTest::newRow("a decimal point ends none") << "0.5 m" << QAccessible::SentenceBoundary << at << 0 << "0.5 m@0..5";
        QTest::newRow("a character beyond 16 bits") << "a\U0001F600b" << QAccessible::CharBoundary << at << 1 << "\U0001F600@1..2";
        QTest::newRow("the character after it") << "a\U0001F600b" << QAccessible::CharBoundary << after << 1 << "b@2..3";
        QTest::newRow("past the end: nothing") << "a\U0001F600b" << QAccessible::CharBoundary << at << 4 << "@3..3";
    }
    void textItemsAreCharactersWordsSentencesAndLines()
    {
        QFETCH(QString, text);
        QFETCH(QAccessible::TextBoundaryType, boundary);
        QFETCH(int, where);
        QFETCH(int, offset);
        static_cast<QLineEdit*>(find(QStringLiteral("txtShowEntries")))->setText(text);
        QAccessibleTextInterface* box = accessible(QStringLiteral("txtShowEntries"))->textInterface();
        int start = -1;
        int end = -1;
        const QString item = where < 0 ? box->textBeforeOffset(offset, boundary, &start, &end)
            : where > 0 ? box->textAfterOffset(offset, boundary, &start, &end) : box->textAtOffset(offset, boundary, &start, &end);
        QTEST(QStringLiteral("%1@%2..%3").arg(item).arg(start).arg(end), "item");
        QCOMPARE(box->characterCount(), static_cast<int>(text.toUcs4().size()));
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
