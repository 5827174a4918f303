// SPDX-License-Identifier: GPL-3.0-or-later
// Both programs' windows on a large screen of twice the pixel density (QT_SCALE_FACTOR=2): each
// window is twice as large in device pixels, every control sits at twice its place, each control
// looks the same as at scale 1 when scaled down, and text and the logo are drawn at the full
// density rather than enlarged from a scale-1 picture.
//
// The scale factor is read once, when the application starts, so the test runs itself twice as a
// child process (TAVORO_RENDER_DIR set), at scale 1 and at scale 2; each child saves a picture of
// every window and the device-pixel rectangle of every visible control, and this process compares
// them.

#include "calculatorwindow.h"
#include "program.h"
#include "programs.h"
#include "recordingservices.h"
#include "splashwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>

using namespace tavoro;

namespace {

constexpr const char* RenderDirVariable = "TAVORO_RENDER_DIR";

// The four windows, by file name.
const QStringList Windows{"frmSplash3", "frmTavoro3", "frmSplash", "frmTavoro"};

// Saves `window` as <dir>/<name>.png and its visible named controls' device-pixel rectangles,
// measured from the window's corner, as <dir>/<name>.rects ("name x y width height" lines).
bool saveWindow(QWidget& window, const QString& dir, const QString& name)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    const qreal ratio = window.devicePixelRatioF();
    if (!window.grab().toImage().save(dir + QLatin1Char('/') + name + QStringLiteral(".png")))
        return false;
    QFile rects(dir + QLatin1Char('/') + name + QStringLiteral(".rects"));
    if (!rects.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&rects);
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || control->objectName().startsWith(QLatin1String("qt_"))
            || !control->isVisibleTo(&window))
            continue;
        const QPoint corner = control->mapTo(&window, QPoint());
        out << control->objectName() << ' ' << std::lround(corner.x() * ratio) << ' ' << std::lround(corner.y() * ratio)
            << ' ' << std::lround(control->width() * ratio) << ' ' << std::lround(control->height() * ratio) << '\n';
    }
    window.hide();
    return true;
}

// The child process: both programs' splash and calculator windows, the calculator with a worked
// example on its displays and its tape shown.
int renderWindows(int argc, char* argv[], const QString& dir)
{
    QApplication application(argc, argv);
    RecordingServices services;
    for (const ProgramDescription* description : {&Tavoro3, &Tavoro2}) {
        setUpApplication(*description);
        Program program(*description, services);
        CalculatorWindow& calculator = program.calculatorWindow();
        calculator.show();
        for (const char* key : {"cmdDigit(1)", "cmdDigit(2)", "cmdOp(0)", "cmdDigit(3)"})
            calculator.findChild<QPushButton*>(QLatin1String(key))->click();
        QTest::mouseClick(calculator.findChild<QLineEdit*>(QStringLiteral("txtShowEntries")), Qt::LeftButton);
        if (!saveWindow(program.splashWindow(), dir, QLatin1String(description->splash.className))
            || !saveWindow(calculator, dir, QLatin1String(description->calculator.className)))
            return 1;
    }
    return 0;
}

using Rects = QHash<QString, QRect>;

Rects readRects(const QString& path)
{
    Rects rects;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return rects;
    QTextStream in(&file);
    while (!in.atEnd()) {
        QString name;
        int x = 0, y = 0, width = 0, height = 0;
        in >> name >> x >> y >> width >> height;
        if (!name.isEmpty())
            rects.insert(name, QRect(x, y, width, height));
    }
    return rects;
}

QRect doubled(const QRect& r) { return QRect(r.topLeft() * 2, r.size() * 2); }

