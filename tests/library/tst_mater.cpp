#include "librarytest.h"
#include "modalcatcher.h"
#include "testpaths.h"

#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QTreeWidgetItemIterator>
#include <optional>

namespace {
// A material's three files; the panel only looks at the audio's size, never decodes it.
void makeMaterial(const QString &base, int audioBytes = 60000)
{
    writeBytes("workspace/" + base + ".mp3", QByteArray(audioBytes, 'a'));
    writeBytes("workspace/" + base + ".txt", "transcript");
    writeBytes("workspace/" + base + "@T.txt", "translation");
}

bool anyMaterialFile(const QString &base)
{
    return QFile::exists("workspace/" + base + ".mp3") || QFile::exists("workspace/" + base + ".txt")
        || QFile::exists("workspace/" + base + "@T.txt");
}

const QByteArray lessonOne = listOf("Cat", { caseOf("One", "lesson01.mp3", "lesson01.mp3") });
} // namespace

class TestMater : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithoutLists();
    void keepsUnreadableListAside();
    void studyOrDropDamaged_data();
    void studyOrDropDamaged();
    void reviewNeedsFolderOfExactKey_data();
    void reviewNeedsFolderOfExactKey();
    void contextMenuOffers_data();
    void contextMenuOffers();
    void removeTargetsRowUnderPointer();
    void clearKeepsTrainingFolder();
    void rename_data();
    void rename();
    void failedSaveKeepsList();
    void shippedSelectionsAreComplete();

private:
    void openPanel();
    // Opens the context menu of an entry; returns its actions ("(off)" marks disabled ones)
    // after triggering the one named choose, or null when no menu opened.
    std::optional<QStringList> rightClick(QTreeWidget *tree, QTreeWidgetItem *item,
        const QString &choose = QString());

    std::optional<WorkingDir> m_work;
    std::unique_ptr<Mater> m_panel;
    QStringList m_emitted;
};

void TestMater::init()
{
    m_work.emplace();
    m_emitted.clear();
}

void TestMater::cleanup()
{
    m_panel.reset();
    m_work.reset();
}

void TestMater::openPanel()
{
    m_panel = ::openPanel();
    const auto record = [this](const char *name) {
        return [this, name](const QString &path) { m_emitted << name + (' ' + path); };
    };
    connect(m_panel.get(), &Mater::switchSig, this, record("switch"));
    connect(m_panel.get(), &Mater::chooseDumpSig, this, record("dump"));
    connect(m_panel.get(), &Mater::chooseSig, this, record("choose"));
    connect(m_panel.get(), &Mater::pathSig, this, record("path"));
    connect(m_panel.get(), &Mater::demoPathSig, this, record("demo"));
}

std::optional<QStringList> TestMater::rightClick(
    QTreeWidget *tree, QTreeWidgetItem *item, const QString &choose)
{
    std::optional<QStringList> actions;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!popup || actions)
            return;
        actions.emplace();
        for (QAction *action : popup->actions()) {
            *actions << action->text() + (action->isEnabled() ? "" : "(off)");
            if (action->text() == choose)
                popup->setActiveAction(action);
        }
        if (popup->activeAction() && popup->activeAction()->text() == choose)
            QTest::keyClick(popup, Qt::Key_Return);
        else
            popup->close();
    });
    poll.start(20);
    // Sent to the viewport like a real right click; the event travels up to the panel.
    const QPoint pos = cellCenter(tree, item, 0);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, tree->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(tree->viewport(), &event);
    return actions;
}

void TestMater::startsWithoutLists()
{
    // First start: no learner lists, and a damaged installation without its selections
    // list; neither raises a box nor writes a file.
    QVERIFY(QFile::remove("weblist.xml"));
    ModalCatcher catcher;
    openPanel();
    QCOMPARE(catcher.boxTexts, QStringList());
    QCOMPARE(showTree(m_panel.get(), "local")->topLevelItemCount(), 0);
    QCOMPARE(showTree(m_panel.get(), "downs")->topLevelItemCount(), 0);
    QCOMPARE(titles(showTree(m_panel.get(), "imports")), QStringList { mater("_TEXT_IMPORT_") });
    QCOMPARE(QDir().entryList(QDir::Files), QStringList());
}

