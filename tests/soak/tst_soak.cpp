// SPDX-License-Identifier: GPL-3.0-or-later
// The soak: a long, seeded run of random clicks on every control of a real calculator window on
// the offscreen platform, with services that answer every message box at once. After every click
// the window's labels and tape must agree with its engine; at the end the heap may hold no more
// than the tape's lines explain.
//
//   TAVORO_SOAK_CLICKS  clicks to make (default 100000; CTest sets a smaller number)
//   TAVORO_SOAK_SEED    seed of the random clicks (default 20261208); a failure names it, and the
//                       same seed and count replay the same clicks

#include "windowprobe.h"

#include "calculatorwindow.h"
#include "programs.h"
#include "recordingservices.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <algorithm>
#include <random>
#include <vector>

using namespace tavoro;

namespace {

quint64 setting(const char* name, quint64 fallback)
{
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

enum class Action { Click, MenuItem, TapeItem, Typing };

struct Control {
    const char* name;
    Action action;
    int weight; // how often it is picked, against the sum of all weights
    QObject* object = nullptr;
};

// Every control a person can use, weighted roughly as the calculator is used: mostly digits and
// operators. Files, e&Xit is left out, since it ends the program (the window tests cover it), and
// so is the timer, which ticks on its own while the date and time are shown.
std::vector<Control> everyControl()
{
    static const char* const Digits[] = {"cmdDigit(0)", "cmdDigit(1)", "cmdDigit(2)", "cmdDigit(3)",
                                         "cmdDigit(4)", "cmdDigit(5)", "cmdDigit(6)", "cmdDigit(7)",
                                         "cmdDigit(8)", "cmdDigit(9)", "cmdDigit(11)"};
    static const char* const Operators[] = {"cmdOp(0)", "cmdOp(1)", "cmdOp(2)", "cmdOp(3)", "cmdOp(5)"};
    std::vector<Control> controls;
    for (const char* name : Digits)
        controls.push_back({name, Action::Click, 24});
    for (const char* name : Operators)
        controls.push_back({name, Action::Click, 20});
    // Emptying the tape is rare, so that it grows to hundreds of lines between two clears.
    controls.insert(controls.end(), {
        {"lblClearAll", Action::Click, 8},
        {"lblClearError", Action::Click, 8},
        {"lblClearError2", Action::Click, 8},
        {"txtShowEntries", Action::Click, 12},
        {"txtClearEntries", Action::Click, 1},
        {"mnuOptionsShowTape", Action::MenuItem, 4},
        {"mnuOptionsHideTape", Action::MenuItem, 4},
        {"mnuOptionsDateAndTimeOn", Action::MenuItem, 4},
        {"mnuOptionsDateAndTimeOff", Action::MenuItem, 4},
        {"lstEntered", Action::TapeItem, 12},
        {"txtShowEntries", Action::Typing, 4},
        {"txtClearEntries", Action::Typing, 4},
    });
    return controls;
}

// A few characters to type into a text box, from a small fixed alphabet so that the font caches
// settle during the warm-up.
QString someText(std::mt19937_64& random)
{
    static const QString Alphabet = QStringLiteral("aZ9 .+é€漢");
    QString text;
    for (auto n = 1 + random() % 4; n > 0; --n)
        text += Alphabet[static_cast<qsizetype>(random() % Alphabet.size())];
    return text;
}

// Clicks `control` as a person would. False when it cannot be clicked now, because it is hidden.
bool use(const Control& control, std::mt19937_64& random)
{
    switch (control.action) {
    case Action::Click: {
        auto* widget = static_cast<QWidget*>(control.object);
        if (!widget->isVisible())
            return false;
        QTest::mouseClick(widget, Qt::LeftButton);
        return true;
    }
    case Action::MenuItem:
        static_cast<QAction*>(control.object)->trigger();
        return true;
    case Action::TapeItem: {
        auto* list = static_cast<QListWidget*>(control.object);
        if (!list->isVisible())
            return false;
        const QRect area = list->viewport()->rect();
        const QPoint at(area.width() / 2, static_cast<int>(random() % std::max(1, area.height())));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        return true;
    }
    case Action::Typing: {
        auto* box = static_cast<QLineEdit*>(control.object);
        if (!box->isVisible())
            return false;
        typeInto(box, someText(random));
        return true;
    }
    }
    return false;
}

bool isOperator(const Control& control) { return QByteArray(control.name).startsWith("cmdOp("); }

} // namespace

class tst_Soak : public QObject {
    Q_OBJECT

private slots:
    void randomClicksKeepWindowAndEngineInStep();
};

void tst_Soak::randomClicksKeepWindowAndEngineInStep()
{
    const quint64 clicks = setting("TAVORO_SOAK_CLICKS", 100000);
    const quint64 seed = setting("TAVORO_SOAK_SEED", 20261208);
    qInfo("soak: %llu clicks, seed %llu", clicks, seed);

    RecordingServices services;
    CalculatorWindow window(Tavoro3.calculator, services);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* tape = window.findChild<QListWidget*>(QStringLiteral("lstEntered"));
    QVERIFY(tape != nullptr);

    std::vector<Control> controls = everyControl();
    std::vector<int> weights;
    for (Control& control : controls) {
        control.object = window.findChild<QObject*>(QLatin1String(control.name));
        QVERIFY2(control.object != nullptr, control.name);
        weights.push_back(control.weight);
    }
    std::mt19937_64 random(seed);
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());

