#include "downloadcontrol.h"

#include "testhttpserver.h"
#include "zipfixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using ZipFixtures::noise;
using ZipFixtures::readFile;
using ZipFixtures::writeFile;

class TestDownloadControl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void downloadsInParts_data();
    void downloadsInParts();
    void folderUrlSavesIndexHtml();
    void unreachableServerGivesZeroSize();
    void silentServerTimesOut();
    void missingFileIsReportedAsFailure();

private:
    struct Outcome
    {
        int finishedSignals = 0;
        bool openAtFinish = true;
        qint64 progressSum = 0;
    };
    // Downloads `path` from the server and waits for the end; the file's state is
    // taken at the moment FileDownloadFinished() arrives.
    Outcome download(DownloadControl &control, const QString &path, int parts);
    QStringList requests(const QString &method) const;

    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<QTemporaryDir> m_www;
    std::unique_ptr<TestHttpServer> m_server;
};

void TestDownloadControl::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    m_www = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid() && m_www->isValid());
    QVERIFY(QDir::setCurrent(m_work->path()));
    m_server = std::make_unique<TestHttpServer>(m_www->path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
}

void TestDownloadControl::cleanup()
{
    m_server.reset();
    QDir::setCurrent(QDir::tempPath());
    m_work.reset();
    m_www.reset();
}

TestDownloadControl::Outcome TestDownloadControl::download(DownloadControl &control, const QString &path, int parts)
{
    Outcome outcome;
    auto *file = control.findChild<QFile *>();
    connect(&control, &DownloadControl::DownReadyRead, this, [&outcome](int n) { outcome.progressSum += n; });
    connect(&control, &DownloadControl::FileDownloadFinished, this, [&outcome, file] {
        ++outcome.finishedSignals;
        outcome.openAtFinish = file && file->isOpen();
    });
    QSignalSpy finished(&control, &DownloadControl::FileDownloadFinished);
    control.StartFileDownload(m_server->baseUrl() + path, parts);
    if (finished.isEmpty())
        finished.wait(60000);
    // A second emission would come from the event loop; give it the chance.
    QCoreApplication::processEvents();
    disconnect(&control, nullptr, this, nullptr);
    return outcome;
}

QStringList TestDownloadControl::requests(const QString &method) const
{
    QStringList lines;
    for (const QString &line : m_server->accessLog()) {
        if (line.startsWith(method + QLatin1Char(' ')))
            lines.append(line);
    }
    return lines;
}

void TestDownloadControl::downloadsInParts_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("parts");
    QTest::addColumn<QStringList>("ranges"); // sorted; empty: not checked
    QTest::newRow("one part, many chunks") << 3000001 << 1 << QStringList{"\"Bytes=0-3000001\""};
    QTest::newRow("two parts") << 100 << 2 << QStringList{"\"Bytes=0-50\"", "\"Bytes=49-100\""};
    QTest::newRow("seven parts") << 1000003 << 7 << QStringList();
    QTest::newRow("more parts than bytes") << 5 << 9 << QStringList();
}

void TestDownloadControl::downloadsInParts()
{
    QFETCH(int, size);
    QFETCH(int, parts);
    QFETCH(QStringList, ranges);
    const QByteArray source = noise(size, quint32(size));
    QVERIFY(writeFile(m_www->filePath(QStringLiteral("data.bin")), source));

    DownloadControl control;
    const Outcome outcome = download(control, QStringLiteral("/data.bin"), parts);
    QCOMPARE(outcome.finishedSignals, 1);
    QVERIFY2(!outcome.openAtFinish, "the file must be closed when the end is signalled");
    QVERIFY2(control.succeeded(), qPrintable(control.errorString()));
    QCOMPARE(control.fileName(), QStringLiteral("data.bin"));
    QVERIFY(readFile(QStringLiteral("data.bin")) == source);
    // nginx logs a request only after it has sent the answer.
    QTRY_COMPARE_WITH_TIMEOUT(requests(QStringLiteral("GET")).size(), parts, 10000);

    // Progress counts what was written, the overlapping bytes twice.
    qint64 sent = 0;
    QStringList seen;
    for (const QString &line : requests(QStringLiteral("GET"))) {
        QVERIFY2(line.startsWith(QStringLiteral("GET /data.bin 206 ")), qPrintable(line));
        sent += line.section(QLatin1Char(' '), -1).toLongLong();
        seen.append(line.section(QLatin1Char(' '), 3, 3));
    }
    seen.sort();
    if (!ranges.isEmpty())
        QCOMPARE(seen, ranges);
    QCOMPARE(outcome.progressSum, sent);
    QVERIFY(outcome.progressSum >= size);
}

void TestDownloadControl::folderUrlSavesIndexHtml()
{
    QVERIFY(QDir(m_www->path()).mkpath(QStringLiteral("folder")));
    QVERIFY(writeFile(m_www->filePath(QStringLiteral("folder/index.html")), "<html>index</html>"));
    DownloadControl control;
    QCOMPARE(download(control, QStringLiteral("/folder/"), 1).finishedSignals, 1);
    QVERIFY(control.succeeded());
    QCOMPARE(readFile(QStringLiteral("index.html")), QByteArray("<html>index</html>"));
}

void TestDownloadControl::unreachableServerGivesZeroSize()
{
    DownloadControl control;
    const QString url = QStringLiteral("http://127.0.0.1:%1/x.zip").arg(TestHttpServer::unusedPort());
    QCOMPARE(control.GetFileSize(QUrl(url)), qint64(0));
}

// A server that accepts the connection and never answers would otherwise keep the
// updater waiting for ever.
void TestDownloadControl::silentServerTimesOut()
{
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    DownloadControl control;
    control.setTransferTimeout(500);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(control.GetFileSize(QUrl(QStringLiteral("http://127.0.0.1:%1/x.zip").arg(silent.serverPort()))),
             qint64(0));
    QVERIFY2(clock.elapsed() < 20000, "the request was not given up");
}

void TestDownloadControl::missingFileIsReportedAsFailure()
{
    DownloadControl control;
    // nginx sends its error page with a length; that must not pass as the file's size.
    QCOMPARE(control.GetFileSize(QUrl(m_server->baseUrl() + QStringLiteral("/absent.zip"))), qint64(0));
    const Outcome outcome = download(control, QStringLiteral("/absent.zip"), 1);
    QCOMPARE(outcome.finishedSignals, 1);
    QVERIFY(!control.succeeded());
    QVERIFY(!control.errorString().isEmpty());
    QVERIFY(requests(QStringLiteral("GET")).isEmpty());
}

QTEST_GUILESS_MAIN(TestDownloadControl)
#include "tst_downloadcontrol.moc"