// The mean colour of the `size` x `size` pixels of `image` from (x, y), per channel.
std::array<double, 3> meanColour(const QImage& image, int x, int y, int size)
{
    std::array<double, 3> sum{};
    for (int dy = 0; dy < size; ++dy) {
        for (int dx = 0; dx < size; ++dx) {
            const QRgb p = image.pixel(x + dx, y + dy);
            sum[0] += qRed(p);
            sum[1] += qGreen(p);
            sum[2] += qBlue(p);
        }
    }
    for (double& channel : sum)
        channel /= size * size;
    return sum;
}

// How far `large` within the doubled `area` looks from `small` within `area`: the mean difference
// per colour channel (0..255) between 4 x 4 blocks of `small` and the 8 x 8 blocks of `large` that
// cover the same part of the control. Comparing blocks rather than pixels leaves out how text
// edges fall on the pixels at each density (glyphs are hinted for their size in device pixels),
// and keeps what matters: colours, where captions lie and how they wrap, edges and their widths.
double blockDifference(const QImage& small, const QImage& large, const QRect& area)
{
    double total = 0;
    long count = 0;
    constexpr int Block = 4;
    for (int y = area.top(); y + Block - 1 <= area.bottom(); y += Block) {
        for (int x = area.left(); x + Block - 1 <= area.right(); x += Block) {
            const auto one = meanColour(small, x, y, Block);
            const auto two = meanColour(large, 2 * x, 2 * y, 2 * Block);
            for (int channel = 0; channel < 3; ++channel)
                total += std::abs(one[channel] - two[channel]);
            count += 3;
        }
    }
    return count > 0 ? total / count : 0;
}

// The mean difference per colour channel between the pixels of `small` in the two-pixel ring
// along the inside of `area` and the 2 x 2 blocks of `large` over them: a key's raised edge, which
// must be as thick, in design pixels, at every density.
double edgeDifference(const QImage& small, const QImage& large, const QRect& area)
{
    double total = 0;
    long count = 0;
    const QRect inner = area.adjusted(2, 2, -2, -2);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (inner.contains(x, y))
                continue;
            const auto one = meanColour(small, x, y, 1);
            const auto two = meanColour(large, 2 * x, 2 * y, 2);
            for (int channel = 0; channel < 3; ++channel)
                total += std::abs(one[channel] - two[channel]);
            count += 3;
        }
    }
    return count > 0 ? total / count : 0;
}

// Detail drawn at the full density: the share of 2 x 2 blocks of `large` within the doubled `area`
// whose four pixels differ, against the pixels of `small` that differ from their right neighbour
// (the edges there are to draw). A scale-1 picture enlarged twice has no such blocks at all.
double fineDetail(const QImage& small, const QImage& large, const QRect& area)
{
    long edges = 0, fineBlocks = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (x < area.right() && small.pixel(x, y) != small.pixel(x + 1, y))
                ++edges;
            const QRgb corner = large.pixel(2 * x, 2 * y);
            if (large.pixel(2 * x + 1, 2 * y) != corner || large.pixel(2 * x, 2 * y + 1) != corner
                || large.pixel(2 * x + 1, 2 * y + 1) != corner)
                ++fineBlocks;
        }
    }
    return edges > 0 ? double(fineBlocks) / double(edges) : 0;
}

} // namespace

