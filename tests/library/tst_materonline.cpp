#include "mater.h"
#include "modalcatcher.h"
#include "testhttpserver.h"
#include "testpaths.h"

#include <QDirIterator>
#include <QFile>
#include <QHeaderView>
#include <QNetworkReply>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QTreeWidget>

namespace {
QString mater(const char *key)
{
    return QCoreApplication::translate("Mater", key);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool copyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

// Titles of an entry's children, or of the top level for null.
QStringList titles(QTreeWidget *tree, QTreeWidgetItem *parent = nullptr)
{
    QStringList result;
    QTreeWidgetItem *root = parent ? parent : tree->invisibleRootItem();
    for (int i = 0; i < root->childCount(); ++i)
        result << root->child(i)->text(0);
    return result;
}

QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &title)
{
    return tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

const QString speeches = QStringLiteral("Speeches 演讲");
const QString news = QStringLiteral("News 新闻");
const QString climate = QStringLiteral("Cities and climate 城市与气候");
const QString trade = QStringLiteral("Opening a trade forum 贸易论坛开幕词");
const QString health = QStringLiteral("Health report 健康报道");
const QString rail = QStringLiteral("New rail line 新铁路线");
} // namespace

// The online tab and downloads against the sample content server (a copy of
// server/www served by nginx on loopback).
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
    void completesWhicheverFileIsLast_data();
    void completesWhicheverFileIsLast();
    void mismatchedNamesNeverComplete();
    void secondClickDownloadsAgain();
    void reloadDuringDownload();

private:
    Mater *makePanel();
    QTreeWidget *tree(const char *name) const;
    void click(QTreeWidget *tree, QTreeWidgetItem *item, int column);
    bool waitForCatalogue();
    QByteArray served(const QString &name) const
    {
        return readBytes(m_www.path() + "/materials/" + name);
    }
    int requestsFor(const QString &prefix) const;

    QTranslator m_translator;
    QTemporaryDir m_www;
    std::unique_ptr<TestHttpServer> m_server;
    QTemporaryDir *m_dir = nullptr;
    QString m_previousDir;
    std::unique_ptr<Mater> m_panel;
    QStringList m_emitted;
};

void TestMaterOnline::initTestCase()
{
    // The status words as the learner reads them, so a missing translation shows up.
    QVERIFY(m_translator.load("app", TestPaths::stageDir() + "/translations"));
    QCoreApplication::installTranslator(&m_translator);
    QVERIFY(mater("_TEXT_ERRLOAD_") != QLatin1String("_TEXT_ERRLOAD_"));
    QVERIFY(m_www.isValid());
    QVERIFY(copyFolder(TestPaths::sourceDir() + "/server/www", m_www.path()));
    m_server = std::make_unique<TestHttpServer>(m_www.path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
}

void TestMaterOnline::init()
{
    m_previousDir = QDir::currentPath();
    m_dir = new QTemporaryDir;
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkpath("workspace/train"));
    writeBytes("weblist.xml", "<vornask version=\"1.0\"/>");
    qputenv("ZORVA_CONTENT_URL", m_server->baseUrl().toUtf8());
    m_server->clearAccessLog();
    m_emitted.clear();
}

void TestMaterOnline::cleanup()
{
    m_panel.reset();
    QFile::remove(m_www.path() + "/inter/data.php");
    QFile::copy(
        TestPaths::sourceDir() + "/server/www/inter/data.php", m_www.path() + "/inter/data.php");
    QDir::setCurrent(m_previousDir);
    delete m_dir;
    m_dir = nullptr;
}

Mater *TestMaterOnline::makePanel()
{
    m_panel = std::make_unique<Mater>(nullptr);
    connect(
        m_panel.get(), &Mater::switchSig, this, [this](const QString &path) { m_emitted << path; });
    m_panel->resize(321, 600);
    m_panel->show();
    m_panel->findChild<QTabWidget *>("tabs")->setCurrentIndex(1);
    if (!QTest::qWaitForWindowExposed(m_panel.get()))
        qWarning("library window not exposed");
    return m_panel.get();
}

QTreeWidget *TestMaterOnline::tree(const char *name) const
{
    QTreeWidget *found = m_panel->findChild<QTreeWidget *>(QString::fromLatin1(name));
    m_panel->findChild<QTabWidget *>("tabs")->setCurrentWidget(found->parentWidget());
    return found;
}

