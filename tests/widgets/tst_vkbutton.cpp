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
    void stripCutsFourEqualBands();
    void toggleCutsTwoColumns();
    void missingLooksFallBackToNormal();
    void outOfRangeStatesAreIgnored();
    void singlePictureShowsInEveryState();
    void stripButtonFollowsHoverPressAndEnablement_data();
    void stripButtonFollowsHoverPressAndEnablement();
    void toggleButtonFollowsTheAction();
    void disablingTheActionDisablesTheButton();
    void clickTriggersTheBoundAction();
    void rebindingLeavesTheOldActionAlone();
    void actionAddsItselfToItsParentWidget();
};

void TestVkButton::stripCutsFourEqualBands()
{
    const VkImageSet set = VkImageSet::strip(bandPicture(40, 40, 1));
    for (int state = 0; state < 4; ++state) {
        QCOMPARE(set.size(state, false), QSize(40, 40));
        QCOMPARE(flatColour(set.get(state, false)), bandColour(state, false));
    }
    // The hover band is the one from y 40 to 79 of the 40 x 160 strip.
    const QImage strip = bandPicture(40, 40, 1).toImage();
    QCOMPARE(flatColour(set.get(VkImageSet::Hover, false)), strip.pixelColor(0, 40));
    QCOMPARE(strip.pixelColor(0, 79), strip.pixelColor(0, 40));
    QVERIFY(strip.pixelColor(0, 80) != strip.pixelColor(0, 79));
}

void TestVkButton::toggleCutsTwoColumns()
{
    const VkImageSet set = VkImageSet::toggle(bandPicture(30, 20, 2));
    for (int state = 0; state < 4; ++state) {
        for (bool checked : {false, true}) {
            QCOMPARE(set.size(state, checked), QSize(30, 20));
            QCOMPARE(flatColour(set.get(state, checked)), bandColour(state, checked));
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

void TestVkButton::outOfRangeStatesAreIgnored()
{
    VkImageSet set;
    const QPixmap picture = bandPicture(4, 4, 1);
    set.add(picture, 4, false);
    set.add(picture, -1, true);
    for (int state = 0; state < 4; ++state) {
        QVERIFY(set.get(state, false).isNull());
        QVERIFY(set.get(state, true).isNull());
    }
    set.add(picture, VkImageSet::Normal, false);
    QCOMPARE(set.get(7, false).size(), picture.size());
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

void TestVkButton::clickTriggersTheBoundAction()
{
    QWidget owner;
    VkAction action(&owner, true);
    action.setCheckable(true);
    QSignalSpy triggered(&action, &QAction::triggered);
    VkButton button(&owner);
    button.setImages(VkImageSet::toggle(bandPicture(30, 20, 2)));
    button.setFixedSize(30, 20);
    button.setAction(&action);
    button.click();
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(triggered.at(0).at(0).toBool(), true);
    QCOMPARE(shownColour(button), bandColour(0, true));
    button.click();
    QCOMPARE(triggered.count(), 2);
    QCOMPARE(triggered.at(1).at(0).toBool(), false);
    QCOMPARE(shownColour(button), bandColour(0, false));
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

void TestVkButton::actionAddsItselfToItsParentWidget()
{
    QWidget owner;
    auto *added = new VkAction(&owner, true);
    auto *notAdded = new VkAction(&owner, false);
    QObject plainParent;
    auto *underObject = new VkAction(&plainParent, true);
    QVERIFY(owner.actions().contains(added));
    QVERIFY(!owner.actions().contains(notAdded));
    QCOMPARE(underObject->parent(), &plainParent);
}

QTEST_MAIN(TestVkButton)
#include "tst_vkbutton.moc"
