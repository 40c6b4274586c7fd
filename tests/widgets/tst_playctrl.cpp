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
    QStringLiteral("btnBackward"),      QStringLiteral("btnPlayPause"),
    QStringLiteral("btnStop"),          QStringLiteral("btnForward"),
    QStringLiteral("btnMarkInReset"),   QStringLiteral("btnMarkInSharpL"),
    QStringLiteral("btnMarkInSet"),     QStringLiteral("btnMarkInSharpR"),
    QStringLiteral("btnMarkReset"),     QStringLiteral("btnMarkOutSharpL"),
    QStringLiteral("btnMarkOutSet"),    QStringLiteral("btnMarkOutSharpR"),
    QStringLiteral("btnMarkOutReset")};

const QColor LowerBar(0xAA, 0x99, 0x00);

// Stands in for the main window: its slots are bound to the panel's buttons by name.
class ButtonSink : public QWidget
{
    Q_OBJECT
public:
    QStringList clicked;
public slots:
    void on_btnPlayPause_clicked() { clicked << QStringLiteral("btnPlayPause"); }
    void on_btnMarkInSet_clicked() { clicked << QStringLiteral("btnMarkInSet"); }
    void on_btnMarkOutReset_clicked() { clicked << QStringLiteral("btnMarkOutReset"); }
};

QSeekSlider *seekSliderOf(PlayCtrl &panel)
{
    return panel.findChild<QSeekSlider *>(QStringLiteral("seekSlider"));
}

bool showsLoopRange(QSeekSlider *slider)
{
    QImage image(slider->size(), QImage::Format_ARGB32);
    slider->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, 4) == LowerBar)
            return true;
    return false;
}

} // namespace

class TestPlayCtrl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void childrenCarryTheirNames();
    void startsEmpty();
    void operationsReachTheChildren();
    void playPauseLookIsRestoredExactly();
    void sheetPicturesExist();
    void resizingWidensOnlyTheSeekSlider();
    void buttonsBindByNameToTheMainWindow();
    void followsRealPlaybackAndDrivesTheVolume();

private:
    QTemporaryDir m_dir;
    QString m_mp3;
};

void TestPlayCtrl::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir::setCurrent(m_dir.path()));
    m_mp3 = m_dir.filePath(QStringLiteral("tone.mp3"));
    QVERIFY(AudioFixtures::makeToneMp3(m_mp3, 6.0, 440));
}

void TestPlayCtrl::childrenCarryTheirNames()
{
    PlayCtrl panel(nullptr);
    QCOMPARE(panel.objectName(), QStringLiteral("PlayCtrl"));
    QCOMPARE(panel.size(), QSize(640, 50));
    QCOMPARE(panel.windowTitle(), QStringLiteral("Form"));
    for (const QString &name : ButtonNames) {
        auto *button = panel.findChild<QPushButton *>(name);
        QVERIFY2(button, qPrintable(name));
        QVERIFY(button->text().isEmpty());
        QCOMPARE(button->minimumSize(), QSize(24, 24));
        QCOMPARE(button->maximumSize(), QSize(24, 24));
    }
    QCOMPARE(panel.findChildren<QPushButton *>().size(), ButtonNames.size());
    QVERIFY(panel.findChild<QLabel *>(QStringLiteral("curTimeLabel")));
    QVERIFY(panel.findChild<QLabel *>(QStringLiteral("totTimeLabel")));
    QCOMPARE(panel.findChild<QLabel *>(QStringLiteral("btnVolumeLabel"))->maximumSize(),
             QSize(24, 24));
    QVERIFY(seekSliderOf(panel));
    QCOMPARE(panel.volumeSlider(),
             panel.findChild<Phonon::VolumeSlider *>(QStringLiteral("volSlider")));
    QCOMPARE(panel.volumeSlider()->minimumSize(), QSize(80, 10));
    QCOMPARE(panel.volumeSlider()->maximumSize(), QSize(80, 10));

    // A name given before the set-up is kept (the main window calls it "ctrlbar").
    QWidget host;
    host.setObjectName(QStringLiteral("host"));
    PlayCtrl named(&host);
    QCOMPARE(named.objectName(), QStringLiteral("PlayCtrl"));
    named.setObjectName(QStringLiteral("ctrlbar"));
    QVERIFY(named.styleSheet().startsWith(QStringLiteral("PlayCtrl,#PlayCtrl")));
}

void TestPlayCtrl::startsEmpty()
{
    PlayCtrl panel(nullptr);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCOMPARE(panel.findChild<QLabel *>(QStringLiteral("curTimeLabel"))->text(),
             QStringLiteral("00:00:00"));
    QCOMPARE(panel.findChild<QLabel *>(QStringLiteral("totTimeLabel"))->text(),
             QStringLiteral("00:00:00"));
    QVERIFY(!showsLoopRange(seekSliderOf(panel)));
}

void TestPlayCtrl::operationsReachTheChildren()
{
    PlayCtrl panel(nullptr);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.setCurrentTime(QStringLiteral("00:01:02"));
    panel.setTotalTime(QStringLiteral("00:12:34"));
    QCOMPARE(panel.findChild<QLabel *>(QStringLiteral("curTimeLabel"))->text(),
             QStringLiteral("00:01:02"));
    QCOMPARE(panel.findChild<QLabel *>(QStringLiteral("totTimeLabel"))->text(),
             QStringLiteral("00:12:34"));

    QSeekSlider *slider = seekSliderOf(panel);
    panel.setMarkIn(0.25);
    QVERIFY(showsLoopRange(slider));
    panel.setMarkIn(0.0);
    panel.setMarkOut(1.0);
    QVERIFY(!showsLoopRange(slider));
    panel.setMarkOut(0.5);
    QImage image(slider->size(), QImage::Format_ARGB32);
    slider->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    const int half = slider->width() / 2;
    QCOMPARE(image.pixelColor(half - 10, 4), LowerBar);
    QVERIFY(image.pixelColor(half + 10, 4) != LowerBar);
}