void TestMaterOnline::click(QTreeWidget *view, QTreeWidgetItem *item, int column)
{
    QVERIFY(item);
    view->scrollToItem(item);
    const QRect row = view->visualItemRect(item);
    const int x
        = view->header()->sectionViewportPosition(column) + view->header()->sectionSize(column) / 2;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
}

bool TestMaterOnline::waitForCatalogue()
{
    QTreeWidget *online = tree("online");
    return QTest::qWaitFor(
        [&] { return online->topLevelItem(0)->text(0) != mater("_TEXT_LOADING_"); }, 20000);
}

int TestMaterOnline::requestsFor(const QString &prefix) const
{
    int count = 0;
    for (const QString &line : m_server->accessLog())
        count += line.startsWith("GET " + prefix) ? 1 : 0;
    return count;
}

void TestMaterOnline::catalogueFollowsStatusEntry()
{
    // A material whose three files are here already is not offered again.
    for (const QString &name :
        QStringList { "trade_forum.mp3", "trade_forum.txt", "trade_forum@T.txt" })
        writeBytes("workspace/" + name, served(name));
    makePanel();
    QTreeWidget *online = tree("online");
    QVERIFY(waitForCatalogue());
    QCOMPARE(online->topLevelItem(0)->text(0), mater("_TEXT_RELOAD_"));
    QCOMPARE(titles(online), (QStringList { mater("_TEXT_RELOAD_"), speeches, news }));
    QCOMPARE(titles(online, online->topLevelItem(1)), QStringList { climate });
    QCOMPARE(titles(online, online->topLevelItem(2)), (QStringList { health, rail }));
    QTreeWidgetItem *item = findItem(online, climate);
    QCOMPARE(item->text(1), mater("_TEXT_DOWNLOAD_"));
    // The catalogue names its files relative to itself; the tab holds where they really are.
    QCOMPARE(item->text(2), m_server->baseUrl() + "/materials/city_climate.mp3");
    QCOMPARE(item->text(4), m_server->baseUrl() + "/materials/city_climate@T.txt");
    // The list reply is released once read.
    QTRY_COMPARE_WITH_TIMEOUT(m_panel->findChildren<QNetworkReply *>().size(), 0, 10000);
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
    if (serverDown)
        qputenv("ZORVA_CONTENT_URL",
            QStringLiteral("http://127.0.0.1:%1").arg(TestHttpServer::unusedPort()).toUtf8());
    else
        QVERIFY(QFile::rename(m_www.path() + "/inter/data.php", m_www.path() + "/inter/data.old"));
    makePanel();
    QTreeWidget *online = tree("online");
    QVERIFY(waitForCatalogue());
    QCOMPARE(titles(online), QStringList { mater("_TEXT_ERRLOAD_") });
    QTRY_COMPARE_WITH_TIMEOUT(m_panel->findChildren<QNetworkReply *>().size(), 0, 10000);

    if (serverDown)
        qputenv("ZORVA_CONTENT_URL", m_server->baseUrl().toUtf8());
    else
        QVERIFY(QFile::rename(m_www.path() + "/inter/data.old", m_www.path() + "/inter/data.php"));
    click(online, online->topLevelItem(0), 0);
    QTRY_COMPARE_WITH_TIMEOUT(online->topLevelItem(0)->text(0), mater("_TEXT_RELOAD_"), 20000);
    QCOMPARE(titles(online), (QStringList { mater("_TEXT_RELOAD_"), speeches, news }));

    // A second reload replaces the channels instead of adding them again.
    click(online, online->topLevelItem(0), 1);
    QVERIFY(waitForCatalogue());
    QCOMPARE(titles(online), (QStringList { mater("_TEXT_RELOAD_"), speeches, news }));
}

void TestMaterOnline::malformedCatalogueKeepsWhatWasRead()
{
    QByteArray xml = readBytes(m_www.path() + "/inter/data.php");
    xml.truncate(xml.indexOf("<channel folded=\"no\">\n        <title>News"));
    writeBytes(m_www.path() + "/inter/data.php", xml + "<channel><title>broken</channel></sps>");
    ModalCatcher catcher;
    makePanel();
    QTreeWidget *online = tree("online");
    QVERIFY(waitForCatalogue());
    QCOMPARE(catcher.boxTexts.size(), 1);
    QVERIFY2(catcher.boxTexts.first().startsWith("Parse error at line"),
        qPrintable(catcher.boxTexts.first()));
    QCOMPARE(online->topLevelItem(0)->text(0), mater("_TEXT_RELOAD_"));
    QCOMPARE(titles(online, online->topLevelItem(1)), (QStringList { climate, trade }));
    QCOMPARE(findItem(online, trade)->text(1), mater("_TEXT_DOWNLOAD_"));
}

