// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures the programs carry: the logo as the baseline JPEG the splash window expects, read
// through Qt's jpeg plugin; the program icon in every size; and the Windows icon file with its
// three images.

#include "program.h"

#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QTest>
#include <QtEndian>

using namespace tavoro;

namespace {

// The segment of a JPEG file that starts with `marker` (0xFFxx), from its length field on, or
// nothing. Walks the segments from the start of the file up to the first scan.
QByteArray jpegSegment(const QByteArray& jpeg, quint8 marker)
{
    qsizetype at = 2; // past SOI
    while (at + 4 <= jpeg.size() && quint8(jpeg[at]) == 0xFF) {
        const quint8 type = quint8(jpeg[at + 1]);
        const int length = qFromBigEndian<quint16>(jpeg.constData() + at + 2);
        if (type == marker)
            return jpeg.mid(at + 2, length);
        if (type == 0xDA) // start of scan: no header segments follow
            break;
        at += 2 + length;
    }
    return {};
}

int bigEndian16(const QByteArray& bytes, int at) { return qFromBigEndian<quint16>(bytes.constData() + at); }
int littleEndian16(const QByteArray& bytes, int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }

} // namespace

class tst_ProgramAssets : public QObject {
    Q_OBJECT

private slots:
    void logoIsBaselineJfifAt150Dpi();
    void logoLoadsThroughJpegPlugin();
    void programIconHasEverySize();
    void windowIconHasTheSmallSizesOfTheProgramIcon();
    void windowsIconHasItsThreeImages();
};

void tst_ProgramAssets::logoIsBaselineJfifAt150Dpi()
{
    QFile file(QStringLiteral(":/tavoro/logo.jpg"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray jpeg = file.readAll();
    QVERIFY(jpeg.startsWith("\xFF\xD8"));

    // APP0: "JFIF\0", version 1.02, units 1 (dots per inch), 150 x 150.
    const QByteArray jfif = jpegSegment(jpeg, 0xE0);
    QVERIFY(jfif.size() >= 14);
    QCOMPARE(jfif.mid(2, 5), QByteArray("JFIF\0", 5));
    QCOMPARE(int(jfif[7]), 1);
    QCOMPARE(int(jfif[8]), 2);
    QCOMPARE(int(jfif[9]), 1);
    QCOMPARE(bigEndian16(jfif, 10), 150);
    QCOMPARE(bigEndian16(jfif, 12), 150);

    // SOF0, baseline: 8-bit samples, 469 lines of 450 pixels, three components. No progressive
    // (SOF2) frame.
    const QByteArray frame = jpegSegment(jpeg, 0xC0);
    QVERIFY2(!frame.isEmpty(), "not a baseline JPEG");
    QVERIFY(jpegSegment(jpeg, 0xC2).isEmpty());
    QCOMPARE(int(frame[2]), 8);
    QCOMPARE(bigEndian16(frame, 3), 469);
    QCOMPARE(bigEndian16(frame, 5), 450);
    QCOMPARE(int(frame[7]), 3);
}

// Qt reads JPEG only through its qjpeg image plugin, which must be found at run time.
void tst_ProgramAssets::logoLoadsThroughJpegPlugin()
{
    QVERIFY2(QImageReader::supportedImageFormats().contains("jpeg"), "the qjpeg image plugin is missing");
    QImageReader reader(QStringLiteral(":/tavoro/logo.jpg"));
    const QImage logo = reader.read();
    QVERIFY2(!logo.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(logo.size(), QSize(450, 469));
}

void tst_ProgramAssets::programIconHasEverySize()
{
    const QIcon icon = programIcon();
    for (int size : ProgramIconSizes) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        QCOMPARE(pixmap.size(), QSize(size, size));
        // Transparent around the calculator's body, opaque in its middle.
        const QImage image = pixmap.toImage();
        QCOMPARE(qAlpha(image.pixel(0, size / 2)), 0);
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
}

// The windows wear the 16 and 32 pixel images of the program icon, and no others.
void tst_ProgramAssets::windowIconHasTheSmallSizesOfTheProgramIcon()
{
    const QIcon icon = windowIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
    for (int size : WindowIconSizes) {
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        QCOMPARE(image, programIcon().pixmap(QSize(size, size)).toImage());
    }
}

// In order: 32 x 32 in 2 colours (1 bit per pixel), 32 x 32 in 16 colours, 16 x 16 in 16 colours.
void tst_ProgramAssets::windowsIconHasItsThreeImages()
{
    QFile file(QStringLiteral(TAVORO_ICO_PATH));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    QCOMPARE(littleEndian16(ico, 0), 0);
    QCOMPARE(littleEndian16(ico, 2), 1); // an icon, not a cursor
    QCOMPARE(littleEndian16(ico, 4), 3);

    struct Image {
        int size, colours, bits;
    };
    const Image expected[] = {{32, 2, 1}, {32, 16, 4}, {16, 16, 4}};
    QImageReader reader(&file, "ico");
    for (int i = 0; i < 3; ++i) {
        const QByteArray entry = ico.mid(6 + 16 * i, 16);
        QCOMPARE(int(quint8(entry[0])), expected[i].size);
        QCOMPARE(int(quint8(entry[1])), expected[i].size);
        QCOMPARE(int(quint8(entry[2])), expected[i].colours);
        QCOMPARE(littleEndian16(entry, 6), expected[i].bits);
        // The image's own header says the same.
        const int offset = qFromLittleEndian<quint32>(entry.constData() + 12);
        QCOMPARE(littleEndian16(ico, offset + 14), expected[i].bits);

        // Qt's icon plugin decodes it, transparent in the corner and opaque in the middle.
        file.seek(0);
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), QSize(expected[i].size, expected[i].size));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(expected[i].size / 2, expected[i].size / 2)), 255);
    }
}

QTEST_MAIN(tst_ProgramAssets)
#include "tst_programassets.moc"
