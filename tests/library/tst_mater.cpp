#include "mater.h"

#include "importer.h"
#include "modalcatcher.h"
#include "testpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {
const QString damagedTitle = QStringLiteral("提示");
const QString damagedText = QStringLiteral("该材料音频文件已经被损坏请重新下载！");

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

// A material's three files; the audio is only its size here, the panel never decodes it.
void makeMaterial(const QString &base, int audioBytes = 60000)
{
    writeBytes("workspace/" + base + ".mp3", QByteArray(audioBytes, 'a'));
    writeBytes("workspace/" + base + ".txt", "transcript");
    writeBytes("workspace/" + base + "@T.txt", "translation");
}

bool materialFilesExist(const QString &base)
{
    return QFile::exists("workspace/" + base + ".mp3") || QFile::exists("workspace/" + base + ".txt")
           || QFile::exists("workspace/" + base + "@T.txt");
}

QByteArray listOf(const QString &category, const QStringList &cases)
{
    QString xml = "<vornask version=\"1.0\"><train folded=\"no\"><title>" + category + "</title>";
    for (const QString &c : cases)
        xml += c;
    return (xml + "</train></vornask>").toUtf8();
}

QString caseOf(const QString &title, const QString &key, const QString &url)
{
    return QStringLiteral("<case learned=\"%1\" url=\"%2\"><title>%3</title></case>").arg(key, url, title);
}

QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &title)
{
    const QList<QTreeWidgetItem *> found = tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
}

QPoint cellCenter(QTreeWidget *tree, QTreeWidgetItem *item, int column)
{
    tree->scrollToItem(item);
    const QRect row = tree->visualItemRect(item);
    const int x = tree->header()->sectionViewportPosition(column) + tree->header()->sectionSize(column) / 2;
    return QPoint(x, row.center().y());
}
} // namespace

class TestMater : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithoutLearnerLists();
    void startsWithoutSelectionsList();
    void reportsBrokenLearnerListOnce();
    void studyEmitsAudioAndTrainingFolder_data();
    void studyEmitsAudioAndTrainingFolder();
    void damagedAudioDropsMaterial_data();
    void damagedAudioDropsMaterial();
    void reviewMarkNeedsFolderOfExactKey_data();
    void reviewMarkNeedsFolderOfExactKey();
    void reviewEmitsThreePathsInOrder();
    void otherClicksEmitNothing();
    void importEntryOpensDialog_data();
    void importEntryOpensDialog();
    void contextMenuOffers_data();
    void contextMenuOffers();
    void contextMenuTargetsRowUnderPointer();
    void clearKeepsTrainingFolder();
    void removeDropsEmptyNestedFolder();
    void rename_data();
    void rename();
    void failedSaveIsReported();
    void statusWordsAreTranslated_data();
    void statusWordsAreTranslated();
    void shippedSelectionsAreComplete();

private:
    struct Menu {
        bool opened = false;
        QStringList actions; // text, with "(off)" for disabled ones
    };
    Mater *makePanel();
    QTreeWidget *tree(const char *name) const;
    void click(QTreeWidget *tree, QTreeWidgetItem *item, int column);
    Menu rightClick(QTreeWidget *tree, QTreeWidgetItem *item, const QString &choose = QString());

    QTemporaryDir *m_dir = nullptr;
    QString m_previousDir;
    std::unique_ptr<Mater> m_panel;
    QStringList m_emitted;
};

void TestMater::init()
{
    m_previousDir = QDir::currentPath();
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkpath("workspace/train"));
    QVERIFY(QDir().mkpath("workspace/demo"));
    writeBytes("weblist.xml", listOf("Selections", {}));
    m_emitted.clear();
}

void TestMater::cleanup()
{
    m_panel.reset();
    QDir::setCurrent(m_previousDir);
    delete m_dir;
    m_dir = nullptr;
}

