// The library: its list files, the panel's commands, the import dialog, and the online
// catalogue with the material downloads against nginx on loopback.
#include "clicks.h"
#include "importer.h"
#include "librarytest.h"
#include "testhttpserver.h"
#include "testpaths.h"
#include "xmlparser.h"
#include "xmlwriter.h"
#include "zorvaresources.h"

#include <QBuffer>
#include <QDirIterator>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkReply>
#include <QTranslator>
#include <optional>

namespace {
const QString news = "News 新闻", health = "Health report 健康报道",
              rail = "New rail line 新铁路线";

bool parse(QTreeWidget &tree, const QByteArray &document)
{
    QBuffer buffer;
    buffer.setData(document);
    return XmlParser(&tree).parseDevice(&buffer);
}
} // namespace

class TestMater : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void listFiles();
    void listsMissingBrokenOrUnwritable();
    void commands_data();
    void commands();
    void imports_data();
    void imports();
    void catalogueAndDownloads();
    void reloads();
    void failedDownloads_data();
    void failedDownloads();

private:
    // A start of the panel (the previous one closed) once the catalogue is in; the named tab.
    QTreeWidget *openPanel(const char *tree);
    // Opens an entry's context menu and triggers the action named choose; false: no menu.
    bool rightClick(QTreeWidget *tree, const QString &title, const QString &choose);
    QString www(const QString &path) const { return m_www.path() + '/' + path; }
    int replies() const { return m_panel->findChildren<QNetworkReply *>().size(); }

    QTranslator m_english, m_chinese;
    QTemporaryDir m_www;
    std::unique_ptr<TestHttpServer> m_server;
    std::optional<WorkingDir> m_work;
    std::unique_ptr<Mater> m_panel;
    QStringList m_emitted; // the paths the panel's five signals carried
};

void TestMater::initTestCase()
{
    zorvaInitResources(); // the buttons' pictures decide where they take a click
    const QString translations = TestPaths::stageDir() + "/translations";
    QVERIFY(m_english.load("app", translations) && m_chinese.load("app_zh", translations));
    QCoreApplication::installTranslator(&m_english); // the status words the learner reads
    const QString from = TestPaths::sourceDir() + "/server/www";
    for (QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString target = m_www.path() + it.next().mid(from.size());
        QVERIFY(QDir().mkpath(QFileInfo(target).path()) && QFile::copy(it.filePath(), target));
    }
    // Three seconds' worth below /slow/: the reply reports progress at most every 150 ms,
    // and nginx sends a second's worth at once.
    QVERIFY(QFile::remove(www("materials/rail_news.mp3")));
    writeBytes(www("materials/rail_news.mp3"), QByteArray(6 << 20, 'r'));
    m_server = std::make_unique<TestHttpServer>(m_www.path());
    QVERIFY2(m_server->start(), qPrintable(m_server->errorString()));
}

void TestMater::init()
{
    m_work.emplace();
    qputenv("ZORVA_CONTENT_URL", m_server->baseUrl().toUtf8());
}

void TestMater::cleanup()
{
    m_panel.reset();
    m_work.reset();
    m_emitted.clear();
    QCoreApplication::removeTranslator(&m_chinese);
    QFile::remove(www("inter/data.php"));
    QFile::copy(TestPaths::sourceDir() + "/server/www/inter/data.php", www("inter/data.php"));
}

QTreeWidget *TestMater::openPanel(const char *tree)
{
    m_panel.reset();
    m_panel = ::openPanel();
    for (auto signal : { &Mater::switchSig, &Mater::chooseDumpSig, &Mater::chooseSig,
             &Mater::pathSig, &Mater::demoPathSig })
        connect(m_panel.get(), signal, this, [this](const QString &path) { m_emitted << path; });
    auto *status = showTree(m_panel.get(), "online")->topLevelItem(0);
    if (!QTest::qWaitFor([&] { return status->text(0) != mater("_TEXT_LOADING_"); }, 20000))
        qWarning("the catalogue did not come");
    return showTree(m_panel.get(), tree);
}

