#include "playctrl.h"
#include "qseekslider.h"

#include "audiofixtures.h"
#include "zorvaresources.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/VolumeSlider>

namespace {

const QStringList ButtonNames = {
    "btnBackward",     "btnPlayPause",    "btnStop",       "btnForward",
    "btnMarkInReset",  "btnMarkInSharpL", "btnMarkInSet",  "btnMarkInSharpR",
    "btnMarkReset",    "btnMarkOutSharpL", "btnMarkOutSet", "btnMarkOutSharpR",
    "btnMarkOutReset"};

// Stands in for the main window: its slots are bound to the panel's buttons by name.
class ButtonSink : public QWidget
{
    Q_OBJECT
public:
    QStringList clicked;
public slots:
    void on_btnPlayPause_clicked() { clicked << "btnPlayPause"; }
    void on_btnMarkOutReset_clicked() { clicked << "btnMarkOutReset"; }
};

template <typename T> T *child(PlayCtrl &panel, const char *name)
{
    return panel.findChild<T *>(QLatin1String(name));
}

} // namespace

class TestPlayCtrl : public QObject
{
    Q_OBJECT
private slots:
    void sheetPicturesExist();
    void resizingWidensOnlyTheSeekSlider();
    void buttonsBindByNameToTheMainWindow();
    void followsRealPlaybackAndDrivesTheVolume();
};

// A misspelt picture name in a style sheet fails silently and leaves a blank button.
void TestPlayCtrl::sheetPicturesExist()
{
    zorvaInitResources();
    PlayCtrl panel(nullptr);
    auto *playPause = child<QPushButton>(panel, "btnPlayPause");
    panel.sltMediaPaused(false);
    QString sheets = panel.styleSheet() + playPause->styleSheet();
    QVERIFY(playPause->styleSheet().contains("suspend.png"));
    panel.sltMediaPaused(true);
    QVERIFY(playPause->styleSheet().contains("play.png"));
    sheets += playPause->styleSheet();
    const QRegularExpression url(QStringLiteral("url\\((:/images/[^)]+)\\)"));
    QSet<QString> pictures;
    for (auto it = url.globalMatch(sheets); it.hasNext();)
        pictures.insert(it.next().captured(1));
    QCOMPARE(pictures.size(), 25);
    for (const QString &picture : pictures)
        QVERIFY2(QFile::exists(picture), qPrintable(picture));
}

void TestPlayCtrl::resizingWidensOnlyTheSeekSlider()
{
    PlayCtrl panel(nullptr);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCOMPARE(panel.volumeSlider(), child<Phonon::VolumeSlider>(panel, "volSlider"));
    QList<QWidget *> fixed = {child<QLabel>(panel, "curTimeLabel"), panel.volumeSlider(),
                              child<QLabel>(panel, "totTimeLabel")};
    QCOMPARE(panel.findChildren<QPushButton *>().size(), ButtonNames.size());
    for (const QString &name : ButtonNames)
        fixed << panel.findChild<QPushButton *>(name);
    QVERIFY(!fixed.contains(nullptr));
    QList<QSize> before;
    for (QWidget *widget : fixed)
        before << widget->size();
    auto *slider = child<QSeekSlider>(panel, "seekSlider");
    const int sliderBefore = slider->width();
    auto *firstMark = child<QPushButton>(panel, "btnMarkInReset");
    auto *lastMark = child<QPushButton>(panel, "btnMarkOutReset");
    const int markRowLeft = firstMark->x();

    panel.resize(1000, 50);
    QTRY_COMPARE_WITH_TIMEOUT(slider->width(), sliderBefore + 360, 5000);
    QCOMPARE(slider->height(), 8);
    for (int i = 0; i < fixed.size(); ++i)
        QCOMPARE(fixed.at(i)->size(), i < 3 ? before.at(i) : QSize(24, 24));
    // The spacers take the width: the mark buttons move right, not apart.
    QVERIFY(firstMark->x() > markRowLeft + 100);
    QCOMPARE(lastMark->x() - firstMark->x(), 8 * (24 + 7));
}

void TestPlayCtrl::buttonsBindByNameToTheMainWindow()
{
    ButtonSink window;
    auto *panel = new PlayCtrl(&window);
    panel->setObjectName(QStringLiteral("ctrlbar"));
    QMetaObject::connectSlotsByName(&window);
    for (const QString &name : ButtonNames)
        panel->findChild<QPushButton *>(name)->click();
    QCOMPARE(window.clicked, QStringList({"btnPlayPause", "btnMarkOutReset"}));
}

void TestPlayCtrl::followsRealPlaybackAndDrivesTheVolume()
{
    QTemporaryDir dir;
    const QString mp3 = dir.filePath(QStringLiteral("tone.mp3"));
    QVERIFY(AudioFixtures::makeToneMp3(mp3, 6.0, 440));
    zorvaInitResources();
    PlayCtrl panel(nullptr);
    panel.resize(800, 50);
    Phonon::MediaObject media;
    Phonon::AudioOutput output(Phonon::MusicCategory);
    QVERIFY(Phonon::createPath(&media, &output).isValid());
    media.setTickInterval(300);
    panel.setMediaObject(&media);
    panel.volumeSlider()->setAudioOutput(&output);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    auto *position = child<QSeekSlider>(panel, "seekSlider")->findChild<QSlider *>();
    media.setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(mp3)));
    media.play();
    QTRY_VERIFY_WITH_TIMEOUT(position->maximum() > 5000, 15000);
    QVERIFY(qAbs(position->maximum() - 6000) < 300);
    QTRY_VERIFY_WITH_TIMEOUT(position->value() >= 1000, 10000);
    QVERIFY(qAbs(position->value() - media.currentTime()) <= 1500);
    // With ZORVA_SCREENSHOT_DIR set, writes control-panel.png there: a live panel with a loop.
    const QString shots = qEnvironmentVariable("ZORVA_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        panel.setMarkIn(0.2);
        panel.setMarkOut(0.6);
        panel.setCurrentTime(QStringLiteral("00:00:01"));
        panel.setTotalTime(QStringLiteral("00:00:06"));
        panel.sltMediaPaused(false);
        QVERIFY(panel.grab().save(shots + QStringLiteral("/control-panel.png")));
    }
    // Dragging the slider seeks the media object itself.
    position->setValue(4000);
    QTRY_VERIFY_WITH_TIMEOUT(media.currentTime() >= 3900, 5000);

    auto *volume = panel.volumeSlider()->findChild<QSlider *>();
    volume->setValue(volume->minimum() + (volume->maximum() - volume->minimum()) / 4);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(output.volume() - 0.25) < 0.02, 5000);
    QSignalSpy finished(&media, &Phonon::MediaObject::finished);
    QVERIFY(finished.wait(10000));
}

QTEST_MAIN(TestPlayCtrl)
#include "tst_playctrl.moc"