Mater *TestMater::makePanel()
{
    m_panel = std::make_unique<Mater>(nullptr);
    Mater *panel = m_panel.get();
    const auto record = [this](const char *name) {
        return [this, name](const QString &path) { m_emitted << QString::fromLatin1(name) + ' ' + path; };
    };
    connect(panel, &Mater::switchSig, this, record("switch"));
    connect(panel, &Mater::chooseDumpSig, this, record("dump"));
    connect(panel, &Mater::chooseSig, this, record("choose"));
    connect(panel, &Mater::pathSig, this, record("path"));
    connect(panel, &Mater::demoPathSig, this, record("demo"));
    panel->resize(321, 500);
    panel->show();
    if (!QTest::qWaitForWindowExposed(panel))
        qWarning("library window not exposed");
    return panel;
}

QTreeWidget *TestMater::tree(const char *name) const
{
    QTreeWidget *found = m_panel->findChild<QTreeWidget *>(QString::fromLatin1(name));
    m_panel->findChild<QTabWidget *>("tabs")->setCurrentWidget(found->parentWidget());
    return found;
}

void TestMater::click(QTreeWidget *tree, QTreeWidgetItem *item, int column)
{
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cellCenter(tree, item, column));
}

TestMater::Menu TestMater::rightClick(QTreeWidget *tree, QTreeWidgetItem *item, const QString &choose)
{
    Menu menu;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!popup || menu.opened)
            return;
        menu.opened = true;
        for (QAction *action : popup->actions())
            menu.actions << action->text() + (action->isEnabled() ? "" : "(off)");
        for (QAction *action : popup->actions()) {
            if (action->text() == choose) {
                popup->setActiveAction(action);
                QTest::keyClick(popup, Qt::Key_Return);
                return;
            }
        }
        popup->close();
    });
    poll.start(20);
    // Sent to the viewport like a real right click; the event travels up to the panel.
    const QPoint pos = cellCenter(tree, item, 0);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, tree->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(tree->viewport(), &event);
    return menu;
}

void TestMater::startsWithoutLearnerLists()
{
    writeBytes("weblist.xml", listOf("Selections", {caseOf("One", "lesson01.mp3", "lesson01.mp3")}));
    ModalCatcher catcher;
    makePanel();
    QVERIFY2(catcher.boxTexts.isEmpty(), qPrintable(catcher.boxTexts.join('\n')));
    QCOMPARE(tree("downs")->topLevelItemCount(), 0);
    QCOMPARE(tree("imports")->topLevelItemCount(), 1);
    QCOMPARE(tree("imports")->topLevelItem(0)->text(0), mater("_TEXT_IMPORT_"));
    const QTreeWidgetItem *status = tree("online")->topLevelItem(0);
    const QStringList statusWords{mater("_TEXT_LOADING_"), mater("_TEXT_RELOAD_"), mater("_TEXT_ERRLOAD_")};
    QVERIFY2(statusWords.contains(status->text(0)), qPrintable(status->text(0)));
    QVERIFY(!status->data(0, Qt::UserRole).isValid()); // never saved into a list
    QCOMPARE(findItem(tree("local"), "One")->text(1), mater("_TEXT_STUDY_"));
    QVERIFY(!QFile::exists("custom.xml") && !QFile::exists("import.xml"));
}

void TestMater::startsWithoutSelectionsList()
{
    // A damaged installation without its selections list still opens the library
    // (it used to stop start-up on a parse-error box about an empty document).
    QVERIFY(QFile::remove("weblist.xml"));
    ModalCatcher catcher;
    makePanel();
    QVERIFY2(catcher.boxTexts.isEmpty(), qPrintable(catcher.boxTexts.join('\n')));
    QCOMPARE(tree("local")->topLevelItemCount(), 0);
    QVERIFY(!QFile::exists("weblist.xml"));
}

void TestMater::reportsBrokenLearnerListOnce()
{
    const QByteArray broken = "<vornask><train folded=\"no\"><title>Cat</title>"
                              "<case learned=\"a.mp3\" url=\"a.mp3\"><title>kept</title></case>\n"
                              "<case learned=\"b.mp3\" url=\"b.mp3\"><title>lost</case></train></vornask>";
    makeMaterial("a");
    writeBytes("custom.xml", broken);
    writeBytes("custom.xml.broken", "an older copy");
    {
        ModalCatcher catcher;
        makePanel();
        QCOMPARE(catcher.boxTexts.size(), 1);
        QVERIFY(catcher.boxTexts.first().startsWith("Parse error at line 2"));
    }
    QTreeWidget *downs = tree("downs");
    QCOMPARE(findItem(downs, "kept")->text(1), mater("_TEXT_STUDY_"));
    // Rewriting the list from the readable part must not lose the rest of the original.
    QVERIFY(rightClick(downs, findItem(downs, "kept"), "Clear").opened);
    QVERIFY(!readBytes("custom.xml").contains("lost"));
    QCOMPARE(readBytes("custom.xml.broken.1"), broken);
    QCOMPARE(readBytes("custom.xml.broken"), QByteArray("an older copy"));
}

