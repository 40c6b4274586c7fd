#include "qseekslider.h"

#include <QTest>

namespace {

const QColor UpperBar(168, 169, 101);
const QColor LowerBar(0xAA, 0x99, 0x00);

// The slider's own painting, without the base slider's child widgets on top.
QImage ownPainting(QSeekSlider &slider, const QRegion &region = QRegion())
{
    QImage image(slider.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    slider.render(&image, QPoint(), region, QWidget::RenderFlags());
    return image;
}

// The columns where the thick lower bar is drawn, as [first, last], or an empty
// pair when there is none.
QPair<int, int> lowerBarColumns(const QImage &image)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, 4) == LowerBar) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

bool hasBarPixels(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == UpperBar || image.pixelColor(x, y) == LowerBar)
                return true;
    return false;
}

} // namespace

class TestQSeekSlider : public QObject
{
    Q_OBJECT
private slots:
    void normaliseMarks_data();
    void normaliseMarks();
    void barGeometry_data();
    void barGeometry();
    void freshSliderPaintsOnlyTheGradient();
    void loopRangeIsPaintedBetweenTheMarks_data();
    void loopRangeIsPaintedBetweenTheMarks();
    void markOutZeroPaintsLikeTheEnd();
    void resetRemovesTheRange();
    void marksKeepTheirPixelsWhenTheSliderGrows();
    void noPhantomRangeAfterGrowingOrPartialRepaint();
};

void TestQSeekSlider::normaliseMarks_data()
{
    QTest::addColumn<double>("markIn");
    QTest::addColumn<double>("markOut");
    QTest::addColumn<double>("expectedIn");
    QTest::addColumn<double>("expectedOut");
    QTest::addColumn<bool>("range");
    QTest::newRow("no marks") << 0.0 << 0.0 << 0.0 << 300.0 << false;
    QTest::newRow("mark-in at the end is the start") << 300.0 << 0.0 << 0.0 << 300.0 << false;
    QTest::newRow("mark-out at the end, in set") << 60.0 << 300.0 << 60.0 << 300.0 << true;
    QTest::newRow("mark-out only") << 0.0 << 150.0 << 0.0 << 150.0 << true;
    QTest::newRow("reversed marks kept") << 200.0 << 100.0 << 200.0 << 100.0 << true;
    QTest::newRow("outside the widget kept") << -30.0 << 450.0 << -30.0 << 450.0 << true;
}

void TestQSeekSlider::normaliseMarks()
{
    QFETCH(double, markIn);
    QFETCH(double, markOut);
    const LoopMarks marks = normaliseLoopMarks({markIn, markOut}, 300);
    QTEST(marks.markInX, "expectedIn");
    QTEST(marks.markOutX, "expectedOut");
    QTEST(hasLoopRange(marks, 300), "range");
}

void TestQSeekSlider::barGeometry_data()
{
    QTest::addColumn<double>("markIn");
    QTest::addColumn<double>("markOut");
    QTest::addColumn<int>("height");
    QTest::addColumn<QLine>("upper");
    QTest::addColumn<QLine>("lower");
    QTest::newRow("height 8") << 60.0 << 180.0 << 8 << QLine(182, 1, 58, 1) << QLine(180, 5, 60, 5);
    QTest::newRow("fractions dropped") << 60.7 << 180.9 << 8 << QLine(182, 1, 58, 1)
                                       << QLine(180, 5, 60, 5);
    QTest::newRow("height 20") << 10.0 << 50.0 << 20 << QLine(55, 2, 5, 2) << QLine(50, 12, 10, 12);
}

void TestQSeekSlider::barGeometry()
{
    QFETCH(double, markIn);
    QFETCH(double, markOut);
    QFETCH(int, height);
    QTEST(loopUpperBar({markIn, markOut}, height), "upper");
    QTEST(loopLowerBar({markIn, markOut}, height), "lower");
}

void TestQSeekSlider::freshSliderPaintsOnlyTheGradient()
{
    QSeekSlider slider(nullptr);
    slider.resize(300, 20);
    QCOMPARE(slider.height(), 8);
    const QImage image = ownPainting(slider);
    QVERIFY(!hasBarPixels(image));
    // Top and bottom rows differ: the gradient runs from #EEDDCC down to #CCDDEE.
    QVERIFY(image.pixelColor(150, 0).red() > image.pixelColor(150, 7).red());
    QVERIFY(image.pixelColor(150, 0).blue() < image.pixelColor(150, 7).blue());
}

