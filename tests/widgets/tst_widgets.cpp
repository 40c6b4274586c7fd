// The shared widgets; the control panel follows real playback through Phonon.
#include "octimgbtn.h"
#include "playctrl.h"
#include "qseekslider.h"
#include "testpaths.h"
#include "vkaction.h"
#include "vkbutton.h"

#include <QSlider>
#include <QtTest>
#include <phonon/AudioOutput>
#include <phonon/MediaObject>

// Width of the slider's thick loop bar after a paint of the given part and then of the whole.
static int loopBarWidth(QSeekSlider &slider, const QRegion &part = QRegion())
{
    QImage image(slider.size(), QImage::Format_ARGB32);
    slider.render(&image, QPoint(), part, QWidget::RenderFlags());
    slider.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    int width = 0;
    for (int x = 0; x < image.width(); ++x)
        width += image.pixelColor(x, 4) == QColor(0xAA, 0x99, 0x00);
    return width;
}

class TestWidgets : public QObject
{
    Q_OBJECT
private slots:
    void seekSliderEndFollowsTheWidth();
    void buttonsFollowOnlyTheirOwnAction();
    void panelFollowsRealPlayback();
};

// Mark-out 0.0 is the right end, also after the slider grows or repaints only a part.
void TestWidgets::seekSliderEndFollowsTheWidth()
{
    QSeekSlider slider(nullptr);
    slider.resize(300, 8);
    QCOMPARE(loopBarWidth(slider), 0);
    slider.resize(500, 8);
    QCOMPARE(loopBarWidth(slider, QRegion(0, 0, 100, 8)), 0);
    slider.setMarkInFlag(0.2); // 100 pixels, the width of that partial repaint
    QCOMPARE(loopBarWidth(slider, QRegion(0, 0, 100, 8)), 500 - 97); // 3-pixel square cap
}

// Bound anew, a button leaves its old action alone; an image button without rows does not crash.
void TestWidgets::buttonsFollowOnlyTheirOwnAction()
{
    QWidget owner;
    VkAction first(&owner, false);
    VkAction second(&owner, false);
    VkButton button(&owner);
    button.setAction(&first);
    button.setAction(&second);
    first.setEnabled(false);
    QVERIFY(button.isEnabled());
    QSignalSpy firstTriggered(&first, &QAction::triggered);
    button.click();
    QCOMPARE(firstTriggered.count(), 0);
    OctImgBtn imageButton;
    imageButton.setImages(QPixmap(20, 40), 0);
    QCOMPARE(imageButton.size(), QSize(10, 40));
}

void TestWidgets::panelFollowsRealPlayback()
{
    PlayCtrl panel(nullptr);
    Phonon::MediaObject media;
    Phonon::AudioOutput output(Phonon::MusicCategory);
    QVERIFY(Phonon::createPath(&media, &output).isValid());
    panel.setMediaObject(&media);
    const QString lesson = TestPaths::sourceDir() + "/data/install/workspace/lesson01.mp3";
    media.setCurrentSource(QUrl::fromLocalFile(lesson));
    media.play();
    auto *position = panel.findChild<QSeekSlider *>()->findChild<QSlider *>();
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(position->maximum() - 24000) < 1000, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(position->value() >= 1000, 10000);
    position->setValue(20000); // as a drag does: the media object itself seeks
    QTRY_VERIFY_WITH_TIMEOUT(media.currentTime() >= 19900, 5000);
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
