// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculatorwindow.h"

#include "accessibility.h"
#include "clicklabel.h"
#include "clicklineedit.h"
#include "designfont.h"
#include "designlabel.h"
#include "facebutton.h"
#include "qtdesign.h"
#include "screenfitter.h"
#include "tapedelegate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace tavoro {

namespace {

QString colourName(Rgb rgb) { return toQColor(rgb).name(QColor::HexRgb); }

// A text box or the tape in its own colours with the standard sunken edge, which turns into the
// focus mark while the control has the keyboard focus; the edge as wide as the focus mark at the
// design's resolution. No padding: "SHOW  Entries" only just fits its 95 pixels.
QString fieldStyle(const char* widgetClass, Rgb back, Rgb fore, int dpi)
{
    return QStringLiteral("%1 { background-color: %2; color: %3; padding: 0px;"
                          " border-style: solid; border-width: %4px; border-color: %5 %6 %6 %5; }"
                          " %1:focus { border-color: %7; }")
        .arg(QLatin1String(widgetClass), colourName(back), colourName(fore))
        .arg(scaledPx(design::FocusMarkWidth, dpi))
        .arg(colourName(colour::FieldShadow), colourName(colour::EdgeLight), colourName(focusMarkOn(back)));
}

void setColours(QWidget* widget, QPalette::ColorRole backRole, QPalette::ColorRole foreRole, const ControlDesign& row)
{
    QPalette palette = widget->palette();
    palette.setColor(backRole, toQColor(row.back));
    palette.setColor(foreRole, toQColor(row.fore));
    widget->setPalette(palette);
}

QLabel* makeLabel(const ControlDesign& row)
{
    DesignLabel* label = row.kind == ControlKind::ClickLabel ? new ClickLabel : new DesignLabel;
    label->setShrinkToFit(row.shrinkToFit);
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromUtf8(row.caption));
    // Opaque, borderless, text from the top edge, wrapped at blanks within the label's width.
    label->setAutoFillBackground(true);
    setColours(label, QPalette::Window, QPalette::WindowText, row);
    label->setAlignment(toQt(row.align) | Qt::AlignTop);
    label->setWordWrap(!row.autoSize);
    label->setMargin(0);
    label->setIndent(0);
    return label;
}

QWidget* makeControl(const ControlDesign& row)
{
    switch (row.kind) {
    case ControlKind::Button: {
        return new FaceButton(QString::fromUtf8(row.caption), toQColor(row.back));
    }
    case ControlKind::Label:
    case ControlKind::ClickLabel:
        return makeLabel(row);
    case ControlKind::TextBox: {
        auto* box = new ClickLineEdit(QString::fromUtf8(row.caption));
        box->setAlignment(toQt(row.align) | Qt::AlignVCenter);
        // Show the text from its start: with its trailing blank "CLEAR Entries " is a pixel or two
        // wider than its box, and with the cursor at the end the box would scroll its first
        // letter out of sight.
        box->setCursorPosition(0);
        return box;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget;
        setColours(list, QPalette::Base, QPalette::Text, row);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        // A tape line wider than the list wraps onto further rows of its item, as the delegate
        // draws it: no horizontal scroll bar to eat the few lines of a short list. The rows are
        // laid out anew when the list's width changes (when its scroll bar comes and goes).
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideNone);
        list->setItemDelegate(new TapeDelegate(list));
        list->setResizeMode(QListView::Adjust);
        return list;
    }
    }
    return nullptr;
}

// The control called `name`; the design table guarantees that it exists.
template <typename T>
T* control(const QWidget* client, const QString& name)
{
    T* widget = client->findChild<T*>(name, Qt::FindDirectChildrenOnly);
    Q_ASSERT(widget != nullptr);
    return widget;
}

} // namespace

CalculatorWindow::CalculatorWindow(const CalculatorVariant& variant, Services& services, QWidget* parent)
    : QMainWindow(parent)
    , m_model(services)
    , m_variant(variant)
{
    installAccessibleInterfaces();
    setObjectName(QString::fromLatin1(variant.className));
    setWindowTitle(QString::fromUtf8(variant.caption));

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toQColor(colour::Window));
    setPalette(palette);

    buildControls();
    nameControlsForAssistiveTools(m_client);
    buildMenus();

    m_tmrCalc = new QTimer(this);
    m_tmrCalc->setObjectName(QStringLiteral("tmrCalc"));
    m_tmrCalc->setInterval(design::TimerIntervalMs);

    bindEvents();

    // The window keeps its design size: it cannot be resized by dragging, and if a window manager
    // maximises it anyway, the client area stays at the top left at its design size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // As designed, until it is fitted to its screen before it is first shown. The menu bar shrinks
    // with the design.
    const int menuBarHeight = menuBar()->sizeHint().height();
    m_fitter = new ScreenFitter(this,
        {.clientWidth = design::ClientArea.width,
            .clientHeight = design::ClientArea.height,
            .scaledHeight = [menuBarHeight] { return menuBarHeight; },
            .layOut = [this](int dpi) { layOut(dpi); }},
        ScreenFitter::Placement::Centred);
    layOut(StandardDpi);

    // The first control in the tab order holds the focus when the window opens.
    m_txtShowEntries->setFocus();
}

