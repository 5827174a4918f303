// SPDX-License-Identifier: GPL-3.0-or-later
// The two splash windows against their designs: the window itself, Frame1 and its five controls
// (places, captions, fonts, colours as drawn), the focus, the logo drawn to its control's size, and
// Tavoro 2's load step. Every test runs over both programs.

#include "facebutton.h"
#include "programs.h"
#include "splashwindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <memory>

using namespace tavoro;

namespace {

const QColor DarkGreen(0x00, 0x80, 0x00);
const QColor PaleGreen(0xC0, 0xFF, 0xC0);
const QColor DeepGreen(0x00, 0x40, 0x00);

// A splash window as its program creates it: with the program title set first, since Tavoro 2's
// load step reads it.
std::unique_ptr<SplashWindow> makeSplash(const ProgramDescription& program,
    SplashWindow::Finish finish = SplashWindow::Finish::InConstructor)
{
    QCoreApplication::setApplicationName(QString::fromLatin1(program.title));
    static QWidget calculatorStandIn;
    return std::make_unique<SplashWindow>(
        program.splash, []() -> QWidget& { return calculatorStandIn; }, nullptr, finish);
}

const ProgramDescription& programNamed(const QString& title)
{
    return title == QLatin1String("Tavoro 2") ? Tavoro2 : Tavoro3;
}

void addProgramRows()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("Tavoro 3") << QStringLiteral("Tavoro 3");
    QTest::newRow("Tavoro 2") << QStringLiteral("Tavoro 2");
}

// How many pixels of `image` have exactly `colour`.
int countPixels(const QImage& image, const QColor& colour)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            count += QColor(rgb.pixel(x, y)) == colour;
    return count;
}

} // namespace

class tst_SplashWindow : public QObject {
    Q_OBJECT

private slots:
    void window_data() { addProgramRows(); }
    void window();
    void dialogWithoutTitleIsCentred();
    void controls_data();
    void controls();
    void captionsFitTheirControls_data() { addProgramRows(); }
    void captionsFitTheirControls();
    void platformLabelSizesToItsCaption_data() { addProgramRows(); }
    void platformLabelSizesToItsCaption();
    void startButtonHoldsTheFocus_data() { addProgramRows(); }
    void startButtonHoldsTheFocus();
    void logoIsDrawnScaledToItsControl_data();
    void logoIsDrawnScaledToItsControl();
    void finishingAfterShowGivesTheSameWindow_data() { addProgramRows(); }
    void finishingAfterShowGivesTheSameWindow();
};

