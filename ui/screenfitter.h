// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps a top-level window of the designs wholly on its screen at any display scale. Qt lays
// widgets out in device-independent pixels, 96 to the inch, and its high-density scaling makes
// them the screen's pixels; the window's design is drawn at that resolution where the whole
// window, frame and title bar included, fits the room it has, else at the resolution that
// fittingDpi() finds (screenfit.h). The room is what roomForWindow() makes of what the platform
// tells: on X11 the work area; on Wayland, which keeps the work area from its clients, the bounds
// the compositor gives a new window, or where it gives none, the screen less room for a panel.
// The window is fitted before it is first shown, and again when it goes to another screen, when
// its screen's size, scale or available area changes, and when the frame the window manager gave
// it turns out larger than was allowed for.
//
// A centred window is placed before it is shown, with the frame the window manager will draw: as it
// tells (_NET_REQUEST_FRAME_EXTENTS), else estimated; none where no window manager runs. Where the
// frame it then draws differs, a window still where it was put is centred again with the real one.
// On Wayland the compositor places every window.

#include "screenfit.h"
#include "units.h"

#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QTimer>

#include <functional>
#include <optional>

class QScreen;
class QWidget;
class QWindow;

namespace tavoro {

class ScreenFitter : public QObject {
    Q_OBJECT

public:
    enum class Placement {
        Centred,         // centred on the available area
        PlatformDefault, // where the platform puts new windows, moved onto the available area
    };

    struct Design {
        int clientWidth = 0;  // twips
        int clientHeight = 0; // twips
        bool framed = true;   // a frame and title bar of the window manager's
        // The height at 96 dpi of what the window adds to its client area that is drawn with the
        // design, and shrinks with it: its menu bar. Nothing when not given.
        std::function<int()> scaledHeight;
        // Lays the design out at `dpi` (96: as designed); the window takes its new size from it.
        std::function<void(int dpi)> layOut;
    };

    // Fits `window`, which is laid out as designed (at 96 dpi) until then.
    ScreenFitter(QWidget* window, Design design, Placement placement);

    // The resolution the design is drawn at now.
    int dpi() const { return m_dpi; }

    // Fits the window to its screen and places it there. Called before it is first shown.
    void fitAndPlace();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lays the design out at the resolution that fits the window's screen, with `frame` around
    // it; true when that changed anything.
    bool fit(const QMargins& frame);
    // Moves the window, frame and all, wholly inside the available area where it is not.
    void keepInside();
    // Fits the window again where its frame, as now known, makes it larger than its room.
    void refitToFrame();
    // Centres the window again once the window manager has framed it (see above).
    void centreInRealFrame();
    void followScreen();
    QMargins frameMargins() const;
    // The size the whole window is fitted within.
    QSize room() const;
    // Asks the desktop what Qt does not tell (desktopprobe.h).
    void askDesktop();

    QWidget* m_window;
    Design m_design;
    Placement m_placement;
    int m_dpi = StandardDpi;
    bool m_fitting = false;
    QPointer<QScreen> m_screen;
    QPointer<QWindow> m_handle;
    // Wayland: the compositor places windows; their bounds, in Qt's pixels, where it gives them.
    bool m_compositorPlaces = false;
    std::optional<QSize> m_bounds;
    QPointer<QScreen> m_boundsScreen;
    // X11: whether a window manager frames the window, and the frame it said it will draw.
    bool m_windowManager = true;
    std::optional<QMargins> m_knownFrame;
    // Where a centred window was put, with which frame, and since when it waits for the real one.
    std::optional<QPoint> m_placedAt;
    QMargins m_placedFrame;
    QSize m_placedSize;
    QElapsedTimer m_sincePlaced;
    QTimer m_frameWatch;
};

} // namespace tavoro