void TestMater::studyEmitsAudioAndTrainingFolder_data()
{
    QTest::addColumn<QString>("treeName");
    QTest::addColumn<QString>("listFile");
    QTest::addColumn<QString>("url");
    QTest::addColumn<int>("audioBytes");
    QTest::newRow("selections") << "local" << "weblist.xml" << "lesson01.mp3" << 60000;
    QTest::newRow("download, exactly the limit") << "downs" << "custom.xml" << "http://h:8471/m/lesson01.mp3" << 51200;
    QTest::newRow("import") << "imports" << "import.xml" << "lesson01.mp3" << 51200;
}

void TestMater::studyEmitsAudioAndTrainingFolder()
{
    QFETCH(QString, treeName);
    QFETCH(QString, listFile);
    QFETCH(QString, url);
    QFETCH(int, audioBytes);
    makeMaterial("lesson01", audioBytes);
    writeBytes(listFile, listOf("Cat", {caseOf("One", "lesson01.mp3", url)}));
    ModalCatcher catcher;
    makePanel();
    QTreeWidget *list = tree(qPrintable(treeName));
    click(list, findItem(list, "One"), 1);
    const QStringList expected{"switch ./workspace/lesson01.mp3", "dump ./workspace/train/lesson01.mp3/"};
    QCOMPARE(m_emitted, expected);
    QVERIFY(catcher.boxTexts.isEmpty());
    QVERIFY(QFile::exists("workspace/lesson01.mp3"));
}

void TestMater::damagedAudioDropsMaterial_data()
{
    QTest::addColumn<QString>("treeName");
    QTest::addColumn<QString>("listFile");
    QTest::addColumn<int>("audioBytes");
    QTest::newRow("selections, one byte short") << "local" << "weblist.xml" << 51199;
    QTest::newRow("download, one byte short") << "downs" << "custom.xml" << 51199;
    QTest::newRow("import, empty audio") << "imports" << "import.xml" << 0;
    QTest::newRow("download, audio missing") << "downs" << "custom.xml" << -1;
}

void TestMater::damagedAudioDropsMaterial()
{
    QFETCH(QString, treeName);
    QFETCH(QString, listFile);
    QFETCH(int, audioBytes);
    makeMaterial("lesson01", qMax(audioBytes, 0));
    if (audioBytes < 0)
        QFile::remove("workspace/lesson01.mp3");
    makeMaterial("lesson02");
    const QByteArray list = listOf("Cat", {caseOf("One", "lesson01.mp3", "lesson01.mp3"),
                                           caseOf("Two", "lesson02.mp3", "lesson02.mp3")});
    writeBytes(listFile, list);
    ModalCatcher catcher;
    makePanel();
    QTreeWidget *view = tree(qPrintable(treeName));
    click(view, findItem(view, "One"), 1);

    QVERIFY(m_emitted.isEmpty());
    QCOMPARE(catcher.boxTitles, QStringList{damagedTitle});
    QCOMPARE(catcher.boxTexts, QStringList{damagedText});
    QVERIFY(!findItem(view, "One"));
    QVERIFY(!materialFilesExist("lesson01"));
    QVERIFY(QFile::exists("workspace/lesson02.mp3"));
    // Only the list the material came from is rewritten; the selections never are.
    const QByteArray saved = readBytes(listFile);
    if (listFile == "weblist.xml") {
        QCOMPARE(saved, list);
        QVERIFY(!QFile::exists("custom.xml") && !QFile::exists("import.xml"));
    } else {
        QVERIFY(!saved.contains("lesson01.mp3"));
        QVERIFY(saved.contains("lesson02.mp3"));
        QVERIFY(!QFile::exists(listFile == "custom.xml" ? "import.xml" : "custom.xml"));
    }
}

