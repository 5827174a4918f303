// How design labels break their captions into lines: at blanks, with leading blanks kept as
// a line of their own when the first word does not fit behind them.

#include "designfont.h"
#include "designlabel.h"

#include <QFontMetrics>
#include <QTest>

using namespace tavoro;

class tst_DesignLabel : public QObject {
    Q_OBJECT

private slots:
    void wrapAtBlanks_data();
    void wrapAtBlanks();
};

void tst_DesignLabel::wrapAtBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("lines");

    // The design's captions in their labels' widths.
    QTest::newRow("clear: blanks, then the word on line 2")
        << "     clear" << "MS Sans Serif" << 13.5 << 55 << QStringList{"     ", "clear"};
    QTest::newRow("clear ALL: blanks, then one word a line")
        << "              clear ALL" << "Arial Black" << 14.25 << 85
        << QStringList{"              ", "clear ", "ALL"};
    QTest::newRow("(Total) fits") << "(Total)" << "Arial" << 15.75 << 85 << QStringList{"(Total)"};
    QTest::newRow("Error Cleared fits") << "Error Cleared" << "Arial" << 27.75 << 388 << QStringList{"Error Cleared"};
    // The rules on their own.
    QTest::newRow("a long word keeps its line") << "1234567890" << "Arial" << 27.75 << 40 << QStringList{"1234567890"};
    QTest::newRow("a long word after a short one") << "1 1234567890" << "Arial" << 27.75 << 40
                                                   << QStringList{"1 ", "1234567890"};
    QTest::newRow("trailing blanks take no room") << "ab   " << "Arial" << 9.0 << 12 << QStringList{"ab   "};
    QTest::newRow("empty") << "" << "Arial" << 9.0 << 50 << QStringList{""};
    QTest::newRow("a single blank") << " " << "Arial" << 9.0 << 50 << QStringList{" "};
}

void tst_DesignLabel::wrapAtBlanks()
{
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(int, width);
    const QFontMetrics metrics(designFont(family, points));
    QTEST(tavoro::wrapAtBlanks(text, width, metrics), "lines");
}

QTEST_MAIN(tst_DesignLabel)
#include "tst_designlabel.moc"