void TestMater::keepsUnreadableListAside()
{
    const QByteArray broken = "<vornask><train folded=\"no\"><title>Cat</title>"
                              "<case learned=\"a.mp3\" url=\"a.mp3\"><title>kept</title></case>\n"
                              "<case learned=\"b.mp3\" url=\"b.mp3\"><title>lost</case></train>";
    makeMaterial("a");
    writeBytes("custom.xml", broken);
    writeBytes("custom.xml.broken", "an older copy");
    ModalCatcher catcher;
    openPanel();
    QCOMPARE(catcher.boxTexts.size(), 1);
    QVERIFY(catcher.boxTexts.first().startsWith("Parse error at line 2"));
    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    QCOMPARE(findItem(downs, "kept")->text(1), mater("_TEXT_STUDY_"));
    // Rewriting the list from the readable part must not lose the rest of the original.
    QVERIFY(rightClick(downs, findItem(downs, "kept"), "Clear"));
    QVERIFY(!readBytes("custom.xml").contains("lost"));
    QCOMPARE(readBytes("custom.xml.broken.1"), broken);
    QCOMPARE(readBytes("custom.xml.broken"), QByteArray("an older copy"));
}

void TestMater::studyOrDropDamaged_data()
{
    QTest::addColumn<QString>("treeName");
    QTest::addColumn<QString>("listFile");
    QTest::addColumn<int>("audioBytes"); // -1: no audio file at all
    QTest::newRow("selections") << "local" << "weblist.xml" << 60000;
    QTest::newRow("selections, one byte short") << "local" << "weblist.xml" << 51199;
    QTest::newRow("download, exactly the limit") << "downs" << "custom.xml" << 51200;
    QTest::newRow("download, audio missing") << "downs" << "custom.xml" << -1;
    QTest::newRow("import, exactly the limit") << "imports" << "import.xml" << 51200;
    QTest::newRow("import, one byte short") << "imports" << "import.xml" << 51199;
}

void TestMater::studyOrDropDamaged()
{
    QFETCH(QString, treeName);
    QFETCH(QString, listFile);
    QFETCH(int, audioBytes);
    makeMaterial("lesson01", qMax(audioBytes, 0));
    if (audioBytes < 0)
        QFile::remove("workspace/lesson01.mp3");
    makeMaterial("lesson02");
    writeBytes(listFile,
        listOf("Cat",
            { caseOf("One", "lesson01.mp3", "lesson01.mp3"),
                caseOf("Two", "lesson02.mp3", "lesson02.mp3") }));
    ModalCatcher catcher;
    openPanel();
    QTreeWidget *tree = showTree(m_panel.get(), qPrintable(treeName));
    clickCell(tree, findItem(tree, "One"), 0); // only the status columns act
    clickCell(tree, findItem(tree, "Cat"), 1);
    QCOMPARE(m_emitted, QStringList());
    clickCell(tree, findItem(tree, "One"), 1);
    if (audioBytes >= 51200) {
        QCOMPARE(m_emitted,
            (QStringList { "switch ./workspace/lesson01.mp3",
                "dump ./workspace/train/lesson01.mp3/" }));
        QCOMPARE(catcher.boxTexts, QStringList());
        return;
    }
    QCOMPARE(m_emitted, QStringList());
    QCOMPARE(catcher.boxTitles, QStringList { "提示" });
    QCOMPARE(catcher.boxTexts, QStringList { "该材料音频文件已经被损坏请重新下载！" });
    QVERIFY(!findItem(tree, "One"));
    QVERIFY(!anyMaterialFile("lesson01"));
    QVERIFY(QFile::exists("workspace/lesson02.mp3"));
    // Only the list the material came from is rewritten; the selections never are.
    const QByteArray saved = readBytes(listFile);
    QCOMPARE(saved.contains("lesson01.mp3"), listFile == "weblist.xml");
    QVERIFY(saved.contains("lesson02.mp3"));
    QCOMPARE(QDir().entryList({ "custom.xml", "import.xml" }, QDir::Files),
        listFile == "weblist.xml" ? QStringList() : QStringList { listFile });
}

