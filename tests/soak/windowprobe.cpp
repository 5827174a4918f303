// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowprobe.h"

#include "calculatorwindow.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <stdexcept>

#if defined(__SANITIZE_ADDRESS__)
#define TAVORO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVORO_ASAN 1
#endif
#endif

#ifdef TAVORO_ASAN
// AddressSanitizer's count of live heap bytes. GCC's libasan has it, but GCC ships no
// sanitizer/allocator_interface.h to declare it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace tavoro {

namespace {

template <typename T>
T* child(CalculatorWindow& window, const char* name)
{
    T* object = window.findChild<T*>(QLatin1String(name));
    if (object == nullptr)
        throw std::logic_error(std::string("the calculator window has no ") + name);
    return object;
}

QString caption(CalculatorWindow& window, const char* name) { return child<QLabel>(window, name)->text(); }

bool shown(CalculatorWindow& window, const char* name) { return child<QWidget>(window, name)->isVisible(); }

bool checked(CalculatorWindow& window, const char* name) { return child<QAction>(window, name)->isChecked(); }

QString fromEngine(const std::string& text) { return QString::fromStdString(text); }

} // namespace

WindowView viewOf(CalculatorWindow& window)
{
    WindowView view;
    view.lblDisplay = caption(window, "lblDisplay");
    view.lblNewNum = caption(window, "lblNewNum");
    view.lblOp = caption(window, "lblOp");
    view.lblNewNumShown = shown(window, "lblNewNum");
    view.lblOpShown = shown(window, "lblOp");
    view.lblSpacer1Shown = shown(window, "lblSpacer(1)");
    const auto* list = child<QListWidget>(window, "lstEntered");
    for (int i = 0; i < list->count(); ++i)
        view.tape << list->item(i)->text();
    view.tapeShown = list->isVisible();
    view.txtClearEntriesShown = shown(window, "txtClearEntries");
    view.txtShowEntries = child<QLineEdit>(window, "txtShowEntries")->text();
    view.txtClearEntries = child<QLineEdit>(window, "txtClearEntries")->text();
    view.showTapeChecked = checked(window, "mnuOptionsShowTape");
    view.hideTapeChecked = checked(window, "mnuOptionsHideTape");
    view.dateTimeOnChecked = checked(window, "mnuOptionsDateAndTimeOn");
    view.dateTimeOffChecked = checked(window, "mnuOptionsDateAndTimeOff");
    view.dateTimeShown = shown(window, "lblDateAndTime");
    view.windowSize = window.size();
    return view;
}

QString disagreement(CalculatorWindow& window, bool wholeTape)
{
    const DisplayState& display = window.engine().display();
    QString found;
    const auto compare = [&found](const char* what, const QString& shown, const QString& held) {
        if (shown != held)
            found += QStringLiteral("%1 shows \"%2\" but the engine holds \"%3\"; ").arg(what, shown, held);
    };
    const auto compareShown = [&found](const char* what, bool shown, bool held) {
        if (shown != held)
            found += QStringLiteral("%1 is %2 but the engine has it %3; ")
                         .arg(what, shown ? "shown" : "hidden", held ? "shown" : "hidden");
    };
    compare("lblDisplay", caption(window, "lblDisplay"), fromEngine(display.lblDisplay));
    compare("lblNewNum", caption(window, "lblNewNum"), fromEngine(display.lblNewNum));
    compare("lblOp", caption(window, "lblOp"), fromEngine(display.lblOp));
    compareShown("lblNewNum", shown(window, "lblNewNum"), display.lblNewNumVisible);
    compareShown("lblOp", shown(window, "lblOp"), display.lblOpVisible);
    compareShown("lblSpacer(1)", shown(window, "lblSpacer(1)"), display.lblSpacer1Visible);

    const auto* list = child<QListWidget>(window, "lstEntered");
    const auto& tape = display.lstEntered;
    if (static_cast<std::size_t>(list->count()) != tape.size()) {
        found += QStringLiteral("the tape shows %1 lines but the engine holds %2; ")
                     .arg(list->count())
                     .arg(tape.size());
        return found;
    }
    const std::size_t from = wholeTape || tape.empty() ? 0 : tape.size() - 1;
    for (std::size_t i = from; i < tape.size(); ++i) {
        const QString line = list->item(static_cast<int>(i))->text();
        if (line != fromEngine(tape[i]))
            found += QStringLiteral("tape line %1 shows \"%2\" but the engine holds \"%3\"; ")
                         .arg(i + 1)
                         .arg(line, fromEngine(tape[i]));
    }
    return found;
}

void typeInto(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character beyond the first plane travels as its two surrogates in one key press.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

std::size_t heapInUse()
{
#ifdef TAVORO_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

} // namespace tavoro
