#include "downloadcontrol.h"

#include "testhttpserver.h"
#include "zipfixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using ZipFixtures::readFile;
using ZipFixtures::writeFile;

class TestDownloadControl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_server.reset(); }
    void downloadsInParts_data();
    void downloadsInParts();
    void folderUrlSavesIndexHtml();
    void silentServerTimesOut();

private:
    // Downloads `path` and waits for the end; the count of FileDownloadFinished() and
    // whether the file was still open at the first one.
    QPair<int, bool> download(DownloadControl &control, const QString &path, int parts);
    QStringList gets() const { return m_server->accessLog().filter(QRegularExpression(QStringLiteral("^GET "))); }

    QTemporaryDir m_work;
    std::unique_ptr<QTemporaryDir> m_www;
    std::unique_ptr<TestHttpServer> m_server;
};

void TestDownloadControl::init()
{
    QVERIFY(QDir::setCurrent(m_work.path()));
    m_www = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<TestHttpServer>(m_www->path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
}

QPair<int, bool> TestDownloadControl::download(DownloadControl &control, const QString &path, int parts)
{
    QPair<int, bool> outcome{0, false};
    auto *file = control.findChild<QFile *>();
    connect(&control, &DownloadControl::FileDownloadFinished, this, [&outcome, file] {
        outcome.second = outcome.second || (outcome.first == 0 && file->isOpen());
        ++outcome.first;
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

void TestDownloadControl::downloadsInParts_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("parts");
    QTest::addColumn<QStringList>("ranges"); // sorted; empty: not checked
    QTest::newRow("one part, many chunks") << 3000001 << 1 << QStringList{"\"Bytes=0-3000001\""};
    QTest::newRow("two parts") << 100 << 2 << QStringList{"\"Bytes=0-50\"", "\"Bytes=49-100\""};
    QTest::newRow("seven parts") << 1000003 << 7 << QStringList();
}

void TestDownloadControl::downloadsInParts()
{
    QFETCH(int, size);
    QFETCH(int, parts);
    QFETCH(QStringList, ranges);
    const QByteArray source = ZipFixtures::noise(size, quint32(size));
    QVERIFY(writeFile(m_www->filePath(QStringLiteral("data.bin")), source));

    DownloadControl control;
    qint64 progress = 0;
    connect(&control, &DownloadControl::DownReadyRead, this, [&progress](int n) { progress += n; });
    QCOMPARE(download(control, QStringLiteral("/data.bin"), parts), qMakePair(1, false));
    QVERIFY2(control.succeeded(), qPrintable(control.errorString()));
    QVERIFY(readFile(QStringLiteral("data.bin")) == source);

    // nginx logs a request only after it has sent the answer.
    QTRY_COMPARE_WITH_TIMEOUT(gets().size(), parts, 10000);
    qint64 sent = 0;
    QStringList seen;
    for (const QString &line : gets()) {
        QVERIFY2(line.startsWith(QStringLiteral("GET /data.bin 206 ")), qPrintable(line));
        sent += line.section(QLatin1Char(' '), -1).toLongLong();
        seen.append(line.section(QLatin1Char(' '), 3, 3));
    }
    seen.sort();
    QVERIFY(ranges.isEmpty() || seen == ranges);
    // Progress counts what was written, the overlapping bytes twice.
    QCOMPARE(progress, sent);
    QVERIFY(progress >= size);
}

void TestDownloadControl::folderUrlSavesIndexHtml()
{
    QVERIFY(QDir(m_www->path()).mkpath(QStringLiteral("folder")));
    QVERIFY(writeFile(m_www->filePath(QStringLiteral("folder/index.html")), "<html>index</html>"));
    DownloadControl control;
    QCOMPARE(download(control, QStringLiteral("/folder/"), 1).first, 1);
    QVERIFY(control.succeeded());
    QCOMPARE(readFile(QStringLiteral("index.html")), QByteArray("<html>index</html>"));
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
    QVERIFY(clock.elapsed() < 20000);
}

QTEST_GUILESS_MAIN(TestDownloadControl)
#include "tst_downloadcontrol.moc"
