// SPDX-License-Identifier: GPL-3.0-or-later
// Bad input through the real calculator window: any text typed or pasted into the two text boxes
// that serve as keys, numbers at the edges of the double range, runs of decimal points, and the
// tape emptied in the middle of a calculation. The window must neither block nor crash, must
// show exactly what its engine holds, and must change nothing that the input does not concern.

#include "windowprobe.h"

#include "calculatorwindow.h"
#include "programs.h"
#include "recordingservices.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>

using namespace tavoro;

namespace {

const QString Rule(23, QLatin1Char('-'));
const std::string Overflow(text::Overflow);

// The keys that type 10^exponent: "1" and zeros, or a point, zeros and "1".
QString powerOfTen(int exponent)
{
    if (exponent >= 0)
        return QLatin1Char('1') + QString(exponent, QLatin1Char('0'));
    return QLatin1Char('.') + QString(-exponent - 1, QLatin1Char('0')) + QLatin1Char('1');
}

// Ten thousand characters: letters, digits, blanks and punctuation, as a long paste would bring.
QString tenThousandCharacters()
{
    const QString pattern = QStringLiteral("The quick brown fox jumps over 13 lazy dogs; 42 + 7 = 49! ");
    QString text;
    while (text.size() < 10000)
        text += pattern;
    text.truncate(10000);
    return text;
}

const QString NonAscii = QStringLiteral("Grüße, 漢字, עברית, Ελληνικά, e\u0301, \u200B, 🙂🧮");
const QString ControlCharacters = QStringLiteral("a\tb\rc\nd\u0001e\u001Bf\u007Fg\u0085h\u2028i\u0000j");

} // namespace

class tst_BadInput : public QObject {
    Q_OBJECT

    RecordingServices m_services;
    std::unique_ptr<CalculatorWindow> m_window;

    template <typename T = QWidget>
    T* find(const char* name) const
    {
        T* object = m_window->findChild<T*>(QLatin1String(name));
        if (object == nullptr)
            qFatal("the calculator window has no %s", name);
        return object;
    }
    void click(const char* name) { QTest::mouseClick(find(name), Qt::LeftButton); }

    // Keys: digits, ".", the operators, and T: empty the tape with "CLEAR Entries" (bringing
    // the box into view first), H: Options, Hide Tape.
    void press(const QString& keys)
    {
        for (const QChar key : keys) {
            if (key.isDigit())
                click(qPrintable(QStringLiteral("cmdDigit(%1)").arg(key)));
            else if (key == QLatin1Char('.'))
                click("cmdDigit(11)");
            else if (key == QLatin1Char('T'))
                emptyTape();
            else if (key == QLatin1Char('H'))
                find<QAction>("mnuOptionsHideTape")->trigger();
            else // the operators by their element index; cmdOp has no element 4
                click(qPrintable(QStringLiteral("cmdOp(%1)").arg(QStringLiteral("+-X/ =").indexOf(key))));
        }
    }
    void emptyTape()
    {
        for (int i = 0; i < 2 && !find("txtClearEntries")->isVisible(); ++i)
            click("txtShowEntries");
        click("txtClearEntries");
    }
    int overflowMessages() const
    {
        return static_cast<int>(std::count(m_services.messages.begin(), m_services.messages.end(), Overflow));
    }

private slots:
    void init()
    {
        m_services = RecordingServices{};
        m_window = std::make_unique<CalculatorWindow>(Tavoro3.calculator, m_services);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void textBoxesTakeAnyText_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pasted");

        const struct {
            const char* what;
            QString text;
            bool pasted;
        } inputs[] = {
            {"10,000 characters pasted", tenThousandCharacters(), true},
            {"10,000 characters typed", tenThousandCharacters(), false},
            {"non-ASCII pasted", NonAscii, true},
            {"non-ASCII typed", NonAscii, false},
            {"control characters pasted", ControlCharacters, true},
            {"control characters typed", ControlCharacters, false},
        };
        for (const char* box : {"txtShowEntries", "txtClearEntries"}) {
            for (const auto& input : inputs)
                QTest::addRow("%s: %s", box, input.what) << QByteArray(box) << input.text << input.pasted;
        }
    }
    void textBoxesTakeAnyText()
    {
        QFETCH(QByteArray, box);
        QFETCH(QString, text);
        QFETCH(bool, pasted);

        // A calculation under way, and "CLEAR Entries" in view so that it can be typed into.
        press(QStringLiteral("12+3=X4"));
        click("txtShowEntries");
        auto* edit = find<QLineEdit>(box.constData());
        edit->setFocus();
        const WindowView before = viewOf(*m_window);
        const CalculatorState state = m_window->engine().state();
        const DisplayState display = m_window->engine().display();
        m_services.reset();

        if (pasted) {
            QApplication::clipboard()->setText(text);
            QTest::keySequence(edit, QKeySequence::Paste);
        } else {
            typeInto(edit, text);
        }
        // Editing keys too: none of them may reach the calculator.
        for (const Qt::Key key :
             {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Backspace})
            QTest::keyClick(edit, key);
        QTest::keySequence(edit, QKeySequence::Undo);
        QTest::keySequence(edit, QKeySequence::Redo);

        WindowView after = viewOf(*m_window);
        QVERIFY(after.txtShowEntries != before.txtShowEntries
                || after.txtClearEntries != before.txtClearEntries);
        after.txtShowEntries = before.txtShowEntries;
        after.txtClearEntries = before.txtClearEntries;
        QCOMPARE(after, before);
        QCOMPARE(m_window->engine().state(), state);
        QCOMPARE(m_window->engine().display(), display);
        QCOMPARE(m_services.beeps, 0);
        QVERIFY(m_services.messages.empty());

        // The boxes still work as keys, and the calculation goes on.
        click("txtShowEntries");
        QCOMPARE(find<QLineEdit>("txtShowEntries")->text(), QStringLiteral("SHOW Entries"));
        press(QStringLiteral("="));
        QCOMPARE(find<QLabel>("lblDisplay")->text(), QStringLiteral("60"));
    }

