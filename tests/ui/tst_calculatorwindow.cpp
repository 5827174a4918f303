// The calculator window driven through its real widgets on the offscreen platform: clicks reach
// the engine, the labels and the tape show the results, the options behave as their state tables
// say, and the design's places, fonts and colours come out on screen.

#include "calculatorwindow.h"
#include "designfont.h"
#include "recordingservices.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace tavoro;

namespace {

constexpr CalculatorVariant Tavoro3Window{
    "frmTavoro3", "Tavoro 3", {1620, 5880, 5820, 690}, {7560, 6030, 600, 555}, {7380, 5880, 195, 690}};
constexpr CalculatorVariant Tavoro2Window{
    "frmTavoro", "Tavoro.", {1590, 5850, 5820, 690}, {7560, 6000, 600, 555}, {7380, 5850, 195, 690}};

const CalculatorVariant& variant(int program) { return program == 2 ? Tavoro2Window : Tavoro3Window; }

// The control that a key of a test sequence clicks: digits, ".", the operators, and
// C (clear ALL), E ("clear"), R ("ERROR").
QString controlOfKey(QChar key)
{
    if (key.isDigit())
        return QStringLiteral("cmdDigit(%1)").arg(key);
    switch (key.toLatin1()) {
    case '.': return QStringLiteral("cmdDigit(11)");
    case '+': return QStringLiteral("cmdOp(0)");
    case '-': return QStringLiteral("cmdOp(1)");
    case 'X': return QStringLiteral("cmdOp(2)");
    case '/': return QStringLiteral("cmdOp(3)");
    case '=': return QStringLiteral("cmdOp(5)");
    case 'C': return QStringLiteral("lblClearAll");
    case 'E': return QStringLiteral("lblClearError");
    case 'R': return QStringLiteral("lblClearError2");
    }
    return {};
}

QColor pixelAt(QWidget* widget, QPoint point) { return widget->grab().toImage().pixelColor(point); }

} // namespace

class tst_CalculatorWindow : public QObject {
    Q_OBJECT

private:
    RecordingServices m_services;
    std::unique_ptr<CalculatorWindow> m_window;

    void open(int program = 3)
    {
        m_window = std::make_unique<CalculatorWindow>(variant(program), m_services);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* object = m_window->findChild<T*>(name);
        if (object == nullptr)
            qFatal("no control %s", qPrintable(name));
        return object;
    }
    QAction* menuItem(const char* name) const { return find<QAction>(QLatin1String(name)); }
    QString caption(const char* name) const { return find<QLabel>(QLatin1String(name))->text(); }
    bool shown(const char* name) const { return find(QLatin1String(name))->isVisible(); }
    void click(const QString& name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void press(const QString& keys)
    {
        for (const QChar key : keys) {
            if (key != QLatin1Char(' '))
                click(controlOfKey(key));
        }
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
        open();
    }
    void cleanup() { m_window.reset(); }

    void workedExamples_data();
    void workedExamples();
    void buttonArraysPassTheirIndex_data();
    void buttonArraysPassTheirIndex();
    void refusalGoesThroughServices();
    void passiveControlsRunNothing_data();
    void passiveControlsRunNothing();
    void doubleClickIsOneClick();
    void typingIntoTextBoxesRunsNothing();

    void loadStepRunsAtFirstShowOnly();
    void windowDesign_data();
    void windowDesign();
    void controlPlaces_data();
    void controlPlaces();
    void controlLooks_data();
    void controlLooks();
    void clearCaptionsWrapAtBlanks();
    void maximiseMovesNothing();

    void tapeOptions_data();
    void tapeOptions();
    void clearingTheTapeKeepsTheCalculation();
    void tapeShowsItsNewestLine_data();
    void tapeShowsItsNewestLine();
    void dateTimeOptions_data();
    void dateTimeOptions();
    void timerWritesTheDateAndTime();

    void exitEndsTheEventLoop_data();
    void exitEndsTheEventLoop();
};

// ---- Clicks reach the engine ----------------------------------------------------------------

void tst_CalculatorWindow::workedExamples_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("newNumShown");
    QTest::addColumn<QString>("newNum");
    QTest::addColumn<bool>("opShown");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QStringList>("tape");

