#pragma once
// The splash window, the window each program starts with: a plain frame holding the product name,
// the slogan, the logo, the version label and the one button that starts the calculator.
// Everything that differs between the programs comes from its `SplashVariant`; the button behaves
// the same in both.

#include "programdescription.h"

#include <QWidget>

#include <functional>

class QCloseEvent;

namespace tavoro {

class SplashWindow : public QWidget {
    Q_OBJECT

public:
    // `calculatorWindow` returns the program's calculator window, creating it on first use.
    SplashWindow(const SplashVariant& variant, std::function<QWidget&()> calculatorWindow,
        QWidget* parent = nullptr);
    ~SplashWindow() override;

    const SplashVariant& variant() const { return m_variant; }

    // The start button: hides this window (it stays alive, it is never shown again) and shows
    // the calculator window.
    void cmdStartTavoro_Click();

protected:
    // Closing the splash window, possible only before the calculator window exists, ends the
    // program.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    // The load step of a splash window that has one: show the program title in lblProductName.
    void Form_Load();

    SplashVariant m_variant;
    std::function<QWidget&()> m_calculatorWindow;
};

} // namespace tavoro