void TestMater::reviewMarkNeedsFolderOfExactKey_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("marked");
    QTest::newRow("exact key") << "lesson01.mp3" << true;
    QTest::newRow("base name only") << "lesson01" << false;
    QTest::newRow("other case") << "LESSON01.MP3" << false;
    QTest::newRow("longer name") << "lesson01.mp3.old" << false;
    QTest::newRow("no folder") << "" << false;
}

void TestMater::reviewMarkNeedsFolderOfExactKey()
{
    QFETCH(QString, folder);
    QFETCH(bool, marked);
    makeMaterial("lesson01");
    if (!folder.isEmpty())
        QVERIFY(QDir().mkpath("workspace/train/" + folder));
    writeBytes("workspace/train/lesson01.mp3.file", "a file, not a folder");
    writeBytes("weblist.xml", listOf("Cat", {caseOf("One", "lesson01.mp3", "lesson01.mp3")}));
    writeBytes("custom.xml", listOf("Cat", {caseOf("One", "lesson01.mp3", "http://h/lesson01.mp3")}));
    ModalCatcher catcher;
    makePanel();
    for (const char *name : {"local", "downs"}) {
        QTreeWidgetItem *item = findItem(tree(name), "One");
        QCOMPARE(item->text(1), mater("_TEXT_STUDY_"));
        QCOMPARE(item->text(2), marked ? mater("_TEXT_REVIEW_") : QString());
    }
}

void TestMater::reviewEmitsThreePathsInOrder()
{
    makeMaterial("lesson01");
    QVERIFY(QDir().mkpath("workspace/train/lesson01.mp3"));
    writeBytes("custom.xml", listOf("Cat", {caseOf("One", "lesson01.mp3", "http://h/m/lesson01.mp3")}));
    ModalCatcher catcher;
    makePanel();
    click(tree("downs"), findItem(tree("downs"), "One"), 2);
    const QStringList expected{"choose ./workspace/train/lesson01.mp3/", "path ./workspace/lesson01.mp3",
                               "demo ./workspace/demo/lesson01.mp3/"};
    QCOMPARE(m_emitted, expected);
}

void TestMater::otherClicksEmitNothing()
{
    makeMaterial("lesson01");
    writeBytes("weblist.xml", listOf("Cat", {caseOf("One", "lesson01.mp3", "lesson01.mp3")}));
    ModalCatcher catcher;
    makePanel();
    QTreeWidget *local = tree("local");
    click(local, findItem(local, "One"), 0);
    click(local, findItem(local, "Cat"), 1);
    click(local, findItem(local, "One"), 2); // no review mark without a training folder
    QVERIFY(m_emitted.isEmpty());
    QVERIFY(catcher.boxTexts.isEmpty());
}

void TestMater::importEntryOpensDialog_data()
{
    QTest::addColumn<int>("column");
    QTest::newRow("title") << 0;
    QTest::newRow("status column") << 1;
}

void TestMater::importEntryOpensDialog()
{
    QFETCH(int, column);
    ModalCatcher catcher;
    makePanel();
    QTreeWidget *imports = tree("imports");
    auto *dialog = m_panel->findChild<Importer *>();
    QVERIFY(dialog);
    QVERIFY(!dialog->isVisible());
    click(imports, imports->topLevelItem(0), column);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->isVisible(), 5000);
    QVERIFY(!dialog->isModal());
    QVERIFY(m_emitted.isEmpty());
}

