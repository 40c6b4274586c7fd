#include "downloadmanager.h"
#include "librarytest.h"
#include "testhttpserver.h"

#include <QNetworkReply>
#include <QSignalSpy>
#include <optional>

namespace {
// Bytes that differ from position to position, so a shifted or cut body shows.
QByteArray patterned(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return bytes;
}
} // namespace

class TestDownloadManager : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void uniqueSaveName_data();
    void uniqueSaveName();
    void concurrentDownloadsFinishIndependently();
    void failedDownloadSignalsNothing_data();
    void failedDownloadSignalsNothing();

private:
    QString url(const QString &path) const { return m_server->baseUrl() + path; }

    QTemporaryDir m_www;
    std::unique_ptr<TestHttpServer> m_server;
    std::optional<WorkingDir> m_work;
};

void TestDownloadManager::initTestCase()
{
    QVERIFY(m_www.isValid());
    QVERIFY(QDir(m_www.path()).mkpath("m"));
    writeBytes(m_www.path() + "/m/talk.mp3", patterned(300000));
    writeBytes(m_www.path() + "/m/talk.txt", "transcript");
    writeBytes(m_www.path() + "/m/other.txt", "other");
    m_server = std::make_unique<TestHttpServer>(m_www.path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
}

void TestDownloadManager::init()
{
    m_work.emplace();
}

void TestDownloadManager::cleanup()
{
    m_work.reset();
}

void TestDownloadManager::uniqueSaveName_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QStringList>("existing"); // files in the program folder
    QTest::addColumn<QString>("expected");
    QTest::newRow("query dropped") << "http://h/m/talk.mp3?x=1" << QStringList() << "talk.mp3";
    QTest::newRow("dot dot") << "http://h/m/%2E%2E" << QStringList() << "download";
    QTest::newRow("encoded slash stays inside") << "http://h/m/a%2F..%2Fb.txt" << QStringList()
                                                << "b.txt";
    QTest::newRow("first gap") << "http://h/talk.mp3"
                               << QStringList { "talk.mp3", "talk.mp3.0", "talk.mp3.2" }
                               << "talk.mp3.1";
    // Only the program folder counts: a re-download replaces the material's own file.
    QTest::newRow("in workspace") << "http://h/talk.mp3" << QStringList { "workspace/talk.mp3" }
                                  << "talk.mp3";
}

void TestDownloadManager::uniqueSaveName()
{
    QFETCH(QString, url);
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);
    for (const QString &name : existing)
        writeBytes(name, "x");
    QCOMPARE(DownloadManager::uniqueSaveName(QUrl(url)), expected);
}

void TestDownloadManager::concurrentDownloadsFinishIndependently()
{
    DownloadManager manager;
    QSignalSpy finished(&manager, &DownloadManager::finishSig);
    manager.download(QUrl(url("/m/talk.mp3")));
    manager.download(QUrl(url("/m/talk.txt")));
    manager.download(QUrl(url("/m/other.txt")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 3, 20000);
    QStringList paths;
    for (const QList<QVariant> &args : finished)
        paths << args.first().toString();
    paths.sort();
    QCOMPARE(paths,
        (QStringList { "./workspace/other.txt", "./workspace/talk.mp3", "./workspace/talk.txt" }));
    QCOMPARE(readBytes("workspace/talk.mp3"), patterned(300000));
    // Written through temporary files renamed at the end; nothing else is left behind.
    QCOMPARE(QDir("workspace").entryList(QDir::Files),
        (QStringList { "other.txt", "talk.mp3", "talk.txt" }));
}

void TestDownloadManager::failedDownloadSignalsNothing_data()
{
    QTest::addColumn<QString>("path"); // on the test server; empty: a server that is down
    QTest::addColumn<bool>("workspace");
    QTest::newRow("404") << "/m/gone.mp3" << true;
    QTest::newRow("server down") << "" << true;
    // A file that could not be saved must not count: the material would complete without it.
    QTest::newRow("workspace missing") << "/m/talk.txt" << false;
}

void TestDownloadManager::failedDownloadSignalsNothing()
{
    QFETCH(QString, path);
    QFETCH(bool, workspace);
    writeBytes("workspace/gone.mp3", "the old file");
    if (!workspace)
        QVERIFY(QDir("workspace").removeRecursively());
    const QString address = path.isEmpty()
        ? QStringLiteral("http://127.0.0.1:%1/m/gone.mp3").arg(TestHttpServer::unusedPort())
        : url(path);
    DownloadManager manager;
    QSignalSpy finished(&manager, &DownloadManager::finishSig);
    manager.download(QUrl(address));
    // The reply is released after it finished; wait for that instead of a fixed time.
    QTRY_COMPARE_WITH_TIMEOUT(manager.findChildren<QNetworkReply *>().size(), 0, 20000);
    QCOMPARE(finished.size(), 0);
    QCOMPARE(readBytes("workspace/gone.mp3"), workspace ? QByteArray("the old file") : QByteArray());
    QCOMPARE(QDir("workspace").entryList(QDir::Files),
        workspace ? QStringList { "gone.mp3" } : QStringList());
}

QTEST_GUILESS_MAIN(TestDownloadManager)
#include "tst_downloadmanager.moc"