bool TestMater::rightClick(QTreeWidget *tree, const QString &title, const QString &choose)
{
    bool opened = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!popup || opened)
            return;
        opened = true;
        popup->close();
        for (QAction *action : popup->actions())
            action->text() == choose ? action->trigger() : void();
    });
    poll.start(20);
    // Sent to the viewport like a real right click; the event travels up to the panel.
    const QPoint pos = cellCenter(tree, findItem(tree, title), 0);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, tree->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(tree->viewport(), &event);
    return opened;
}

void TestMater::listFiles()
{
    // What XML cannot carry would make every later save of the list fail.
    QTreeWidget tree;
    QVERIFY(parse(tree, "<sps><item><title>x&#1;y&#xFFFE;z</title></item></sps>"));
    QCOMPARE(tree.topLevelItem(0)->text(0), "xy\uFFFDz");
    tree.topLevelItem(0)->setData(0, Qt::UserRole, "train");
    tree.topLevelItem(0)->setText(0, "x\x01y\x1b");
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly) && XmlWriter(&tree).writeFile(&buffer));
    QVERIFY2(buffer.data().contains("<title>xy</title>"), buffer.data().constData());
    // The toolkit's reader went one call deeper per element until the stack overflowed.
    ModalCatcher catcher;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Parse error at"));
    QVERIFY(!parse(tree, "<sps>" + QByteArray("<channel>").repeated(40000)));
    QCOMPARE(catcher.boxTexts.value(0),
        "Parse error at line 1, column 581:\nThe list is nested more than 64 levels deep.");
    // A material's files and folders stay inside the workspace, whatever a list names.
    for (const char *name : { "../../a.mp3", "C:\\m\\a.mp3", "http://h/m/..%2F..%2Fa.mp3?b" })
        QCOMPARE(MaterialPaths::fileNameOf(name), QStringLiteral("a.mp3"));
    QCOMPARE(MaterialPaths::fileNameOf("http://h/a/.."), QString());
}