void TestMater::contextMenuOffers_data()
{
    QTest::addColumn<QString>("treeName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QStringList>("actions");
    QTest::newRow("download material") << "downs" << "One" << true << QStringList{"Clear"};
    QTest::newRow("download folder with material") << "downs" << "Cat" << true << QStringList{"Clear(off)"};
    QTest::newRow("empty download folder") << "downs" << "Empty" << true << QStringList{"Remove", "Clear(off)"};
    QTest::newRow("import material") << "imports" << "One" << true << QStringList{"Remove", "Rename"};
    QTest::newRow("import folder") << "imports" << "Cat" << true << QStringList{"Remove", "Rename"};
    QTest::newRow("import entry") << "imports" << mater("_TEXT_IMPORT_") << false << QStringList();
    QTest::newRow("selections") << "local" << "One" << false << QStringList();
}

void TestMater::contextMenuOffers()
{
    QFETCH(QString, treeName);
    QFETCH(QString, title);
    QFETCH(bool, opens);
    QFETCH(QStringList, actions);
    makeMaterial("lesson01");
    const QByteArray list = listOf("Cat", {caseOf("One", "lesson01.mp3", "lesson01.mp3")})
                                .replace("</vornask>", "<train><title>Empty</title></train></vornask>");
    for (const char *file : {"weblist.xml", "custom.xml", "import.xml"})
        writeBytes(file, list);
    ModalCatcher catcher;
    makePanel();
    QTreeWidget *view = tree(qPrintable(treeName));
    const Menu menu = rightClick(view, findItem(view, title));
    QCOMPARE(menu.opened, opens);
    QCOMPARE(menu.actions, actions);
    QVERIFY(materialFilesExist("lesson01"));
}

void TestMater::contextMenuTargetsRowUnderPointer()
{
    // The row is found under the pointer itself, whatever lies above the tree.
    QStringList cases;
    for (int i = 1; i <= 6; ++i) {
        makeMaterial(QStringLiteral("talk_%1").arg(i));
        cases << caseOf(QStringLiteral("Talk %1").arg(i), QStringLiteral("talk_%1.mp3").arg(i),
                        QStringLiteral("talk_%1.mp3").arg(i));
    }
    writeBytes("import.xml", listOf("Imported", cases));
    ModalCatcher catcher;
    makePanel();
    QTreeWidget *imports = tree("imports");
    const Menu menu = rightClick(imports, findItem(imports, "Talk 4"), "Remove");
    QVERIFY(menu.opened);
    QVERIFY(!findItem(imports, "Talk 4"));
    QVERIFY(!materialFilesExist("talk_4"));
    const QByteArray saved = readBytes("import.xml");
    for (int i : {1, 2, 3, 5, 6}) {
        QVERIFY(materialFilesExist(QStringLiteral("talk_%1").arg(i)));
        QVERIFY(saved.contains(QStringLiteral("Talk %1").arg(i).toUtf8()));
    }
    QVERIFY(!saved.contains("Talk 4"));
}

void TestMater::clearKeepsTrainingFolder()
{
    makeMaterial("lesson01");
    makeMaterial("lesson02");
    QVERIFY(QDir().mkpath("workspace/train/lesson01.mp3"));
    writeBytes("workspace/train/lesson01.mp3/11.mp3", "recording");
    QVERIFY(QDir().mkpath("workspace/demo/lesson01.mp3"));
    writeBytes("custom.xml", listOf("Cat", {caseOf("One", "lesson01.mp3", "http://h/m/lesson01.mp3"),
                                            caseOf("Two", "lesson02.mp3", "http://h/m/lesson02.mp3")}));
    ModalCatcher catcher;
    makePanel();
    QTreeWidget *downs = tree("downs");
    QVERIFY(rightClick(downs, findItem(downs, "One"), "Clear").opened);

    QVERIFY(!findItem(downs, "One"));
    QVERIFY(!materialFilesExist("lesson01"));
    QVERIFY(QFile::exists("workspace/train/lesson01.mp3/11.mp3"));
    QVERIFY(QDir("workspace/demo/lesson01.mp3").exists());
    QVERIFY(QFile::exists("workspace/lesson02.mp3"));
    const QByteArray saved = readBytes("custom.xml");
    QVERIFY(!saved.contains("lesson01") && saved.contains("lesson02.mp3"));
}

void TestMater::removeDropsEmptyNestedFolder()
{
    writeBytes("custom.xml", "<vornask><train folded=\"no\"><title>Outer</title>"
                             "<train><title>Inner</title></train></train></vornask>");
    ModalCatcher catcher;
    makePanel();
    QTreeWidget *downs = tree("downs");
    QVERIFY(rightClick(downs, findItem(downs, "Inner"), "Remove").opened);
    QVERIFY(!findItem(downs, "Inner"));
    QVERIFY(findItem(downs, "Outer"));
    QVERIFY(!readBytes("custom.xml").contains("Inner"));
}

void TestMater::rename_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("accepted") << true << "  Renamed talk " << "  Renamed talk ";
    QTest::newRow("cancelled") << false << "" << "One";
    QTest::newRow("empty answer") << true << "" << "One";
    QTest::newRow("only spaces") << true << "   " << "One";
}

