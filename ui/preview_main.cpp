// tavoro-window: the calculator window on its own, without a splash window, for trying the window
// out and taking screenshots. With the argument "2" it shows Tavoro 2's variant, else Tavoro 3's.

#include "calculatorwindow.h"
#include "qtservices.h"

#include <QApplication>

#include <cstring>

namespace {

constexpr tavoro::CalculatorVariant Tavoro3Window{
    "frmTavoro3", "Tavoro 3", {1620, 5880, 5820, 690}, {7560, 6030, 600, 555}, {7380, 5880, 195, 690}};
constexpr tavoro::CalculatorVariant Tavoro2Window{
    "frmTavoro", "Tavoro.", {1590, 5850, 5820, 690}, {7560, 6000, 600, 555}, {7380, 5850, 195, 690}};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool tavoro2 = argc > 1 && std::strcmp(argv[1], "2") == 0;
    QApplication::setApplicationDisplayName(QString::fromLatin1(tavoro2 ? "Tavoro 2" : "Tavoro 3"));

    tavoro::QtServices services;
    tavoro::CalculatorWindow window(tavoro2 ? Tavoro2Window : Tavoro3Window, services);
    window.show();
    window.activateWindow();
    return QApplication::exec();
}
