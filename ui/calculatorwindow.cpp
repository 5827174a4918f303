// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculatorwindow.h"

#include "accessibility.h"
#include "bindings.h"
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
#include <stdexcept>
#include <string>
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

std::size_t indexOf(ControlId id) { return static_cast<std::size_t>(id); }

} // namespace

template <typename T>
T* CalculatorWindow::object(ControlId id) const
{
    T* found = qobject_cast<T*>(m_objects.at(indexOf(id)));
    if (found == nullptr)
        throw std::logic_error("the calculator window has no " + std::string(nameOf(id)) + " of the kind asked for");
    return found;
}

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
    m_tmrCalc->setObjectName(QLatin1String(TimerName));
    m_tmrCalc->setInterval(design::TimerIntervalMs);
    m_objects[indexOf(ControlId::tmrCalc)] = m_tmrCalc;

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
        m_objects[indexOf(row.id)] = widget;
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

    m_lblDateAndTime = object<QLabel>(ControlId::lblDateAndTime);
    m_lstEntered = object<QListWidget>(ControlId::lstEntered);
    m_txtShowEntries = object<ClickLineEdit>(ControlId::txtShowEntries);
    m_txtClearEntries = object<ClickLineEdit>(ControlId::txtClearEntries);
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
            m_objects[indexOf(item.id)] = action;
        }
    }
}

void CalculatorWindow::bindEvents()
{
    for (const Binding& binding : bindings()) {
        const auto clicked = [this, &binding] { handle([&binding](CalculatorWindowModel& model) { run(binding, model); }); };
        QObject* sender = object<QObject>(binding.control);
        if (auto* key = qobject_cast<QPushButton*>(sender))
            connect(key, &QPushButton::clicked, this, clicked);
        else if (auto* label = qobject_cast<ClickLabel*>(sender))
            connect(label, &ClickLabel::clicked, this, clicked);
        else if (auto* box = qobject_cast<ClickLineEdit*>(sender))
            connect(box, &ClickLineEdit::clicked, this, clicked);
        else if (auto* item = qobject_cast<QAction*>(sender))
            connect(item, &QAction::triggered, this, clicked);
        else if (auto* timer = qobject_cast<QTimer*>(sender))
            connect(timer, &QTimer::timeout, this, clicked);
        else
            throw std::logic_error("the calculator window cannot bind " + std::string(nameOf(binding.control)));
    }
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
        auto* widget = object(row.id);
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

void CalculatorWindow::draw() { m_drawer.draw(m_model.view(), *this); }

void CalculatorWindow::setDisplayText(ControlId label, const std::string& text)
{
    tavoro::setDisplayText(object<QLabel>(label), QString::fromStdString(text));
}

void CalculatorWindow::setShown(ControlId control, bool shown) { object(control)->setVisible(shown); }

void CalculatorWindow::setTape(const std::vector<std::string>& tape)
{
    if (static_cast<std::size_t>(m_lstEntered->count()) > tape.size())
        m_lstEntered->clear();
    if (static_cast<std::size_t>(m_lstEntered->count()) < tape.size()) {
        for (auto line = tape.begin() + m_lstEntered->count(); line != tape.end(); ++line)
            m_lstEntered->addItem(QString::fromStdString(*line));
        // Like a paper strip, the tape shows its newest line.
        m_lstEntered->scrollToBottom();
    }
}

void CalculatorWindow::showTape(bool shown)
{
    if (m_lstEntered->isHidden() != shown)
        return;
    m_lstEntered->setVisible(shown);
    // A hidden list does not know its height, so lines appended meanwhile are brought into view
    // now.
    if (shown)
        m_lstEntered->scrollToBottom();
}

void CalculatorWindow::setShowEntries(const std::string& text, const std::string& tip)
{
    m_txtShowEntries->setText(QString::fromStdString(text));
    m_txtShowEntries->setToolTip(QString::fromStdString(tip));
}

void CalculatorWindow::setChecked(ControlId menuItem, bool checked) { object<QAction>(menuItem)->setChecked(checked); }

void CalculatorWindow::setDateAndTime(const std::string& text)
{
    if (const QString shown = QString::fromStdString(text); m_lblDateAndTime->text() != shown) {
        m_lblDateAndTime->setText(shown);
        // The label fits its caption; resizing keeps its left and top edges.
        m_lblDateAndTime->adjustSize();
    }
}

void CalculatorWindow::enableTimer(bool enabled)
{
    // Enabling a running timer keeps its rhythm: the next tick comes when it was due.
    if (!enabled)
        m_tmrCalc->stop();
    else if (!m_tmrCalc->isActive())
        m_tmrCalc->start();
}

void CalculatorWindow::say(const std::string& words) { announce(this, QString::fromStdString(words)); }

void CalculatorWindow::endProgram() { QCoreApplication::exit(0); }

} // namespace tavoro
