#include "vkaction.h"
#include "vkbutton.h"
#include "vkimageset.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

// One distinct colour per band and column, so every cut can be told apart by a pixel.
QColor bandColour(int state, bool checked)
{
    return QColor(QColor::fromHsv(state * 40 + (checked ? 180 : 0), 255, 255).rgba());
}

// A picture of four bands (and two columns for a toggle picture), each filled flat.
QPixmap bandPicture(int bandWidth, int bandHeight, int columns)
{
    QImage image(bandWidth * columns, bandHeight * 4, QImage::Format_ARGB32);
    QPainter painter(&image);
    for (int state = 0; state < 4; ++state)
        for (int column = 0; column < columns; ++column)
            painter.fillRect(column * bandWidth, state * bandHeight, bandWidth, bandHeight,
                             bandColour(state, column == 1));
    painter.end();
    return QPixmap::fromImage(image);
}

QColor flatColour(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage();
    const QColor corner = image.pixelColor(0, 0);
    const QColor farCorner = image.pixelColor(image.width() - 1, image.height() - 1);
    return corner == farCorner ? corner : QColor();
}

QColor shownColour(VkButton &button)
{
    return button.grab().toImage().pixelColor(button.width() / 2, button.height() / 2);
}

void hover(QWidget &widget, bool inside)
{
    QEvent event(inside ? QEvent::Enter : QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &event);
}

} // namespace

class TestVkButton : public QObject
{
    Q_OBJECT
private slots:
    void picturesAreCutIntoBands_data();
    void picturesAreCutIntoBands();
    void missingLooksFallBackToNormal();
    void singlePictureShowsInEveryState();
    void stripButtonFollowsHoverPressAndEnablement_data();
    void stripButtonFollowsHoverPressAndEnablement();
    void toggleButtonFollowsTheAction();
    void disablingTheActionDisablesTheButton();
    void rebindingLeavesTheOldActionAlone();
};

void TestVkButton::picturesAreCutIntoBands_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<QSize>("band");
    // A 40 x 160 strip gives 40 x 40 bands, the hover band from y 40 to 79.
    QTest::newRow("strip 40x160") << 1 << QSize(40, 40);
    QTest::newRow("toggle 60x80") << 2 << QSize(30, 20);
}

void TestVkButton::picturesAreCutIntoBands()
{
    QFETCH(int, columns);
    QFETCH(QSize, band);
    const QPixmap picture = bandPicture(band.width(), band.height(), columns);
    const VkImageSet set = columns == 1 ? VkImageSet::strip(picture) : VkImageSet::toggle(picture);
    for (int state = 0; state < 4; ++state) {
        for (int column = 0; column < columns; ++column) {
            QCOMPARE(set.size(state, column == 1), band);
            QCOMPARE(flatColour(set.get(state, column == 1)), bandColour(state, column == 1));
        }
    }
}

void TestVkButton::missingLooksFallBackToNormal()
{
    VkImageSet set;
    QVERIFY(set.get(VkImageSet::Hover, true).isNull());
    const QPixmap normal = bandPicture(8, 2, 1).copy(0, 0, 8, 2);
    const QPixmap checkedNormal = bandPicture(8, 2, 2).copy(8, 0, 8, 2);
    set.add(normal, VkImageSet::Normal, false);
    set.add(checkedNormal, VkImageSet::Normal, true);
    // Each column falls back to its own normal look, not the other column's.
    QCOMPARE(flatColour(set.get(VkImageSet::Disabled, false)), bandColour(0, false));
    QCOMPARE(flatColour(set.get(VkImageSet::Pressed, true)), bandColour(0, true));
    QCOMPARE(set.size(VkImageSet::Hover, true), QSize(8, 2));
}

