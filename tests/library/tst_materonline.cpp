#include "librarytest.h"
#include "modalcatcher.h"
#include "testhttpserver.h"
#include "testpaths.h"

#include <QDirIterator>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTranslator>
#include <optional>

namespace {
const QString speeches = QStringLiteral("Speeches 演讲");
const QString news = QStringLiteral("News 新闻");
const QString climate = QStringLiteral("Cities and climate 城市与气候");
const QString trade = QStringLiteral("Opening a trade forum 贸易论坛开幕词");
const QString health = QStringLiteral("Health report 健康报道");
const QString rail = QStringLiteral("New rail line 新铁路线");
} // namespace

// The online tab and downloads against a copy of the sample content server on loopback.
class TestMaterOnline : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void catalogueFollowsStatusEntry();
    void failedCatalogueOffersReload_data();
    void failedCatalogueOffersReload();
    void malformedCatalogueKeepsWhatWasRead();
    void onlyMaterialsDownload();
    void twoMaterialsDownloadAtOnce();
    void mismatchedNamesNeverComplete();
    void secondClickDownloadsAgain();
    void reloadDuringDownload();

private:
    QTreeWidget *openOnline();
    bool catalogueLoaded();
    int liveReplies() const { return m_panel->findChildren<QNetworkReply *>().size(); }
    QString catalogue() const { return m_www.path() + "/inter/data.php"; }
    QByteArray served(const QString &name) const
    {
        return readBytes(m_www.path() + "/materials/" + name);
    }

    QTranslator m_translator;
    QTemporaryDir m_www;
    std::unique_ptr<TestHttpServer> m_server;
    std::optional<WorkingDir> m_work;
    std::unique_ptr<Mater> m_panel;
};

