// SPDX-License-Identifier: GPL-3.0-or-later
#include "splashwindow.h"

#include "accessibility.h"
#include "designfont.h"
#include "facebutton.h"
#include "qtdesign.h"
#include "screenfitter.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace tavoro {

namespace {

constexpr const char* LogoResource = ":/tavoro/logo.jpg";

// The stand-in fonts run wider than the design's, so a caption can need more lines than its label
// has room for. Such a caption is set in a narrower cut of the same font rather than a smaller
// one: the type keeps its full height.
void condenseToFit(QLabel* label)
{
    for (int stretch : {QFont::SemiCondensed, QFont::Condensed}) {
        if (label->heightForWidth(label->width()) <= label->height())
            return;
        QFont font = label->font();
        font.setStretch(stretch);
        label->setFont(font);
    }
}

// An opaque, borderless label whose caption wraps at blanks and starts at its top edge. Without
// colours it keeps the window's own (window-face background, black text).
QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, Qt::Alignment horizontal,
    const QColor& back = {}, const QColor& fore = {})
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    if (back.isValid())
        palette.setColor(QPalette::Window, back);
    if (fore.isValid())
        palette.setColor(QPalette::WindowText, fore);
    label->setPalette(palette);
    return label;
}

} // namespace

SplashWindow::SplashWindow(const SplashVariant& variant, std::function<QWidget&()> calculatorWindow,
    QWidget* parent, Finish finish)
    : QWidget(parent)
    , m_variant(variant)
    , m_calculatorWindow(std::move(calculatorWindow))
{
    presentAsWindow(staticMetaObject);
    setObjectName(QString::fromLatin1(variant.className));
    setWindowTitle(QString::fromLatin1(variant.caption));
    // Screen readers name a window by its caption; a window without one goes by the program title.
    if (windowTitle().isEmpty())
        setAccessibleName(QGuiApplication::applicationDisplayName());

    const bool sizable = variant.border == SplashBorder::Sizable;
    if (!sizable)
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    buildControls();
    layOut(StandardDpi);
    // Fitted to its screen before it is first shown: where the platform puts it, or centred.
    m_fitter = new ScreenFitter(this,
        {.clientWidth = variant.clientWidth,
            .clientHeight = variant.clientHeight,
            .framed = sizable,
            .scaledHeight = {},
            .layOut = [this](int dpi) { layOut(dpi); }},
        sizable ? ScreenFitter::Placement::PlatformDefault : ScreenFitter::Placement::Centred);

    if (variant.loadShowsTitle)
        Form_Load();
    if (finish == Finish::InConstructor)
        finishControls();
}

SplashWindow::~SplashWindow() = default;

void SplashWindow::buildControls()
{
    // A frame with an empty caption is the window's only child; the others sit inside it.
    auto* frame = new QGroupBox(QString(), this);
    frame->setObjectName(QStringLiteral("Frame1"));

    // Fonts, fitting and the logo come in finishControls().
    addLabel(frame, "lblProductName", QString::fromLatin1(splash::ProductNameCaption), Qt::AlignHCenter,
        toQColor(splash::ProductNameBack), toQColor(splash::ProductNameFore));
    addLabel(frame, "lblOldGuys", QString::fromLatin1(splash::OldGuysCaption), Qt::AlignHCenter,
        toQColor(splash::OldGuysBack), toQColor(splash::OldGuysFore));

    auto* logo = new QLabel(frame);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setAccessibleName(QString::fromLatin1(splash::LogoName));
    logo->setAccessibleDescription(QString::fromLatin1(splash::LogoDescription));

    auto* start = new FaceButton(QString::fromLatin1(splash::StartCaption),
        toQColor(m_variant.startButtonFace), frame);
    start->setObjectName(QStringLiteral("cmdStartTavoro"));
    connect(start, &QPushButton::clicked, this, &SplashWindow::cmdStartTavoro_Click);

    QLabel* platform = addLabel(frame, "lblPlatform", QString::fromLatin1(m_variant.platformCaption),
        Qt::AlignRight);
    platform->setWordWrap(false);

    // The start button is the only control that takes the keyboard focus, so it holds it.
    frame->setFocusPolicy(Qt::NoFocus);
    start->setFocus();
}

