// SPDX-License-Identifier: GPL-3.0-or-later
// tavoro-window: the calculator window on its own, without a splash window, for trying the window
// out and taking screenshots. With the argument "2" it shows Tavoro 2's variant, else Tavoro 3's.

#include "calculatorwindow.h"
#include "programs.h"
#include "qtservices.h"

#include <QApplication>

#include <cstring>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool tavoro2 = argc > 1 && std::strcmp(argv[1], "2") == 0;
    const tavoro::ProgramDescription& program = tavoro2 ? tavoro::Tavoro2 : tavoro::Tavoro3;
    QApplication::setApplicationDisplayName(QString::fromLatin1(program.title));

    tavoro::QtServices services;
    tavoro::CalculatorWindow window(program.calculator, services);
    window.show();
    window.activateWindow();
    return QApplication::exec();
}