CalculatorWindow::~CalculatorWindow() = default;

const Calculator& CalculatorWindow::engine() const { return m_model.engine(); }

void CalculatorWindow::buildControls()
{
    m_client = new QWidget;
    m_client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(m_client);

    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const ControlDesign& row : calculatorDesign()) {
        QWidget* widget = makeControl(row);
        widget->setParent(m_client);
        widget->setObjectName(QString::fromLatin1(row.name));
        if (row.tip != nullptr)
            widget->setToolTip(QString::fromUtf8(row.tip));
        if (row.hidden)
            widget->hide();
        if (takesFocus(row.kind))
            tabOrder.emplace_back(row.tab, widget);
    }

    std::ranges::sort(tabOrder, {}, &std::pair<int, QWidget*>::first);
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    m_lblDateAndTime = control<QLabel>(m_client, QStringLiteral("lblDateAndTime"));
    m_lstEntered = control<QListWidget>(m_client, QStringLiteral("lstEntered"));
    m_txtShowEntries = control<ClickLineEdit>(m_client, QStringLiteral("txtShowEntries"));
    m_txtClearEntries = control<ClickLineEdit>(m_client, QStringLiteral("txtClearEntries"));
}

void CalculatorWindow::buildMenus()
{
    // The menus sit in the window, never in a desktop-wide menu bar: the client area is measured
    // from below them.
    menuBar()->setNativeMenuBar(false);

    for (const MenuDesign& design : calculatorMenus()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(design.caption));
        menu->setObjectName(QString::fromLatin1(design.name));
        for (const MenuItemDesign& item : design.items) {
            QAction* action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            action->setCheckable(item.checkable);
        }
    }
    const auto item = [this](const char* name) {
        auto* action = menuBar()->findChild<QAction*>(QLatin1String(name));
        Q_ASSERT(action != nullptr);
        return action;
    };
    m_mnuFilesExit = item("mnuFilesExit");
    m_mnuOptionsShowTape = item("mnuOptionsShowTape");
    m_mnuOptionsHideTape = item("mnuOptionsHideTape");
    m_mnuOptionsDateAndTimeOn = item("mnuOptionsDateAndTimeOn");
    m_mnuOptionsDateAndTimeOff = item("mnuOptionsDateAndTimeOff");
}

void CalculatorWindow::bindEvents()
{
    using Model = CalculatorWindowModel;
    const auto on = [this](auto* sender, auto signal, void (Model::*handler)()) {
        connect(sender, signal, this, [this, handler] { handle([handler](Model& model) { (model.*handler)(); }); });
    };
    for (const int index : DigitIndices) {
        connect(control<QPushButton>(m_client, QStringLiteral("cmdDigit(%1)").arg(index)), &QPushButton::clicked, this,
            [this, index] { handle([index](Model& model) { model.cmdDigit_Click(index); }); });
    }
    for (const int index : OperatorIndices) {
        connect(control<QPushButton>(m_client, QStringLiteral("cmdOp(%1)").arg(index)), &QPushButton::clicked, this,
            [this, index] { handle([index](Model& model) { model.cmdOp_Click(index); }); });
    }
    const auto clearKey = [this](const char* name) { return control<ClickLabel>(m_client, QLatin1String(name)); };
    on(clearKey("lblClearAll"), &ClickLabel::clicked, &Model::lblClearAll_Click);
    on(clearKey("lblClearError"), &ClickLabel::clicked, &Model::lblClearError_Click);
    on(clearKey("lblClearError2"), &ClickLabel::clicked, &Model::lblClearError2_Click);
    on(m_txtShowEntries, &ClickLineEdit::clicked, &Model::txtShowEntries_Click);
    on(m_txtClearEntries, &ClickLineEdit::clicked, &Model::txtClearEntries_Click);

    on(m_mnuFilesExit, &QAction::triggered, &Model::mnuFilesExit_Click);
    on(m_mnuOptionsShowTape, &QAction::triggered, &Model::mnuOptionsShowTape_Click);
    on(m_mnuOptionsHideTape, &QAction::triggered, &Model::mnuOptionsHideTape_Click);
    on(m_mnuOptionsDateAndTimeOn, &QAction::triggered, &Model::mnuOptionsDateAndTimeOn_Click);
    on(m_mnuOptionsDateAndTimeOff, &QAction::triggered, &Model::mnuOptionsDateAndTimeOff_Click);

    on(m_tmrCalc, &QTimer::timeout, &Model::tmrCalc_Timer);
}

void CalculatorWindow::setVisible(bool visible)
{
    if (visible && !m_model.view().window.loaded) {
        handle([](CalculatorWindowModel& model) { model.Form_Load(); });
        if (isWindow())
            m_fitter->fitAndPlace();
    }
    QMainWindow::setVisible(visible);
}

