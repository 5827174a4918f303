// SPDX-License-Identifier: GPL-3.0-or-later
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

class ScreenFitter;

class SplashWindow : public QWidget {
    Q_OBJECT

public:
    // When the controls get what needs the fonts loaded or the logo decoded: their fonts, the
    // captions fitted to their labels, lblPlatform sized to its caption and the logo.
    enum class Finish {
        InConstructor, // the window is complete once constructed
        AfterShow,     // when first shown, right after the window is mapped: it appears before the
                       // fonts load, and is still complete before its first paint
    };

    // `calculatorWindow` returns the program's calculator window, creating it on first use.
    SplashWindow(const SplashVariant& variant, std::function<QWidget&()> calculatorWindow,
        QWidget* parent = nullptr, Finish finish = Finish::InConstructor);
    ~SplashWindow() override;

    // Gives the controls their fonts, fits the captions to their labels, sizes lblPlatform to its
    // caption and loads the logo. Runs once; later calls do nothing.
    void finishControls();

    const SplashVariant& variant() const { return m_variant; }

    // The start button: hides this window (it stays alive, it is never shown again, and gives up
    // its native window) and shows the calculator window.
    void cmdStartTavoro_Click();

    // Shows the window, fitted to its screen and placed there the first time (screenfitter.h),
    // then finishes the controls if that is still to do.
    void setVisible(bool visible) override;

signals:
    // The window has been painted for the first time: it is on the screen, complete.
    void firstPainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    // Closing the splash window, possible only before the calculator window exists, ends the
    // program.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    // Places and sizes of the window and its controls with the design drawn at `dpi` (96: as
    // designed); the fonts, the captions' fitting and the logo too once the controls are finished.
    void layOut(int dpi);
    void finishAt(int dpi);
    // The load step of a splash window that has one: show the program title in lblProductName.
    void Form_Load();

    SplashVariant m_variant;
    std::function<QWidget&()> m_calculatorWindow;
    ScreenFitter* m_fitter = nullptr;
    bool m_finished = false;
    bool m_placed = false;
    bool m_painted = false;
};

} // namespace tavoro
