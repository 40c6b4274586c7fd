// Recordings that cannot happen: no input device (ALSA is pointed at a configuration
// without one), no output file. Each must be logged, reported once and leave the program
// able to record again.
#include "parecthread.h"
#include "recorder.h"
#include "recordingcontrol.h"
#include "recordingprobe.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <portaudio.h>

namespace {

QStringList g_log;
QtMessageHandler g_previousHandler = nullptr;

// The messages reach the log file through the application's handler; here they are kept.
void keepMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtDebugMsg)
        g_log << text;
    g_previousHandler(type, context, text);
}

} // namespace

class TestRecorderFailures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void failedSetUpIsLoggedAndReportedOnce_data();
    void failedSetUpIsLoggedAndReportedOnce();
    void noDeviceLeavesAnEmptySentenceFile();
    void unopenableFileStartsNoRecording();
    void recorderReleasesWhatAFailedOpenAcquired();

private:
    QTemporaryDir m_dir;
};

void TestRecorderFailures::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir::setCurrent(m_dir.path());
    g_previousHandler = qInstallMessageHandler(keepMessage);
}

void TestRecorderFailures::init()
{
    g_log.clear();
}

void TestRecorderFailures::cleanupTestCase()
{
    qInstallMessageHandler(g_previousHandler);
}

void TestRecorderFailures::failedSetUpIsLoggedAndReportedOnce_data()
{
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<QString>("error");

    QTest::newRow("no input device") << true << QStringLiteral("portaudio: No input device.");
    QTest::newRow("no output file") << false << QStringLiteral("NULL file pointer.");
}

void TestRecorderFailures::failedSetUpIsLoggedAndReportedOnce()
{
    QFETCH(bool, withFile);
    QFETCH(QString, error);

    PaRecThread thread;
    QSignalSpy failures(&thread, &PaRecThread::recordFailed);
    // Twice: a failed recording must leave the thread ready for the next one.
    for (int attempt = 0; attempt < 2; ++attempt) {
        FILE *file = withFile ? std::fopen("failed.mp3", "wb+") : nullptr;
        thread.setFile(file);
        thread.setGain(kRecordGain);
        thread.start();
        QVERIFY(thread.wait(10000));
        if (file)
            std::fclose(file);
        QTRY_COMPARE(failures.count(), attempt + 1);
        QCOMPARE(failures.last().value(0).toString(), error);
        QCOMPARE(thread.errorText(), error);
        QCOMPARE(g_log.count(error), attempt + 1);
        QCOMPARE(Pa_GetDeviceCount(), static_cast<PaDeviceIndex>(paNotInitialized));
    }
}

void TestRecorderFailures::noDeviceLeavesAnEmptySentenceFile()
{
    QVERIFY(QDir().mkpath(QStringLiteral("workspace/train/lesson01.mp3")));
    const QString sentence = QStringLiteral("./workspace/train/lesson01.mp3/11.mp3");
    QFile earlier(sentence);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write(QByteArray(4096, 'x'));
    earlier.close();

    PaRecThread thread;
    QSignalSpy failures(&thread, &PaRecThread::recordFailed);
    FILE *file = nullptr;
    QVERIFY(beginRecording(thread, sentence, file));
    QVERIFY(failures.wait(10000));
    endRecording(thread, file);

    QVERIFY(!file);
    QCOMPARE(failures.count(), 1);
    QVERIFY(QFileInfo::exists(sentence));
    QCOMPARE(QFileInfo(sentence).size(), 0);
    QCOMPARE(g_log.value(0), QStringLiteral("recordFileName: \"%1\"").arg(sentence));
    QVERIFY(g_log.contains(QStringLiteral("portaudio: No input device.")));
}

void TestRecorderFailures::unopenableFileStartsNoRecording()
{
    PaRecThread thread;
    QSignalSpy failures(&thread, &PaRecThread::recordFailed);
    FILE *file = nullptr;
    QVERIFY(!beginRecording(thread, QStringLiteral("./no/such/folder/11.mp3"), file));
    QVERIFY(!file);
    QVERIFY(!thread.isRunning());
    QVERIFY(!thread.isFinished());
    endRecording(thread, file);
    QCOMPARE(failures.count(), 0);
    QVERIFY(!QFileInfo::exists(QStringLiteral("./no/such/folder/11.mp3")));
}

void TestRecorderFailures::recorderReleasesWhatAFailedOpenAcquired()
{
    // The stop flag and buffers belong to one recording; a failure half-way must leave
    // the recorder as new, whatever step failed. The sanitizer build checks the frees.
    FILE *file = std::fopen("direct.mp3", "wb+");
    QVERIFY(file);
    Recorder recorder;
    QVERIFY(!recorder.open(file, kRecordGain));
    QCOMPARE(
        QString::fromLatin1(recorder.errorText), QStringLiteral("portaudio: No input device."));
    QVERIFY(recorder.lame);
    QVERIFY(recorder.mp3Buffer);
    recorder.close();
    QVERIFY(!recorder.lame);
    QVERIFY(!recorder.mp3Buffer);
    QVERIFY(!recorder.left);
    QVERIFY(!recorder.right);
    QVERIFY(!recorder.stream);
    QCOMPARE(Pa_GetDeviceCount(), static_cast<PaDeviceIndex>(paNotInitialized));
    // Closing twice is harmless: every released handle was cleared.
    recorder.close();
    QVERIFY(!recorder.start());
    std::fclose(file);
}

QTEST_GUILESS_MAIN(TestRecorderFailures)
#include "tst_recorder_failures.moc"