    const QString rule(23, QLatin1Char('-'));
    // 12 + 3 =, press by press.
    QTest::newRow("12") << "12" << "12" << false << "" << false << " " << QStringList{};
    QTest::newRow("12 +") << "12+" << "12" << true << "" << true << "+" << QStringList{"   12"};
    QTest::newRow("12 + 3") << "12+3" << "12" << true << "3" << true << "+" << QStringList{"   12"};
    QTest::newRow("12 + 3 =") << "12+3=" << "15" << false << "" << false << ""
                              << QStringList{"   12", "+ 3", rule, "=  15"};
    // 5 X 4 - 6 / 2 =, strictly left to right.
    QTest::newRow("5") << "5" << "5" << false << "" << false << " " << QStringList{};
    QTest::newRow("5 X") << "5X" << "5" << true << "" << true << "X" << QStringList{"   5"};
    QTest::newRow("5 X 4") << "5X4" << "5" << true << "4" << true << "X" << QStringList{"   5"};
    QTest::newRow("5 X 4 -") << "5X4-" << "20" << true << "" << true << "-" << QStringList{"   5", "X 4"};
    QTest::newRow("5 X 4 - 6") << "5X4-6" << "20" << true << "6" << true << "-" << QStringList{"   5", "X 4"};
    QTest::newRow("5 X 4 - 6 /") << "5X4-6/" << "14" << true << "" << true << "/"
                                 << QStringList{"   5", "X 4", " - 6"};
    QTest::newRow("5 X 4 - 6 / 2") << "5X4-6/2" << "14" << true << "2" << true << "/"
                                   << QStringList{"   5", "X 4", " - 6"};
    QTest::newRow("5 X 4 - 6 / 2 =") << "5X4-6/2=" << "7" << false << "" << false << ""
                                     << QStringList{"   5", "X 4", " - 6", " / 2", rule, "=  7"};
    // The clear labels.
    QTest::newRow("12 + 3, clear") << "12+3E" << "12" << true << "Error Cleared" << true << "" << QStringList{"   12"};
    QTest::newRow("12 + 3, ERROR") << "12+3R" << "12" << true << "Error Cleared" << true << "" << QStringList{"   12"};
    QTest::newRow("12 + 3 =, clear ALL") << "12+3=C" << "" << false << "" << false << ""
                                         << QStringList{"   12", "+ 3", rule, "=  15", rule};
    QTest::newRow("clear ALL at start") << "C" << "" << false << "" << false << "" << QStringList{""};
}

void tst_CalculatorWindow::workedExamples()
{
    QFETCH(QString, keys);
    press(keys);

    QTEST(caption("lblDisplay"), "display");
    QTEST(shown("lblNewNum"), "newNumShown");
    QTEST(caption("lblNewNum"), "newNum");
    QTEST(shown("lblOp"), "opShown");
    QTEST(caption("lblOp"), "op");
    // The spacer always goes with the new-number label: the green bar is one strip.
    QTEST(shown("lblSpacer(1)"), "newNumShown");
    QTEST(tape(), "tape");
    QVERIFY(m_services.messages.empty());
}

void tst_CalculatorWindow::buttonArraysPassTheirIndex_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("keysAfter");
    QTest::addColumn<QString>("display");

    for (int digit = 0; digit <= 9; ++digit) {
        const QString name = QStringLiteral("cmdDigit(%1)").arg(digit);
        QTest::newRow(qPrintable(name)) << name << "" << QString::number(digit);
    }
    QTest::newRow("cmdDigit(11)") << "cmdDigit(11)" << "5" << "0.5";
    // 6, the operator, 2, = .
    QTest::newRow("cmdOp(0)") << "cmdOp(0)" << "2=" << "8";
    QTest::newRow("cmdOp(1)") << "cmdOp(1)" << "2=" << "4";
    QTest::newRow("cmdOp(2)") << "cmdOp(2)" << "2=" << "12";
    QTest::newRow("cmdOp(3)") << "cmdOp(3)" << "2=" << "3";
    QTest::newRow("cmdOp(5)") << "cmdOp(5)" << "" << "6";
}