// The window: its class name, caption, border and client area, and Frame1 as its only child.
void tst_SplashWindow::window()
{
    QFETCH(QString, program);
    struct Expected {
        const char* className;
        const char* caption;
        bool titleBar;
        QSize client;
        QRect frame1;
    };
    const Expected expected = program == QLatin1String("Tavoro 3")
        ? Expected{"frmSplash3", "Tavoro 3", true, {630, 468}, {20, 20, 588, 426}}
        : Expected{"frmSplash", "", false, {622, 479}, {24, 26, 574, 338}};

    auto splash = makeSplash(programNamed(program));
    splash->show();
    QVERIFY(QTest::qWaitForWindowExposed(splash.get()));

    QCOMPARE(splash->objectName(), QString::fromLatin1(expected.className));
    QCOMPARE(splash->windowTitle(), QString::fromLatin1(expected.caption));
    QCOMPARE(splash->size(), expected.client);
    QCOMPARE(!splash->windowFlags().testFlag(Qt::FramelessWindowHint), expected.titleBar);
    // A window with a title bar can be resized; the one without has a fixed size.
    QCOMPARE(splash->minimumSize() != splash->maximumSize(), expected.titleBar);

    const auto children = splash->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(children.size(), 1);
    auto* frame = qobject_cast<QGroupBox*>(children.front());
    QVERIFY(frame);
    QCOMPARE(frame->objectName(), QStringLiteral("Frame1"));
    QCOMPARE(frame->title(), QString());
    QCOMPARE(frame->geometry(), expected.frame1);

    QStringList controls;
    for (const QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        controls << control->objectName();
    controls.sort();
    QCOMPARE(controls,
        QStringList({"cmdStartTavoro", "imgLogo", "lblOldGuys", "lblPlatform", "lblProductName"}));
}

void tst_SplashWindow::dialogWithoutTitleIsCentred()
{
    auto splash = makeSplash(Tavoro2);
    splash->show();
    QVERIFY(QTest::qWaitForWindowExposed(splash.get()));
    const QPoint offset = splash->frameGeometry().center() - splash->screen()->availableGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 1, qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
}

void tst_SplashWindow::controls_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<QColor>("back"); // drawn in the control's corner; invalid: the window's own
    QTest::addColumn<QColor>("fore"); // found among the caption's pixels; invalid: not checked
    QTest::addColumn<int>("alignment");

    const QColor none;
    const int centred = Qt::AlignHCenter | Qt::AlignTop;
    const QString oldGuys = QStringLiteral("An easy to see (and use) calculator for us old blind guys.");
    const QString start = QStringLiteral("CLICK to Start Tavoro");

    // Tavoro 3, frmSplash3
    QTest::newRow("Tavoro 3 lblProductName") << "Tavoro 3" << "lblProductName" << QRect(52, 42, 259, 51)
        << " Tavoro " << 32.25 << DarkGreen << PaleGreen << centred;
    QTest::newRow("Tavoro 3 lblOldGuys") << "Tavoro 3" << "lblOldGuys" << QRect(304, 46, 259, 41)
        << oldGuys << 12.0 << PaleGreen << DeepGreen << centred;
    QTest::newRow("Tavoro 3 cmdStartTavoro") << "Tavoro 3" << "cmdStartTavoro" << QRect(372, 254, 135, 47)
        << start << 12.0 << QColor(0xC0, 0xFF, 0xC0) << none << 0;
    // lblPlatform sizes itself: only its left and top edges are checked here.
    QTest::newRow("Tavoro 3 lblPlatform") << "Tavoro 3" << "lblPlatform" << QRect(92, 322, 0, 0)
        << "Version 3.1... for Windows" << 11.25 << none << QColor(Qt::black)
        << int(Qt::AlignRight | Qt::AlignTop);

    // Tavoro 2, frmSplash: its load step has put the program title into lblProductName.
    QTest::newRow("Tavoro 2 lblProductName") << "Tavoro 2" << "lblProductName" << QRect(28, 58, 259, 51)
        << "Tavoro 2" << 32.25 << DarkGreen << PaleGreen << centred;
    QTest::newRow("Tavoro 2 lblOldGuys") << "Tavoro 2" << "lblOldGuys" << QRect(280, 62, 259, 41)
        << oldGuys << 12.0 << PaleGreen << DeepGreen << centred;
    QTest::newRow("Tavoro 2 cmdStartTavoro") << "Tavoro 2" << "cmdStartTavoro" << QRect(348, 230, 135, 47)
        << start << 12.0 << QColor(0xE0, 0xE0, 0xE0) << none << 0;
    QTest::newRow("Tavoro 2 lblPlatform") << "Tavoro 2" << "lblPlatform" << QRect(68, 250, 0, 0)
        << "Version 2.1... for Windows" << 11.25 << none << QColor(Qt::black)
        << int(Qt::AlignRight | Qt::AlignTop);
}

// Each captioned control: place, caption, bold font size, alignment, and the colours it is drawn in.
void tst_SplashWindow::controls()
{
    QFETCH(QString, program);
    QFETCH(QString, control);
    QFETCH(QRect, place);
    QFETCH(QString, caption);
    QFETCH(qreal, pointSize);
    QFETCH(QColor, back);
    QFETCH(QColor, fore);
    QFETCH(int, alignment);

    auto splash = makeSplash(programNamed(program));
    splash->show();
    QVERIFY(QTest::qWaitForWindowExposed(splash.get()));
    auto* widget = splash->findChild<QWidget*>(control);
    QVERIFY(widget);

    QCOMPARE(widget->pos(), place.topLeft());
    if (!place.size().isEmpty())
        QCOMPARE(widget->size(), place.size());
    QCOMPARE(widget->font().pointSizeF(), pointSize);
    QVERIFY(widget->font().bold());

    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(int(label->alignment()), alignment);
        QVERIFY(label->autoFillBackground()); // opaque
        QCOMPARE(label->frameShape(), QFrame::NoFrame);
    } else {
        auto* button = qobject_cast<FaceButton*>(widget);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
    }

    // As drawn: the back colour fills the control (seen in a label's bottom-left corner, below
    // its text, and inside a button's edge and focus mark) and the caption is drawn in the fore
    // colour.
    const QImage drawn = widget->grab().toImage();
    const QColor expectedBack = back.isValid() ? back : splash->palette().color(QPalette::Window);
    const QPoint spot = qobject_cast<QLabel*>(widget) ? QPoint(1, drawn.height() - 1)
                                                       : QPoint(8, drawn.height() / 2);
    QCOMPARE(QColor(drawn.pixel(spot)), expectedBack);
    if (fore.isValid())
        QVERIFY2(countPixels(drawn, fore) > 20, "the caption is not drawn in its colour");
}