    void extremeNumbers_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("overflows");
        QTest::addColumn<bool>("lastKeyRefused");

        QTest::newRow("400-digit entry") << QString(400, QLatin1Char('9')) << "1E+308" << 92 << true;
        QTest::newRow("product beyond 1.8e308")
            << powerOfTen(200) + "X" + powerOfTen(200) + "=" << "1E+200" << 1 << true;
        QTest::newRow("quotient below 1e-308, subnormal")
            << powerOfTen(-300) + "/" + powerOfTen(10) + "=" << "9.99999999999997E-311" << 0 << false;
        QTest::newRow("quotient below the smallest subnormal, 0")
            << "1/" + powerOfTen(300) + "=/" + powerOfTen(300) + "=" << "0" << 0 << false;
        QTest::newRow("twenty decimal points")
            << "1" + QString(20, QLatin1Char('.')) + "5" << "1" << 0 << false;
    }
    void extremeNumbers()
    {
        QFETCH(QString, keys);
        QFETCH(QString, display);
        QFETCH(int, overflows);
        QFETCH(bool, lastKeyRefused);

        press(keys.chopped(1));
        const WindowView before = viewOf(*m_window);
        const CalculatorState state = m_window->engine().state();
        press(keys.right(1));

        QCOMPARE(find<QLabel>("lblDisplay")->text(), display);
        QCOMPARE(overflowMessages(), overflows);
        QCOMPARE(static_cast<int>(m_services.messages.size()), overflows);
        if (lastKeyRefused) {
            QCOMPARE(viewOf(*m_window), before);
            QCOMPARE(m_window->engine().state(), state);
        }
        const QString wrong = disagreement(*m_window, true);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    void tapeEmptiedMidCalculation_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QStringList>("tape");

        QTest::newRow("after the first number") << "12+T3=" << "15" << QStringList{"+ 3", Rule, "=  15"};
        QTest::newRow("while the second number is typed")
            << "12+3T=" << "15" << QStringList{"+ 3", Rule, "=  15"};
        QTest::newRow("in a chain") << "5XT4-6/2=" << "7" << QStringList{"X 4", " - 6", " / 2", Rule, "=  7"};
        QTest::newRow("while the tape is hidden")
            << "12+3=HTX2=" << "30" << QStringList{"X 2", Rule, "=  30"};
        QTest::newRow("twice in a row") << "9X9TT=" << "81" << QStringList{"X 9", Rule, "=  81"};
    }
    void tapeEmptiedMidCalculation()
    {
        QFETCH(QString, keys);
        QFETCH(QString, display);
        QFETCH(QStringList, tape);

        press(keys);
        QCOMPARE(find<QLabel>("lblDisplay")->text(), display);
        QCOMPARE(viewOf(*m_window).tape, tape);
        const QString wrong = disagreement(*m_window, true);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }
};

QTEST_MAIN(tst_BadInput)
#include "tst_badinput.moc"
