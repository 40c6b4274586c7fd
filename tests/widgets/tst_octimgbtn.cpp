#include "nofocusrectanglestyle.h"
#include "octimgbtn.h"
#include "widgetpixels.h"

#include <QPushButton>
#include <QStyleOptionFocusRect>
#include <QTest>
#include <QTreeWidget>

class TestOctImgBtn : public QObject
{
    Q_OBJECT
private slots:
    void sheetIsCutIntoRowsAndColumns_data();
    void sheetIsCutIntoRowsAndColumns();
    void missingRowsDrawNoPicture();
    void wholeWidgetIsClickable();
    void focusRectangleSkippedOnlyForTreesAndButtons();
};

void TestOctImgBtn::sheetIsCutIntoRowsAndColumns_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("row");
    QTest::newRow("unchecked normal") << false << false << false << true << 0;
    QTest::newRow("unchecked pressed") << false << true << true << true << 2;
    QTest::newRow("checked hover") << true << true << false << true << 1;
    QTest::newRow("checked disabled") << true << false << true << false << 3;
}

void TestOctImgBtn::sheetIsCutIntoRowsAndColumns()
{
    QFETCH(bool, checked);
    QFETCH(bool, hovered);
    QFETCH(bool, down);
    QFETCH(bool, enabled);
    QFETCH(int, row);
    OctImgBtn button;
    button.setImages(sheet(5, 2, 60, 20), 5); // rows beyond the fourth are never read
    QCOMPARE(button.maximumSize(), QSize(60, 20));
    button.setChecked(checked);
    hover(button, hovered);
    button.setDown(down);
    button.setEnabled(enabled);
    QCOMPARE(rendered(button).pixelColor(1, 1), cellColour(row, checked ? 1 : 0));
}

void TestOctImgBtn::missingRowsDrawNoPicture()
{
    OctImgBtn button;
    button.setImages(sheet(2, 2, 30, 12), 2);
    QCOMPARE(button.size(), QSize(30, 12));
    hover(button, true);
    QCOMPARE(rendered(button).pixelColor(1, 1), cellColour(1, 0));
    button.setDown(true);
    QVERIFY(isBlank(rendered(button)));
    button.setDown(false);
    button.setEnabled(false);
    QVERIFY(isBlank(rendered(button)));
}

void TestOctImgBtn::wholeWidgetIsClickable()
{
    OctImgBtn button;
    button.setImages(sheet(4, 2, 60, 20), 4);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    // The far corner lies outside any check indicator a style would draw.
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(59, 19));
    QVERIFY(button.isChecked());
}

void TestOctImgBtn::focusRectangleSkippedOnlyForTreesAndButtons()
{
    NoFocusRectangleStyle style;
    QPushButton button;
    QTreeWidget tree;
    QWidget other;
    QStyleOptionFocusRect focus;
    focus.rect = QRect(2, 2, 30, 30);
    focus.palette.setColor(QPalette::WindowText, Qt::black);
    const auto drawsFocus = [&](const QWidget *widget) {
        QImage image(40, 40, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        style.drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, widget);
        painter.end();
        return !isBlank(image);
    };
    QVERIFY(!drawsFocus(&button));
    QVERIFY(!drawsFocus(&tree));
    QVERIFY(drawsFocus(&other));
}

QTEST_MAIN(TestOctImgBtn)
#include "tst_octimgbtn.moc"
