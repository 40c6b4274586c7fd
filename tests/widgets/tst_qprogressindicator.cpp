#include "qprogressindicator.h"
#include "widgetpixels.h"

#include <QTest>

class TestQProgressIndicator : public QObject
{
    Q_OBJECT
private slots:
    void geometry_data();
    void geometry();
    void drawsOnlyWhileAnimatedOrAsked();
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

void TestQProgressIndicator::drawsOnlyWhileAnimatedOrAsked()
{
    QProgressIndicator indicator;
    indicator.resize(40, 40);
    QVERIFY(isBlank(rendered(indicator)));
    indicator.setDisplayedWhenStopped(true);
    QVERIFY(!isBlank(rendered(indicator)));
    indicator.setDisplayedWhenStopped(false);
    indicator.setAnimationDelay(20);
    indicator.startAnimation();
    const QImage first = rendered(indicator);
    QVERIFY(!isBlank(first));
    // A turn of 30 degrees gives every capsule another alpha: the first tick changes it.
    QTRY_VERIFY_WITH_TIMEOUT(rendered(indicator) != first, 5000);
    indicator.setAnimationDelay(15); // keeps it running
    QVERIFY(indicator.isAnimated());
    indicator.stopAnimation();
    QVERIFY(isBlank(rendered(indicator)));
}

QTEST_MAIN(TestQProgressIndicator)
#include "tst_qprogressindicator.moc"
