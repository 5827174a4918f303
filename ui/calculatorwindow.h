// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator window: the big coloured keys, the two display bars, the clear labels, the tape
// and the menus, in Qt. What the window does is its model's (calculatorwindowmodel.h): each
// control's event runs the model's handler, and then draw() draws the model's whole view into
// the widgets. Every widget carries its design name as its Qt object name ("cmdDigit(11)",
// "lblDisplay", "mnuFilesExit", ...), so tests and assistive tools can find it.

#include "calculatordesign.h"
#include "calculatorwindowmodel.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QLabel;
class QListWidget;
class QTimer;

namespace tavoro {

class ClickLineEdit;
class ScreenFitter;
class Services;

class CalculatorWindow : public QMainWindow {
    Q_OBJECT

public:
    // Builds every control; the load step (Form_Load) runs when the window is first shown.
    CalculatorWindow(const CalculatorVariant& variant, Services& services, QWidget* parent = nullptr);
    ~CalculatorWindow() override;

    const Calculator& engine() const;

    // Runs the load step before the window is shown for the first time.
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void bindEvents();
    // Places, sizes and fonts of every control, the client area and the menus at `dpi`.
    void layOut(int dpi);
    // Runs one of the model's handlers, then draws what it changed.
    void handle(const std::function<void(CalculatorWindowModel&)>& handler);
    // Draws the model's view: the displays, the tape, the text boxes, the check marks, the date
    // and time and its timer, and has the screen reader say a press's words.
    void draw();

    CalculatorWindowModel m_model;
    const CalculatorVariant m_variant;
    ScreenFitter* m_fitter = nullptr;
    unsigned m_showEntriesSet = 0; // the model's text-box setting last drawn
    unsigned m_announced = 0;      // the model's announcements already said

    QWidget* m_client = nullptr;
    QLabel* m_lblDateAndTime = nullptr;
    QListWidget* m_lstEntered = nullptr;
    ClickLineEdit* m_txtShowEntries = nullptr;
    ClickLineEdit* m_txtClearEntries = nullptr;
    QTimer* m_tmrCalc = nullptr;
    QAction* m_mnuFilesExit = nullptr;
    QAction* m_mnuOptionsShowTape = nullptr;
    QAction* m_mnuOptionsHideTape = nullptr;
    QAction* m_mnuOptionsDateAndTimeOn = nullptr;
    QAction* m_mnuOptionsDateAndTimeOff = nullptr;
};

} // namespace tavoro
