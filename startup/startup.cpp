// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup.h"

#include "program.h"
#include "qtservices.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

namespace tavoro {

namespace {

// Where no display can be reached (a console, an ssh session without forwarding), Qt's platform
// plugin cannot start: Qt warns once per plugin it tried, then aborts with a fatal message that
// suggests reinstalling. While the QApplication is built, Qt's messages are therefore held back;
// on that fatal message the program says instead, in one line, what is missing and ends with
// status 1. Once the application is built, the held messages go out as usual. Qt still chooses
// the platform itself (xcb, wayland, QT_QPA_PLATFORM, -platform).
constexpr char NoPlatformMessage[] = "no Qt platform plugin could be initialized";

struct HeldMessage {
    QtMsgType type;
    // The context's texts are string literals in Qt's code, so the pointers stay valid.
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};

struct StartMessages {
    std::mutex mutex; // Qt may log from its own threads while the application starts
    const char* programTitle = nullptr;
    QtMessageHandler previous = nullptr;
    bool holding = false;
    std::vector<HeldMessage> held;
};

StartMessages& startMessages()
{
    static StartMessages messages;
    return messages;
}

void releaseStartMessages()
{
    StartMessages& messages = startMessages();
    std::vector<HeldMessage> held;
    {
        const std::lock_guard lock(messages.mutex);
        if (!std::exchange(messages.holding, false))
            return;
        qInstallMessageHandler(messages.previous);
        held.swap(messages.held);
    }
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(message.file, message.line, message.function, message.category);
        messages.previous(message.type, context, message.text);
    }
}

void holdStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    StartMessages& messages = startMessages();
    {
        std::unique_lock lock(messages.mutex);
        if (!messages.holding) { // a message from another thread, logged while the hold ended
            lock.unlock();
            messages.previous(type, context, text);
            return;
        }
        if (type == QtFatalMsg && text.contains(QLatin1String(NoPlatformMessage))) {
            std::fprintf(stderr,
                "%s: no display found. Start it from a desktop session, or set DISPLAY (X11) or "
                "WAYLAND_DISPLAY (Wayland).\n",
                messages.programTitle);
            // The application is half built: neither its destructors nor the exit handlers may run.
            std::_Exit(1);
        }
        messages.held.push_back({type, context.file, context.line, context.function, context.category, text});
    }
    // Any other fatal message ends the program once the handler returns: show everything first.
    if (type == QtFatalMsg)
        releaseStartMessages();
}

void holdStartMessages(const char* programTitle)
{
    StartMessages& messages = startMessages();
    const std::lock_guard lock(messages.mutex);
    messages.programTitle = programTitle;
    messages.previous = qInstallMessageHandler(holdStartMessage);
    messages.holding = true;
}

} // namespace

int runProgram(const ProgramDescription& description, int& argc, char* argv[])
{
    holdStartMessages(description.title);
    QApplication application(argc, argv);
    releaseStartMessages();
    setUpApplication(description);
    QtServices services;
    Program program(description, services);
    program.start();
    return QApplication::exec();
}

} // namespace tavoro
