#include "qprogressindicator.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QImage rendered(QProgressIndicator &indicator)
{
    QImage image(indicator.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    indicator.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

bool isBlank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() != 0)
                return false;
    return true;
}

} // namespace

class TestQProgressIndicator : public QObject
{
    Q_OBJECT
private slots:
    void geometry_data();
    void geometry();
    void drawsNothingWhenStoppedUnlessAsked();
    void spinsWhileAnimated();
    void delayChangeKeepsTheRunningState();
};

void TestQProgressIndicator::geometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner");
    QTest::addColumn<int>("capsuleHeight");
    QTest::addColumn<int>("capsuleWidth");
    QTest::addColumn<int>("cornerRadius");
    QTest::newRow("20x30 uses the smaller side") << QSize(20, 30) << 9 << 3 << 6 << 2 << 1;
    QTest::newRow("default 40x40 has slim capsules") << QSize(40, 40) << 19 << 7 << 12 << 2 << 1;
    QTest::newRow("32 is still small") << QSize(32, 32) << 15 << 5 << 10 << 3 << 1;
    QTest::newRow("33 is big") << QSize(33, 33) << 16 << 6 << 10 << 2 << 1;
    QTest::newRow("100 wide") << QSize(100, 120) << 49 << 18 << 31 << 7 << 3;
    QTest::newRow("1x1") << QSize(1, 1) << 0 << 0 << 0 << 0 << 0;
}

void TestQProgressIndicator::geometry()
{
    QFETCH(QSize, size);
    const ProgressIndicatorGeometry g = progressIndicatorGeometry(size.width(), size.height());
    QTEST(g.outerRadius, "outer");
    QTEST(g.innerRadius, "inner");
    QTEST(g.capsuleHeight, "capsuleHeight");
    QTEST(g.capsuleWidth, "capsuleWidth");
    QTEST(g.cornerRadius, "cornerRadius");
}

void TestQProgressIndicator::drawsNothingWhenStoppedUnlessAsked()
{
    QProgressIndicator indicator;
    indicator.resize(indicator.sizeHint());
    QCOMPARE(indicator.sizeHint(), QSize(40, 40));
    QCOMPARE(indicator.heightForWidth(25), 25);
    QCOMPARE(indicator.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(indicator.focusPolicy(), Qt::NoFocus);
    QVERIFY(isBlank(rendered(indicator)));
    indicator.setDisplayedWhenStopped(true);
    QVERIFY(!isBlank(rendered(indicator)));
    indicator.setDisplayedWhenStopped(false);
    indicator.startAnimation();
    QVERIFY(!isBlank(rendered(indicator)));
    indicator.stopAnimation();
    QVERIFY(!indicator.isAnimated());
    QVERIFY(isBlank(rendered(indicator)));
}

void TestQProgressIndicator::spinsWhileAnimated()
{
    QProgressIndicator indicator;
    indicator.resize(40, 40);
    indicator.setColor(Qt::black);
    indicator.setAnimationDelay(20);
    indicator.startAnimation();
    QVERIFY(indicator.isAnimated());
    const QImage first = rendered(indicator);
    // A turn of 30 degrees moves every capsule to its neighbour's place with another
    // alpha, so the picture changes on the first tick.
    QTRY_VERIFY_WITH_TIMEOUT(rendered(indicator) != first, 5000);
    // A second start only rewinds the angle; it must not add a second timer.
    indicator.startAnimation();
    QCOMPARE(rendered(indicator), first);
    indicator.stopAnimation();
    indicator.setDisplayedWhenStopped(true);
    const QImage shown = rendered(indicator);
    QTest::qWait(100);
    QCOMPARE(rendered(indicator), shown);
}

void TestQProgressIndicator::delayChangeKeepsTheRunningState()
{
    QProgressIndicator indicator;
    indicator.setAnimationDelay(10);
    QVERIFY(!indicator.isAnimated());
    QCOMPARE(indicator.animationDelay(), 10);
    indicator.startAnimation();
    indicator.setAnimationDelay(15);
    QVERIFY(indicator.isAnimated());
    QCOMPARE(indicator.animationDelay(), 15);
    indicator.stopAnimation();
    indicator.stopAnimation();
    QVERIFY(!indicator.isAnimated());
}

QTEST_MAIN(TestQProgressIndicator)
#include "tst_qprogressindicator.moc"
