// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window driven through its real widgets on the offscreen platform: clicks reach
// the engine, the labels and the tape show the results, the options follow their state tables,
// and the design's places, fonts and colours come out on screen.

#include "calculatorwindow.h"
#include "designfont.h"
#include "designlabel.h"
#include "programs.h"
#include "recordingservices.h"
#include "tapedelegate.h"
#include "testkeys.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>
#include <stdexcept>

using namespace tavoro;

namespace {

const CalculatorVariant& Tavoro3Window = Tavoro3.calculator;
const CalculatorVariant& Tavoro2Window = Tavoro2.calculator;

// The control that a key of a test sequence clicks (testkeys.h).
QString controlOfKey(QChar key)
{
    const auto control = testkeys::controlOfKeyLetter(key.toLatin1());
    return control ? QLatin1String(nameOf(*control)) : QString();
}

const QString Rule(23, QLatin1Char('-'));

} // namespace

class tst_CalculatorWindow : public QObject {
    Q_OBJECT

    RecordingServices m_services;
    std::unique_ptr<CalculatorWindow> m_window;

    void open(const CalculatorVariant& variant)
    {
        m_window = std::make_unique<CalculatorWindow>(variant, m_services);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* object = m_window->findChild<T*>(name);
        return object != nullptr ? object : throw std::logic_error(name.toStdString());
    }
    QAction* menuItem(const char* name) const { return find<QAction>(QLatin1String(name)); }
    QString caption(const char* name) const { return find<QLabel>(QLatin1String(name))->text(); }
    bool shown(const char* name) const { return find(QLatin1String(name))->isVisible(); }
    QLineEdit* box(const char* name) const { return find<QLineEdit>(QLatin1String(name)); }
    void click(const QString& name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void press(const QString& keys)
    {
        for (const QChar key : keys)
            click(controlOfKey(key));
    }
    QStringList tape() const
    {
        QStringList lines;
        const auto* list = find<QListWidget>(QStringLiteral("lstEntered"));
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

private slots:
    void init()
    {
        m_services = RecordingServices{};
        open(Tavoro3Window);
    }
    void cleanup() { m_window.reset(); }

    // ---- Clicks reach the engine ---------------------------------------------------------

    void workedExamples_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("newNum"); // "" when hidden, else the caption in brackets
        QTest::addColumn<QString>("op");     // likewise
        QTest::addColumn<QStringList>("tape");

        QTest::newRow("12") << "12" << "12" << "" << "" << QStringList{};
        QTest::newRow("12+") << "12+" << "12" << "[]" << "[+]" << QStringList{"   12"};
        QTest::newRow("12+3") << "12+3" << "12" << "[3]" << "[+]" << QStringList{"   12"};
        QTest::newRow("12+3=") << "12+3=" << "15" << "" << "" << QStringList{"   12", "+ 3", Rule, "=  15"};
        QTest::newRow("5X") << "5X" << "5" << "[]" << "[X]" << QStringList{"   5"};
        QTest::newRow("5X4") << "5X4" << "5" << "[4]" << "[X]" << QStringList{"   5"};
        QTest::newRow("5X4-") << "5X4-" << "20" << "[]" << "[-]" << QStringList{"   5", "X 4"};
        QTest::newRow("5X4-6/") << "5X4-6/" << "14" << "[]" << "[/]" << QStringList{"   5", "X 4", " - 6"};
        QTest::newRow("5X4-6/2") << "5X4-6/2" << "14" << "[2]" << "[/]" << QStringList{"   5", "X 4", " - 6"};
        QTest::newRow("5X4-6/2=") << "5X4-6/2=" << "7" << "" << ""
                                  << QStringList{"   5", "X 4", " - 6", " / 2", Rule, "=  7"};
        QTest::newRow("12+3, clear") << "12+3E" << "12" << "[Error Cleared]" << "[]" << QStringList{"   12"};
        QTest::newRow("12+3, ERROR") << "12+3R" << "12" << "[Error Cleared]" << "[]" << QStringList{"   12"};
        QTest::newRow("12+3=, clear ALL") << "12+3=C" << "" << "" << "" << QStringList{"   12", "+ 3", Rule, "=  15", Rule};
    }
    void workedExamples()
    {
        QFETCH(QString, keys);
        press(keys);
        const auto seen = [this](const char* name) {
            return shown(name) ? QLatin1Char('[') + caption(name) + QLatin1Char(']') : QString();
        };
        QTEST(caption("lblDisplay"), "display");
        QTEST(seen("lblNewNum"), "newNum");
        QTEST(seen("lblOp"), "op");
        // The lower spacer goes with the new-number label, so that the green bar is one strip.
        QCOMPARE(shown("lblSpacer(1)"), shown("lblNewNum"));
        QTEST(tape(), "tape");
        QVERIFY(m_services.messages.empty());
    }

    void buttonArraysPassTheirIndex_data()
    {
        QTest::addColumn<QString>("keys"); // '*' stands for the button under test
        QTest::addColumn<QString>("display");
        for (int digit = 0; digit <= 9; ++digit)
            QTest::addRow("cmdDigit(%d)", digit) << "*" << QString::number(digit);
        QTest::newRow("cmdDigit(11)") << "*5" << "0.5";
        QTest::newRow("cmdOp(0)") << "6*2=" << "8";
        QTest::newRow("cmdOp(1)") << "6*2=" << "4";
        QTest::newRow("cmdOp(2)") << "6*2=" << "12";
        QTest::newRow("cmdOp(3)") << "6*2=" << "3";
        QTest::newRow("cmdOp(5)") << "6*" << "6";
    }
    void buttonArraysPassTheirIndex()
    {
        QFETCH(QString, keys);
        for (const QChar key : keys)
            click(key == QLatin1Char('*') ? QLatin1String(QTest::currentDataTag()) : controlOfKey(key));
        QTEST(caption("lblDisplay"), "display");
    }

    void passiveControlsRunNothing_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"lblDisplay", "lblTotal", "lblSpacer(0)", "lblSpacer(1)", "lblNewNum", "lblOp",
                                 "lblDateAndTime", "lstEntered"})
            QTest::newRow(name) << name;
    }
    void passiveControlsRunNothing()
    {
        QFETCH(QString, name);
        press(QStringLiteral("12+3=X4"));
        menuItem("mnuOptionsShowTape")->trigger();
        menuItem("mnuOptionsDateAndTimeOn")->trigger();
        const CalculatorState state = m_window->engine().state();
        const DisplayState display = m_window->engine().display();
        auto* list = find<QListWidget>(QStringLiteral("lstEntered"));
        if (name == QLatin1String("lstEntered")) {
            // The platform only selects the clicked line.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
            QCOMPARE(list->currentRow(), 1);
        } else {
            click(name);
        }
        QCOMPARE(m_window->engine().state(), state);
        QCOMPARE(m_window->engine().display(), display);
        QCOMPARE(m_services.beeps, 3);
        QCOMPARE(list->count(), 4);
    }

    void doubleClickIsOneClick()
    {
        // Through the window, so that the platform turns the second press into a double click.
        for (const char* name : {"lblClearAll", "txtShowEntries"}) {
            QWidget* control = find(QLatin1String(name));
            QTest::mouseDClick(m_window->windowHandle(), Qt::LeftButton, {},
                               control->mapTo(m_window.get(), control->rect().center()));
        }
        QCOMPARE(tape(), QStringList{""});
        QCOMPARE(box("txtShowEntries")->text(), QStringLiteral("HIDE Entries"));
    }

    void typingIntoTextBoxesRunsNothing()
    {
        press(QStringLiteral("1+"));
        click(QStringLiteral("txtShowEntries"));
        for (const char* name : {"txtShowEntries", "txtClearEntries"}) {
            QTest::keyClicks(box(name), QStringLiteral("ab "));
            QTest::keyClick(box(name), Qt::Key_Return);
            QVERIFY(box(name)->text().contains(QLatin1String("ab ")));
        }
        QCOMPARE(tape(), QStringList{"   1"});
        QVERIFY(shown("lstEntered"));
    }

    // ---- The design ----------------------------------------------------------------------

    void loadStepRunsAtFirstShowOnly()
    {
        CalculatorWindow window(Tavoro3Window, m_services);
        const auto child = [&window](const char* name) { return window.findChild<QObject*>(QLatin1String(name)); };
        auto* newNum = qobject_cast<QWidget*>(child("lblNewNum"));
        auto* dateTimeOff = qobject_cast<QAction*>(child("mnuOptionsDateAndTimeOff"));
        QVERIFY(!newNum->isHidden()); // the design, before the load step
        QVERIFY(!dateTimeOff->isChecked());

        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const char* name : {"lblNewNum", "lblOp", "lblSpacer(1)", "lblDateAndTime", "lstEntered", "txtClearEntries"})
            QVERIFY2(qobject_cast<QWidget*>(child(name))->isHidden(), name);
        QVERIFY(dateTimeOff->isChecked());
        QCOMPARE(qobject_cast<QLabel*>(child("lblDisplay"))->text(), QStringLiteral("0"));
        QCOMPARE(QApplication::focusWidget(), child("txtShowEntries"));

        // Showing the window again does not load it again.
        qobject_cast<QAction*>(child("mnuOptionsDateAndTimeOn"))->trigger();
        window.hide();
        window.show();
        QVERIFY(!dateTimeOff->isChecked());
    }

    void windowDesign_data()
    {
        QTest::addColumn<bool>("tavoro2");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("title");
        QTest::newRow("Tavoro 3") << false << "frmTavoro3" << "Tavoro 3";
        QTest::newRow("Tavoro 2") << true << "frmTavoro" << "Tavoro.";
    }
    void windowDesign()
    {
        QFETCH(bool, tavoro2);
        open(tavoro2 ? Tavoro2Window : Tavoro3Window);
        QTEST(m_window->objectName(), "className");
        QTEST(m_window->windowTitle(), "title");
        // The client area, 9705 x 7395 twips, lies right below the menu bar; no resizing.
        QCOMPARE(m_window->centralWidget()->geometry(), QRect(0, m_window->menuBar()->height(), 647, 493));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QCOMPARE(m_window->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
        const QPoint offCentre = m_window->geometry().center() - m_window->screen()->availableGeometry().center();
        QVERIFY(offCentre.manhattanLength() <= 40);

        QStringList items;
        for (const QAction* menu : m_window->menuBar()->actions()) {
            items << menu->menu()->objectName() + QLatin1Char('=') + menu->text();
            for (const QAction* item : menu->menu()->actions())
                items << item->objectName() + QLatin1Char('=') + item->text();
        }
        QCOMPARE(items, (QStringList{"mnuFiles=&Files", "mnuFilesExit=e&Xit", "mnuOptions=&Options",
                                     "mnuOptionsShowTape=&Show Tape", "mnuOptionsHideTape=&Hide Tape",
                                     "mnuOptionsDateAndTimeOn=sho&W Date and Time",
                                     "mnuOptionsDateAndTimeOff=h&Ide Date and Time"}));
    }

    void controlPlaces_data()
    {
        QTest::addColumn<bool>("tavoro2");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place"); // pixels at 96 dpi in the client area

        QTest::newRow("0 key, last of the lower row") << false << "cmdDigit(0)" << QRect(431, 176, 77, 74);
        QTest::newRow("decimal point") << false << "cmdDigit(11)" << QRect(431, 29, 77, 66);
        QTest::newRow("plus") << false << "cmdOp(0)" << QRect(270, 254, 156, 65);
        QTest::newRow("big display") << false << "lblDisplay" << QRect(107, 332, 388, 49);
        QTest::newRow("(Total)") << false << "lblTotal" << QRect(506, 344, 85, 37);
        QTest::newRow("SHOW Entries") << false << "txtShowEntries" << QRect(523, 28, 95, 26);
        QTest::newRow("tape") << false << "lstEntered" << QRect(512, 52, 115, 292);
        QTest::newRow("Tavoro 3 new number") << false << "lblNewNum" << QRect(108, 392, 388, 46);
        QTest::newRow("Tavoro 3 operator") << false << "lblOp" << QRect(504, 402, 40, 37);
        QTest::newRow("Tavoro 2 new number") << true << "lblNewNum" << QRect(106, 390, 388, 46);
        QTest::newRow("Tavoro 2 operator") << true << "lblOp" << QRect(504, 400, 40, 37);
        QTest::newRow("Tavoro 2 lower spacer") << true << "lblSpacer(1)" << QRect(492, 390, 13, 46);
    }
    void controlPlaces()
    {
        QFETCH(bool, tavoro2);
        QFETCH(QString, name);
        open(tavoro2 ? Tavoro2Window : Tavoro3Window);
        QCOMPARE(find(name)->parentWidget(), m_window->centralWidget());
        QTEST(find(name)->geometry(), "place");
    }

    void controlLooks_data()
    {
        // The row name is the control's name.
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<QRgb>("back"); // as painted, away from the text

        QTest::newRow("cmdDigit(1)") << "1" << "" << "Arial Black" << 36.0 << false << 0xFFFFC0u;
        QTest::newRow("cmdDigit(11)") << "." << "DECIMAL point." << "Arial Black" << 48.0 << false << 0xFFFF00u;
        QTest::newRow("cmdOp(0)") << "+" << "PLUS..." << "Arial Black" << 45.75 << false << 0xC0FFC0u;
        QTest::newRow("lblDisplay") << "0" << "" << "Arial" << 27.75 << false << 0x000080u;
        QTest::newRow("lblNewNum") << "" << "" << "Arial" << 27.75 << false << 0x008000u;
        QTest::newRow("lblClearError") << "     clear" << "Clear LAST ENTRY." << "MS Sans Serif" << 13.5 << false << 0xC00000u;
        QTest::newRow("lblClearAll") << "              clear ALL" << "Clear TOTAL." << "Arial Black" << 14.25 << true << 0xFFFFFFu;
        QTest::newRow("txtShowEntries") << "SHOW  Entries" << " SHOW Entries Tape " << "Arial" << 9.0 << false << 0x000000u;
        QTest::newRow("txtClearEntries") << "CLEAR Entries " << "CLEAR Entries Tape" << "Arial" << 9.0 << false << 0xFFFFFFu;
        QTest::newRow("lstEntered") << "" << "PREVIOUS ENTRIES" << "MS Sans Serif" << 9.75 << false << 0xE0E0E0u;
    }
    void controlLooks()
    {
        QFETCH(QString, family);
        QFETCH(QRgb, back);
        QWidget* control = find(QLatin1String(QTest::currentDataTag()));
        QTEST(control->property("text").toString(), "caption"); // the list has none
        QTEST(control->toolTip(), "tip");

        const QFontInfo font(control->font());
        QVERIFY2(font.family() == family || font.family() == fallbackFamily(family), qPrintable(font.family()));
        QTEST(control->font().pointSizeF(), "points");
        QCOMPARE(font.weight(), int(QFont::Bold));
        QTEST(font.underline(), "underline");
        // The face or back colour fills the control exactly: no gradient, no transparency. Text
        // starts at the top, so the lower left corner inside a 2-pixel edge shows the background.
        const QColor painted = control->grab().toImage().pixelColor(4, control->height() - 5);
        QCOMPARE(painted.rgb() & 0xFFFFFFu, back);
    }

    // A design family the machine lacks is not asked for at all (asking costs a fontconfig sort of
    // every font); one it has comes first, before its stand-in.
    void designFontsNameInstalledFamiliesOnly()
    {
        const QStringList installed = QFontDatabase::families();
        for (const char* design : {"Arial", "Arial Black", "MS Sans Serif"}) {
            const QString family = QString::fromLatin1(design);
            const QStringList expected = installed.contains(family, Qt::CaseInsensitive)
                ? QStringList{family, fallbackFamily(family)}
                : QStringList{fallbackFamily(family)};
            QCOMPARE(designFont(family, 12).families(), expected);
        }
        // A family without a stand-in is named as it is.
        QCOMPARE(designFont(QStringLiteral("DejaVu Sans"), 12).families(), QStringList{QStringLiteral("DejaVu Sans")});
        const QFont underlined = designFont(QStringLiteral("Arial"), 9.75, true);
        QCOMPARE(underlined.pointSizeF(), 9.75);
        QCOMPARE(underlined.weight(), QFont::Bold);
        QVERIFY(underlined.underline());
    }

    void clearCaptionsWrapAtBlanks()
    {
        // The leading blanks of "     clear" and "              clear ALL" make an empty first
        // line that moves the words down: the first line is bare, the second is not.
        for (const char* name : {"lblClearError", "lblClearAll"}) {
            auto* label = find<QLabel>(QLatin1String(name));
            const QImage image = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const int line = QFontMetrics(label->font()).height();
            QImage bare(image.width(), line, QImage::Format_RGB32);
            bare.fill(image.pixel(0, 0));
            QVERIFY2(image.copy(0, 0, image.width(), line) == bare, name);
            QVERIFY2(image.copy(0, line, image.width(), line) != bare, name);
        }
    }

    // A focused key keeps its face colour and wears a dark mark inside its raised edge on all four
    // sides, clear of the caption; unfocused, the same pixels show the face.
    void focusedKeyKeepsItsColour_data()
    {
        QTest::addColumn<QRgb>("face");
        QTest::newRow("cmdDigit(1)") << 0xFFFFC0u;
        QTest::newRow("cmdDigit(0)") << 0xC0FFFFu;
        QTest::newRow("cmdDigit(11)") << 0xFFFF00u;
        QTest::newRow("cmdOp(0)") << 0xC0FFC0u;
        QTest::newRow("cmdOp(1)") << 0xFFC0C0u;
    }
    void focusedKeyKeepsItsColour()
    {
        QFETCH(QRgb, face);
        QWidget* key = find(QLatin1String(QTest::currentDataTag()));
        const auto colourAt = [key](const QImage& image, QPoint p) { return image.pixel(p) & 0xFFFFFFu; };
        const QRect r = key->rect();
        // The middle of each side of the mark (2 to 5 pixels in), and a face pixel just inside it.
        const QList<QPoint> mark{{r.center().x(), 4}, {r.center().x(), r.bottom() - 4}, {4, r.center().y()}, {r.right() - 4, r.center().y()}};
        const QPoint inside(8, 8);

        const QImage unfocused = key->grab().toImage();
        QTest::mouseClick(key, Qt::LeftButton); // a click gives it the focus
        QCOMPARE(QApplication::focusWidget(), key);
        const QImage focused = key->grab().toImage();
        for (const QPoint& p : mark) {
            QCOMPARE(colourAt(unfocused, p), face);
            QCOMPARE(colourAt(focused, p), 0x000000u);
        }
        QCOMPARE(colourAt(focused, inside), face);
        QCOMPARE(colourAt(focused, QPoint(r.center().x(), 1)), 0xFFFFFFu); // the raised edge stays
    }

    // A number too wide for its display is drawn smaller, whole; a short one at the design size.
    void displaysFitTheirNumbers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        for (const char* name : {"lblDisplay", "lblNewNum"}) {
            for (const char* text : {"15", "-1.23456789012345E-308", "-1.23456789012345E+308", "1.23456789012345E-308",
                                     "9.75461059740247E+30"})
                QTest::addRow("%s %s", name, text) << name << text;
        }
    }
    void displaysFitTheirNumbers()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        auto* label = find<DesignLabel>(name);
        label->show();
        label->setText(text);
        const QFont drawn = label->drawnFont();
        const bool fitsAtDesignSize = QFontMetrics(label->font()).horizontalAdvance(text) <= label->width();
        QCOMPARE(fitsAtDesignSize, text == QLatin1String("15"));
        if (fitsAtDesignSize)
            QCOMPARE(drawn.pointSizeF(), label->font().pointSizeF());
        else
            QVERIFY(drawn.pointSizeF() < label->font().pointSizeF());
        QVERIFY(QFontMetrics(drawn).horizontalAdvance(text) <= label->width());
        QCOMPARE(drawn.family(), label->font().family());
        QVERIFY(drawn.bold());

        // As drawn: right-aligned, and its first character is not cut off at the left edge.
        const QImage image = label->grab().toImage();
        const QRgb back = image.pixel(0, image.height() - 1);
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != back) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        QVERIFY2(left > 0, "the number is cut off on the left");
        QVERIFY(right >= image.width() - 6);
    }

    // A tape line wider than the list wraps onto more rows of its item; the rule keeps one row.
    void longTapeLinesWrap()
    {
        click(QStringLiteral("txtShowEntries"));
        press(QStringLiteral("9876543219876543219X987654321987="));
        auto* list = find<QListWidget>(QStringLiteral("lstEntered"));
        QCOMPARE(tape(), (QStringList{"   9.87654321987654E+18", "X 987654321987", Rule, "=  9.75461059740247E+30"}));
        press(QStringLiteral("X2="));
        const int shortHeight = list->visualItemRect(list->item(4)).height(); // "X 2"
        QCOMPARE(list->visualItemRect(list->item(2)).height(), shortHeight);  // the rule
        const auto* delegate = qobject_cast<TapeDelegate*>(list->itemDelegate());
        QVERIFY(delegate);
        for (int row : {0, 1, 3}) {
            const QString line = list->item(row)->text();
            const QStringList rows = delegate->rowsOf(line, list->font());
            QVERIFY2(rows.size() >= 2, qPrintable(line));
            QCOMPARE(rows.join(QString()), line);
            QVERIFY(list->visualItemRect(list->item(row)).height() > shortHeight);
            for (const QString& part : rows)
                QVERIFY(QFontMetrics(list->font()).horizontalAdvance(part) <= list->viewport()->width());
            // Every row carries ink.
            const QRect item = list->visualItemRect(list->item(row));
            const QImage image = list->viewport()->grab(item).toImage();
            const int rowHeight = QFontMetrics(list->font()).lineSpacing();
            const int top = (item.height() - (int(rows.size()) - 1) * rowHeight - QFontMetrics(list->font()).height()) / 2;
            for (int r = 0; r < rows.size(); ++r) {
                const QImage band = image.copy(0, top + r * rowHeight, image.width(), rowHeight);
                int ink = 0;
                for (int y = 0; y < band.height(); ++y)
                    for (int x = 0; x < band.width(); ++x)
                        ink += qGray(band.pixel(x, y)) < 100;
                QVERIFY2(ink > 10, qPrintable(QStringLiteral("row %1 of \"%2\" is blank").arg(r).arg(line)));
            }
        }
        QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(list->count() - 1))));
    }

    // ---- Tape and date-time options ------------------------------------------------------

    void tapeOptions_data()
    {
        QTest::addColumn<QString>("events"); // b: click txtShowEntries; s, h: Show Tape, Hide Tape
        QTest::addColumn<bool>("listShown");
        QTest::addColumn<bool>("clearBoxShown");
        QTest::addColumn<QString>("textAndTip");
        QTest::addColumn<QString>("checks"); // Show Tape, Hide Tape

        const QString design = QStringLiteral("SHOW  Entries| SHOW Entries Tape ");
        const QString show = QStringLiteral("SHOW Entries|SHOW Entries Tape");
        const QString hide = QStringLiteral("HIDE Entries|HIDE Entries Tape");
        QTest::newRow("loaded") << "" << false << false << design << "--";
        QTest::newRow("box") << "b" << true << true << hide << "--";
        QTest::newRow("box, box") << "bb" << false << false << show << "--";
        QTest::newRow("box x3") << "bbb" << true << true << hide << "--";
        QTest::newRow("Show Tape") << "s" << true << false << design << "x-";
        QTest::newRow("Show Tape twice") << "ss" << true << false << design << "x-";
        QTest::newRow("Show Tape, box") << "sb" << false << false << show << "x-";
        QTest::newRow("Hide Tape") << "h" << false << false << design << "-x";
        QTest::newRow("box, Hide Tape") << "bh" << false << true << hide << "-x";
        QTest::newRow("box, Hide Tape, box") << "bhb" << true << true << hide << "-x";
        QTest::newRow("Show Tape, Hide Tape") << "sh" << false << false << design << "-x";
    }
    void tapeOptions()
    {
        QFETCH(QString, events);
        for (const QChar event : events) {
            if (event == QLatin1Char('b'))
                click(QStringLiteral("txtShowEntries"));
            else
                menuItem(event == QLatin1Char('s') ? "mnuOptionsShowTape" : "mnuOptionsHideTape")->trigger();
        }
        const auto mark = [this](const char* name) { return QString(QLatin1Char(menuItem(name)->isChecked() ? 'x' : '-')); };
        QTEST(shown("lstEntered"), "listShown");
        QTEST(shown("txtClearEntries"), "clearBoxShown");
        QTEST(box("txtShowEntries")->text() + QLatin1Char('|') + box("txtShowEntries")->toolTip(), "textAndTip");
        QTEST(mark("mnuOptionsShowTape") + mark("mnuOptionsHideTape"), "checks");
        QCOMPARE(box("txtClearEntries")->text(), QStringLiteral("CLEAR Entries "));
    }

    void clearingTheTapeKeepsTheCalculation()
    {
        press(QStringLiteral("12+3=X"));
        click(QStringLiteral("txtShowEntries"));
        menuItem("mnuOptionsHideTape")->trigger();
        click(QStringLiteral("txtClearEntries")); // still shown, empties the hidden list
        QCOMPARE(tape(), QStringList{});
        QCOMPARE(caption("lblDisplay"), QStringLiteral("15"));
        press(QStringLiteral("2="));
        QCOMPARE(tape(), (QStringList{"X 2", Rule, "=  30"}));
    }

    void tapeShowsItsNewestLine_data()
    {
        QTest::addColumn<QString>("shownBy"); // before the lines arrive, or afterwards
        QTest::newRow("shown while appending") << "";
        QTest::newRow("shown afterwards by the box") << "txtShowEntries";
        QTest::newRow("shown afterwards by the menu") << "mnuOptionsShowTape";
    }
    void tapeShowsItsNewestLine()
    {
        QFETCH(QString, shownBy);
        if (shownBy.isEmpty())
            menuItem("mnuOptionsShowTape")->trigger();
        press(QStringLiteral("1+1=+1=+1=+1=+1=+1=+1=+1=+1=+1=+1=+1="));
        if (shownBy == QLatin1String("txtShowEntries"))
            click(shownBy);
        else if (!shownBy.isEmpty())
            find<QAction>(shownBy)->trigger();

        auto* list = find<QListWidget>(QStringLiteral("lstEntered"));
        QCOMPARE(list->count(), 37);
        QCOMPARE(list->item(36)->text(), QStringLiteral("=  13"));
        QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(36))));
    }

    void dateTimeOptions_data()
    {
        QTest::addColumn<QString>("events"); // n: sho&W Date and Time, f: h&Ide Date and Time
        QTest::addColumn<int>("blnDateAndTime");
        QTest::addColumn<bool>("enabledAndShown"); // tmrCalc enabled, lblDateAndTime shown
        QTest::addColumn<QString>("checks");       // On, Off

        QTest::newRow("loaded") << "" << 0 << false << "-x";
        QTest::newRow("on") << "n" << -1 << true << "x-";
        QTest::newRow("on twice") << "nn" << -1 << true << "x-";
        QTest::newRow("on, off") << "nf" << 0 << false << "-x";
        QTest::newRow("on, off, on") << "nfn" << -1 << true << "x-";
    }
    void dateTimeOptions()
    {
        QFETCH(QString, events);
        for (const QChar event : events)
            menuItem(event == QLatin1Char('n') ? "mnuOptionsDateAndTimeOn" : "mnuOptionsDateAndTimeOff")->trigger();
        const auto mark = [this](const char* name) { return QString(QLatin1Char(menuItem(name)->isChecked() ? 'x' : '-')); };
        QTEST(int(m_window->engine().state().blnDateAndTime), "blnDateAndTime");
        QTEST(find<QTimer>(QStringLiteral("tmrCalc"))->isActive(), "enabledAndShown");
        QTEST(shown("lblDateAndTime"), "enabledAndShown");
        QTEST(mark("mnuOptionsDateAndTimeOn") + mark("mnuOptionsDateAndTimeOff"), "checks");
        QCOMPARE(find<QTimer>(QStringLiteral("tmrCalc"))->interval(), 1000);
        QCOMPARE(caption("lblDateAndTime"), QStringLiteral(" ")); // no tick yet
    }

    void timerWritesTheDateAndTime()
    {
        auto* label = find<QLabel>(QStringLiteral("lblDateAndTime"));
        const QPoint topLeft = label->pos();
        menuItem("mnuOptionsDateAndTimeOn")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), QString::fromStdString(m_services.dateTime), 2500);
        // Grown to its caption, keeping its left and top edges.
        QCOMPARE(label->pos(), topLeft);
        QVERIFY(label->width() >= QFontMetrics(label->font()).horizontalAdvance(label->text()));
    }

    // ---- End -----------------------------------------------------------------------------

    void exitEndsTheEventLoop_data()
    {
        QTest::addColumn<bool>("byCloseButton");
        QTest::newRow("Files, eXit") << false;
        QTest::newRow("close button") << true;
    }
    void exitEndsTheEventLoop()
    {
        QFETCH(bool, byCloseButton);
        // A hidden window, like the splash window, must not keep the program alive.
        QWidget hiddenSplash;
        hiddenSplash.show();
        hiddenSplash.hide();
        QTimer::singleShot(0, m_window.get(), [this, byCloseButton] {
            if (byCloseButton)
                m_window->close();
            else
                menuItem("mnuFilesExit")->trigger();
        });
        QTimer::singleShot(5000, m_window.get(), [] { QCoreApplication::exit(99); }); // watchdog
        QCOMPARE(QApplication::exec(), 0);
    }
};

QTEST_MAIN(tst_CalculatorWindow)
#include "tst_calculatorwindow.moc"