void CalculatorWindow::layOut(int dpi)
{
    for (const ControlDesign& row : calculatorDesign()) {
        auto* widget = control<QWidget>(m_client, QLatin1String(row.name));
        widget->setGeometry(toRect(placeIn(row, m_variant), dpi));
        if (row.font.family != nullptr)
            widget->setFont(designFont(row.font, dpi));
        switch (row.kind) {
        case ControlKind::Button:
            static_cast<FaceButton*>(widget)->setDesignDpi(dpi);
            break;
        case ControlKind::TextBox:
            widget->setStyleSheet(fieldStyle("QLineEdit", row.back, row.fore, dpi));
            break;
        case ControlKind::ListBox:
            widget->setStyleSheet(fieldStyle("QListWidget", row.back, row.fore, dpi));
            break;
        case ControlKind::Label:
        case ControlKind::ClickLabel:
            break;
        }
    }
    m_client->setFixedSize(toRect(design::ClientArea, dpi).size());
    m_lblDateAndTime->adjustSize();

    // The menus in the same share of their own font, where the design is drawn smaller.
    QFont menuFont;
    if (dpi != StandardDpi) {
        menuFont = QApplication::font(menuBar());
        if (menuFont.pointSizeF() > 0)
            menuFont.setPointSizeF(scaledPoints(menuFont.pointSizeF(), dpi, StandardDpi));
        else
            menuFont.setPixelSize(std::max(1, menuFont.pixelSize() * dpi / StandardDpi));
    }
    menuBar()->setFont(menuFont);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        menu->setFont(menuFont);
    // The window takes its new size at once, before it is placed.
    layout()->activate();
    if (m_lstEntered->isVisible())
        m_lstEntered->scrollToBottom();
}

void CalculatorWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    handle([](CalculatorWindowModel& model) { model.mnuFilesExit_Click(); });
}

void CalculatorWindow::handle(const std::function<void(CalculatorWindowModel&)>& handler)
{
    handler(m_model);
    draw();
}

void CalculatorWindow::draw()
{
    const auto [display, window] = m_model.view();
    const auto label = [this](const char* name) { return control<QLabel>(m_client, QLatin1String(name)); };
    for (const auto& [name, text] : {std::pair{"lblDisplay", &display.lblDisplay}, std::pair{"lblNewNum", &display.lblNewNum},
             std::pair{"lblOp", &display.lblOp}})
        setDisplayText(label(name), QString::fromStdString(*text));
    for (const auto& [name, shown] : {std::pair{"lblNewNum", display.lblNewNumVisible}, std::pair{"lblOp", display.lblOpVisible},
             std::pair{"lblSpacer(1)", display.lblSpacer1Visible}})
        label(name)->setVisible(shown);

    // The tape only grows, except when it is emptied.
    const auto& tape = display.lstEntered;
    if (static_cast<std::size_t>(m_lstEntered->count()) > tape.size())
        m_lstEntered->clear();
    if (static_cast<std::size_t>(m_lstEntered->count()) < tape.size()) {
        for (auto line = tape.begin() + m_lstEntered->count(); line != tape.end(); ++line)
            m_lstEntered->addItem(QString::fromStdString(*line));
        // Like a paper strip, the tape shows its newest line.
        m_lstEntered->scrollToBottom();
    }
    if (m_lstEntered->isHidden() == window.tapeShown) {
        m_lstEntered->setVisible(window.tapeShown);
        // A hidden list does not know its height, so lines appended meanwhile are brought into
        // view now.
        if (window.tapeShown)
            m_lstEntered->scrollToBottom();
    }
    m_txtClearEntries->setVisible(window.clearEntriesShown);
    // The box's text only when a handler set it: what the user typed stays until then.
    if (window.showEntriesSet != m_showEntriesSet) {
        m_showEntriesSet = window.showEntriesSet;
        m_txtShowEntries->setText(QString::fromStdString(window.showEntriesText));
        m_txtShowEntries->setToolTip(QString::fromStdString(window.showEntriesTip));
    }

    m_mnuOptionsShowTape->setChecked(window.showTapeChecked);
    m_mnuOptionsHideTape->setChecked(window.hideTapeChecked);
    m_mnuOptionsDateAndTimeOn->setChecked(window.dateAndTimeOnChecked);
    m_mnuOptionsDateAndTimeOff->setChecked(window.dateAndTimeOffChecked);

    m_lblDateAndTime->setVisible(window.dateAndTimeShown);
    if (const QString shown = QString::fromStdString(window.dateAndTime); m_lblDateAndTime->text() != shown) {
        m_lblDateAndTime->setText(shown);
        // The label fits its caption; resizing keeps its left and top edges.
        m_lblDateAndTime->adjustSize();
    }
    // Enabling a running timer keeps its rhythm: the next tick comes when it was due.
    if (!window.timerEnabled)
        m_tmrCalc->stop();
    else if (!m_tmrCalc->isActive())
        m_tmrCalc->start();

    if (window.announcements != m_announced) {
        m_announced = window.announcements;
        announce(this, QString::fromStdString(window.announcement));
    }
    // Ends the whole program at once, hidden windows included: no question, nothing saved.
    if (window.ended)
        QCoreApplication::exit(0);
}

} // namespace tavoro
