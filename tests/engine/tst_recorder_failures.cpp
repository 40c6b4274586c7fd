// Recordings that cannot happen: no input device (ALSA is pointed at a configuration
// without one), no output file. Each must be logged, reported once and leave the program
// able to record again.
#include "parecthread.h"
#include "recordingcontrol.h"

#include <QFileInfo>
#include <QSignalSpy>
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

bool portAudioInitialized()
{
    return Pa_GetDeviceCount() != paNotInitialized;
}

} // namespace

class TestRecorderFailures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { g_log.clear(); }
    void noDeviceIsLoggedAndReportedEachTime();
    void nullFileIsReported();
    void unopenableFileStartsNoRecording();

private:
    QTemporaryDir m_dir;
};

void TestRecorderFailures::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir::setCurrent(m_dir.path());
    g_previousHandler = qInstallMessageHandler(keepMessage);
}

void TestRecorderFailures::noDeviceIsLoggedAndReportedEachTime()
{
    // An earlier take of the sentence is overwritten even when the new one cannot start.
    QVERIFY(QDir().mkpath(QStringLiteral("workspace/train/lesson01.mp3")));
    const QString sentence = QStringLiteral("./workspace/train/lesson01.mp3/11.mp3");
    const QString error = QStringLiteral("portaudio: No input device.");
    PaRecThread thread;
    QSignalSpy failures(&thread, &PaRecThread::recordFailed);
    // Twice: a failed recording must leave the thread ready for the next one.
    for (int attempt = 1; attempt <= 2; ++attempt) {
        QFile earlier(sentence);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write(QByteArray(4096, 'x')) == 4096);
        earlier.close();
        FILE *file = nullptr;
        QVERIFY(beginRecording(thread, sentence, file));
        endRecording(thread, file);
        QCOMPARE(failures.count(), attempt);
        QCOMPARE(failures.last().value(0).toString(), error);
        QCOMPARE(thread.errorText(), error);
        QCOMPARE(g_log.count(error), attempt);
        QCOMPARE(g_log.count(QStringLiteral("recordFileName: \"%1\"").arg(sentence)), attempt);
        QCOMPARE(QFileInfo(sentence).size(), 0);
        QVERIFY(!portAudioInitialized());
    }
}

void TestRecorderFailures::nullFileIsReported()
{
    PaRecThread thread;
    QSignalSpy failures(&thread, &PaRecThread::recordFailed);
    thread.setFile(nullptr);
    thread.start();
    QVERIFY(thread.wait(10000));
    QCOMPARE(failures.count(), 1);
    QCOMPARE(failures.first().value(0).toString(), QStringLiteral("NULL file pointer."));
}

void TestRecorderFailures::unopenableFileStartsNoRecording()
{
    PaRecThread thread;
    QSignalSpy failures(&thread, &PaRecThread::recordFailed);
    FILE *file = nullptr;
    QVERIFY(!beginRecording(thread, QStringLiteral("./no/such/folder/11.mp3"), file));
    QVERIFY(!file);
    QVERIFY(!thread.isRunning() && !thread.isFinished());
    endRecording(thread, file);
    QCOMPARE(failures.count(), 0);
}

QTEST_GUILESS_MAIN(TestRecorderFailures)
#include "tst_recorder_failures.moc"