void TestQSeekSlider::loopRangeIsPaintedBetweenTheMarks_data()
{
    QTest::addColumn<double>("markIn");
    QTest::addColumn<double>("markOut");
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<int>("lastColumn");
    // Square caps add half the 6-pixel pen at each end.
    QTest::newRow("in and out") << 0.2 << 0.6 << 57 << 182;
    QTest::newRow("in only runs to the end") << 0.5 << -1.0 << 147 << 299;
    QTest::newRow("out only starts at the left") << -1.0 << 0.5 << 0 << 152;
    QTest::newRow("in after out") << 0.7 << 0.3 << 87 << 212;
    QTest::newRow("mark-in at the very end") << 1.0 << 0.5 << 0 << 152;
}

void TestQSeekSlider::loopRangeIsPaintedBetweenTheMarks()
{
    QFETCH(double, markIn);
    QFETCH(double, markOut);
    QSeekSlider slider(nullptr);
    slider.resize(300, 8);
    if (markIn >= 0)
        slider.setMarkInFlag(markIn);
    if (markOut >= 0)
        slider.setMarkOutFlag(markOut);
    const QImage image = ownPainting(slider);
    const auto columns = lowerBarColumns(image);
    QTEST(columns.first, "firstColumn");
    QTEST(columns.second, "lastColumn");
    // The thin bar sits on the top rows and reaches as far as the thick one.
    const int middle = (columns.first + columns.second) / 2;
    QCOMPARE(image.pixelColor(middle, 0), UpperBar);
    QCOMPARE(image.pixelColor(middle, 1), UpperBar);
    QCOMPARE(image.pixelColor(middle, 7), LowerBar);
}

void TestQSeekSlider::markOutZeroPaintsLikeTheEnd()
{
    QSeekSlider atZero(nullptr);
    QSeekSlider atOne(nullptr);
    for (QSeekSlider *slider : {&atZero, &atOne}) {
        slider->resize(240, 8);
        slider->setMarkInFlag(0.25);
    }
    atZero.setMarkOutFlag(0.0);
    atOne.setMarkOutFlag(1.0);
    QCOMPARE(ownPainting(atZero), ownPainting(atOne));
    QCOMPARE(lowerBarColumns(ownPainting(atZero)), qMakePair(57, 239));
}

void TestQSeekSlider::resetRemovesTheRange()
{
    QSeekSlider slider(nullptr);
    slider.resize(300, 8);
    const QImage fresh = ownPainting(slider);
    slider.setMarkInFlag(0.1);
    slider.setMarkOutFlag(0.9);
    QVERIFY(hasBarPixels(ownPainting(slider)));
    slider.resetMark();
    QCOMPARE(ownPainting(slider), fresh);
    // The main window's "no loop" is mark-in 0.0 and mark-out 0.0 or 1.0.
    slider.setMarkInFlag(0.3);
    slider.setMarkInFlag(0.0);
    slider.setMarkOutFlag(1.0);
    QCOMPARE(ownPainting(slider), fresh);
}

void TestQSeekSlider::marksKeepTheirPixelsWhenTheSliderGrows()
{
    QSeekSlider slider(nullptr);
    slider.resize(300, 8);
    slider.setMarkInFlag(0.2);
    slider.setMarkOutFlag(0.6);
    QCOMPARE(lowerBarColumns(ownPainting(slider)), qMakePair(57, 182));
    slider.resize(500, 8);
    QCOMPARE(lowerBarColumns(ownPainting(slider)), qMakePair(57, 182));
    // An explicit mark-out at the end stays where the end was when it was set.
    slider.resize(300, 8);
    slider.setMarkOutFlag(1.0);
    slider.resize(600, 8);
    QCOMPARE(lowerBarColumns(ownPainting(slider)), qMakePair(57, 302));
}

// Mark-out 0.0 means "the end"; storing the right edge of one paint must not turn
// into a loop range once the slider is wider, or after a repaint of only a part.
void TestQSeekSlider::noPhantomRangeAfterGrowingOrPartialRepaint()
{
    QSeekSlider slider(nullptr);
    slider.resize(300, 8);
    QVERIFY(!hasBarPixels(ownPainting(slider)));
    slider.resize(500, 8);
    QVERIFY(!hasBarPixels(ownPainting(slider)));
    ownPainting(slider, QRegion(0, 0, 100, 8));
    QVERIFY(!hasBarPixels(ownPainting(slider)));

    slider.setMarkInFlag(0.5);
    ownPainting(slider, QRegion(0, 0, 100, 8));
    QCOMPARE(lowerBarColumns(ownPainting(slider)), qMakePair(247, 499));
    // A mark-in that happens to equal the width of a partial repaint is not the end.
    slider.setMarkInFlag(0.2);
    ownPainting(slider, QRegion(0, 0, 100, 8));
    QCOMPARE(lowerBarColumns(ownPainting(slider)), qMakePair(97, 499));
}

QTEST_MAIN(TestQSeekSlider)
#include "tst_qseekslider.moc"
