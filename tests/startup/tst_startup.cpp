// SPDX-License-Identifier: GPL-3.0-or-later
// A running program, driven as its user would: the start button hands over from the splash window
// to the calculator window, and the program ends by closing the splash window, by Exit, or by
// closing the calculator window. Every test runs over both programs with recorded services, so no
// message box can wait for a click.

#include "calculatorwindow.h"
#include "designfont.h"
#include "program.h"
#include "programs.h"
#include "recordingservices.h"
#include "splashwindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

using namespace tavoro;

namespace {

const ProgramDescription& programNamed(const QString& title)
{
    return title == QLatin1String("Tavoro 2") ? Tavoro2 : Tavoro3;
}

// Runs the event loop as the program's entry does, doing `step` once it runs. Returns whether
// the loop ended by itself; a watchdog ends it after five seconds otherwise.
bool loopEndsAfter(const std::function<void()>& step)
{
    bool watchdogFired = false;
    QObject context;
    QTimer::singleShot(0, &context, step);
    QTimer::singleShot(5000, &context, [&watchdogFired] {
        watchdogFired = true;
        QCoreApplication::exit(1);
    });
    const int exitCode = QApplication::exec();
    return !watchdogFired && exitCode == 0;
}

QList<QWidget*> visibleWindows()
{
    QList<QWidget*> visible;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            visible << window;
    }
    return visible;
}

} // namespace

class tst_Startup : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void splashIsCompleteWhenStarted_data() { addProgramRows(); }
    void splashIsCompleteWhenStarted();
    void calculatorWindowIsBuiltWhileSplashWaits_data() { addProgramRows(); }
    void calculatorWindowIsBuiltWhileSplashWaits();
    void startButtonHandsOverToCalculator_data() { addProgramRows(); }
    void startButtonHandsOverToCalculator();
    void calculatorWindowIsTheProgramsOnly_data() { addProgramRows(); }
    void calculatorWindowIsTheProgramsOnly();
    void closingSplashEndsProgram_data() { addProgramRows(); }
    void closingSplashEndsProgram();
    void exitEndsProgramWithHiddenSplash_data() { addProgramRows(); }
    void exitEndsProgramWithHiddenSplash();
    void closingCalculatorEndsProgram_data() { addProgramRows(); }
    void closingCalculatorEndsProgram();

private:
    static void addProgramRows()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("Tavoro 3") << QStringLiteral("Tavoro 3");
        QTest::newRow("Tavoro 2") << QStringLiteral("Tavoro 2");
    }
    // Starts the program of the current row: program title set, splash window shown.
    Program& startProgram();
    void pressStart();

    RecordingServices m_services;
    std::unique_ptr<Program> m_program;
};

void tst_Startup::init()
{
    m_services.reset();
}

void tst_Startup::cleanup()
{
    m_program.reset();
    QCOMPARE(visibleWindows(), QList<QWidget*>());
}

Program& tst_Startup::startProgram()
{
    QFETCH(QString, program);
    const ProgramDescription& description = programNamed(program);
    setUpApplication(description);
    m_program = std::make_unique<Program>(description, m_services);
    m_program->start();
    return *m_program;
}

void tst_Startup::pressStart()
{
    auto* start = m_program->splashWindow().findChild<QPushButton*>(QStringLiteral("cmdStartTavoro"));
    QVERIFY(start);
    QTest::mouseClick(start, Qt::LeftButton);
}

// The program shows its splash window before the fonts load and finishes the controls at once,
// before the event loop can paint anything.
void tst_Startup::splashIsCompleteWhenStarted()
{
    Program& running = startProgram();
    const SplashWindow& splash = running.splashWindow();
    QVERIFY(splash.isVisible());
    QVERIFY(!splash.findChild<QLabel*>(QStringLiteral("imgLogo"))->pixmap().isNull());
    const auto* platform = splash.findChild<QLabel*>(QStringLiteral("lblPlatform"));
    QCOMPARE(platform->font(), designFont(QStringLiteral("Arial"), 11.25));
    QCOMPARE(platform->size(), platform->sizeHint());
    const auto* start = splash.findChild<QPushButton*>(QStringLiteral("cmdStartTavoro"));
    QCOMPARE(start->font(), designFont(QStringLiteral("MS Sans Serif"), 12));
}

// Once the splash window is painted, the calculator window is built, hidden and not yet loaded;
// the start button then shows that very window, and its load step runs only now.
void tst_Startup::calculatorWindowIsBuiltWhileSplashWaits()
{
    const auto calculators = [] {
        QList<CalculatorWindow*> found;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* calculator = qobject_cast<CalculatorWindow*>(window))
                found << calculator;
        }
        return found;
    };
    Program& running = startProgram();
    QVERIFY(calculators().isEmpty());
    QVERIFY(QTest::qWaitForWindowExposed(&running.splashWindow()));
    QTRY_COMPARE(calculators().size(), 1);
    CalculatorWindow* prepared = calculators().front();
    QVERIFY(prepared->isHidden());
    QCOMPARE(visibleWindows(), QList<QWidget*>{&running.splashWindow()});
    // Built ahead, it is not the program's window until the start button asks for it.
    QVERIFY(!running.hasCalculatorWindow());
    // The load step (which hides lblNewNum) has not run.
    QVERIFY(!prepared->findChild<QWidget*>(QStringLiteral("lblNewNum"))->isHidden());

    pressStart();
    QCOMPARE(&running.calculatorWindow(), prepared);
    QCOMPARE(calculators().size(), 1);
    QVERIFY(prepared->isVisible());
    QVERIFY(prepared->findChild<QWidget*>(QStringLiteral("lblNewNum"))->isHidden());
    QCOMPARE(prepared->findChild<QLabel*>(QStringLiteral("lblDisplay"))->text(), QStringLiteral("0"));
}

