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

// First and last column of the thick lower bar, (-1, -1) when there is none.
QPair<int, int> lowerBar(QSeekSlider &slider)
{
    const QImage image = ownPainting(slider);
    QPair<int, int> columns(-1, -1);
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, 4) == LowerBar) {
            columns.first = columns.first < 0 ? x : columns.first;
            columns.second = x;
        }
    }
    return columns;
}

const QPair<int, int> NoBar(-1, -1);

} // namespace

class TestQSeekSlider : public QObject
{
    Q_OBJECT
private slots:
    void barGeometry();
    void loopRangeIsPaintedBetweenTheMarks_data();
    void loopRangeIsPaintedBetweenTheMarks();
    void resetRemovesTheRange();
    void marksKeepTheirPixelsWhenTheSliderGrows();
    void noPhantomRangeAfterGrowingOrPartialRepaint();
};

void TestQSeekSlider::barGeometry()
{
    // Fractions of a pixel are dropped; the thin bar reaches 2 (height / 4) further out.
    QCOMPARE(loopUpperBar({60.7, 180.9}, 8), QLine(182, 1, 58, 1));
    QCOMPARE(loopLowerBar({60.7, 180.9}, 8), QLine(180, 5, 60, 5));
    QCOMPARE(loopUpperBar({10, 50}, 20), QLine(55, 2, 5, 2));
    QCOMPARE(loopLowerBar({10, 50}, 20), QLine(50, 12, 10, 12));
}

void TestQSeekSlider::loopRangeIsPaintedBetweenTheMarks_data()
{
    QTest::addColumn<double>("markIn");
    QTest::addColumn<double>("markOut");
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<int>("lastColumn");
    // Square caps add half the 6-pixel pen at each end; -1 leaves a mark unset.
    QTest::newRow("no marks") << 0.0 << 0.0 << -1 << -1;
    QTest::newRow("the main window's no loop") << 0.0 << 1.0 << -1 << -1;
    QTest::newRow("in at the end, out 0.0: no range") << 1.0 << 0.0 << -1 << -1;
    QTest::newRow("in and out") << 0.2 << 0.6 << 57 << 182;
    QTest::newRow("in only: out 0.0 is the end") << 0.5 << 0.0 << 147 << 299;
    QTest::newRow("out only starts at the left") << -1.0 << 0.5 << 0 << 152;
    QTest::newRow("in after out") << 0.7 << 0.3 << 87 << 212;
    QTest::newRow("mark-in at the very end") << 1.0 << 0.5 << 0 << 152;
}

void TestQSeekSlider::loopRangeIsPaintedBetweenTheMarks()
{
    QFETCH(double, markIn);
    QFETCH(double, markOut);
    QSeekSlider slider(nullptr);
    slider.resize(300, 20);
    QCOMPARE(slider.height(), 8);
    if (markIn >= 0)
        slider.setMarkInFlag(markIn);
    if (markOut >= 0)
        slider.setMarkOutFlag(markOut);
    const auto columns = lowerBar(slider);
    QTEST(columns.first, "firstColumn");
    QTEST(columns.second, "lastColumn");
    if (columns.first < 0)
        return;
    // The thin bar sits on the top rows, the thick one below.
    const QImage image = ownPainting(slider);
    const int middle = (columns.first + columns.second) / 2;
    QCOMPARE(image.pixelColor(middle, 1), UpperBar);
    QCOMPARE(image.pixelColor(middle, 7), LowerBar);
}

void TestQSeekSlider::resetRemovesTheRange()
{
    QSeekSlider slider(nullptr);
    slider.resize(300, 8);
    const QImage fresh = ownPainting(slider);
    slider.setMarkInFlag(0.1);
    slider.setMarkOutFlag(0.9);
    slider.resetMark();
    QCOMPARE(ownPainting(slider), fresh);
}

void TestQSeekSlider::marksKeepTheirPixelsWhenTheSliderGrows()
{
    QSeekSlider slider(nullptr);
    slider.resize(300, 8);
    slider.setMarkInFlag(0.2);
    slider.setMarkOutFlag(0.6);
    slider.resize(500, 8);
    QCOMPARE(lowerBar(slider), qMakePair(57, 182));
    // An explicit mark-out at the end stays where the end was when it was set.
    slider.resize(300, 8);
    slider.setMarkOutFlag(1.0);
    slider.resize(600, 8);
    QCOMPARE(lowerBar(slider), qMakePair(57, 302));
}

// Mark-out 0.0 means "the end"; storing the right edge of one paint must not turn
// into a loop range once the slider is wider, or after a repaint of only a part.
void TestQSeekSlider::noPhantomRangeAfterGrowingOrPartialRepaint()
{
    QSeekSlider slider(nullptr);
    slider.resize(300, 8);
    ownPainting(slider);
    slider.resize(500, 8);
    QCOMPARE(lowerBar(slider), NoBar);
    ownPainting(slider, QRegion(0, 0, 100, 8));
    QCOMPARE(lowerBar(slider), NoBar);
    // A mark-in that happens to equal the width of a partial repaint is not the end.
    slider.setMarkInFlag(0.2);
    ownPainting(slider, QRegion(0, 0, 100, 8));
    QCOMPARE(lowerBar(slider), qMakePair(97, 499));
}

QTEST_MAIN(TestQSeekSlider)
#include "tst_qseekslider.moc"