void tst_CalculatorWindow::buttonArraysPassTheirIndex()
{
    QFETCH(QString, button);
    QFETCH(QString, keysAfter);
    if (button.startsWith(QLatin1String("cmdOp")))
        press(QStringLiteral("6"));
    click(button);
    press(keysAfter);
    QTEST(caption("lblDisplay"), "display");
}

void tst_CalculatorWindow::refusalGoesThroughServices()
{
    press(QStringLiteral("+"));
    QCOMPARE(m_services.beeps, 1);
    QCOMPARE(m_services.messages, std::vector<std::string>{"You must Enter a Number FIRST!"});
    press(QStringLiteral("12+3=4"));
    QCOMPARE(m_services.messages.back(), "You must enter an OPERATOR before entering a Number");
    QCOMPARE(caption("lblDisplay"), QStringLiteral("15"));
}

void tst_CalculatorWindow::passiveControlsRunNothing_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"lblDisplay", "lblTotal", "lblSpacer(0)", "lblSpacer(1)", "lblNewNum", "lblOp",
                             "lblDateAndTime", "lstEntered"})
        QTest::newRow(name) << name;
}

void tst_CalculatorWindow::passiveControlsRunNothing()
{
    QFETCH(QString, name);
    press(QStringLiteral("12+3=X4"));
    menuItem("mnuOptionsShowTape")->trigger();
    menuItem("mnuOptionsDateAndTimeOn")->trigger();
    const CalculatorState state = m_window->engine().state();
    const DisplayState display = m_window->engine().display();
    const int beeps = m_services.beeps;

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
    QCOMPARE(m_services.beeps, beeps);
    QVERIFY(m_services.messages.empty());
    QCOMPARE(tape().size(), 4);
}

void tst_CalculatorWindow::doubleClickIsOneClick()
{
    // Through the window, so that the platform turns the second press into a double click.
    const auto doubleClick = [this](const char* name) {
        QWidget* control = find(QLatin1String(name));
        QTest::mouseDClick(m_window->windowHandle(), Qt::LeftButton, {},
                           control->mapTo(m_window.get(), control->rect().center()));
    };
    doubleClick("lblClearAll");
    QCOMPARE(tape(), QStringList{""});
    doubleClick("txtShowEntries");
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtShowEntries"))->text(), QStringLiteral("HIDE Entries"));
}

void tst_CalculatorWindow::typingIntoTextBoxesRunsNothing()
{
    auto* box = find<QLineEdit>(QStringLiteral("txtShowEntries"));
    auto* clearBox = find<QLineEdit>(QStringLiteral("txtClearEntries"));
    press(QStringLiteral("12+"));
    QTest::keyClicks(box, QStringLiteral("abc"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(box->text().contains(QLatin1String("abc")));
    QVERIFY(!shown("lstEntered"));
    QCOMPARE(tape().size(), 1);

    click(QStringLiteral("txtShowEntries"));
    QCOMPARE(box->text(), QStringLiteral("HIDE Entries"));
    QTest::keyClicks(clearBox, QStringLiteral("xyz"));
    QTest::keyClick(clearBox, Qt::Key_Return);
    QCOMPARE(tape().size(), 1);
    QVERIFY(clearBox->text().contains(QLatin1String("xyz")));
}

// ---- The design ---------------------------------------------------------------------------

void tst_CalculatorWindow::loadStepRunsAtFirstShowOnly()
{
    // Built but not yet shown: the design state, the load step still to come.
    CalculatorWindow window(Tavoro3Window, m_services);
    auto* newNum = window.findChild<QLabel*>(QStringLiteral("lblNewNum"));
    auto* dateTimeOff = window.findChild<QAction*>(QStringLiteral("mnuOptionsDateAndTimeOff"));
    QVERIFY(!newNum->isHidden());
    QVERIFY(!dateTimeOff->isChecked());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(newNum->isHidden());
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("lblOp"))->isHidden());
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("lblSpacer(1)"))->isHidden());
    QVERIFY(dateTimeOff->isChecked());
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblDisplay"))->text(), QStringLiteral("0"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblOp"))->text(), QStringLiteral(" "));

    // The first control in the tab order holds the focus.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), window.findChild<QWidget*>(QStringLiteral("txtShowEntries")));

    // Showing the window again does not load it again.
    window.findChild<QAction*>(QStringLiteral("mnuOptionsDateAndTimeOn"))->trigger();
    window.hide();
    window.show();
    QVERIFY(!dateTimeOff->isChecked());
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("lblDateAndTime"))->isVisible());
}