void SplashWindow::Form_Load()
{
    auto* productName = findChild<QLabel*>(QStringLiteral("lblProductName"));
    productName->setText(QGuiApplication::applicationDisplayName());
}

void SplashWindow::layOut(int dpi)
{
    const QSize client = toSize(m_variant.clientWidth, m_variant.clientHeight, dpi);
    if (m_variant.border == SplashBorder::Sizable)
        resize(client);
    else
        setFixedSize(client);
    const std::pair<const char*, const Twips&> places[] = {{"Frame1", m_variant.frame1},
        {"lblProductName", m_variant.lblProductName}, {"lblOldGuys", m_variant.lblOldGuys},
        {"imgLogo", m_variant.imgLogo}, {"cmdStartTavoro", m_variant.cmdStartTavoro},
        {"lblPlatform", m_variant.lblPlatform}};
    for (const auto& [name, place] : places)
        findChild<QWidget*>(QLatin1String(name))->setGeometry(toRect(place, dpi));
    findChild<FaceButton*>(QStringLiteral("cmdStartTavoro"))->setDesignDpi(dpi);
    if (m_finished)
        finishAt(dpi);
}

void SplashWindow::setVisible(bool visible)
{
    if (visible && !m_placed) {
        m_placed = true;
        m_fitter->fitAndPlace();
    }
    QWidget::setVisible(visible);
    // The window is mapped now. Its first paint comes from the event loop, after this.
    if (visible)
        finishControls();
}

void SplashWindow::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (!m_painted) {
        m_painted = true;
        emit firstPainted();
    }
}

void SplashWindow::finishControls()
{
    if (m_finished)
        return;
    m_finished = true;
    finishAt(m_fitter->dpi());
}

void SplashWindow::finishAt(int dpi)
{
    auto* productName = findChild<QLabel*>(QStringLiteral("lblProductName"));
    auto* oldGuys = findChild<QLabel*>(QStringLiteral("lblOldGuys"));
    auto* start = findChild<QWidget*>(QStringLiteral("cmdStartTavoro"));
    auto* platform = findChild<QLabel*>(QStringLiteral("lblPlatform"));
    auto* logo = findChild<QLabel*>(QStringLiteral("imgLogo"));

    productName->setFont(designFont(splash::ProductNameFont, dpi));
    oldGuys->setFont(designFont(splash::OldGuysFont, dpi));
    start->setFont(designFont(splash::StartFont, dpi));
    platform->setFont(designFont(splash::PlatformFont, dpi));

    condenseToFit(productName);
    condenseToFit(oldGuys);
    // The version label sizes itself to its one-line caption, keeping its left and top edges.
    platform->resize(platform->sizeHint());

    // The logo is drawn scaled to the control's rectangle, not at the picture's own size. Only
    // the scaled picture is kept (0.8 MB less than the 450 x 469 original), in the screen's
    // pixels: the pixels the label itself would draw, scaling smoothly, from the original.
    const qreal ratio = logo->devicePixelRatioF();
    QPixmap picture = QPixmap::fromImage(QImage(QString::fromLatin1(LogoResource))
            .scaled(logo->size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    picture.setDevicePixelRatio(ratio);
    logo->setPixmap(picture);
}

void SplashWindow::cmdStartTavoro_Click()
{
    hide();
    QWidget& calculator = m_calculatorWindow();
    calculator.show();
    // Without a window manager nothing else gives the new window the keyboard.
    calculator.activateWindow();
    // Hidden, the window needs no picture of itself: once this click is handled, its native
    // window and backing store go (1.2 MB). The widgets stay; showing the window again would
    // create a native window anew.
    QTimer::singleShot(0, this, [this] {
        if (isHidden())
            destroy();
    });
}

void SplashWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    QCoreApplication::quit();
}

} // namespace tavoro
