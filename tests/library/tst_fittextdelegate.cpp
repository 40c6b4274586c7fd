#include "fittextdelegate.h"

#include <QFont>
#include <QFontMetrics>
#include <QTest>

class TestFitTextDelegate : public QObject
{
    Q_OBJECT
private slots:
    void fittingFont_data();
    void fittingFont();
};

void TestFitTextDelegate::fittingFont_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("shrinks");
    QTest::newRow("fits") << "学习" << 200 << false;
    QTest::newRow("status word in a status column") << "学习" << 22 << true;
    QTest::newRow("cannot fit at all") << "a very long sentence indeed" << 10 << true;
}

void TestFitTextDelegate::fittingFont()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(bool, shrinks);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(11);
    const QFont fitted = ::fittingFont(font, text, width, 7.0);
    QCOMPARE(fitted.pointSizeF() < font.pointSizeF(), shrinks);
    QVERIFY(fitted.pointSizeF() >= 7.0);
    const bool fits = QFontMetrics(fitted).horizontalAdvance(text) <= width;
    // Either the text fits, or the font went as small as allowed.
    QVERIFY(fits || qFuzzyCompare(fitted.pointSizeF(), 7.0));
    if (shrinks && fits) {
        // The largest step that fits: half a point more would not.
        QFont larger = fitted;
        larger.setPointSizeF(fitted.pointSizeF() + 0.5);
        QVERIFY(QFontMetrics(larger).horizontalAdvance(text) > width);
    }
}

QTEST_MAIN(TestFitTextDelegate)
#include "tst_fittextdelegate.moc"
