#include "logmessagehandler.h"

#include <QtTest>

#include <atomic>

namespace {

QByteArray readLog()
{
    QFile file(QStringLiteral("zorva.log"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void logDebug(const QString &text)
{
    logMessageHandler(QtDebugMsg, QMessageLogContext(), text);
}

// One record as the file holds it: CR LF, type, stamp, text, LF, then the line end LF.
const QRegularExpression recordPattern(
    QStringLiteral("\\r\\n(Debug|Warning|Critical|Fatal)\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\]: ([^\\n]*)\\n\\n"));

} // namespace

class TestLogMessageHandler : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void recordText_data();
    void recordText();
    void appendsOneRecord();
    void keepsEarlierContent();
    void installedHandlerLogsQtMessages();
    void unwritableLogIsIgnored();
    void threadsNeverInterleave();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
};

void TestLogMessageHandler::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestLogMessageHandler::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestLogMessageHandler::recordText_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("record");
    QTest::newRow("debug") << int(QtDebugMsg) << "hello" << "\r\nDebug[2013-06-01 09:05:07]: hello\n";
    QTest::newRow("warning") << int(QtWarningMsg) << "w" << "\r\nWarning[2013-06-01 09:05:07]: w\n";
    QTest::newRow("critical") << int(QtCriticalMsg) << "c" << "\r\nCritical[2013-06-01 09:05:07]: c\n";
    QTest::newRow("fatal") << int(QtFatalMsg) << "f" << "\r\nFatal[2013-06-01 09:05:07]: f\n";
    // Placeholders inside the message are text, not to be filled.
    QTest::newRow("placeholders stay") << int(QtDebugMsg) << "rate %1 of %2" << "\r\nDebug[2013-06-01 09:05:07]: rate %1 of %2\n";
    QTest::newRow("chinese") << int(QtDebugMsg) << QStringLiteral("源语复述") << QStringLiteral("\r\nDebug[2013-06-01 09:05:07]: 源语复述\n");
}

void TestLogMessageHandler::recordText()
{
    QFETCH(int, type);
    QFETCH(QString, message);
    QFETCH(QString, record);
    const QDateTime when(QDate(2013, 6, 1), QTime(9, 5, 7));
    QCOMPARE(logRecordText(static_cast<QtMsgType>(type), when, message), record);
}

void TestLogMessageHandler::appendsOneRecord()
{
    const QDateTime before = QDateTime::currentDateTime();
    logDebug(QStringLiteral("hello"));
    const QDateTime after = QDateTime::currentDateTime();

    const QByteArray log = readLog();
    QVERIFY2(log.startsWith("\r\nDebug["), log.constData());
    QVERIFY2(log.endsWith("]: hello\n\n"), log.constData());
    const QByteArray stamp = log.mid(8, 19);
    QCOMPARE(log.size(), 8 + 19 + int(qstrlen("]: hello\n\n")));
    const QDateTime when = QDateTime::fromString(QString::fromLatin1(stamp), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    QVERIFY2(when.isValid(), stamp.constData());
    QVERIFY(when >= before.addMSecs(-before.time().msec()) && when <= after);
}

void TestLogMessageHandler::keepsEarlierContent()
{
    {
        QFile file(QStringLiteral("zorva.log"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier\n");
    }
    logDebug(QStringLiteral("first"));
    logMessageHandler(QtWarningMsg, QMessageLogContext(), QStringLiteral("second %1"));

    const QString log = QString::fromUtf8(readLog());
    QVERIFY(log.startsWith(QStringLiteral("earlier\n\r\nDebug[")));
    const QString records = log.mid(int(qstrlen("earlier\n")));
    auto match = recordPattern.globalMatch(records);
    QStringList messages;
    int covered = 0;
    while (match.hasNext()) {
        const auto m = match.next();
        QCOMPARE(m.capturedStart(), covered);
        covered = m.capturedEnd();
        messages << m.captured(1) + QLatin1Char(' ') + m.captured(2);
    }
    QCOMPARE(covered, records.size());
    QCOMPARE(messages, QStringList({QStringLiteral("Debug first"), QStringLiteral("Warning second %1")}));
}

void TestLogMessageHandler::installedHandlerLogsQtMessages()
{
    const QtMessageHandler previous = qInstallMessageHandler(logMessageHandler);
    qDebug("via qDebug");
    qWarning("via qWarning");
    qInstallMessageHandler(previous);

    const QByteArray log = readLog();
    QVERIFY2(log.contains("]: via qDebug\n\n"), log.constData());
    QVERIFY2(log.contains("\r\nWarning["), log.constData());
}

void TestLogMessageHandler::unwritableLogIsIgnored()
{
    // A folder in the log's place cannot be opened for writing, not even by root.
    QVERIFY(QDir().mkdir(QStringLiteral("zorva.log")));
    logDebug(QStringLiteral("lost"));
    QVERIFY(QFileInfo(QStringLiteral("zorva.log")).isDir());
    QVERIFY(QDir().rmdir(QStringLiteral("zorva.log")));
    // The handler keeps working once the file can be written again.
    logDebug(QStringLiteral("back"));
    QVERIFY(readLog().endsWith("]: back\n\n"));
}

void TestLogMessageHandler::threadsNeverInterleave()
{
    constexpr int perThread = 400;
    // Long texts make a torn record likely if two appends overlap.
    const QString gui = QString(300, QLatin1Char('g'));
    const QString rec = QString(300, QLatin1Char('r'));
    std::atomic<bool> go{false};
    QThread *recorder = QThread::create([&] {
        while (!go)
            QThread::yieldCurrentThread();
        for (int i = 0; i < perThread; ++i)
            logDebug(rec);
    });
    recorder->start();
    go = true;
    for (int i = 0; i < perThread; ++i)
        logDebug(gui);
    QVERIFY(recorder->wait(60000));
    delete recorder;

    const QString log = QString::fromUtf8(readLog());
    auto match = recordPattern.globalMatch(log);
    int covered = 0;
    int guiRecords = 0;
    int recRecords = 0;
    while (match.hasNext()) {
        const auto m = match.next();
        QCOMPARE(m.capturedStart(), covered);
        covered = m.capturedEnd();
        const QString text = m.captured(2);
        QVERIFY2(text == gui || text == rec, qPrintable(text.left(40)));
        ++(text == gui ? guiRecords : recRecords);
    }
    QCOMPARE(covered, log.size());
    QCOMPARE(guiRecords, perThread);
    QCOMPARE(recRecords, perThread);
}

QTEST_GUILESS_MAIN(TestLogMessageHandler)
#include "tst_logmessagehandler.moc"