void TestMaterOnline::onlyMaterialsDownload()
{
    // Requests start synchronously, so counting the live replies right after a click shows
    // whether the click asked for anything.
    const auto replies = [this] { return m_panel->findChildren<QNetworkReply *>().size(); };
    makePanel();
    QTreeWidget *online = tree("online");
    if (online->topLevelItem(0)->text(0) == mater("_TEXT_LOADING_")) {
        const int before = replies();
        m_panel->on_online_itemClicked(online->topLevelItem(0), 1);
        QCOMPARE(replies(), before);
    }
    QVERIFY(waitForCatalogue());
    QTRY_COMPARE_WITH_TIMEOUT(replies(), 0, 10000);
    click(online, online->topLevelItem(2), 1);
    QCOMPARE(replies(), 0);
    QCOMPARE(online->topLevelItem(0)->text(1), QString());
    QCOMPARE(online->topLevelItem(2)->text(1), QString());
    QCOMPARE(requestsFor("/materials/"), 0);
}

void TestMaterOnline::twoMaterialsDownloadAtOnce()
{
    // A downloads category of the same title takes the new material; other titles get a
    // new category at the end.
    for (const QString &name : QStringList { "old.mp3", "old.txt", "old@T.txt" })
        writeBytes("workspace/" + name, QByteArray(60000, 'o'));
    writeBytes("custom.xml",
        ("<vornask version=\"1.0\"><train folded=\"no\"><title>" + news
            + "</title><case learned=\"old.mp3\" url=\"http://x/old.mp3\"><title>Old</title>"
              "</case></train></vornask>")
            .toUtf8());
    QVERIFY(QDir().mkpath("workspace/train/health_news.mp3"));
    makePanel();
    QTreeWidget *online = tree("online");
    QVERIFY(waitForCatalogue());
    click(online, findItem(online, climate), 1);
    click(online, findItem(online, health), 1);
    QCOMPARE(findItem(online, climate)->text(1), mater("_TEXT_DOWNLOADING_"));
    QCOMPARE(findItem(online, health)->text(1), mater("_TEXT_DOWNLOADING_"));

    QTreeWidget *downs = tree("downs");
    QTRY_VERIFY_WITH_TIMEOUT(findItem(downs, climate) && findItem(downs, health), 30000);
    QCOMPARE(titles(downs), (QStringList { news, speeches }));
    QCOMPARE(titles(downs, downs->topLevelItem(0)), (QStringList { "Old", health }));
    QCOMPARE(titles(downs, downs->topLevelItem(1)), QStringList { climate });
    QVERIFY(!findItem(online, climate) && !findItem(online, health));
    QTreeWidgetItem *entry = findItem(downs, health);
    QCOMPARE(entry->text(1), mater("_TEXT_STUDY_"));
    QCOMPARE(entry->text(2), mater("_TEXT_REVIEW_"));
    QCOMPARE(entry->text(3), QStringLiteral("health_news.mp3"));
    QCOMPARE(entry->text(4), m_server->baseUrl() + "/materials/health_news.mp3");
    for (const QString &base : QStringList { "city_climate", "health_news" }) {
        for (const QString &name : QStringList { base + ".mp3", base + ".txt", base + "@T.txt" })
            QVERIFY2(readBytes("workspace/" + name) == served(name), qPrintable(name));
    }
    const QByteArray saved = readBytes("custom.xml");
    QVERIFY(saved.contains("learned=\"city_climate.mp3\"")
        && saved.contains("learned=\"health_news.mp3\""));
    QVERIFY(saved.contains("learned=\"old.mp3\""));

    // A restart finds both in the downloads tab, not in the catalogue, and studies them.
    m_panel.reset();
    ModalCatcher catcher;
    makePanel();
    downs = tree("downs");
    QCOMPARE(titles(downs, downs->topLevelItem(1)), QStringList { climate });
    QVERIFY(waitForCatalogue());
    online = tree("online");
    QCOMPARE(titles(online, online->topLevelItem(1)), QStringList { trade });
    QCOMPARE(titles(online, online->topLevelItem(2)), QStringList { rail });
    downs = tree("downs");
    click(downs, findItem(downs, climate), 1);
    QCOMPARE(m_emitted, QStringList { "./workspace/city_climate.mp3" });
    QVERIFY(catcher.boxTexts.isEmpty());
}