void TestPlayCtrl::playPauseLookIsRestoredExactly()
{
    PlayCtrl panel(nullptr);
    auto *button = panel.findChild<QPushButton *>(QStringLiteral("btnPlayPause"));
    QVERIFY(button->styleSheet().isEmpty());
    panel.sltMediaPaused(false);
    const QString playing = button->styleSheet();
    QVERIFY(playing.contains(QStringLiteral("url(:/images/suspend.png)")));
    QVERIFY(playing.contains(QStringLiteral("url(:/images/suspend02.png)")));
    QVERIFY(!playing.contains(QStringLiteral("play")));
    panel.sltMediaPaused(true);
    QCOMPARE(button->styleSheet(),
             QStringLiteral("#btnPlayPause {margin: 7px;border-image: url(:/images/play.png);}"
                            "#btnPlayPause:hover {margin: 7px;border-image: url(:/images/play02.png);}"
                            "#btnPlayPause:pressed {margin: 7px;border-image: url(:/images/play.png);}"));
    const QMetaObject &meta = PlayCtrl::staticMetaObject;
    QCOMPARE(meta.methodCount() - meta.methodOffset(), 1);
    QCOMPARE(meta.method(meta.methodOffset()).methodSignature(), QByteArray("sltMediaPaused(bool)"));
}

// A misspelt picture name in a style sheet fails silently and leaves a blank button.
void TestPlayCtrl::sheetPicturesExist()
{
    zorvaInitResources();
    PlayCtrl panel(nullptr);
    panel.sltMediaPaused(false);
    const QString sheets = panel.styleSheet()
        + panel.findChild<QPushButton *>(QStringLiteral("btnPlayPause"))->styleSheet();
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
    panel.setCurrentTime(QStringLiteral("00:00:00"));
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QList<QWidget *> fixed = {panel.findChild<QLabel *>(QStringLiteral("curTimeLabel")),
                              panel.findChild<QLabel *>(QStringLiteral("totTimeLabel")),
                              panel.findChild<QLabel *>(QStringLiteral("btnVolumeLabel")),
                              panel.volumeSlider()};
    for (const QString &name : ButtonNames)
        fixed << panel.findChild<QPushButton *>(name);
    QList<QSize> before;
    for (QWidget *widget : fixed)
        before << widget->size();
    QSeekSlider *slider = seekSliderOf(panel);
    const int sliderBefore = slider->width();
    auto *lastButton = panel.findChild<QPushButton *>(QStringLiteral("btnMarkOutReset"));
    auto *firstMarkButton = panel.findChild<QPushButton *>(QStringLiteral("btnMarkInReset"));
    const int markRowLeft = firstMarkButton->x();

    panel.resize(1000, 50);
    QTRY_COMPARE_WITH_TIMEOUT(slider->width(), sliderBefore + 360, 5000);
    QCOMPARE(slider->height(), 8);
    for (int i = 0; i < fixed.size(); ++i)
        QCOMPARE(fixed.at(i)->size(), before.at(i));
    QCOMPARE(lastButton->size(), QSize(24, 24));
    // The spacers take the width: the mark buttons move right, not apart.
    QVERIFY(firstMarkButton->x() > markRowLeft + 100);
    QCOMPARE(lastButton->x() - firstMarkButton->x(), 8 * (24 + 7));
}

void TestPlayCtrl::buttonsBindByNameToTheMainWindow()
{
    ButtonSink window;
    auto *panel = new PlayCtrl(&window);
    panel->setObjectName(QStringLiteral("ctrlbar"));
    QMetaObject::connectSlotsByName(&window);
    const QStringList bound = {QStringLiteral("btnPlayPause"), QStringLiteral("btnMarkInSet"),
                               QStringLiteral("btnMarkOutReset")};
    for (const QString &name : ButtonNames)
        panel->findChild<QPushButton *>(name)->click();
    QCOMPARE(window.clicked, bound);
}

void TestPlayCtrl::followsRealPlaybackAndDrivesTheVolume()
{
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

    auto *position = seekSliderOf(panel)->findChild<QSlider *>();
    QVERIFY(position);
    media.setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(m_mp3)));
    media.play();
    QTRY_COMPARE_WITH_TIMEOUT(media.state(), Phonon::PlayingState, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(position->isEnabled(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(position->maximum() > 5000, 5000);
    QVERIFY(qAbs(position->maximum() - 6000) < 300);
    // The slider follows the media position as it advances.
    QTRY_VERIFY_WITH_TIMEOUT(position->value() >= 1000, 10000);
    QVERIFY(qAbs(position->value() - media.currentTime()) <= 1500);

    // Dragging the slider seeks the media object itself.
    position->setValue(4000);
    QTRY_VERIFY_WITH_TIMEOUT(media.currentTime() >= 3900, 5000);

    auto *volume = panel.volumeSlider()->findChild<QSlider *>();
    QVERIFY(volume);
    volume->setValue(volume->minimum() + (volume->maximum() - volume->minimum()) / 4);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(output.volume() - 0.25) < 0.02, 5000);
    volume->setValue(volume->maximum());
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(output.volume() - 1.0) < 0.02, 5000);

    QSignalSpy finished(&media, &Phonon::MediaObject::finished);
    QVERIFY(finished.wait(10000));
}

QTEST_MAIN(TestPlayCtrl)
#include "tst_playctrl.moc"