void TestMater::reviewNeedsFolderOfExactKey_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("marked");
    QTest::newRow("exact key") << "lesson01.mp3" << true;
    QTest::newRow("base name only") << "lesson01" << false;
    QTest::newRow("other case") << "LESSON01.MP3" << false;
    QTest::newRow("longer name") << "lesson01.mp3.old" << false;
}

void TestMater::reviewNeedsFolderOfExactKey()
{
    QFETCH(QString, folder);
    QFETCH(bool, marked);
    makeMaterial("lesson01");
    QVERIFY(QDir().mkpath("workspace/train/" + folder));
    writeBytes("workspace/train/lesson01.mp3.file", "a file, not a folder");
    writeBytes("weblist.xml", lessonOne);
    writeBytes("custom.xml",
        listOf("Cat", { caseOf("One", "lesson01.mp3", "http://h/m/lesson01.mp3") }));
    ModalCatcher catcher;
    openPanel();
    for (const char *name : { "local", "downs" }) {
        QTreeWidgetItem *item = findItem(showTree(m_panel.get(), name), "One");
        QCOMPARE(item->text(1), mater("_TEXT_STUDY_"));
        QCOMPARE(item->text(2), marked ? mater("_TEXT_REVIEW_") : QString());
    }
    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    clickCell(downs, findItem(downs, "One"), 2);
    const QStringList review { "choose ./workspace/train/lesson01.mp3/",
        "path ./workspace/lesson01.mp3", "demo ./workspace/demo/lesson01.mp3/" };
    QCOMPARE(m_emitted, marked ? review : QStringList());
}