void tst_Startup::startButtonHandsOverToCalculator()
{
    QFETCH(QString, program);
    struct Expected {
        const char* className;
        const char* caption;
        QRect lblNewNum, lblOp, lblSpacer1;
    };
    const Expected expected = program == QLatin1String("Tavoro 3")
        ? Expected{"frmTavoro3", "Tavoro 3", {108, 392, 388, 46}, {504, 402, 40, 37}, {492, 392, 13, 46}}
        : Expected{"frmTavoro", "Tavoro.", {106, 390, 388, 46}, {504, 400, 40, 37}, {492, 390, 13, 46}};

    Program& running = startProgram();
    QCOMPARE(QCoreApplication::applicationName(), program);
    QCOMPARE(QGuiApplication::applicationDisplayName(), program);
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.00"));
    QVERIFY(QTest::qWaitForWindowExposed(&running.splashWindow()));
    QVERIFY(!running.hasCalculatorWindow());

    QPointer<SplashWindow> splash = &running.splashWindow();
    pressStart();

    // The splash window is hidden, not closed: it lives on, without a native window once the
    // click has been handled.
    QVERIFY(splash);
    QVERIFY(splash->isHidden());
    QTRY_VERIFY(!splash->testAttribute(Qt::WA_WState_Created));
    QVERIFY(splash->findChild<QPushButton*>(QStringLiteral("cmdStartTavoro")));
    QVERIFY(running.hasCalculatorWindow());
    CalculatorWindow& calculator = running.calculatorWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&calculator));
    QVERIFY(QTest::qWaitForWindowActive(&calculator));
    QCOMPARE(visibleWindows(), QList<QWidget*>{&calculator});

    QCOMPARE(calculator.objectName(), QString::fromLatin1(expected.className));
    QCOMPARE(calculator.windowTitle(), QString::fromLatin1(expected.caption));
    QCOMPARE(calculator.findChild<QLabel*>(QStringLiteral("lblDisplay"))->text(), QStringLiteral("0"));
    QCOMPARE(calculator.findChild<QWidget*>(QStringLiteral("lblNewNum"))->geometry(), expected.lblNewNum);
    QCOMPARE(calculator.findChild<QWidget*>(QStringLiteral("lblOp"))->geometry(), expected.lblOp);
    QCOMPARE(calculator.findChild<QWidget*>(QStringLiteral("lblSpacer(1)"))->geometry(), expected.lblSpacer1);
    // Both windows wear the program icon, in its small sizes.
    QCOMPARE(calculator.windowIcon().availableSizes(), windowIcon().availableSizes());
    QCOMPARE(calculator.windowIcon().cacheKey(), splash->windowIcon().cacheKey());
    QCOMPARE(m_services.messages, std::vector<std::string>{});
}

void tst_Startup::calculatorWindowIsTheProgramsOnly()
{
    Program& running = startProgram();
    CalculatorWindow* first = &running.calculatorWindow();
    QCOMPARE(&running.calculatorWindow(), first);
    // The start button uses that same window.
    pressStart();
    QCOMPARE(&running.calculatorWindow(), first);
    QVERIFY(first->isVisible());
    const auto windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                 [](const QWidget* w) { return qobject_cast<const CalculatorWindow*>(w) != nullptr; }),
        1);
}

void tst_Startup::closingSplashEndsProgram()
{
    Program& running = startProgram();
    QVERIFY(QTest::qWaitForWindowExposed(&running.splashWindow()));
    QVERIFY(loopEndsAfter([&running] { running.splashWindow().close(); }));
    QVERIFY(!running.hasCalculatorWindow());
}

// The start button, pressed while the program runs, leaves it running with the splash window
// hidden; Exit then ends it.
void tst_Startup::exitEndsProgramWithHiddenSplash()
{
    Program& running = startProgram();
    bool runningAfterStart = false;
    QVERIFY(loopEndsAfter([this, &running, &runningAfterStart] {
        pressStart();
        QTimer::singleShot(200, &running.calculatorWindow(), [&running, &runningAfterStart] {
            runningAfterStart = running.splashWindow().isHidden() && running.calculatorWindow().isVisible();
            running.calculatorWindow().findChild<QAction*>(QStringLiteral("mnuFilesExit"))->trigger();
        });
    }));
    QVERIFY(runningAfterStart);
}

void tst_Startup::closingCalculatorEndsProgram()
{
    Program& running = startProgram();
    pressStart();
    QVERIFY(loopEndsAfter([&running] { running.calculatorWindow().close(); }));
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
