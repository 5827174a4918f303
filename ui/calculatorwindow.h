// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator window: the big coloured keys, the two display bars, the clear labels, the tape
// and the menus. It owns the engine (`Calculator`) and mirrors the engine's display items into its
// widgets after every handler. Every widget carries its design name as its Qt object name
// ("cmdDigit(11)", "lblDisplay", "mnuFilesExit", ...), so tests and assistive tools can find it.
//
// Each click handler makes one engine call (or changes the window's own option state) and then
// one syncFromEngine() copies every display item into its widget; no arithmetic and no number
// formatting happen here.

#include "calculator.h"
#include "calculatordesign.h"

#include <QMainWindow>

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

    Calculator& engine();

    // Runs the load step before the window is shown for the first time.
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void bindEvents();
    void syncFromEngine();
    void showTape(bool shown);
    // Places, sizes and fonts of every control, the client area and the menus at `dpi`.
    void layOut(int dpi);

    // Handlers, named after their control and event.
    void Form_Load();
    void cmdDigit_Click(int index);
    void cmdOp_Click(int index);
    void lblClearAll_Click();
    void lblClearError_Click();
    void lblClearError2_Click();
    void txtShowEntries_Click();
    void txtClearEntries_Click();
    void mnuOptionsShowTape_Click();
    void mnuOptionsHideTape_Click();
    void mnuOptionsDateAndTimeOn_Click();
    void mnuOptionsDateAndTimeOff_Click();
    void tmrCalc_Timer();
    void mnuFilesExit_Click();

    Calculator m_engine;
    Services& m_services;
    const CalculatorVariant m_variant;
    ScreenFitter* m_fitter = nullptr;
    bool m_loaded = false;

    QWidget* m_client = nullptr;
    QLabel* m_lblDisplay = nullptr;
    QLabel* m_lblNewNum = nullptr;
    QLabel* m_lblOp = nullptr;
    QLabel* m_lblSpacer1 = nullptr;
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