void tst_CalculatorWindow::windowDesign_data()
{
    QTest::addColumn<int>("program");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("title");
    QTest::newRow("Tavoro 3") << 3 << "frmTavoro3" << "Tavoro 3";
    QTest::newRow("Tavoro 2") << 2 << "frmTavoro" << "Tavoro.";
}

void tst_CalculatorWindow::windowDesign()
{
    QFETCH(int, program);
    open(program);
    QTEST(m_window->objectName(), "className");
    QTEST(m_window->windowTitle(), "title");

    // Client area: 9705 x 7395 twips right below the menu bar; the window cannot be resized.
    QWidget* client = m_window->centralWidget();
    QCOMPARE(client->size(), QSize(647, 493));
    QCOMPARE(client->pos(), QPoint(0, m_window->menuBar()->height()));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QCOMPARE(m_window->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));

    // Centred on the screen.
    const QPoint offCentre = m_window->geometry().center() - m_window->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 40, qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));

    // Menus, their items and access keys, no check marks by design of the tape items.
    const QList<QAction*> menus = m_window->menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus[0]->text(), QStringLiteral("&Files"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Options"));
    QCOMPARE(menus[0]->menu()->objectName(), QStringLiteral("mnuFiles"));
    QCOMPARE(menus[1]->menu()->objectName(), QStringLiteral("mnuOptions"));
    QStringList items;
    for (const QAction* menu : menus) {
        for (const QAction* item : menu->menu()->actions())
            items << item->objectName() + QLatin1Char('=') + item->text();
    }
    QCOMPARE(items, (QStringList{"mnuFilesExit=e&Xit", "mnuOptionsShowTape=&Show Tape", "mnuOptionsHideTape=&Hide Tape",
                                 "mnuOptionsDateAndTimeOn=sho&W Date and Time",
                                 "mnuOptionsDateAndTimeOff=h&Ide Date and Time"}));
}

void tst_CalculatorWindow::controlPlaces_data()
{
    QTest::addColumn<int>("program");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place"); // pixels at 96 dpi, from the client area's top left

    // The digit grid: five columns with 4-pixel gaps, the 0 key last in the lower row.
    QTest::newRow("0 key") << 3 << "cmdDigit(0)" << QRect(431, 176, 77, 74);
    QTest::newRow("1 key") << 3 << "cmdDigit(1)" << QRect(107, 98, 77, 74);
    QTest::newRow("9 key") << 3 << "cmdDigit(9)" << QRect(350, 176, 77, 74);
    QTest::newRow("decimal point") << 3 << "cmdDigit(11)" << QRect(431, 29, 77, 66);
    QTest::newRow("plus") << 3 << "cmdOp(0)" << QRect(270, 254, 156, 65);
    QTest::newRow("divide") << 3 << "cmdOp(3)" << QRect(106, 30, 158, 65);
    QTest::newRow("equals") << 3 << "cmdOp(5)" << QRect(431, 254, 77, 64);
    QTest::newRow("big display") << 3 << "lblDisplay" << QRect(107, 332, 388, 49);
    QTest::newRow("upper spacer") << 3 << "lblSpacer(0)" << QRect(494, 332, 13, 49);
    QTest::newRow("(Total)") << 3 << "lblTotal" << QRect(506, 344, 85, 37);
    QTest::newRow("clear") << 3 << "lblClearError" << QRect(32, 90, 55, 54);
    QTest::newRow("ERROR") << 3 << "lblClearError2" << QRect(17, 135, 85, 36);
    QTest::newRow("clear ALL") << 3 << "lblClearAll" << QRect(17, 176, 85, 99);
    QTest::newRow("SHOW Entries") << 3 << "txtShowEntries" << QRect(523, 28, 95, 26);
    QTest::newRow("CLEAR Entries") << 3 << "txtClearEntries" << QRect(523, 2, 94, 25);
    QTest::newRow("tape") << 3 << "lstEntered" << QRect(512, 52, 115, 292);
    QTest::newRow("date and time") << 3 << "lblDateAndTime" << QRect(288, 12, 29, 15);
    // The three places that differ between the programs.
    QTest::newRow("Tavoro 3 new number") << 3 << "lblNewNum" << QRect(108, 392, 388, 46);
    QTest::newRow("Tavoro 3 operator") << 3 << "lblOp" << QRect(504, 402, 40, 37);
    QTest::newRow("Tavoro 3 lower spacer") << 3 << "lblSpacer(1)" << QRect(492, 392, 13, 46);
    QTest::newRow("Tavoro 2 new number") << 2 << "lblNewNum" << QRect(106, 390, 388, 46);
    QTest::newRow("Tavoro 2 operator") << 2 << "lblOp" << QRect(504, 400, 40, 37);
    QTest::newRow("Tavoro 2 lower spacer") << 2 << "lblSpacer(1)" << QRect(492, 390, 13, 46);
}

