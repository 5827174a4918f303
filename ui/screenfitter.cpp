// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenfitter.h"

#include "desktopprobe.h"
#include "units.h"

#include <QEvent>
#include <QLoggingCategory>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <cmath>
#include <utility>

namespace tavoro {

namespace {

Q_LOGGING_CATEGORY(lcScreenFit, "tavoro.screenfit", QtWarningMsg)

// Until the window manager has framed a window, its frame is unknown: a title bar of the style's
// height and a border of its frame width all round are allowed for.
QMargins estimatedFrame(const QWidget* window)
{
    const QStyle* style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return {border, title + border, border, border};
}

// A window manager frames a new window within moments of its showing (GNOME on Xwayland once it
// has drawn, which on a busy machine takes a few seconds); a move after this long is the user's own.
constexpr qint64 FrameWaitMs = 5000;
// How often the frame is looked at until then.
constexpr int FrameWatchMs = 50;

PixelRect toPixels(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }

QPoint toPoint(PixelPoint point) { return {point.x, point.y}; }

// Qt's pixels in the Wayland compositor's: QT_SCALE_FACTOR scales Qt's pixels on top of the
// compositor's own scale, which its logical pixels already carry.
double qtScaleFactor()
{
    bool ok = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && factor > 0 ? factor : 1.0;
}

} // namespace

ScreenFitter::ScreenFitter(QWidget* window, Design design, Placement placement)
    : QObject(window)
    , m_window(window)
    , m_design(std::move(design))
    , m_placement(placement)
{
    window->installEventFilter(this);
    m_frameWatch.setInterval(FrameWatchMs);
    connect(&m_frameWatch, &QTimer::timeout, this, &ScreenFitter::centreInRealFrame);
}

void ScreenFitter::askDesktop()
{
    m_compositorPlaces = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    m_bounds.reset();
    if (m_compositorPlaces) {
        if (const std::optional<QSize> bounds = desktop::newWindowBounds()) {
            const double factor = qtScaleFactor();
            m_bounds = QSize(int(std::floor(bounds->width() / factor)), int(std::floor(bounds->height() / factor)));
            m_boundsScreen = m_window->screen();
        }
    }
    m_windowManager = desktop::windowManagerRuns().value_or(true);
    m_knownFrame.reset();
    if (m_windowManager && m_design.framed && !m_window->isVisible()) {
        if (const std::optional<QMargins> frame = desktop::frameExtents(m_window)) {
            // In Qt's pixels, rounded up: the whole window fits.
            const double ratio = m_window->devicePixelRatioF();
            const auto dip = [ratio](int pixels) { return int(std::ceil(pixels / ratio)); };
            m_knownFrame = QMargins(dip(frame->left()), dip(frame->top()), dip(frame->right()), dip(frame->bottom()));
        }
    }
}

QMargins ScreenFitter::frameMargins() const
{
    if (!m_design.framed)
        return {};
    const QWindow* handle = m_window->windowHandle();
    if (handle != nullptr && m_window->isVisible())
        return handle->frameMargins();
    // Without a window manager nothing frames the window.
    if (!m_windowManager)
        return {};
    return m_knownFrame.value_or(estimatedFrame(m_window));
}

QSize ScreenFitter::room() const
{
    const QScreen* screen = m_window->screen();
    if (screen == nullptr)
        return {};
    ScreenRoom room{
        .available = toPixels(screen->availableGeometry()),
        .workAreaKnown = !m_compositorPlaces,
        .bounds = {},
        .fractionalScale = screen->devicePixelRatio() != std::floor(screen->devicePixelRatio()),
    };
    // The bounds are those of the screen the window opened on.
    if (m_bounds && screen == m_boundsScreen)
        room.bounds = PixelSize{m_bounds->width(), m_bounds->height()};
    const PixelSize size = roomForWindow(room);
    return {size.width, size.height};
}

bool ScreenFitter::fit(const QMargins& frame)
{
    const QScreen* screen = m_window->screen();
    if (screen == nullptr || m_fitting)
        return false;
    const QSize available = room();
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
    qCDebug(lcScreenFit) << m_window->objectName() << "fitted at" << dpi << "dpi with" << frame << "to" << available
                         << "now" << m_window->geometry();
    return true;
}

void ScreenFitter::fitAndPlace()
{
    followScreen();
    askDesktop();
    const QMargins frame = frameMargins();
    fit(frame);
    const QScreen* screen = m_window->screen();
    if (screen == nullptr || m_compositorPlaces)
        return;
    const QRect area = screen->availableGeometry();
    // A top-level window's position is that of its frame.
    const QRect outer(m_window->pos(), m_window->size().grownBy(frame));
    if (m_placement == Placement::Centred) {
        const QSize client = m_window->size();
        const QPoint at = toPoint(centredFramePosition(toPixels(area), {client.width(), client.height()},
            {frame.left(), frame.top(), frame.right(), frame.bottom()}));
        // Placed by its client area, which the window manager frames where it is (the gravity Qt
        // asks for a window placed so).
        qCDebug(lcScreenFit) << "placed at" << at << "with" << frame << (m_knownFrame ? "as told" : "");
        m_window->setGeometry(QRect(at + QPoint(frame.left(), frame.top()), client));
        if (m_design.framed && m_windowManager) {
            m_placedAt = at;
            m_placedFrame = frame;
            m_placedSize = client;
            m_sincePlaced.start();
            // A window manager that frames the window in place sends it no event; Qt reads the
            // frame when asked.
            m_frameWatch.start();
        }
    } else if (!m_window->testAttribute(Qt::WA_Moved) && !area.contains(outer)) {
        m_window->move(toPoint(keptInside(toPixels(outer), toPixels(area))));
    }
}

void ScreenFitter::keepInside()
{
    const QScreen* screen = m_window->screen();
    if (screen == nullptr || !m_window->isVisible() || m_compositorPlaces)
        return;
    const QRect area = screen->availableGeometry();
    const QRect outer = m_window->frameGeometry();
    if (!area.contains(outer)) {
        qCDebug(lcScreenFit) << m_window->objectName() << "kept inside" << area << "from" << outer;
        m_window->move(toPoint(keptInside(toPixels(outer), toPixels(area))));
    }
}

void ScreenFitter::centreInRealFrame()
{
    if (!m_placedAt) {
        m_frameWatch.stop();
        return;
    }
    if (m_sincePlaced.elapsed() > FrameWaitMs) {
        m_placedAt.reset();
        m_frameWatch.stop();
        return;
    }
    if (!m_window->isVisible())
        return;
    const QWindow* handle = m_window->windowHandle();
    const QScreen* screen = m_window->screen();
    const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
    const QSize size = m_window->size();
    // Not framed yet, or framed as the window was placed and still of the size it was placed
    // with. A frame larger than allowed for fits the window again, smaller, in place, which may
    // come after the frame is first seen: then it is centred once more.
    if (frame.isNull() || screen == nullptr || (frame == m_placedFrame && size == m_placedSize))
        return;
    // Where it was put, the window manager keeps either the frame's corner (the gravity Qt asks
    // for) or the client area's where the frame allowed for put it. Anywhere else, the window
    // manager or the user put it, and it stays.
    const QPoint client = m_window->geometry().topLeft();
    const QPoint placed = *m_placedAt;
    qCDebug(lcScreenFit) << "framed" << frame << "placed" << placed << "with" << m_placedFrame << m_placedSize
                         << "client at" << client << size;
    if (client != placed + QPoint(frame.left(), frame.top())
        && client != placed + QPoint(m_placedFrame.left(), m_placedFrame.top()))
        return;
    const QPoint at = toPoint(centredFramePosition(toPixels(screen->availableGeometry()),
        {size.width(), size.height()}, {frame.left(), frame.top(), frame.right(), frame.bottom()}));
    m_placedAt = at;
    m_placedFrame = frame;
    m_placedSize = size;
    // Placed by its client area: a framed window's frame position goes to the window manager with
    // the frame counted twice (Qt's xcb platform, openbox).
    qCDebug(lcScreenFit) << "centred again at" << at;
    m_window->setGeometry(QRect(at + QPoint(frame.left(), frame.top()), size));
}

void ScreenFitter::followScreen()
{
    // The native window is made when the window is first shown, and made anew after it was
    // destroyed.
    if (QWindow* handle = m_window->windowHandle(); handle != nullptr && handle != m_handle) {
        m_handle = handle;
        handle->installEventFilter(this);
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

void ScreenFitter::refitToFrame()
{
    if (m_fitting || !m_window->isVisible())
        return;
    const QSize outer = m_window->frameGeometry().size();
    const QSize room = m_window->screen() != nullptr ? this->room() : outer;
    if ((outer.width() > room.width() || outer.height() > room.height()) && fit(frameMargins()))
        keepInside();
}

bool ScreenFitter::eventFilter(QObject* watched, QEvent* event)
{
    // On Wayland the decoration Qt draws is made as the window is first exposed, and nothing else
    // tells of it.
    if (watched == m_handle && watched != nullptr && event->type() == QEvent::Expose) {
        refitToFrame();
        return false;
    }
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
        refitToFrame();
        if (!m_fitting)
            centreInRealFrame();
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
