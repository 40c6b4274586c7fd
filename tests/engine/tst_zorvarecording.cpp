// The main window's recording slots as the training bar drives them, with ALSA pointed at a
// configuration without any device: the learner is told once, the bar's clock stops and
// the trainer can try again. (Recording with a microphone through the window is part of
// the end-to-end training test.)
#include "audiofixtures.h"
#include "testpaths.h"
#include "tscontrol.h"
#include "zorva.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace {

// The bar counts down three seconds before it begins; its clock ticks once a second.
constexpr int countdownTimeoutMs = 8000;
constexpr int clockTimeoutMs = 4000;

QList<QMessageBox *> visibleBoxes(const QWidget *window)
{
    QList<QMessageBox *> shown = window->findChildren<QMessageBox *>();
    shown.erase(std::remove_if(shown.begin(), shown.end(), [](QWidget *box) { return !box->isVisible(); }),
        shown.end());
    return shown;
}

} // namespace

class TestZorvaRecording : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void missingMicrophoneWarnsOnceAndStopsTheClock();
    void unwritableSentenceFileWarnsAndStopsTheClock();

private:
    QTemporaryDir m_dir;
};

void TestZorvaRecording::initTestCase()
{
    zorvaInitResources();
    QVERIFY(m_dir.isValid() && QDir::setCurrent(m_dir.path()));
    // The window reads the installation's skin and selections list at start.
    const QString stage = TestPaths::stageDir();
    QCOMPARE(QProcess::execute(QStringLiteral("cp"),
                 { QStringLiteral("-r"), stage + QStringLiteral("/skin"),
                     stage + QStringLiteral("/weblist.xml"), QStringLiteral(".") }),
        0);
    QVERIFY(QDir().mkpath(QStringLiteral("workspace")));
    QVERIFY(AudioFixtures::makeToneMp3(QStringLiteral("workspace/lesson01.mp3"), 6.0, 330));
}

void TestZorvaRecording::missingMicrophoneWarnsOnceAndStopsTheClock()
{
    Zorva window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Step 1 of the lesson records its sentence 11.mp3.
    window.sltSwitchWorkspace(QStringLiteral("./workspace/lesson01.mp3"));
    window.sltNextState();
    auto *bar = window.findChild<TsControl *>();
    QVERIFY(bar);
    // The window's own connections, in its order; a unique connection adds none twice.
    connect(bar, &TsControl::recordBeginEnd, &window, &Zorva::sltRecordBeginEnd, Qt::UniqueConnection);
    connect(bar, &TsControl::recordBeginEnd, &window, &Zorva::keepRecordOrPlay, Qt::UniqueConnection);
    connect(bar, &TsControl::recordBeginEnd, &window, &Zorva::sltRecordPlayPauseButton,
        Qt::UniqueConnection);
    QSignalSpy recording(bar, &TsControl::recordBeginEnd);

    bar->recordTrigger(true);
    QTRY_COMPARE_WITH_TIMEOUT(recording.count(), 1, countdownTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(visibleBoxes(&window).size(), 1, 10000);
    QMessageBox *box = visibleBoxes(&window).first();
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QVERIFY2(box->text().contains(QStringLiteral("portaudio: No input device.")),
        qPrintable(box->text()));

    // Without a second press the bar ends the recording itself: its clock does not run on.
    QTRY_COMPARE_WITH_TIMEOUT(recording.count(), 2, clockTimeoutMs);
    QCOMPARE(recording.last().value(0).toBool(), false);
    QCOMPARE(QFileInfo(QStringLiteral("./workspace/train/lesson01.mp3/11.mp3")).size(), 0);

    // One box per failed recording, not one per clock tick.
    QTest::qWait(1500);
    QCOMPARE(recording.count(), 2);
    QCOMPARE(window.findChildren<QMessageBox *>().size(), 1);
    box->close();

    // The trainer carries on: the next attempt fails the same way, and is reported again.
    bar->recordTrigger(true);
    QTRY_COMPARE_WITH_TIMEOUT(recording.count(), 4, countdownTimeoutMs + clockTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(visibleBoxes(&window).size(), 1, 5000);
}

void TestZorvaRecording::unwritableSentenceFileWarnsAndStopsTheClock()
{
    // The sentence file cannot be opened (a folder stands in its place): the clock used to
    // run on as if recording, with nothing said.
    QVERIFY(QDir(QStringLiteral("workspace/train/lesson01.mp3")).removeRecursively());
    Zorva window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.sltSwitchWorkspace(QStringLiteral("./workspace/lesson01.mp3"));
    window.sltNextState();
    QVERIFY(QDir().mkpath(QStringLiteral("workspace/train/lesson01.mp3/11.mp3")));
    auto *bar = window.findChild<TsControl *>();
    QVERIFY(bar);
    connect(bar, &TsControl::recordBeginEnd, &window, &Zorva::sltRecordBeginEnd, Qt::UniqueConnection);
    QSignalSpy recording(bar, &TsControl::recordBeginEnd);

    bar->recordTrigger(true);
    QTRY_COMPARE_WITH_TIMEOUT(recording.count(), 2, countdownTimeoutMs + clockTimeoutMs);
    QCOMPARE(recording.last().value(0).toBool(), false);
    QTRY_COMPARE_WITH_TIMEOUT(visibleBoxes(&window).size(), 1, 5000);
    QVERIFY2(visibleBoxes(&window).first()->text().contains(QStringLiteral("11.mp3")),
        qPrintable(visibleBoxes(&window).first()->text()));
    QVERIFY(QDir(QStringLiteral("workspace/train/lesson01.mp3")).removeRecursively());
}

QTEST_MAIN(TestZorvaRecording)
#include "tst_zorvarecording.moc"