void tst_CalculatorWindow::controlPlaces()
{
    QFETCH(int, program);
    QFETCH(QString, name);
    open(program);
    QWidget* control = find(name);
    QCOMPARE(control->parentWidget(), m_window->centralWidget());
    QTEST(control->geometry(), "place");
}

void tst_CalculatorWindow::controlLooks_data()
{
    // The row name is the control's name.
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<QColor>("back"); // as painted, away from the text

    const QColor lightYellow(0xFF, 0xFF, 0xC0), lightCyan(0xC0, 0xFF, 0xFF), yellow(0xFF, 0xFF, 0x00);
    const QColor lightGreen(0xC0, 0xFF, 0xC0), pink(0xFF, 0xC0, 0xC0), navy(0x00, 0x00, 0x80);
    const QColor green(0x00, 0x80, 0x00), darkRed(0xC0, 0x00, 0x00), white(Qt::white), black(Qt::black);
    const QColor grey(0xE0, 0xE0, 0xE0);

    QTest::newRow("cmdDigit(1)") << "1" << "" << "Arial Black" << 36.0 << false << lightYellow;
    QTest::newRow("cmdDigit(0)") << "0" << "" << "Arial Black" << 36.0 << false << lightCyan;
    QTest::newRow("cmdDigit(11)") << "." << "DECIMAL point." << "Arial Black" << 48.0 << false << yellow;
    QTest::newRow("cmdOp(0)") << "+" << "PLUS..." << "Arial Black" << 45.75 << false << lightGreen;
    QTest::newRow("cmdOp(1)") << "-" << "MINUS..." << "Arial Black" << 48.0 << false << pink;
    QTest::newRow("cmdOp(2)") << "X" << "TIMES..." << "Arial Black" << 36.0 << false << lightGreen;
    QTest::newRow("cmdOp(3)") << "/" << "DIVIDED BY..." << "Arial Black" << 39.75 << false << pink;
    QTest::newRow("cmdOp(5)") << "=" << "EQUALS..." << "Arial Black" << 36.0 << false << yellow;
    QTest::newRow("lblDisplay") << "0" << "" << "Arial" << 27.75 << false << navy;
    QTest::newRow("lblTotal") << "(Total)" << "" << "Arial" << 15.75 << false << navy;
    QTest::newRow("lblNewNum") << "" << "" << "Arial" << 27.75 << false << green;
    QTest::newRow("lblOp") << " " << "" << "Arial" << 24.0 << false << green;
    QTest::newRow("lblSpacer(0)") << " " << "" << "" << 0.0 << false << navy;
    QTest::newRow("lblClearError") << "     clear" << "Clear LAST ENTRY." << "MS Sans Serif" << 13.5 << false << darkRed;
    QTest::newRow("lblClearError2") << "ERROR" << "Clear LAST ENTRY." << "MS Sans Serif" << 13.5 << true << darkRed;
    QTest::newRow("lblClearAll") << "              clear ALL" << "Clear TOTAL." << "Arial Black" << 14.25 << true << white;
    QTest::newRow("txtShowEntries") << "SHOW  Entries" << " SHOW Entries Tape " << "Arial" << 9.0 << false << black;
    QTest::newRow("txtClearEntries") << "CLEAR Entries " << "CLEAR Entries Tape" << "Arial" << 9.0 << false << white;
    QTest::newRow("lstEntered") << "" << "PREVIOUS ENTRIES" << "MS Sans Serif" << 9.75 << false << grey;
    QTest::newRow("lblDateAndTime") << " " << "" << "MS Sans Serif" << 8.25 << false << grey;
}