// The large type must fit: no caption needs more room than its control has.
void tst_SplashWindow::captionsFitTheirControls()
{
    QFETCH(QString, program);
    auto splash = makeSplash(programNamed(program));
    for (const char* name : {"lblProductName", "lblOldGuys"}) {
        auto* label = splash->findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(), name);
        // Narrowed if need be, never made smaller.
        QVERIFY2(QFontInfo(label->font()).pixelSize() >= 16, name);
    }
    auto* start = splash->findChild<QPushButton*>(QStringLiteral("cmdStartTavoro"));
    const QRect inside = start->rect().adjusted(4, 4, -4, -4);
    const QRect needed = start->fontMetrics().boundingRect(inside, Qt::AlignCenter | Qt::TextWordWrap, start->text());
    QVERIFY2(inside.contains(needed), "the start button's caption does not fit");
}

void tst_SplashWindow::platformLabelSizesToItsCaption()
{
    QFETCH(QString, program);
    auto splash = makeSplash(programNamed(program));
    auto* platform = splash->findChild<QLabel*>(QStringLiteral("lblPlatform"));
    QVERIFY(!platform->wordWrap());
    QCOMPARE(platform->size(), platform->sizeHint());
    QCOMPARE(platform->height(), platform->fontMetrics().height());
    QVERIFY(platform->width() >= platform->fontMetrics().horizontalAdvance(platform->text()));
}

void tst_SplashWindow::startButtonHoldsTheFocus()
{
    QFETCH(QString, program);
    auto splash = makeSplash(programNamed(program));
    splash->show();
    splash->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(splash.get()));

    auto* start = splash->findChild<QPushButton*>(QStringLiteral("cmdStartTavoro"));
    QCOMPARE(QApplication::focusWidget(), start);
    for (const QWidget* widget : splash->findChildren<QWidget*>()) {
        if (widget != start)
            QVERIFY2(widget->focusPolicy() == Qt::NoFocus, qPrintable(widget->objectName()));
    }
    // Tab has nowhere else to go.
    QTest::keyClick(splash.get(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), start);
}

void tst_SplashWindow::logoIsDrawnScaledToItsControl_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QRect>("place");
    QTest::newRow("Tavoro 3") << "Tavoro 3" << QRect(82, 120, 199, 183);
    QTest::newRow("Tavoro 2") << "Tavoro 2" << QRect(80, 110, 151, 139);
}

// The whole 450 x 469 picture shrunk into the control, not its top-left corner at its own size.
void tst_SplashWindow::logoIsDrawnScaledToItsControl()
{
    QFETCH(QString, program);
    QFETCH(QRect, place);
    auto splash = makeSplash(programNamed(program));
    auto* logo = splash->findChild<QLabel*>(QStringLiteral("imgLogo"));
    QCOMPARE(logo->geometry(), place);
    // The label keeps the picture at its own size only.
    QCOMPARE(logo->pixmap().deviceIndependentSize().toSize(), place.size());

    const QImage drawn = logo->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage scaled = QImage(QStringLiteral(":/tavoro/logo.jpg"))
                              .convertToFormat(QImage::Format_RGB32)
                              .scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QCOMPARE(drawn.size(), scaled.size());
    qint64 difference = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            difference += qAbs(qGray(drawn.pixel(x, y)) - qGray(scaled.pixel(x, y)));
    const double meanDifference = double(difference) / (drawn.width() * drawn.height());
    QVERIFY2(meanDifference < 4.0, qPrintable(QString::number(meanDifference)));
}

// The program's start shows its splash window first and finishes the controls right after: the
// window then is the one finished in its constructor, control by control.
void tst_SplashWindow::finishingAfterShowGivesTheSameWindow()
{
    QFETCH(QString, program);
    auto complete = makeSplash(programNamed(program));
    auto later = makeSplash(programNamed(program), SplashWindow::Finish::AfterShow);
    // Nothing that decodes the picture has run yet.
    QVERIFY(later->findChild<QLabel*>(QStringLiteral("imgLogo"))->pixmap().isNull());

    later->show(); // finishes the controls
    const QFont condensed = later->findChild<QLabel*>(QStringLiteral("lblOldGuys"))->font();
    later->finishControls(); // a second call changes nothing
    QCOMPARE(later->findChild<QLabel*>(QStringLiteral("lblOldGuys"))->font(), condensed);

    const auto widgets = complete->findChildren<QWidget*>();
    QCOMPARE(later->findChildren<QWidget*>().size(), widgets.size());
    for (const QWidget* widget : widgets) {
        const auto* other = later->findChild<QWidget*>(widget->objectName());
        QVERIFY2(other, qPrintable(widget->objectName()));
        QCOMPARE(other->geometry(), widget->geometry());
        QCOMPARE(other->font(), widget->font());
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            const auto* otherLabel = qobject_cast<const QLabel*>(other);
            QCOMPARE(otherLabel->text(), label->text());
            QCOMPARE(otherLabel->pixmap().size(), label->pixmap().size());
        }
    }
}

QTEST_MAIN(tst_SplashWindow)
#include "tst_splashwindow.moc"