void TestMaterOnline::completesWhicheverFileIsLast_data()
{
    QTest::addColumn<QStringList>("order");
    QTest::newRow("translation last")
        << QStringList { "rail_news.mp3", "rail_news.txt", "rail_news@T.txt" };
    QTest::newRow("audio last") << QStringList { "rail_news@T.txt", "rail_news.txt",
        "rail_news.mp3" };
    QTest::newRow("transcript last")
        << QStringList { "rail_news.mp3", "rail_news@T.txt", "rail_news.txt" };
}

void TestMaterOnline::completesWhicheverFileIsLast()
{
    QFETCH(QStringList, order);
    makePanel();
    QTreeWidget *online = tree("online");
    QVERIFY(waitForCatalogue());
    click(online, findItem(online, rail), 1);
    // Reported here before the real transfers can end, in an order of the test's choosing.
    for (const QString &name : order)
        m_panel->sltDownManage("./workspace/" + name);
    QVERIFY(!findItem(online, rail));
    QVERIFY(findItem(tree("downs"), rail));
    QVERIFY(readBytes("custom.xml").contains("learned=\"rail_news.mp3\""));
}

void TestMaterOnline::mismatchedNamesNeverComplete()
{
    QVERIFY(QFile::copy(
        m_www.path() + "/materials/rail_news.txt", m_www.path() + "/materials/other.txt"));
    QByteArray xml = readBytes(m_www.path() + "/inter/data.php");
    xml.replace("<description>../materials/rail_news.txt", "<description>../materials/other.txt");
    writeBytes(m_www.path() + "/inter/data.php", xml);
    makePanel();
    QTreeWidget *online = tree("online");
    QVERIFY(waitForCatalogue());
    click(online, findItem(online, rail), 1);
    // Each file counts once it is saved; all three are in and still nothing completes.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists("workspace/rail_news.mp3")
            && QFile::exists("workspace/other.txt") && QFile::exists("workspace/rail_news@T.txt"),
        30000);
    QCOMPARE(findItem(online, rail)->text(1), mater("_TEXT_DOWNLOADING_"));
    QCOMPARE(tree("downs")->topLevelItemCount(), 0);
    QVERIFY(!QFile::exists("custom.xml"));
    QFile::remove(m_www.path() + "/materials/other.txt");
}

void TestMaterOnline::secondClickDownloadsAgain()
{
    writeBytes("workspace/rail_news.txt", "stale transcript of an earlier download");
    makePanel();
    QTreeWidget *online = tree("online");
    QVERIFY(waitForCatalogue());
    click(online, findItem(online, rail), 1);
    click(online, findItem(online, rail), 1);
    QTreeWidget *downs = tree("downs");
    QTRY_VERIFY_WITH_TIMEOUT(findItem(downs, rail), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(requestsFor("/materials/rail_news"), 6, 20000);
    QCOMPARE(readBytes("workspace/rail_news.txt"), served("rail_news.txt"));
    QCOMPARE(readBytes("workspace/rail_news.mp3"), served("rail_news.mp3"));
    QCOMPARE(downs->findItems(rail, Qt::MatchExactly | Qt::MatchRecursive).size(), 1);
    QVERIFY(!findItem(online, rail));
}

void TestMaterOnline::reloadDuringDownload()
{
    makePanel();
    QTreeWidget *online = tree("online");
    QVERIFY(waitForCatalogue());
    click(online, findItem(online, health), 1);
    click(online, online->topLevelItem(0), 0);
    // Wherever the reload and the transfers meet, the material ends up downloaded, under
    // its category, and no longer offered.
    QTreeWidget *downs = tree("downs");
    QTRY_VERIFY_WITH_TIMEOUT(findItem(downs, health), 30000);
    QCOMPARE(titles(downs), QStringList { news });
    QTRY_COMPARE_WITH_TIMEOUT(online->topLevelItem(0)->text(0), mater("_TEXT_RELOAD_"), 20000);
    QCOMPARE(titles(online, online->topLevelItem(2)), QStringList { rail });
}

QTEST_MAIN(TestMaterOnline)
#include "tst_materonline.moc"
