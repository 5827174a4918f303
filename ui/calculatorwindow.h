// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator window: the big coloured keys, the two display bars, the clear labels, the tape
// and the menus, in Qt. What the window does is its model's (calculatorwindowmodel.h): each
// control's event runs the model's handler, and then draw() draws the model's whole view into
// the widgets. Every widget carries its design name as its Qt object name ("cmdDigit(11)",
// "lblDisplay", "mnuFilesExit", ...), so tests and assistive tools can find it.

#include "calculatordesign.h"
#include "calculatorwindowmodel.h"
#include "windowdrawing.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QTimer;

namespace tavoro {

class ClickLineEdit;
class ScreenFitter;
class Services;

class CalculatorWindow : public QMainWindow, private WindowSurface {
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
    // Connects each control's click, each menu item and the timer to its handler by the model's
    // binding table.
    void bindEvents();
    // The control, menu item or timer `id`, made by the loops over the design.
    template <typename T = QWidget>
    T* object(ControlId id) const;
    // Places, sizes and fonts of every control, the client area and the menus at `dpi`.
    void layOut(int dpi);
    // Runs one of the model's handlers, then draws what it changed.
    void handle(const std::function<void(CalculatorWindowModel&)>& handler);
    // Draws the model's view (windowdrawing.h).
    void draw();

    // The toolkit's side of drawing the view.
    void setDisplayText(ControlId label, const std::string& text) override;
    void setShown(ControlId control, bool shown) override;
    void setTape(const std::vector<std::string>& lines) override;
    void showTape(bool shown) override;
    void setShowEntries(const std::string& text, const std::string& tip) override;
    void setChecked(ControlId menuItem, bool checked) override;
    void setDateAndTime(const std::string& text) override;
    void enableTimer(bool enabled) override;
    void say(const std::string& words) override;
    void endProgram() override;

    CalculatorWindowModel m_model;
    ViewDrawer m_drawer;
    const CalculatorVariant m_variant;
    ScreenFitter* m_fitter = nullptr;

    std::array<QObject*, ControlIdCount> m_objects{}; // by identity
    QWidget* m_client = nullptr;
    QLabel* m_lblDateAndTime = nullptr;
    QListWidget* m_lstEntered = nullptr;
    ClickLineEdit* m_txtShowEntries = nullptr;
    ClickLineEdit* m_txtClearEntries = nullptr;
    QTimer* m_tmrCalc = nullptr;
};

} // namespace tavoro