void TestMater::listsMissingBrokenOrUnwritable()
{
    // No learner lists yet, and a damaged installation without its selections list.
    QVERIFY(QFile::remove("weblist.xml"));
    ModalCatcher catcher;
    QTest::ignoreMessage(QtWarningMsg, "The selections list weblist.xml is missing");
    openPanel("downs");
    QCOMPARE(catcher.boxTexts.size() + QDir().entryList(QDir::Files).size(), 0);
    // A broken list is rewritten from what could be read: the original is kept aside.
    const QByteArray broken
        = listOf("C", { caseOf("kept", "a.mp3", "a.mp3"), caseOf("too", "b", "b") })
              .replace("</train>", "<case>");
    writeBytes("custom.xml", broken);
    writeBytes("custom.xml.broken", "an older copy");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Parse error at"));
    QTest::ignoreMessage(
        QtWarningMsg, "Kept the unreadable list custom.xml as custom.xml.broken.1");
    QTreeWidget *downs = openPanel("downs");
    QVERIFY(rightClick(downs, "kept", "Clear"));
    QCOMPARE(readBytes("custom.xml.broken.1") + readBytes("custom.xml.broken"),
        broken + "an older copy");
    QVERIFY(
        readBytes("custom.xml").contains(">too<") && !readBytes("custom.xml").contains(">kept<"));
    // A list that cannot be saved is reported, in the learner's language.
    QCoreApplication::installTranslator(&m_chinese);
    QVERIFY(QFile::remove("custom.xml") && QDir().mkdir("custom.xml"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^OnlineXmlWriter Failed"));
    QVERIFY(rightClick(downs, "too", "Clear"));
    QCOMPARE(catcher.boxTexts.size(), 4); // a parse error, two questions, the failure
    QVERIFY2(
        catcher.boxTexts[3].startsWith("无法保存列表 custom.xml"), qPrintable(catcher.boxTexts[3]));
}

void TestMater::commands_data()
{
    // Five materials, listed in the tree's own list file; "One" (lesson01) was trained.
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("command"); // a click in column 1 or 2, or a menu entry; on a title
    QTest::addColumn<QString>("answer"); // to the input dialog; "no" declines the question
    QTest::addColumn<int>("audioBytes"); // of lesson01.mp3
    QTest::addColumn<QString>("box"); // in the only box shown; empty: none
    QTest::addColumn<QString>("emitted");
    QTest::addColumn<QString>("deleted"); // base name of the files that go
    QTest::addColumn<QString>("listed"); // at the next start
    const QString all = "One unit intro Unit Part",
                  damaged = "The audio file of this material is damaged: please download it again.";
    // clang-format off
    QTest::newRow("review") << "downs" << "2 One" << "" << 60000 << "" << "./workspace/train/"
        "lesson01.mp3/ ./workspace/lesson01.mp3 ./workspace/demo/lesson01.mp3/" << "" << all;
    // Dropped as damaged, and the list it came from saved so.
    QTest::newRow("import one byte short") << "imports" << "1 One" << "" << 51199 << damaged << ""
        << "lesson01" << "unit intro Unit Part";
    // Asked first, with the files named; they go by their full name, recordings stay.
    QTest::newRow("clear") << "downs" << "Clear One" << "" << 60000 << "lesson01@T.txt" << ""
        << "lesson01" << "unit intro Unit Part";
    QTest::newRow("clear declined") << "downs" << "Clear One" << "no" << 60000 << "lesson01@T.txt"
        << "" << "" << all;
    QTest::newRow("remove unit.1_0") << "imports" << "Remove Unit" << "" << 60000 << "unit.1_0@T.txt"
        << "" << "unit.1_0" << "One unit intro Part";
    QTest::newRow("remove part1:intro_0") << "imports" << "Remove Part" << "" << 60000
        << "part1:intro_0@T.txt" << "" << "part1:intro_0" << "One unit intro Unit";
    QTest::newRow("rename cancelled") << "imports" << "Rename One" << QString() << 60000 << ""
        << "" << "" << all;
    QTest::newRow("rename to spaces") << "imports" << "Rename One" << "  " << 60000 << "" << ""
        << "" << all;
    QTest::newRow("rename, control characters") << "imports" << "Rename One" << "Talk\x01\x1b"
        << 60000 << "" << "" << "" << "Talk unit intro Unit Part";
    // clang-format on
}

void TestMater::commands()
{
    QFETCH(QString, tree);
    QFETCH(QString, command);
    QFETCH(QString, answer);
    QFETCH(int, audioBytes);
    QFETCH(QString, box);
    QFETCH(QString, emitted);
    QFETCH(QString, deleted);
    QFETCH(QString, listed);
    // Rows enough above the last ones that an entry taken from a wrong position shows.
    QStringList cases;
    for (const QString name :
        { "One:lesson01", "unit:unit", "intro:intro_0", "Unit:unit.1_0", "Part:part1:intro_0" }) {
        const QString file = name.section(':', 1);
        for (const QString &suffix : QStringList { ".txt", "@T.txt", ".mp3" })
            writeBytes("workspace/" + file + suffix, QByteArray(60000, 'a'));
        cases << caseOf(name.section(':', 0, 0), file + ".mp3", file + ".mp3");
    }
    writeBytes("workspace/lesson01.mp3", QByteArray(audioBytes, 'a'));
    QVERIFY(QDir().mkpath("workspace/train/lesson01.mp3"));
    writeBytes(tree == "downs" ? "custom.xml" : "import.xml", listOf("Cat", cases));
    const QStringList files = QDir("workspace").entryList(QDir::Files);
    ModalCatcher catcher;
    catcher.confirm = answer != "no";
    catcher.inputAnswer = answer;
    QTreeWidget *view = openPanel(qPrintable(tree));
    const QString title = command.section(' ', 1);
    if (command[0].isDigit())
        clickCell(view, findItem(view, title), command.left(1).toInt());
    else
        QVERIFY(rightClick(view, title, command.section(' ', 0, 0)));
    QCOMPARE(m_emitted.join(' '), emitted);
    QCOMPARE(catcher.boxTexts.size(), box.isEmpty() ? 0 : 1);
    QVERIFY2(catcher.boxTexts.join("").contains(box), qPrintable(catcher.boxTexts.join("")));
    const QRegularExpression kept("^(?!" + QRegularExpression::escape(deleted) + "[.@])");
    QCOMPARE(QDir("workspace").entryList(QDir::Files), files.filter(kept));
    QVERIFY(QDir("workspace/train/lesson01.mp3").exists());
    view = openPanel(qPrintable(tree));
    QCOMPARE(titles(view, findItem(view, "Cat")).join(' '), listed);
}

void TestMater::imports_data()
{
    QTest::addColumn<int>("audioBytes");
    QTest::addColumn<QString>("refusal"); // in the box; empty: imported
    QTest::newRow("imported") << 60000 << "";
    // The first Study click would delete the copies as damaged.
    QTest::newRow("audio too small") << 51199 << "51199";
    // The audio is copied first, then the second copy fails.
    QTest::newRow("transcript gone") << 60000 << "orig.txt";
}

void TestMater::imports()
{
    QFETCH(int, audioBytes);
    QFETCH(QString, refusal);
    // Left over from an earlier import whose first copy the learner removed.
    writeBytes("workspace/unit.1_1.mp3", "another material");
    const QString from = QDir::currentPath() + '/';
    const QStringList fields { "Talk\x01", from + "unit.1.mp3", from + "orig.txt",
        from + "tran.txt" };
    writeBytes(fields[1], QByteArray(audioBytes, 'a'));
    writeBytes(fields[2], "transcript");
    writeBytes(fields[3], "translation");
    ModalCatcher catcher;
    QTreeWidget *imports = openPanel("imports");
    clickCell(imports, imports->topLevelItem(0), 0);
    auto *importer = m_panel->findChild<Importer *>();
    QVERIFY(QTest::qWaitForWindowExposed(importer));
    int i = 0;
    for (const char *edit : { "matName", "mp3Name", "origTxt", "TranTxt" })
        importer->findChild<QLineEdit *>(edit)->setText(fields[i++]);
    QVERIFY(refusal != "orig.txt" || QFile::remove("orig.txt"));
    QVERIFY(Clicks::clickNamed(importer, "btnImport"));
    QCOMPARE(catcher.boxTexts.size(), refusal.isEmpty() ? 0 : 1);
    if (!refusal.isEmpty()) {
        QVERIFY2(catcher.boxTexts[0].contains(refusal), qPrintable(catcher.boxTexts[0]));
        QCOMPARE(QDir("workspace").entryList(QDir::Files), QStringList { "unit.1_1.mp3" });
        // Nothing listed; the entries stay for another try.
        QVERIFY(importer->isVisible() && !QFile::exists("import.xml"));
        QCOMPARE(importer->findChild<QLineEdit *>("matName")->text(), fields[0]);
        return;
    }
    // The first free number, the full stem, the texts beside the audio.
    QCOMPARE(readBytes("workspace/unit.1_0.mp3"), QByteArray(60000, 'a'));
    QCOMPARE(readBytes("workspace/unit.1_0.txt") + readBytes("workspace/unit.1_0@T.txt"),
        "transcripttranslation");
    QCOMPARE(readBytes("workspace/unit.1_1.mp3"), "another material");
    imports = openPanel("imports");
    clickCell(imports, findItem(imports, "Talk"), 1);
    QCOMPARE(m_emitted.join(' '), "./workspace/unit.1_0.mp3 ./workspace/train/unit.1_0.mp3/");
}

void TestMater::catalogueAndDownloads()
{
    const QByteArray top = "<item><title>Top</title><audiourl>../materials/city_climate.mp3"
                           "</audiourl><description>../materials/city_climate.txt</description>"
                           "<translation>../materials/city_climate@T.txt</translation></item>";
    writeBytes(
        www("inter/data.php"), readBytes(www("inter/data.php")).replace("</sps>", top + "</sps>"));
    QTreeWidget *online = openPanel("online");
    // The catalogue names its files relative to itself; the tab holds where they are.
    QCOMPARE(findItem(online, health)->text(2), m_server->baseUrl() + "/materials/health_news.mp3");
    QTRY_COMPARE_WITH_TIMEOUT(replies(), 0, 10000); // the list's reply is released
    clickCell(online, online->topLevelItem(2), 1); // a category: nothing to fetch
    QCOMPARE(replies(), 0);
    // A material listed outside any category stays outside.
    for (const QString &title : { health, QStringLiteral("Top") })
        clickCell(online, findItem(online, title), 1);
    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    QTRY_VERIFY_WITH_TIMEOUT(findItem(downs, health) && findItem(downs, "Top"), 30000);
    QVERIFY(
        findItem(downs, health)->parent()->text(0) == news && !findItem(downs, "Top")->parent());
    QStringList files;
    for (const QString &base : QStringList { "city_climate", "health_news" }) {
        for (const QString &name : { base + ".mp3", base + ".txt", base + "@T.txt" }) {
            QCOMPARE(readBytes("workspace/" + name), readBytes(www("materials/" + name)));
            files << name;
        }
    }
    QCOMPARE(QDir("workspace").entryList(QDir::Files), files); // no temporary files are left
    // After a restart they are downloads, no longer in the catalogue.
    online = openPanel("online");
    QCOMPARE(titles(online, online->topLevelItem(2)), QStringList { rail });
    downs = showTree(m_panel.get(), "downs");
    clickCell(downs, findItem(downs, health), 1);
    QCOMPARE(m_emitted.value(0), "./workspace/health_news.mp3");
}

void TestMater::reloads()
{
    QVERIFY(QFile::rename(www("inter/data.php"), www("inter/data.old")));
    QTreeWidget *online = openPanel("online");
    QCOMPARE(titles(online), QStringList { mater("_TEXT_ERRLOAD_") });
    QTRY_COMPARE_WITH_TIMEOUT(replies(), 0, 10000);
    QVERIFY(QFile::rename(www("inter/data.old"), www("inter/data.php")));
    // Twice, to see the channels replaced rather than added; the second reload while a
    // download runs, whose entry it takes away.
    for (int column : { 0, 1 }) {
        if (column == 1)
            clickCell(online, findItem(online, health), 1);
        clickCell(online, online->topLevelItem(0), column);
        QTRY_COMPARE_WITH_TIMEOUT(
            titles(online), (QStringList { mater("_TEXT_RELOAD_"), "Speeches 演讲", news }), 20000);
    }
    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    QTRY_COMPARE_WITH_TIMEOUT(titles(downs) + titles(downs, downs->topLevelItem(0)),
        (QStringList { news, health }), 30000);
    QCOMPARE(titles(online, online->topLevelItem(2)), QStringList { rail });
}

void TestMater::failedDownloads_data()
{
    QTest::addColumn<QByteArray>("audioUrl"); // of the rail material in the catalogue
    QTest::addColumn<QString>("servedAt"); // a copy of it; "workspace": no workspace instead
    QTest::addColumn<QString>("reason"); // on the entry; "": the download completes
    QTest::addColumn<QString>("retryServedAt"); // a copy of it before a retry; "": no retry
    const QByteArray down = "http://127.0.0.1:" + QByteArray::number(TestHttpServer::unusedPort());
    // clang-format off
    QTest::newRow("404, then there") << QByteArray("../slow/later/rail_news.mp3") << ""
        << "Not Found" << "later/rail_news.mp3";
    QTest::newRow("server down") << down + "/a.mp3" << "" << "refused" << "";
    QTest::newRow("no workspace, then one") << QByteArray("../slow/materials/rail_news.mp3")
        << "workspace" << "Could not open" << "materials/rail_news.mp3";
    // A catalogue must not copy the learner's private files, nor replace an import's only copy.
    QTest::newRow("file:") << QByteArray("file:///etc/passwd") << "" << "not file:///etc/passwd" << "";
    QTest::newRow("data:") << QByteArray("data:audio/mpeg;base64,AAAA") << "" << "not data:" << "";
    QTest::newRow("an import's name") << QByteArray("../materials/mine_0.mp3")
        << "materials/mine_0.mp3" << "“Mine”" << "";
    QTest::newRow("redirected") << QByteArray("../moved/rail_news.mp3")
        << "moved/rail_news.mp3/index.html" << "" << "";
    // clang-format on
}

void TestMater::failedDownloads()
{
    QFETCH(QByteArray, audioUrl);
    QFETCH(QString, servedAt);
    QFETCH(QString, reason);
    QFETCH(QString, retryServedAt);
    const auto serve = [this](const QString &path) {
        QDir().mkpath(QFileInfo(www(path)).path());
        QFile::copy(www("materials/rail_news.mp3"), www(path));
    };
    const QByteArray catalogue = readBytes(www("inter/data.php"));
    writeBytes(www("inter/data.php"),
        QByteArray(catalogue).replace("../materials/rail_news.mp3", audioUrl));
    writeBytes("import.xml", listOf("Imported", { caseOf("Mine", "mine_0.mp3", "mine_0.mp3") }));
    writeBytes("workspace/mine_0.mp3", "my own recording");
    writeBytes("workspace/rail_news.mp3", "an older copy");
    QVERIFY(servedAt != "workspace" || QDir("workspace").removeRecursively());
    serve(servedAt);
    QTreeWidget *online = openPanel("online");
    QTreeWidgetItem *item = findItem(online, rail);
    const auto status = [&] { return findItem(online, rail) ? item->text(1) : "gone"; };
    QStringList shown;
    connect(online, &QTreeWidget::itemChanged, online,
        [&](QTreeWidgetItem *changed) { shown << changed->text(1); });
    clickCell(online, item, 1);
    if (!reason.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(status(), mater("_TEXT_DOWNFAILED_"), 20000);
        QVERIFY2(item->toolTip(1).contains(reason), qPrintable(item->toolTip(1)));
        // Nothing replaced; nothing arrived but the material's own texts.
        QStringList files = QDir("workspace").entryList(QDir::Files);
        files.removeAll("rail_news.txt"), files.removeAll("rail_news@T.txt");
        QCOMPARE(files.join(' ') + readBytes("workspace/mine_0.mp3")
                + readBytes("workspace/rail_news.mp3"),
            servedAt == "workspace" ? "" : "mine_0.mp3 rail_news.mp3my own recordingan older copy");
        if (retryServedAt.isEmpty())
            return;
        serve(retryServedAt);
        QVERIFY(QDir().mkpath("workspace"));
        clickCell(online, item, 1);
    }
    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    QTRY_COMPARE_WITH_TIMEOUT(
        downs->findItems(rail, Qt::MatchExactly | Qt::MatchRecursive).size(), 1, 30000);
    QCOMPARE(readBytes("workspace/rail_news.mp3"), readBytes(www("materials/rail_news.mp3")));
    if (audioUrl.contains("/slow/")) // in per cent while it ran
        QVERIFY2(
            shown.indexOf(QRegularExpression("^[0-9]{1,2}%$")) >= 0, qPrintable(shown.join(',')));
}

QTEST_MAIN(TestMater)
#include "tst_mater.moc"
