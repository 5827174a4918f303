// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"

#include "calculatorwindow.h"
#include "splashwindow.h"

#include <QApplication>

namespace tavoro {

Program::Program(const ProgramDescription& description, Services& services)
    : m_description(description)
    , m_services(services)
    // The splash window is mapped before the fonts and the logo load.
    , m_splash(std::make_unique<SplashWindow>(description.splash,
          [this]() -> QWidget& { return calculatorWindow(); }, nullptr, SplashWindow::Finish::AfterShow))
{
    // While the splash window waits for its button, once it is on the screen.
    QObject::connect(m_splash.get(), &SplashWindow::firstPainted, m_splash.get(),
        [this] { prepareCalculatorWindow(); }, Qt::QueuedConnection);
}

Program::~Program() = default;

CalculatorWindow& Program::calculatorWindow()
{
    if (!m_calculator) {
        m_calculator = m_prepared ? std::move(m_prepared)
                                  : std::make_unique<CalculatorWindow>(m_description.calculator, m_services);
    }
    return *m_calculator;
}

void Program::prepareCalculatorWindow()
{
    if (m_calculator || m_prepared)
        return;
    m_prepared = std::make_unique<CalculatorWindow>(m_description.calculator, m_services);
    // Its style sheets are applied now rather than when it is shown.
    m_prepared->ensurePolished();
}

void Program::start()
{
    m_splash->show();
    // Without a window manager nothing else gives the window the keyboard.
    m_splash->activateWindow();
}

void setUpApplication(const ProgramDescription& description)
{
    // The display name follows the application name. Setting it as well would make Qt append it
    // to every other window caption ("Tavoro. - Tavoro 2").
    QCoreApplication::setApplicationName(QString::fromLatin1(description.title));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion));
    QApplication::setWindowIcon(windowIcon());
}

namespace {

template <std::size_t N>
QIcon iconOfSizes(const std::array<int, N>& sizes)
{
    QIcon icon;
    for (int size : sizes)
        icon.addFile(QStringLiteral(":/tavoro/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

QIcon programIcon() { return iconOfSizes(ProgramIconSizes); }

QIcon windowIcon() { return iconOfSizes(WindowIconSizes); }

} // namespace tavoro