void TestMater::contextMenuOffers_data()
{
    QTest::addColumn<QString>("treeName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("actions"); // empty: no menu opens
    QTest::newRow("download material") << "downs" << "One" << QStringList { "Clear" };
    QTest::newRow("empty download folder")
        << "downs" << "Empty" << QStringList { "Remove", "Clear(off)" };
    QTest::newRow("import material") << "imports" << "One" << QStringList { "Remove", "Rename" };
    QTest::newRow("import entry") << "imports" << "_TEXT_IMPORT_" << QStringList();
    QTest::newRow("selections") << "local" << "One" << QStringList();
}

void TestMater::contextMenuOffers()
{
    QFETCH(QString, treeName);
    QFETCH(QString, title);
    QFETCH(QStringList, actions);
    makeMaterial("lesson01");
    const QByteArray list = QByteArray(lessonOne).replace(
        "</vornask>", "<train><title>Empty</title></train></vornask>");
    for (const char *file : { "weblist.xml", "custom.xml", "import.xml" })
        writeBytes(file, list);
    ModalCatcher catcher;
    openPanel();
    QTreeWidget *tree = showTree(m_panel.get(), qPrintable(treeName));
    const auto menu = rightClick(tree, findItem(tree, mater(qPrintable(title))));
    QCOMPARE(menu.value_or(QStringList()), actions);
    QCOMPARE(menu.has_value(), !actions.isEmpty());
    QVERIFY(anyMaterialFile("lesson01"));
}

void TestMater::removeTargetsRowUnderPointer()
{
    // The row is found under the pointer itself, whatever lies above the tree.
    QStringList cases;
    for (int i = 1; i <= 6; ++i) {
        makeMaterial(QStringLiteral("talk_%1").arg(i));
        const QString key = QStringLiteral("talk_%1.mp3").arg(i);
        cases << caseOf(QStringLiteral("Talk %1").arg(i), key, key);
    }
    writeBytes("import.xml", listOf("Imported", cases));
    ModalCatcher catcher;
    openPanel();
    QTreeWidget *imports = showTree(m_panel.get(), "imports");
    QVERIFY(rightClick(imports, findItem(imports, "Talk 4"), "Remove"));
    QCOMPARE(titles(imports, findItem(imports, "Imported")),
        (QStringList { "Talk 1", "Talk 2", "Talk 3", "Talk 5", "Talk 6" }));
    QVERIFY(!anyMaterialFile("talk_4"));
    QVERIFY(QFile::exists("workspace/talk_3.mp3") && QFile::exists("workspace/talk_5.mp3"));
    QVERIFY(!readBytes("import.xml").contains("Talk 4"));
}

void TestMater::clearKeepsTrainingFolder()
{
    makeMaterial("lesson01");
    makeMaterial("lesson02");
    QVERIFY(QDir().mkpath("workspace/train/lesson01.mp3"));
    writeBytes("workspace/train/lesson01.mp3/11.mp3", "recording");
    QVERIFY(QDir().mkpath("workspace/demo/lesson01.mp3"));
    writeBytes("custom.xml",
        listOf("Cat",
            { caseOf("One", "lesson01.mp3", "http://h/m/lesson01.mp3"),
                caseOf("Two", "lesson02.mp3", "http://h/m/lesson02.mp3") }));
    ModalCatcher catcher;
    openPanel();
    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    QVERIFY(rightClick(downs, findItem(downs, "One"), "Clear"));

    QCOMPARE(titles(downs, findItem(downs, "Cat")), QStringList { "Two" });
    QVERIFY(!anyMaterialFile("lesson01"));
    QVERIFY(QFile::exists("workspace/train/lesson01.mp3/11.mp3"));
    QVERIFY(QDir("workspace/demo/lesson01.mp3").exists());
    QVERIFY(QFile::exists("workspace/lesson02.mp3"));
    const QByteArray saved = readBytes("custom.xml");
    QVERIFY(!saved.contains("lesson01") && saved.contains("lesson02.mp3"));
}

void TestMater::rename_data()
{
    QTest::addColumn<QString>("answer"); // null: the dialog is cancelled
    QTest::addColumn<QString>("expected");
    QTest::newRow("accepted") << "  Renamed talk " << "  Renamed talk ";
    QTest::newRow("cancelled") << QString() << "One";
    QTest::newRow("empty answer") << "" << "One";
    QTest::newRow("only spaces") << "   " << "One";
}

void TestMater::rename()
{
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    makeMaterial("lesson01");
    writeBytes("import.xml", lessonOne);
    ModalCatcher catcher;
    if (!answer.isNull())
        catcher.setInputAnswer(answer);
    openPanel();
    QTreeWidget *imports = showTree(m_panel.get(), "imports");
    QTreeWidgetItem *item = findItem(imports, "One");
    QVERIFY(rightClick(imports, item, "Rename"));
    QCOMPARE(catcher.inputDialogs, 1);
    QCOMPARE(item->text(0), expected);
    QVERIFY(readBytes("import.xml").contains("<title>" + expected.toUtf8() + "</title>"));
}

void TestMater::failedSaveKeepsList()
{
    writeBytes("custom.xml", lessonOne);
    ModalCatcher catcher;
    openPanel();
    QTreeWidget *downs = showTree(m_panel.get(), "downs");
    QVERIFY(QDir().mkdir("blocked.xml"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^OnlineXmlWriter Failed"));
    QVERIFY(!m_panel->saveTree(downs, "blocked.xml", "OnlineXmlWriter Failed"));
    QVERIFY(QFileInfo("blocked.xml").isDir());
    QCOMPARE(QDir().entryList(QDir::Files), (QStringList { "custom.xml", "weblist.xml" }));
}

void TestMater::shippedSelectionsAreComplete()
{
    // The installation's selections must name materials the installation brings along.
    const QString install = TestPaths::sourceDir() + "/data/install/";
    QFile::remove("weblist.xml");
    QVERIFY(QFile::copy(install + "weblist.xml", "weblist.xml"));
    const QDir shipped(install + "workspace");
    for (const QString &name : shipped.entryList(QDir::Files))
        QVERIFY(QFile::copy(shipped.filePath(name), "workspace/" + name));
    ModalCatcher catcher;
    openPanel();
    QCOMPARE(catcher.boxTexts, QStringList());
    int materials = 0;
    for (QTreeWidgetItemIterator it(showTree(m_panel.get(), "local")); *it; ++it) {
        if ((*it)->text(4).isEmpty())
            continue;
        ++materials;
        const QString base = "workspace/" + QFileInfo((*it)->text(4)).completeBaseName();
        QVERIFY2(QFileInfo(base + ".mp3").size() >= 51200, qPrintable(base));
        QVERIFY(QFile::exists(base + ".txt") && QFile::exists(base + "@T.txt"));
    }
    QVERIFY(materials >= 2);
}

QTEST_MAIN(TestMater)
#include "tst_mater.moc"