void tst_CalculatorWindow::controlLooks()
{
    QFETCH(QString, caption);
    QFETCH(QString, family);
    QFETCH(double, points);
    QWidget* control = find(QString::fromLatin1(QTest::currentDataTag()));

    if (auto* key = qobject_cast<QPushButton*>(control))
        QCOMPARE(key->text(), caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
        QCOMPARE(label->text(), caption);
    else if (auto* box = qobject_cast<QLineEdit*>(control))
        QCOMPARE(box->text(), caption);
    QTEST(control->toolTip(), "tip");

    if (!family.isEmpty()) {
        const QFontInfo font(control->font());
        QVERIFY2(font.family() == family || font.family() == fallbackFamily(family), qPrintable(font.family()));
        QCOMPARE(control->font().pointSizeF(), points);
        QCOMPARE(font.weight(), int(QFont::Bold));
        QTEST(font.underline(), "underline");
    }
    // The face or back colour fills the control exactly: no gradient, no transparency. Text is
    // drawn from the top, so the lower left corner (inside a 2-pixel edge) shows the background.
    QTEST(pixelAt(control, QPoint(4, control->height() - 5)), "back");
}

void tst_CalculatorWindow::clearCaptionsWrapAtBlanks()
{
    // The leading blanks of "     clear" and "              clear ALL" make an empty first line,
    // which moves the words down: no text pixel on the first line, some on the second.
    for (const char* name : {"lblClearError", "lblClearAll"}) {
        auto* label = find<QLabel>(QLatin1String(name));
        const QImage image = label->grab().toImage();
        const QColor back = image.pixelColor(0, 0);
        const int lineHeight = QFontMetrics(label->font()).height();
        const auto inkRows = [&](int top, int bottom) {
            int rows = 0;
            for (int y = top; y < bottom; ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (image.pixelColor(x, y) != back) {
                        ++rows;
                        break;
                    }
                }
            }
            return rows;
        };
        QVERIFY2(inkRows(0, lineHeight) == 0, name);
        QVERIFY2(inkRows(lineHeight, 2 * lineHeight) > 0, name);
    }
}

