#include "nofocusrectanglestyle.h"
#include "octimgbtn.h"

#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionFocusRect>
#include <QTest>
#include <QTreeWidget>

namespace {

QColor cellColour(int row, int column)
{
    return QColor(QColor::fromHsv(row * 50 + column * 25, 200, 255).rgba());
}

// A picture sheet of flat cells, rows x columns, each cellWidth x cellHeight.
QPixmap sheet(int rows, int columns, int cellWidth, int cellHeight)
{
    QImage image(columns * cellWidth, rows * cellHeight, QImage::Format_ARGB32);
    QPainter painter(&image);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            painter.fillRect(column * cellWidth, row * cellHeight, cellWidth, cellHeight,
                             cellColour(row, column));
    painter.end();
    return QPixmap::fromImage(image);
}

// Pictures are drawn opaque over a transparent grab: a missing picture leaves the
// corner fully transparent.
QColor cornerColour(QWidget &widget)
{
    QPixmap canvas(widget.size());
    canvas.fill(Qt::transparent);
    widget.render(&canvas, QPoint(), QRegion(), QWidget::RenderFlags());
    return canvas.toImage().pixelColor(1, 1);
}

void hover(QWidget &widget, bool inside)
{
    QEvent event(inside ? QEvent::Enter : QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &event);
}

bool drawsAnything(const std::function<void(QPainter &)> &draw)
{
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    draw(painter);
    painter.end();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() != 0)
                return true;
    return false;
}

} // namespace

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
    QTest::newRow("unchecked hover") << false << true << false << true << 1;
    QTest::newRow("unchecked pressed") << false << true << true << true << 2;
    QTest::newRow("unchecked disabled") << false << true << false << false << 3;
    QTest::newRow("checked normal") << true << false << false << true << 0;
    QTest::newRow("checked hover") << true << true << false << true << 1;
    QTest::newRow("checked pressed") << true << false << true << true << 2;
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
    // Rows beyond the fourth are never read.
    button.setImages(sheet(5, 2, 60, 20), 5);
    QCOMPARE(button.size(), QSize(60, 20));
    QCOMPARE(button.minimumSize(), button.maximumSize());
    button.setChecked(checked);
    hover(button, hovered);
    button.setDown(down);
    button.setEnabled(enabled);
    QCOMPARE(cornerColour(button), cellColour(row, checked ? 1 : 0));
}

void TestOctImgBtn::missingRowsDrawNoPicture()
{
    OctImgBtn button;
    button.setImages(sheet(2, 2, 30, 12), 2);
    QCOMPARE(button.size(), QSize(30, 12));
    hover(button, true);
    QCOMPARE(cornerColour(button), cellColour(1, 0));
    button.setDown(true);
    QCOMPARE(cornerColour(button).alpha(), 0);
    button.setDown(false);
    button.setEnabled(false);
    QCOMPARE(cornerColour(button).alpha(), 0);

    OctImgBtn plain;
    plain.setCheckable(false);
    plain.setImages(sheet(4, 1, 50, 10), 4);
    QCOMPARE(plain.size(), QSize(50, 10));
    QCOMPARE(cornerColour(plain), cellColour(0, 0));
}

void TestOctImgBtn::wholeWidgetIsClickable()
{
    OctImgBtn button;
    button.setImages(sheet(4, 2, 60, 20), 4);
    button.setTexts(QStringLiteral("off"), QStringLiteral("on"));
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    // The far corner lies outside any check indicator a style would draw.
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(59, 19));
    QCOMPARE(clicked.count(), 1);
    QVERIFY(button.isChecked());
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
    QCOMPARE(clicked.count(), 2);
    QVERIFY(!button.isChecked());
}

void TestOctImgBtn::focusRectangleSkippedOnlyForTreesAndButtons()
{
    NoFocusRectangleStyle style;
    QPushButton button;
    QTreeWidget tree;
    QWidget other;
    QStyleOptionFocusRect option;
    option.rect = QRect(2, 2, 30, 30);
    option.palette.setColor(QPalette::WindowText, Qt::black);
    auto focus = [&](const QWidget *widget) {
        return drawsAnything([&](QPainter &p) {
            style.drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, widget);
        });
    };
    QVERIFY(!focus(&button));
    QVERIFY(!focus(&tree));
    QVERIFY(focus(&other));

    QStyleOptionButton buttonOption;
    buttonOption.rect = QRect(2, 2, 30, 30);
    buttonOption.text = QStringLiteral("X");
    buttonOption.state = QStyle::State_Enabled | QStyle::State_Raised;
    auto pushButton = [&](const QWidget *widget) {
        return drawsAnything([&](QPainter &p) {
            style.drawControl(QStyle::CE_PushButton, &buttonOption, &p, widget);
        });
    };
    QVERIFY(!pushButton(&tree));
    QVERIFY(pushButton(&button));
    // The icons the library asks a temporary style for must be real.
    QVERIFY(!style.standardIcon(QStyle::SP_DirIcon).isNull());
    QVERIFY(!style.standardIcon(QStyle::SP_FileIcon).isNull());
}

QTEST_MAIN(TestOctImgBtn)
#include "tst_octimgbtn.moc"
