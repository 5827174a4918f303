// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenfitter.h"

#include "units.h"

#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace tavoro {

namespace {

// Until the window manager has framed a window, its frame is unknown: a title bar of the style's
// height and a border of its frame width all round are allowed for.
QMargins estimatedFrame(const QWidget* window)
{
    const QStyle* style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return {border, title + border, border, border};
}

// `outer` moved as little as can be to lie inside `area`; its top-left corner stays inside where
// it is larger.
QPoint keptInside(const QRect& outer, const QRect& area)
{
    const int x = std::max(area.left(), std::min(outer.left(), area.right() + 1 - outer.width()));
    const int y = std::max(area.top(), std::min(outer.top(), area.bottom() + 1 - outer.height()));
    return {x, y};
}

} // namespace

ScreenFitter::ScreenFitter(QWidget* window, Design design, Placement placement)
    : QObject(window)
    , m_window(window)
    , m_design(std::move(design))
    , m_placement(placement)
{
    window->installEventFilter(this);
}

QMargins ScreenFitter::frameMargins() const
{
    if (!m_design.framed)
        return {};
    const QWindow* handle = m_window->windowHandle();
    if (handle != nullptr && m_window->isVisible())
        return handle->frameMargins();
    return estimatedFrame(m_window);
}

bool ScreenFitter::fit(const QMargins& frame)
{
    const QScreen* screen = m_window->screen();
    if (screen == nullptr || m_fitting)
        return false;
    const QSize available = screen->availableGeometry().size();
    const WindowExtent extent{
        .clientWidth = m_design.clientWidth,
        .clientHeight = m_design.clientHeight,
        .fixed = {frame.left() + frame.right(), frame.top() + frame.bottom()},
        .scaled = {0, m_design.scaledHeight ? m_design.scaledHeight() : 0},
    };
    int dpi = fittingDpi(extent, StandardDpi, {available.width(), available.height()});
    if (dpi == m_dpi)
        return false;
    // Laying out resizes the window, which must not start another fit.
    m_fitting = true;
    m_design.layOut(dpi);
    // A font's height does not shrink in proportion to its size: where what was laid out is a
    // little larger than reckoned, the next lower resolution is taken.
    const auto tooLarge = [&] {
        const QSize outer = m_window->size().grownBy(frame);
        return outer.width() > available.width() || outer.height() > available.height();
    };
    while (tooLarge() && dpi > lowestFitDpi(StandardDpi))
        m_design.layOut(--dpi);
    m_dpi = dpi;
    m_fitting = false;
    return true;
}

void ScreenFitter::fitAndPlace()
{
    followScreen();
    const QMargins frame = frameMargins();
    fit(frame);
    const QScreen* screen = m_window->screen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    // A top-level window's position is that of its frame.
    QRect outer(m_window->pos(), m_window->size().grownBy(frame));
    if (m_placement == Placement::Centred) {
        outer.moveCenter(area.center());
        m_window->move(keptInside(outer, area));
    } else if (!m_window->testAttribute(Qt::WA_Moved) && !area.contains(outer)) {
        m_window->move(keptInside(outer, area));
    }
}

void ScreenFitter::keepInside()
{
    const QScreen* screen = m_window->screen();
    if (screen == nullptr || !m_window->isVisible())
        return;
    const QRect area = screen->availableGeometry();
    const QRect outer = m_window->frameGeometry();
    if (!area.contains(outer))
        m_window->move(keptInside(outer, area));
}

void ScreenFitter::followScreen()
{
    // The native window is made when the window is first shown, and made anew after it was
    // destroyed.
    if (QWindow* handle = m_window->windowHandle(); handle != nullptr && handle != m_handle) {
        m_handle = handle;
        connect(handle, &QWindow::screenChanged, this, [this] {
            followScreen();
            if (fit(frameMargins()))
                keepInside();
        });
    }
    QScreen* screen = m_window->screen();
    if (screen == m_screen)
        return;
    if (m_screen)
        disconnect(m_screen, nullptr, this, nullptr);
    m_screen = screen;
    if (screen == nullptr)
        return;
    const auto refit = [this] {
        if (fit(frameMargins()))
            keepInside();
    };
    // The available area changes with the panels and the taskbar; in device-independent pixels,
    // the whole screen changes with its scale.
    connect(screen, &QScreen::availableGeometryChanged, this, refit);
    connect(screen, &QScreen::geometryChanged, this, refit);
}

bool ScreenFitter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        followScreen();
        [[fallthrough]];
    case QEvent::Move:
    case QEvent::Resize:
        // The window manager's frame is known once the window is framed: where it is larger than
        // allowed for, the window is fitted again with it.
        if (!m_fitting && m_window->isVisible()) {
            const QScreen* screen = m_window->screen();
            const QSize outer = m_window->frameGeometry().size();
            const QSize room = screen != nullptr ? screen->availableGeometry().size() : outer;
            if ((outer.width() > room.width() || outer.height() > room.height()) && fit(frameMargins()))
                keepInside();
        }
        break;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange:
        if (fit(frameMargins()))
            keepInside();
        break;
#endif
    default:
        break;
    }
    return false;
}

} // namespace tavoro