void TestMaterOnline::initTestCase()
{
    // The status words as the learner reads them, so a missing translation shows up.
    QVERIFY(m_translator.load("app", TestPaths::stageDir() + "/translations"));
    QCoreApplication::installTranslator(&m_translator);
    QVERIFY(mater("_TEXT_ERRLOAD_") != QLatin1String("_TEXT_ERRLOAD_"));
    const QString from = TestPaths::sourceDir() + "/server/www";
    for (QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString target = m_www.path() + it.next().mid(from.size());
        QVERIFY(QDir().mkpath(QFileInfo(target).path()) && QFile::copy(it.filePath(), target));
    }
    m_server = std::make_unique<TestHttpServer>(m_www.path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
}

void TestMaterOnline::init()
{
    m_work.emplace();
    qputenv("ZORVA_CONTENT_URL", m_server->baseUrl().toUtf8());
    m_server->clearAccessLog();
}

void TestMaterOnline::cleanup()
{
    m_panel.reset();
    m_work.reset();
    QFile::remove(catalogue());
    QFile::copy(TestPaths::sourceDir() + "/server/www/inter/data.php", catalogue());
}

QTreeWidget *TestMaterOnline::openOnline()
{
    m_panel.reset(); // a restart: the previous window goes first
    m_panel = openPanel();
    return showTree(m_panel.get(), "online");
}

bool TestMaterOnline::catalogueLoaded()
{
    QTreeWidget *online = showTree(m_panel.get(), "online");
    return QTest::qWaitFor(
        [&] { return online->topLevelItem(0)->text(0) != mater("_TEXT_LOADING_"); }, 20000);
}

void TestMaterOnline::catalogueFollowsStatusEntry()
{
    // A material whose three files are here already is not offered again.
    for (const QString &name :
        QStringList { "trade_forum.mp3", "trade_forum.txt", "trade_forum@T.txt" })
        writeBytes("workspace/" + name, served(name));
    QTreeWidget *online = openOnline();
    QVERIFY(catalogueLoaded());
    QCOMPARE(titles(online), (QStringList { mater("_TEXT_RELOAD_"), speeches, news }));
    QCOMPARE(titles(online, online->topLevelItem(1)), QStringList { climate });
    QCOMPARE(titles(online, online->topLevelItem(2)), (QStringList { health, rail }));
    QTreeWidgetItem *item = findItem(online, climate);
    QCOMPARE(item->text(1), mater("_TEXT_DOWNLOAD_"));
    // The catalogue names its files relative to itself; the tab holds where they really are.
    QCOMPARE(item->text(2), m_server->baseUrl() + "/materials/city_climate.mp3");
    QTRY_COMPARE_WITH_TIMEOUT(liveReplies(), 0, 10000); // the list reply is released
}

void TestMaterOnline::failedCatalogueOffersReload_data()
{
    QTest::addColumn<bool>("serverDown");
    QTest::newRow("server down") << true;
    QTest::newRow("404") << false;
}

void TestMaterOnline::failedCatalogueOffersReload()
{
    QFETCH(bool, serverDown);
    const QString downUrl = QStringLiteral("http://127.0.0.1:%1").arg(TestHttpServer::unusedPort());
    if (serverDown)
        qputenv("ZORVA_CONTENT_URL", downUrl.toUtf8());
    else
        QVERIFY(QFile::rename(catalogue(), catalogue() + ".old"));
    QTreeWidget *online = openOnline();
    QVERIFY(catalogueLoaded());
    QCOMPARE(titles(online), QStringList { mater("_TEXT_ERRLOAD_") });
    QTRY_COMPARE_WITH_TIMEOUT(liveReplies(), 0, 10000);

    qputenv("ZORVA_CONTENT_URL", m_server->baseUrl().toUtf8());
    QFile::rename(catalogue() + ".old", catalogue());
    // Reloading twice replaces the channels instead of adding them again.
    for (int column : { 0, 1 }) {
        clickCell(online, online->topLevelItem(0), column);
        QTRY_COMPARE_WITH_TIMEOUT(online->topLevelItem(0)->text(0), mater("_TEXT_RELOAD_"), 20000);
        QCOMPARE(titles(online), (QStringList { mater("_TEXT_RELOAD_"), speeches, news }));
    }
}

void TestMaterOnline::malformedCatalogueKeepsWhatWasRead()
{
    QByteArray xml = readBytes(catalogue());
    xml.truncate(xml.indexOf("<channel folded=\"no\">\n        <title>News"));
    writeBytes(catalogue(), xml + "<channel><title>broken</channel></sps>");
    ModalCatcher catcher;
    QTreeWidget *online = openOnline();
    QVERIFY(catalogueLoaded());
    QCOMPARE(catcher.boxTexts.size(), 1);
    QVERIFY(catcher.boxTexts.first().startsWith("Parse error at line"));
    QCOMPARE(online->topLevelItem(0)->text(0), mater("_TEXT_RELOAD_"));
    QCOMPARE(titles(online, online->topLevelItem(1)), (QStringList { climate, trade }));
    QCOMPARE(findItem(online, trade)->text(1), mater("_TEXT_DOWNLOAD_"));
}

void TestMaterOnline::onlyMaterialsDownload()
{
    // Requests start synchronously, so the live replies right after a click show whether
    // the click asked for anything.
    QTreeWidget *online = openOnline();
    if (online->topLevelItem(0)->text(0) == mater("_TEXT_LOADING_")) {
        const int before = liveReplies();
        m_panel->on_online_itemClicked(online->topLevelItem(0), 1);
        QCOMPARE(liveReplies(), before);
    }
    QVERIFY(catalogueLoaded());
    QTRY_COMPARE_WITH_TIMEOUT(liveReplies(), 0, 10000);
    clickCell(online, online->topLevelItem(2), 1); // a category
    QCOMPARE(liveReplies(), 0);
    QCOMPARE(online->topLevelItem(2)->text(1), QString());
    QCOMPARE(m_server->accessLog().filter("/materials/"), QStringList());
}

void TestMaterOnline::twoMaterialsDownloadAtOnce()
{
    // A downloads category of the same title takes the new material; other titles get a
    // new category at the end.
    for (const QString &name : QStringList { "old.mp3", "old.txt", "old@T.txt" })
        writeBytes("workspace/" + name, QByteArray(60000, 'o'));
    writeBytes("custom.xml", listOf(news, { caseOf("Old", "old.mp3", "http://x/old.mp3") }));
    QVERIFY(QDir().mkpath("workspace/train/health_news.mp3"));
    QTreeWidget *online = openOnline();
    QVERIFY(catalogueLoaded());
    clickCell(online, findItem(online, climate), 1);
    clickCell(online, findItem(online, health), 1);
    QCOMPARE(findItem(online, climate)->text(1), mater("_TEXT_DOWNLOADING_"));
    QCOMPARE(findItem(online, health)->text(1), mater("_TEXT_DOWNLOADING_"));

    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    QTRY_VERIFY_WITH_TIMEOUT(findItem(downs, climate) && findItem(downs, health), 30000);
    QCOMPARE(titles(downs), (QStringList { news, speeches }));
    QCOMPARE(titles(downs, downs->topLevelItem(0)), (QStringList { "Old", health }));
    QCOMPARE(titles(downs, downs->topLevelItem(1)), QStringList { climate });
    QVERIFY(!findItem(online, climate) && !findItem(online, health));
    QTreeWidgetItem *entry = findItem(downs, health);
    QCOMPARE(entry->text(2), mater("_TEXT_REVIEW_"));
    QCOMPARE(entry->text(3), QStringLiteral("health_news.mp3"));
    QCOMPARE(entry->text(4), m_server->baseUrl() + "/materials/health_news.mp3");
    for (const QString &base : QStringList { "city_climate", "health_news" }) {
        for (const QString &name : { base + ".mp3", base + ".txt", base + "@T.txt" })
            QVERIFY2(readBytes("workspace/" + name) == served(name), qPrintable(name));
    }
    const QByteArray saved = readBytes("custom.xml");
    for (const char *key : { "city_climate.mp3", "health_news.mp3", "old.mp3" })
        QVERIFY2(saved.contains(QByteArray("learned=\"") + key + '"'), key);

    // A restart finds both in the downloads tab, not in the catalogue, and studies them.
    ModalCatcher catcher;
    online = openOnline();
    QVERIFY(catalogueLoaded());
    QCOMPARE(titles(online, online->topLevelItem(1)), QStringList { trade });
    QCOMPARE(titles(online, online->topLevelItem(2)), QStringList { rail });
    QSignalSpy study(m_panel.get(), &Mater::switchSig);
    downs = showTree(m_panel.get(), "downs");
    clickCell(downs, findItem(downs, climate), 1);
    QCOMPARE(study.value(0).value(0).toString(), QStringLiteral("./workspace/city_climate.mp3"));
    QCOMPARE(catcher.boxTexts, QStringList());
}

void TestMaterOnline::mismatchedNamesNeverComplete()
{
    QVERIFY(QFile::copy(
        m_www.path() + "/materials/rail_news.txt", m_www.path() + "/materials/other.txt"));
    writeBytes(catalogue(),
        readBytes(catalogue()).replace("../materials/rail_news.txt", "../materials/other.txt"));
    QTreeWidget *online = openOnline();
    QVERIFY(catalogueLoaded());
    clickCell(online, findItem(online, rail), 1);
    // Each file counts once it is saved; all three are in and still nothing completes.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists("workspace/rail_news.mp3")
            && QFile::exists("workspace/other.txt") && QFile::exists("workspace/rail_news@T.txt"),
        30000);
    QCOMPARE(findItem(online, rail)->text(1), mater("_TEXT_DOWNLOADING_"));
    QCOMPARE(showTree(m_panel.get(), "downs")->topLevelItemCount(), 0);
    QVERIFY(!QFile::exists("custom.xml"));
    QFile::remove(m_www.path() + "/materials/other.txt");
}