    // The heap is measured once the warm-up has filled Qt's caches (fonts, glyphs, styles).
    const quint64 warmUp = std::min<quint64>(2000, clicks / 10);
    std::size_t heapBefore = 0;
    std::size_t mostLines = 0;
    const long residentBefore = residentKiB();
    QElapsedTimer clock;
    clock.start();

    for (quint64 done = 0; done < clicks;) {
        if (done == warmUp) {
            QCoreApplication::processEvents();
            heapBefore = heapInUse();
        }
        const Control& control = controls[pick(random)];
        const int beepsBefore = services.beeps;
        const std::size_t messagesBefore = services.messages.size();
        if (!use(control, random))
            continue;
        ++done;

        QString wrong = disagreement(window, done % 1000 == 0);
        if (services.beeps - beepsBefore != (isOperator(control) ? 1 : 0))
            wrong += QStringLiteral("%1 beeps; ").arg(services.beeps - beepsBefore);
        if (services.messages.size() > messagesBefore + 1)
            wrong += QStringLiteral("more than one message; ");
        if (!wrong.isEmpty()) {
            QFAIL(qPrintable(QStringLiteral("click %1 on %2 (seed %3): %4")
                                 .arg(done)
                                 .arg(QLatin1String(control.name))
                                 .arg(seed)
                                 .arg(wrong)));
        }
        mostLines = std::max(mostLines, static_cast<std::size_t>(tape->count()));
        // Let the window paint, the timer tick and deferred work run, as between a person's clicks.
        if (done % 64 == 0)
            QCoreApplication::processEvents();
        // The message list would grow with the run; only its growth per click matters here.
        if (services.messages.size() > 1000)
            services.messages.clear();
    }
    QCoreApplication::processEvents();
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    const std::size_t heapAfter = heapInUse();
    const auto lines = static_cast<std::size_t>(tape->count());
    const QString finalCheck = disagreement(window, true);
    QVERIFY2(finalCheck.isEmpty(), qPrintable(finalCheck));

    // Empty the tape as a person would; what is left beyond the warm-up is not the tape's. The
    // "SHOW Entries" box toggles, so it may take two clicks to bring "CLEAR Entries" into view.
    auto* showEntries = window.findChild<QWidget*>(QStringLiteral("txtShowEntries"));
    auto* clearEntries = window.findChild<QWidget*>(QStringLiteral("txtClearEntries"));
    for (int i = 0; i < 2 && !clearEntries->isVisible(); ++i)
        QTest::mouseClick(showEntries, Qt::LeftButton);
    QTest::mouseClick(clearEntries, Qt::LeftButton);
    QCOMPARE(tape->count(), 0);
    QCoreApplication::processEvents();
    const std::size_t heapEmptied = heapInUse();

    const auto kib = [](double bytes) { return bytes / 1024.0; };
    const double growth = static_cast<double>(heapAfter) - static_cast<double>(heapBefore);
    const double tapeBytes = static_cast<double>(heapAfter) - static_cast<double>(heapEmptied);
    const double rest = static_cast<double>(heapEmptied) - static_cast<double>(heapBefore);
    qInfo("soak: %llu clicks in %.1f s: %.0f clicks/s", clicks, seconds,
          static_cast<double>(clicks) / seconds);
    qInfo("soak: heap after the warm-up %.0f KiB, after the run %+.0f KiB with %zu tape lines (most %zu), "
          "%+.0f KiB once the tape is emptied; resident %ld -> %ld KiB",
          kib(static_cast<double>(heapBefore)), kib(growth), lines, mostLines, kib(rest), residentBefore,
          residentKiB());
    if (lines > 0)
        qInfo("soak: memory per tape line %.0f bytes", tapeBytes / static_cast<double>(lines));

    // Generous bounds: a tape line costs a few hundred bytes (its text in the engine and in the
    // list, the list item); the arrays that held the lines keep their capacity once emptied.
    // Everything else must come back to where it was after the warm-up, give or take 1 MiB.
    constexpr double Slack = 1024.0 * 1024.0;
    constexpr double BytesPerLine = 2048.0;
    constexpr double SlotBytesPerLine = 64.0;
    QVERIFY2(growth <= Slack + BytesPerLine * static_cast<double>(lines),
             qPrintable(QStringLiteral("the heap grew by %1 KiB, more than %2 tape lines explain")
                            .arg(kib(growth))
                            .arg(lines)));
    QVERIFY2(rest <= Slack + SlotBytesPerLine * static_cast<double>(mostLines),
             qPrintable(QStringLiteral("with the tape emptied the heap still holds %1 KiB more than "
                                       "after the warm-up")
                            .arg(kib(rest))));
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