void tst_CalculatorWindow::maximiseMovesNothing()
{
    QList<QPair<QWidget*, QPoint>> places;
    for (QWidget* control : m_window->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        places.append({control, control->mapTo(m_window.get(), QPoint())});
    m_window->showMaximized();
    QTest::qWait(50);
    for (const auto& [control, place] : places)
        QCOMPARE(control->mapTo(m_window.get(), QPoint()), place);
    QCOMPARE(m_window->centralWidget()->size(), QSize(647, 493));
}

// ---- Tape and date-time options -----------------------------------------------------------

void tst_CalculatorWindow::tapeOptions_data()
{
    QTest::addColumn<QStringList>("events"); // box: click txtShowEntries; show, hide: the menu items
    QTest::addColumn<bool>("listShown");
    QTest::addColumn<bool>("clearBoxShown");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<bool>("showChecked");
    QTest::addColumn<bool>("hideChecked");

    const QString designText = QStringLiteral("SHOW  Entries"), designTip = QStringLiteral(" SHOW Entries Tape ");
    const QString show = QStringLiteral("SHOW Entries"), showTip = QStringLiteral("SHOW Entries Tape");
    const QString hide = QStringLiteral("HIDE Entries"), hideTip = QStringLiteral("HIDE Entries Tape");

    QTest::newRow("loaded") << QStringList{} << false << false << designText << designTip << false << false;
    QTest::newRow("box") << QStringList{"box"} << true << true << hide << hideTip << false << false;
    QTest::newRow("box, box") << QStringList{"box", "box"} << false << false << show << showTip << false << false;
    QTest::newRow("box x3") << QStringList{"box", "box", "box"} << true << true << hide << hideTip << false << false;
    QTest::newRow("Show Tape") << QStringList{"show"} << true << false << designText << designTip << true << false;
    QTest::newRow("Show Tape twice") << QStringList{"show", "show"} << true << false << designText << designTip << true << false;
    QTest::newRow("Show Tape, box") << QStringList{"show", "box"} << false << false << show << showTip << true << false;
    QTest::newRow("Hide Tape") << QStringList{"hide"} << false << false << designText << designTip << false << true;
    QTest::newRow("Hide Tape twice") << QStringList{"hide", "hide"} << false << false << designText << designTip << false << true;
    QTest::newRow("box, Hide Tape") << QStringList{"box", "hide"} << false << true << hide << hideTip << false << true;
    QTest::newRow("box, Hide Tape, box") << QStringList{"box", "hide", "box"} << true << true << hide << hideTip << false << true;
    QTest::newRow("Show Tape, Hide Tape") << QStringList{"show", "hide"} << false << false << designText << designTip << false << true;
}

void tst_CalculatorWindow::tapeOptions()
{
    QFETCH(QStringList, events);
    for (const QString& event : events) {
        if (event == QLatin1String("box"))
            click(QStringLiteral("txtShowEntries"));
        else
            menuItem(event == QLatin1String("show") ? "mnuOptionsShowTape" : "mnuOptionsHideTape")->trigger();
    }
    auto* box = find<QLineEdit>(QStringLiteral("txtShowEntries"));
    QTEST(shown("lstEntered"), "listShown");
    QTEST(shown("txtClearEntries"), "clearBoxShown");
    QTEST(box->text(), "text");
    QTEST(box->toolTip(), "tip");
    QTEST(menuItem("mnuOptionsShowTape")->isChecked(), "showChecked");
    QTEST(menuItem("mnuOptionsHideTape")->isChecked(), "hideChecked");
    QVERIFY(box->isVisible());
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtClearEntries"))->text(), QStringLiteral("CLEAR Entries "));
    QCOMPARE(find(QStringLiteral("txtClearEntries"))->toolTip(), QStringLiteral("CLEAR Entries Tape"));
}

void tst_CalculatorWindow::clearingTheTapeKeepsTheCalculation()
{
    press(QStringLiteral("12+3=X"));
    click(QStringLiteral("txtShowEntries"));
    menuItem("mnuOptionsHideTape")->trigger();
    // The clear box stays visible and empties the hidden list.
    click(QStringLiteral("txtClearEntries"));
    QCOMPARE(tape(), QStringList{});
    QCOMPARE(caption("lblDisplay"), QStringLiteral("15"));
    QCOMPARE(caption("lblOp"), QStringLiteral("X"));
    press(QStringLiteral("2="));
    QCOMPARE(tape(), (QStringList{"X 2", QString(23, QLatin1Char('-')), "=  30"}));
}

void tst_CalculatorWindow::tapeShowsItsNewestLine_data()
{
    QTest::addColumn<QString>("shownBy"); // before the lines arrive, or afterwards by box or menu
    QTest::newRow("shown while appending") << "";
    QTest::newRow("shown afterwards by the box") << "box";
    QTest::newRow("shown afterwards by the menu") << "show";
}

void tst_CalculatorWindow::tapeShowsItsNewestLine()
{
    QFETCH(QString, shownBy);
    if (shownBy.isEmpty())
        menuItem("mnuOptionsShowTape")->trigger();
    press(QStringLiteral("1"));
    for (int i = 0; i < 12; ++i)
        press(QStringLiteral("+1="));
    if (shownBy == QLatin1String("box"))
        click(QStringLiteral("txtShowEntries"));
    else if (shownBy == QLatin1String("show"))
        menuItem("mnuOptionsShowTape")->trigger();

    auto* list = find<QListWidget>(QStringLiteral("lstEntered"));
    QCOMPARE(list->count(), 37);
    QCOMPARE(list->item(36)->text(), QStringLiteral("=  13"));
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(36))));
    QVERIFY(!list->viewport()->rect().intersects(list->visualItemRect(list->item(0))));
}

