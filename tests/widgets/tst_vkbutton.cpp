#include "vkaction.h"
#include "vkbutton.h"
#include "widgetpixels.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QColor shownColour(QWidget &button)
{
    return rendered(button).pixelColor(button.width() - 1, button.height() - 1);
}

} // namespace

class TestVkButton : public QObject
{
    Q_OBJECT
private slots:
    void bandsFollowHoverPressAndEnablement_data();
    void bandsFollowHoverPressAndEnablement();
    void missingLooksFallBackToTheirColumnsNormal();
    void toggleColumnFollowsTheAction();
    void actionEnablementReachesOnlyTheBoundButton();
};

void TestVkButton::bandsFollowHoverPressAndEnablement_data()
{
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("band");
    QTest::newRow("normal") << false << false << true << 0;
    QTest::newRow("hovered") << true << false << true << 1;
    QTest::newRow("pressed while hovered") << true << true << true << 2;
    QTest::newRow("disabled under the mouse") << true << false << false << 3;
}

// A 40 x 160 strip gives 40 x 40 bands; the corner pixel of each band tells it apart
// from its neighbours (the hover band runs from y 40 to 79).
void TestVkButton::bandsFollowHoverPressAndEnablement()
{
    QFETCH(bool, hovered);
    QFETCH(bool, down);
    QFETCH(bool, enabled);
    QFETCH(int, band);
    const VkImageSet set = VkImageSet::strip(sheet(4, 1, 40, 40));
    QCOMPARE(set.size(band, false), QSize(40, 40));
    VkButton button;
    button.setImages(set);
    button.setFixedSize(40, 40);
    hover(button, hovered);
    button.setDown(down);
    button.setEnabled(enabled);
    QCOMPARE(rendered(button).pixelColor(0, 0), cellColour(band, 0));
    QCOMPARE(shownColour(button), cellColour(band, 0));
}

void TestVkButton::missingLooksFallBackToTheirColumnsNormal()
{
    VkImageSet set;
    set.add(sheet(1, 1, 8, 2), VkImageSet::Normal, false);
    set.add(sheet(1, 2, 8, 2).copy(8, 0, 8, 2), VkImageSet::Normal, true);
    QCOMPARE(set.get(VkImageSet::Disabled, false).toImage().pixelColor(0, 0), cellColour(0, 0));
    QCOMPARE(set.get(VkImageSet::Pressed, true).toImage().pixelColor(0, 0), cellColour(0, 1));
}

void TestVkButton::toggleColumnFollowsTheAction()
{
    QWidget owner;
    VkAction action(&owner, true);
    action.setCheckable(true);
    action.setChecked(true);
    VkButton button(&owner);
    button.setImages(VkImageSet::toggle(sheet(4, 2, 30, 20))); // 60 x 80: 30 x 20 bands
    button.setFixedSize(30, 20);
    // Binding an already checked action must show the checked column at once.
    button.setAction(&action);
    QCOMPARE(shownColour(button), cellColour(0, 1));
    hover(button, true);
    action.setChecked(false);
    QCOMPARE(shownColour(button), cellColour(1, 0));
    hover(button, false);
    // A click goes through the action, which toggles and brings the checked look back.
    QSignalSpy triggered(&action, &QAction::triggered);
    button.click();
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(shownColour(button), cellColour(0, 1));
}

// Disabling goes through the action's change event; a button bound anew must neither
// follow nor trigger the action it was bound to before.
void TestVkButton::actionEnablementReachesOnlyTheBoundButton()
{
    QWidget owner;
    VkAction first(&owner, false);
    VkAction second(&owner, false);
    second.setEnabled(false);
    VkButton button(&owner);
    button.setImages(VkImageSet::strip(sheet(4, 1, 10, 10)));
    button.setFixedSize(10, 10);
    button.setAction(&first);
    button.setAction(&second);
    QCOMPARE(shownColour(button), cellColour(3, 0));
    second.setEnabled(true);
    QCOMPARE(shownColour(button), cellColour(0, 0));
    first.setEnabled(false);
    QVERIFY(button.isEnabled());
    QSignalSpy firstTriggered(&first, &QAction::triggered);
    button.click();
    QCOMPARE(firstTriggered.count(), 0);
}

QTEST_MAIN(TestVkButton)
#include "tst_vkbutton.moc"