void TestMaterOnline::secondClickDownloadsAgain()
{
    writeBytes("workspace/rail_news.txt", "stale transcript of an earlier download");
    QTreeWidget *online = openOnline();
    QVERIFY(catalogueLoaded());
    clickCell(online, findItem(online, rail), 1);
    clickCell(online, findItem(online, rail), 1);
    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    QTRY_VERIFY_WITH_TIMEOUT(findItem(downs, rail), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->accessLog().filter("GET /materials/rail_news").size(), 6,
        20000);
    QCOMPARE(readBytes("workspace/rail_news.txt"), served("rail_news.txt"));
    QCOMPARE(downs->findItems(rail, Qt::MatchExactly | Qt::MatchRecursive).size(), 1);
    QVERIFY(!findItem(online, rail));
}

void TestMaterOnline::reloadDuringDownload()
{
    // Wherever the reload and the transfers meet, the material ends up downloaded, under
    // its category, and no longer offered.
    QTreeWidget *online = openOnline();
    QVERIFY(catalogueLoaded());
    clickCell(online, findItem(online, health), 1);
    clickCell(online, online->topLevelItem(0), 0);
    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    QTRY_VERIFY_WITH_TIMEOUT(findItem(downs, health), 30000);
    QCOMPARE(titles(downs), QStringList { news });
    QTRY_COMPARE_WITH_TIMEOUT(online->topLevelItem(0)->text(0), mater("_TEXT_RELOAD_"), 20000);
    QCOMPARE(titles(online, online->topLevelItem(2)), QStringList { rail });
}

QTEST_MAIN(TestMaterOnline)
#include "tst_materonline.moc"