void TestVkButton::singlePictureShowsInEveryState()
{
    QPixmap picture(24, 16);
    picture.fill(Qt::magenta);
    VkButton button;
    button.setImages(VkImageSet::single(picture));
    button.setFixedSize(picture.size());
    QCOMPARE(shownColour(button), QColor(Qt::magenta));
    hover(button, true);
    QCOMPARE(shownColour(button), QColor(Qt::magenta));
    button.setDown(true);
    QCOMPARE(shownColour(button), QColor(Qt::magenta));
    button.setDown(false);
    button.setEnabled(false);
    QCOMPARE(shownColour(button), QColor(Qt::magenta));
}

void TestVkButton::stripButtonFollowsHoverPressAndEnablement_data()
{
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("expectedState");
    QTest::newRow("normal") << false << false << true << 0;
    QTest::newRow("hovered") << true << false << true << 1;
    QTest::newRow("pressed") << false << true << true << 2;
    QTest::newRow("pressed while hovered") << true << true << true << 2;
    QTest::newRow("disabled") << false << false << false << 3;
    QTest::newRow("disabled under the mouse") << true << false << false << 3;
}

void TestVkButton::stripButtonFollowsHoverPressAndEnablement()
{
    QFETCH(bool, hovered);
    QFETCH(bool, down);
    QFETCH(bool, enabled);
    QFETCH(int, expectedState);
    VkButton button;
    button.setImages(VkImageSet::strip(bandPicture(40, 40, 1)));
    button.setFixedSize(40, 40);
    hover(button, hovered);
    button.setDown(down);
    button.setEnabled(enabled);
    QCOMPARE(shownColour(button), bandColour(expectedState, false));
    hover(button, false);
    if (enabled && !down)
        QCOMPARE(shownColour(button), bandColour(0, false));
}

void TestVkButton::toggleButtonFollowsTheAction()
{
    QWidget owner;
    VkAction action(&owner, true);
    action.setCheckable(true);
    action.setChecked(true);
    VkButton button(&owner);
    button.setImages(VkImageSet::toggle(bandPicture(30, 20, 2)));
    button.setFixedSize(30, 20);
    // Binding an already checked action must show the checked column at once.
    button.setAction(&action);
    QCOMPARE(shownColour(button), bandColour(0, true));
    hover(button, true);
    QCOMPARE(shownColour(button), bandColour(1, true));
    action.setChecked(false);
    QCOMPARE(shownColour(button), bandColour(1, false));
    hover(button, false);
    QCOMPARE(shownColour(button), bandColour(0, false));
    // A click goes through the action, which toggles and brings the checked look back.
    QSignalSpy triggered(&action, &QAction::triggered);
    button.click();
    QCOMPARE(triggered.count(), 1);
    QVERIFY(action.isChecked());
    QVERIFY(owner.actions().contains(&action));
    QCOMPARE(shownColour(button), bandColour(0, true));
}

void TestVkButton::disablingTheActionDisablesTheButton()
{
    QWidget owner;
    VkAction action(&owner, true);
    action.setEnabled(false);
    VkButton button(&owner);
    button.setImages(VkImageSet::strip(bandPicture(10, 10, 1)));
    button.setFixedSize(10, 10);
    button.setAction(&action);
    QVERIFY(!button.isEnabled());
    action.setEnabled(true);
    QVERIFY(button.isEnabled());
    QCOMPARE(shownColour(button), bandColour(0, false));
    action.setEnabled(false);
    QVERIFY(!button.isEnabled());
    QCOMPARE(shownColour(button), bandColour(3, false));
}

void TestVkButton::rebindingLeavesTheOldActionAlone()
{
    QWidget owner;
    VkAction first(&owner, false);
    VkAction second(&owner, false);
    QSignalSpy firstTriggered(&first, &QAction::triggered);
    QSignalSpy secondTriggered(&second, &QAction::triggered);
    VkButton button(&owner);
    button.setAction(&first);
    button.setAction(&second);
    button.click();
    QCOMPARE(firstTriggered.count(), 0);
    QCOMPARE(secondTriggered.count(), 1);
    first.setEnabled(false);
    QVERIFY(button.isEnabled());
}

QTEST_MAIN(TestVkButton)
#include "tst_vkbutton.moc"