void tst_CalculatorWindow::dateTimeOptions_data()
{
    QTest::addColumn<QStringList>("events"); // on, off: the menu items
    QTest::addColumn<int>("blnDateAndTime");
    QTest::addColumn<bool>("timerEnabled");
    QTest::addColumn<bool>("labelShown");
    QTest::addColumn<bool>("onChecked");
    QTest::addColumn<bool>("offChecked");

    QTest::newRow("loaded") << QStringList{} << 0 << false << false << false << true;
    QTest::newRow("on") << QStringList{"on"} << -1 << true << true << true << false;
    QTest::newRow("on twice") << QStringList{"on", "on"} << -1 << true << true << true << false;
    QTest::newRow("on, off") << QStringList{"on", "off"} << 0 << false << false << false << true;
    QTest::newRow("off") << QStringList{"off"} << 0 << false << false << false << true;
    QTest::newRow("on, off, on") << QStringList{"on", "off", "on"} << -1 << true << true << true << false;
}

void tst_CalculatorWindow::dateTimeOptions()
{
    QFETCH(QStringList, events);
    for (const QString& event : events)
        menuItem(event == QLatin1String("on") ? "mnuOptionsDateAndTimeOn" : "mnuOptionsDateAndTimeOff")->trigger();
    auto* timer = find<QTimer>(QStringLiteral("tmrCalc"));
    QTEST(int(m_window->engine().state().blnDateAndTime), "blnDateAndTime");
    QTEST(timer->isActive(), "timerEnabled");
    QCOMPARE(timer->interval(), 1000);
    QTEST(shown("lblDateAndTime"), "labelShown");
    QTEST(menuItem("mnuOptionsDateAndTimeOn")->isChecked(), "onChecked");
    QTEST(menuItem("mnuOptionsDateAndTimeOff")->isChecked(), "offChecked");
    // No tick has come yet: the caption is still the design's single blank.
    QCOMPARE(caption("lblDateAndTime"), QStringLiteral(" "));
}

void tst_CalculatorWindow::timerWritesTheDateAndTime()
{
    auto* label = find<QLabel>(QStringLiteral("lblDateAndTime"));
    const QPoint topLeft = label->pos();
    menuItem("mnuOptionsDateAndTimeOn")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), QString::fromStdString(m_services.dateTime), 2500);
    // The label has grown to its caption, keeping its left and top edges.
    QCOMPARE(label->pos(), topLeft);
    QVERIFY(label->width() >= QFontMetrics(label->font()).horizontalAdvance(label->text()));

    // Switched off, the label keeps its last caption for the next time it is shown.
    menuItem("mnuOptionsDateAndTimeOff")->trigger();
    m_services.dateTime = "later";
    QTest::qWait(1200);
    menuItem("mnuOptionsDateAndTimeOn")->trigger();
    QCOMPARE(label->text(), QStringLiteral("12/8/2026 11:02:03 PM"));
}

// ---- End ----------------------------------------------------------------------------------

void tst_CalculatorWindow::exitEndsTheEventLoop_data()
{
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("Files, eXit") << false;
    QTest::newRow("close button") << true;
}

void tst_CalculatorWindow::exitEndsTheEventLoop()
{
    QFETCH(bool, byCloseButton);
    // Another hidden window, like the splash window, must not keep the program alive.
    QWidget hiddenSplash;
    hiddenSplash.show();
    hiddenSplash.hide();

    QTimer::singleShot(0, m_window.get(), [this, byCloseButton] {
        if (byCloseButton)
            m_window->close();
        else
            menuItem("mnuFilesExit")->trigger();
    });
    // A watchdog, should the window fail to end the loop.
    QTimer::singleShot(5000, m_window.get(), [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
}

QTEST_MAIN(tst_CalculatorWindow)
#include "tst_calculatorwindow.moc"
