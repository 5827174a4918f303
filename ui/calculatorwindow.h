#pragma once
// The calculator window: the big coloured keys, the two display bars, the clear labels, the tape
// and the menus. It owns the engine (`Calculator`) and mirrors the engine's display items into its
// widgets after every handler. Every widget carries its design name as its Qt object name
// ("cmdDigit(11)", "lblDisplay", "mnuFilesExit", ...), so tests and assistive tools can find it.

#include "calculator.h"
#include "twips.h"

#include <QMainWindow>

namespace tavoro {

class Services;

// What differs between the two programs' calculator windows.
struct CalculatorVariant {
    const char* className; // the window's object name: "frmTavoro3" or "frmTavoro"
    const char* caption;   // the window caption: "Tavoro 3" or "Tavoro."
    Twips lblNewNum;
    Twips lblOp;
    Twips lblSpacer1;
};

class CalculatorWindow : public QMainWindow {
    Q_OBJECT

public:
    // Builds every control; the load step (Form_Load) runs when the window is first shown.
    CalculatorWindow(const CalculatorVariant& variant, Services& services, QWidget* parent = nullptr);
    ~CalculatorWindow() override;

    Calculator& engine();
};

} // namespace tavoro
