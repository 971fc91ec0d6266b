// Readable text colours: the contrast ratio of two colours, and the least
// change of lightness that makes the sheet's text colours readable on the
// backgrounds a light or dark palette gives a cell.

#include "platform/widgets/Contrast.h"

#include <QTest>

class tst_Contrast : public QObject
{
    Q_OBJECT

private slots:
    void ratio_data();
    void ratio();
    void readable_data();
    void readable();
};

void tst_Contrast::ratio_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<double>("expected"); // published values of the formula

    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("white on black, either order") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("same colour") << QColor(120, 30, 200) << QColor(120, 30, 200) << 1.0;
    QTest::newRow("pure red on white") << QColor(255, 0, 0) << QColor(Qt::white) << 3.998;
    QTest::newRow("grey 128 on white") << QColor(128, 128, 128) << QColor(Qt::white) << 3.949;
    QTest::newRow("grey 118 on white") << QColor(118, 118, 118) << QColor(Qt::white) << 4.542;
    QTest::newRow("pure blue on black") << QColor(0, 0, 255) << QColor(Qt::black) << 2.444;
}

void tst_Contrast::ratio()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(double, expected);
    QVERIFY2(std::abs(Contrast::ratio(a, b) - expected) < 0.005,
             qPrintable(QString::number(Contrast::ratio(a, b))));
}

void tst_Contrast::readable_data()
{
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<bool>("changes"); // false: readable as it is

    const QColor red(255, 0, 0);      // a shortfall
    const QColor darkBlue(0, 0, 192); // a surplus
    const QColor grey(128, 128, 128); // a row not stored
    const QColor white(Qt::white);
    const QColor lightGrey(240, 240, 240); // a light window
    const QColor selection(48, 140, 198);  // a highlight
    const QColor cursor(217, 232, 243);    // white under a light highlight tint
    const QColor darkBase(36, 36, 36);

    QTest::newRow("red on white") << red << white << true;
    QTest::newRow("dark blue on white") << darkBlue << white << false;
    QTest::newRow("grey on white") << grey << white << true;
    QTest::newRow("red on light grey") << red << lightGrey << true;
    QTest::newRow("dark blue on light grey") << darkBlue << lightGrey << false;
    QTest::newRow("grey on light grey") << grey << lightGrey << true;
    QTest::newRow("red on the cursor tint") << red << cursor << true;
    QTest::newRow("red on the selection") << red << selection << true;
    QTest::newRow("dark blue on the selection") << darkBlue << selection << true;
    QTest::newRow("grey on the selection") << grey << selection << true;
    QTest::newRow("red on a dark base") << red << darkBase << true;
    QTest::newRow("dark blue on a dark base") << darkBlue << darkBase << true;
    QTest::newRow("grey on a dark base") << grey << darkBase << true;
    QTest::newRow("white on a dark base") << white << darkBase << false;
    QTest::newRow("red on mid grey") << red << QColor(117, 117, 117) << true;
    QTest::newRow("dark blue on mid grey") << darkBlue << QColor(116, 116, 116) << true;
}

void tst_Contrast::readable()
{
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(bool, changes);
    const QColor result = Contrast::readable(text, background);
    const QString shown = result.name() + QStringLiteral(" on ") + background.name();
    QVERIFY2(Contrast::ratio(result, background) >= Contrast::ReadableRatio, qPrintable(shown));
    QCOMPARE(result != text, changes);
    if (!changes)
        return;
    // The hue and saturation are kept (a grey stays grey)...
    if (text.hslSaturation() > 0) {
        QVERIFY2(std::abs(result.hslHue() - text.hslHue()) <= 2, qPrintable(shown));
        QVERIFY2(result.hslSaturation() >= text.hslSaturation() - 8, qPrintable(shown));
    } else {
        QCOMPARE(result.hslSaturation(), 0);
    }
    // ...and the lightness moves no further than it must: one step back
    // towards the original falls short.
    const int step = result.lightness() < text.lightness() ? 3 : -3;
    const QColor lessChanged = QColor::fromHsl(std::max(0, result.hslHue()), result.hslSaturation(),
                                               result.lightness() + step);
    QVERIFY2(Contrast::ratio(lessChanged, background) < Contrast::ReadableRatio, qPrintable(shown));
    // Darker on light backgrounds, lighter on dark ones.
    QCOMPARE(result.lightness() < text.lightness(), Contrast::luminance(background) > 0.18);
}

QTEST_MAIN(tst_Contrast)
#include "tst_contrast.moc"