class tst_HighDensity : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(int scale, const QString& window, const char* suffix) const
    {
        return m_dir.filePath(QStringLiteral("scale%1/%2%3").arg(scale).arg(window, QLatin1String(suffix)));
    }
    QImage image(int scale, const QString& window) const
    {
        return QImage(path(scale, window, ".png")).convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A screen on which both windows fit at either scale, as designed.
        const QString screens = m_dir.filePath(QStringLiteral("screens.json"));
        QFile config(screens);
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(R"({"screens": [{"name": "large", "x": 0, "y": 0, "width": 2560, "height": 1600}]})");
        config.close();
        for (int scale : {1, 2}) {
            const QString dir = m_dir.filePath(QStringLiteral("scale%1").arg(scale));
            QVERIFY(QDir().mkpath(dir));
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + screens);
            environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
            environment.insert(QLatin1String(RenderDirVariable), dir);
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY2(child.waitForFinished(60000), "the rendering child did not finish");
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QCOMPARE(child.exitCode(), 0);
        }
    }

    void windowsAreTwiceAsLarge_data()
    {
        QTest::addColumn<QString>("window");
        for (const QString& window : Windows)
            QTest::newRow(qPrintable(window)) << window;
    }
    void windowsAreTwiceAsLarge()
    {
        QFETCH(QString, window);
        const QImage one = image(1, window), two = image(2, window);
        QVERIFY(!one.isNull() && !two.isNull());
        QCOMPARE(two.size(), one.size() * 2);
    }

    void controlsKeepTheirPlacesAndLooks_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        for (const QString& window : Windows) {
            const Rects rects = readRects(path(1, window, ".rects"));
            QVERIFY(rects.size() >= 6);
            for (auto it = rects.cbegin(); it != rects.cend(); ++it)
                QTest::addRow("%s %s", qPrintable(window), qPrintable(it.key())) << window << it.key();
        }
    }
    void controlsKeepTheirPlacesAndLooks()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        const QRect one = readRects(path(1, window, ".rects")).value(control);
        const QRect two = readRects(path(2, window, ".rects")).value(control);
        QCOMPARE(two, doubled(one));
        // Scaled down, the control looks as it does at scale 1.
        const double difference = blockDifference(image(1, window), image(2, window), one);
        QVERIFY2(difference < 12.0, qPrintable(QStringLiteral("differs by %1 per channel").arg(difference)));
    }

    void keyEdgesKeepTheirWidth_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        for (const char* window : {"frmTavoro3", "frmTavoro"}) {
            for (const char* control : {"cmdDigit(0)", "cmdDigit(11)", "cmdOp(0)", "cmdOp(5)", "txtShowEntries"})
                QTest::addRow("%s %s", window, control) << window << control;
        }
        for (const char* window : {"frmSplash3", "frmSplash"})
            QTest::addRow("%s cmdStartTavoro", window) << window << "cmdStartTavoro";
    }
    void keyEdgesKeepTheirWidth()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        const QRect area = readRects(path(1, window, ".rects")).value(control);
        QVERIFY(!area.isEmpty());
        const double difference = edgeDifference(image(1, window), image(2, window), area);
        QVERIFY2(difference < 8.0, qPrintable(QStringLiteral("edges differ by %1 per channel").arg(difference)));
    }

    void textAndLogoAreDrawnAtFullDensity_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        for (const char* window : {"frmTavoro3", "frmTavoro"}) {
            for (const char* control : {"cmdDigit(1)", "cmdOp(2)", "lblDisplay", "lblNewNum", "lblTotal", "lblClearAll",
                                        "lblClearError2", "txtShowEntries", "lstEntered"})
                QTest::addRow("%s %s", window, control) << window << control;
        }
        for (const char* window : {"frmSplash3", "frmSplash"}) {
            for (const char* control : {"lblProductName", "lblOldGuys", "imgLogo", "cmdStartTavoro", "lblPlatform"})
                QTest::addRow("%s %s", window, control) << window << control;
        }
    }
    void textAndLogoAreDrawnAtFullDensity()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        // Inside the control's edge, which is plain colour at any density.
        const QRect area = readRects(path(1, window, ".rects")).value(control).adjusted(3, 3, -3, -3);
        QVERIFY(!area.isEmpty());
        const double detail = fineDetail(image(1, window), image(2, window), area);
        QVERIFY2(detail > 0.25, qPrintable(QStringLiteral("fine detail %1").arg(detail)));
    }
};

int main(int argc, char* argv[])
{
    if (const QByteArray dir = qgetenv(RenderDirVariable); !dir.isEmpty())
        return renderWindows(argc, argv, QString::fromLocal8Bit(dir));
    QApplication application(argc, argv);
    tst_HighDensity test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdensity.moc"