void TestMater::rename()
{
    QFETCH(bool, answer);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    makeMaterial("lesson01");
    const QByteArray list = listOf("Cat", {caseOf("One", "lesson01.mp3", "lesson01.mp3")});
    writeBytes("import.xml", list);
    ModalCatcher catcher;
    if (answer)
        catcher.setInputAnswer(text);
    makePanel();
    QTreeWidget *imports = tree("imports");
    QTreeWidgetItem *item = findItem(imports, "One");
    QVERIFY(rightClick(imports, item, "Rename").opened);
    QCOMPARE(catcher.inputDialogs, 1);
    QCOMPARE(item->text(0), expected);
    if (expected == "One")
        QCOMPARE(readBytes("import.xml"), list);
    else
        QVERIFY(readBytes("import.xml").contains("<title>" + expected.toUtf8() + "</title>"));
}

void TestMater::failedSaveIsReported()
{
    writeBytes("custom.xml", listOf("Cat", {caseOf("One", "lesson01.mp3", "lesson01.mp3")}));
    ModalCatcher catcher;
    Mater *panel = makePanel();
    QVERIFY(QDir().mkdir("blocked.xml"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^OnlineXmlWriter Failed"));
    QVERIFY(!panel->saveTree(tree("downs"), "blocked.xml", "OnlineXmlWriter Failed"));
    QVERIFY(QFileInfo("blocked.xml").isDir());
    QCOMPARE(QDir().entryList(QDir::Files, QDir::Name), (QStringList{"custom.xml", "weblist.xml"}));
    QVERIFY(panel->saveTree(tree("downs"), "custom.xml", "OnlineXmlWriter Failed"));
    QVERIFY(readBytes("custom.xml").startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE vornask>"));
}

void TestMater::statusWordsAreTranslated_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<QString>("study");
    QTest::newRow("fallback") << "app.qm" << "Study";
    QTest::newRow("chinese") << "app_zh.qm" << "学习";
}

void TestMater::statusWordsAreTranslated()
{
    QFETCH(QString, catalogue);
    QFETCH(QString, study);
    QTranslator translator;
    QVERIFY(translator.load(catalogue, TestPaths::stageDir() + "/translations"));
    QCoreApplication::installTranslator(&translator);
    for (const char *key : {"_TEXT_STUDY_", "_TEXT_REVIEW_", "_TEXT_DOWNLOAD_", "_TEXT_DOWNLOADING_",
                            "_TEXT_LOADING_", "_TEXT_RELOAD_", "_TEXT_ERRLOAD_", "_TEXT_IMPORT_",
                            "_TEXT_IMPORTED_"}) {
        const QString shown = mater(key);
        QVERIFY2(!shown.isEmpty() && !shown.contains("_TEXT_"), key);
    }
    makeMaterial("lesson01");
    writeBytes("weblist.xml", listOf("Cat", {caseOf("One", "lesson01.mp3", "lesson01.mp3")}));
    ModalCatcher catcher;
    makePanel();
    QCOMPARE(findItem(tree("local"), "One")->text(1), study);
    // The status words are still recognised as such once translated.
    click(tree("local"), findItem(tree("local"), "One"), 1);
    QCOMPARE(m_emitted.size(), 2);
    QCoreApplication::removeTranslator(&translator);
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
    makePanel();
    QVERIFY(catcher.boxTexts.isEmpty());
    int materials = 0;
    for (QTreeWidgetItemIterator it(tree("local")); *it; ++it) {
        if ((*it)->text(4).isEmpty())
            continue;
        ++materials;
        const QFileInfo audio("workspace/" + (*it)->text(4));
        QVERIFY2(audio.size() >= 51200, qPrintable(audio.filePath()));
        QVERIFY(QFile::exists("workspace/" + audio.completeBaseName() + ".txt"));
        QVERIFY(QFile::exists("workspace/" + audio.completeBaseName() + "@T.txt"));
        QCOMPARE((*it)->text(3), (*it)->text(4));
    }
    QVERIFY(materials >= 2);
}

QTEST_MAIN(TestMater)
#include "tst_mater.moc"
