#include "importer.h"
#include "mater.h"
#include "modalcatcher.h"
#include "octimgbtn.h"
#include "testpaths.h"
#include "zorvaresources.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
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

QStringList childTitles(const QTreeWidgetItem *item)
{
    QStringList result;
    for (int i = 0; i < item->childCount(); ++i)
        result << item->child(i)->text(0);
    return result;
}
} // namespace

class TestImporter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void uniqueImportName_data();
    void uniqueImportName();
    void importNeedsNameAndThreeFiles_data();
    void importNeedsNameAndThreeFiles();
    void browseFillsItsField_data();
    void browseFillsItsField();
    void importsCopiesAndLists_data();
    void importsCopiesAndLists();
    void sameSourceTwiceKeepsBoth();
    void failedCopyListsNothing();
    void categoryFoundByTranslatedTitle_data();
    void categoryFoundByTranslatedTitle();

private:
    Importer *openImporter();
    QLineEdit *edit(const char *name) const { return m_importer->findChild<QLineEdit *>(name); }
    OctImgBtn *button(const char *name) const { return m_importer->findChild<OctImgBtn *>(name); }
    void fill(const QString &name, const QString &audio, const QString &transcript,
        const QString &translation);
    QString source(const QString &name, const QByteArray &bytes);

    QTranslator m_translator;
    QTemporaryDir *m_dir = nullptr;
    QString m_previousDir;
    std::unique_ptr<Mater> m_panel;
    Importer *m_importer = nullptr;
};

void TestImporter::initTestCase()
{
    zorvaInitResources();
    QVERIFY(m_translator.load("app", TestPaths::stageDir() + "/translations"));
    QCoreApplication::installTranslator(&m_translator);
    QVERIFY(mater("_TEXT_IMPORTED_") != QLatin1String("_TEXT_IMPORTED_"));
    // No content server is wanted here; the panel's catalogue request simply fails.
    qputenv("ZORVA_CONTENT_URL", "http://127.0.0.1:1");
}

void TestImporter::init()
{
    m_previousDir = QDir::currentPath();
    m_dir = new QTemporaryDir;
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkpath("workspace/train"));
    QVERIFY(QDir().mkpath("sources"));
    writeBytes("weblist.xml", "<vornask version=\"1.0\"/>");
}

void TestImporter::cleanup()
{
    m_importer = nullptr;
    m_panel.reset();
    QDir::setCurrent(m_previousDir);
    delete m_dir;
    m_dir = nullptr;
}

QString TestImporter::source(const QString &name, const QByteArray &bytes)
{
    const QString path = QDir::current().absoluteFilePath("sources/" + name);
    QDir().mkpath(QFileInfo(path).path());
    writeBytes(path, bytes);
    return path;
}

Importer *TestImporter::openImporter()
{
    m_panel = std::make_unique<Mater>(nullptr);
    m_panel->resize(321, 500);
    m_panel->show();
    auto *imports = m_panel->findChild<QTreeWidget *>("imports");
    m_panel->findChild<QTabWidget *>("tabs")->setCurrentWidget(imports->parentWidget());
    if (!QTest::qWaitForWindowExposed(m_panel.get()))
        qWarning("library window not exposed");
    const QRect entry = imports->visualItemRect(imports->topLevelItem(0));
    QTest::mouseClick(imports->viewport(), Qt::LeftButton, {}, entry.center());
    m_importer = m_panel->findChild<Importer *>();
    return m_importer;
}

void TestImporter::fill(const QString &name, const QString &audio, const QString &transcript,
    const QString &translation)
{
    edit("matName")->setText(name);
    edit("mp3Name")->setText(audio);
    edit("origTxt")->setText(transcript);
    edit("TranTxt")->setText(translation);
}

void TestImporter::uniqueImportName_data()
{
    QTest::addColumn<QString>("sourcePath");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first import") << "/music/talk.mp3" << QStringList() << "talk_0.mp3";
    QTest::newRow("second import")
        << "/music/talk.mp3" << QStringList { "talk_0.mp3" } << "talk_1.mp3";
    // A count of matching files would give talk_1 here and overwrite that material.
    QTest::newRow("first one removed")
        << "talk.mp3" << QStringList { "talk_1.mp3", "talk_1.txt", "talk_1@T.txt" } << "talk_0.mp3";
    QTest::newRow("leftover transcript")
        << "talk.mp3" << QStringList { "talk_0.txt" } << "talk_1.mp3";
    QTest::newRow("leftover translation")
        << "talk.mp3" << QStringList { "talk_0@T.txt" } << "talk_1.mp3";
    QTest::newRow("other stems do not count")
        << "talk.mp3" << QStringList { "talkative_0.mp3", "talk.mp3" } << "talk_0.mp3";
    QTest::newRow("several dots") << "/m/unit.1.mp3" << QStringList() << "unit.1_0.mp3";
    QTest::newRow("no suffix") << "/m/talk" << QStringList() << "talk_0";
    QTest::newRow("upper-case suffix kept") << "/m/Talk.MP3" << QStringList() << "Talk_0.MP3";
}

void TestImporter::uniqueImportName()
{
    QFETCH(QString, sourcePath);
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);
    for (const QString &name : existing)
        writeBytes("workspace/" + name, "x");
    QCOMPARE(Importer::uniqueImportName(sourcePath, "./workspace/"), expected);
}

void TestImporter::importNeedsNameAndThreeFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("audio");
    QTest::addColumn<QString>("transcript");
    QTest::addColumn<QString>("translation");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("complete") << "Talk"
                              << "a.mp3"
                              << "a.txt"
                              << "b.txt" << true;
    QTest::newRow("suffixes are not checked") << "Talk"
                                              << "a.txt"
                                              << "a.mp3"
                                              << "a.mp3" << true;
    QTest::newRow("empty name") << ""
                                << "a.mp3"
                                << "a.txt"
                                << "b.txt" << false;
    QTest::newRow("audio is a folder") << "Talk"
                                       << "dir"
                                       << "a.txt"
                                       << "b.txt" << false;
    QTest::newRow("translation is a folder") << "Talk"
                                             << "a.mp3"
                                             << "a.txt"
                                             << "dir" << false;
    QTest::newRow("transcript missing") << "Talk"
                                        << "a.mp3"
                                        << "none.txt"
                                        << "b.txt" << false;
    QTest::newRow("audio empty") << "Talk"
                                 << ""
                                 << "a.txt"
                                 << "b.txt" << false;
}

void TestImporter::importNeedsNameAndThreeFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, audio);
    QFETCH(QString, transcript);
    QFETCH(QString, translation);
    QFETCH(bool, enabled);
    for (const char *file : { "a.mp3", "a.txt", "b.txt" })
        source(file, "content");
    QVERIFY(QDir().mkpath("sources/dir"));
    const auto path = [](const QString &n) {
        return n.isEmpty() ? n : QDir::current().absoluteFilePath("sources/" + n);
    };
    Importer importer(nullptr);
    m_importer = &importer;
    QVERIFY(!button("btnImport")->isEnabled());
    fill(name, path(audio), path(transcript), path(translation));
    QCOMPARE(button("btnImport")->isEnabled(), enabled);
    m_importer = nullptr;
}

void TestImporter::browseFillsItsField_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("editName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("accept");
    QTest::newRow("audio") << "btnGetMp3"
                           << "mp3Name"
                           << "定位音频文件"
                           << "mp3 File ( *.mp3 )" << true;
    QTest::newRow("transcript") << "btnGetOrig"
                                << "origTxt"
                                << "定位原文文件"
                                << "txt File ( *.txt )" << true;
    QTest::newRow("translation") << "btnGetTrans"
                                 << "TranTxt"
                                 << "定位译文文件"
                                 << "txt File ( *.txt )" << true;
    QTest::newRow("cancelled") << "btnGetTrans"
                               << "TranTxt"
                               << "定位译文文件"
                               << "txt File ( *.txt )" << false;
}

void TestImporter::browseFillsItsField()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, editName);
    QFETCH(QString, caption);
    QFETCH(QString, filter);
    QFETCH(bool, accept);
    const QString chosen = source("pick.any", "content");
    Importer importer(nullptr);
    m_importer = &importer;
    importer.show();
    edit(qPrintable(editName))->setText("before");

    QString seenTitle;
    QStringList seenFilters;
    QStringList unexpected;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            if (modal) { // never hang on a box nobody expected; report it instead
                unexpected << modal->metaObject()->className();
                modal->close();
            }
            return;
        }
        seenTitle = dialog->windowTitle();
        seenFilters = dialog->nameFilters();
        // Typed into the name field and confirmed with done(): selecting through the
        // dialog's folder model would race with the model filling in the background.
        if (accept)
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(chosen);
        static_cast<QDialog *>(dialog)->done(accept ? QDialog::Accepted : QDialog::Rejected);
    });
    poll.start(20);
    QTest::mouseClick(button(qPrintable(buttonName)), Qt::LeftButton);
    QCOMPARE(unexpected, QStringList());
    QCOMPARE(seenTitle, caption);
    QCOMPARE(seenFilters, QStringList { filter });
    QCOMPARE(edit(qPrintable(editName))->text(), accept ? chosen : QStringLiteral("before"));
    // An action button: a click never leaves it checked (which would hide its caption).
    QVERIFY(!button(qPrintable(buttonName))->isChecked());
    m_importer = nullptr;
}

void TestImporter::importsCopiesAndLists_data()
{
    QTest::addColumn<QString>("sourceName");
    QTest::addColumn<QStringList>("expected"); // audio, transcript, translation in ./workspace
    QTest::newRow("plain") << "talk.mp3"
                           << QStringList { "talk_0.mp3", "talk_0.txt", "talk_0@T.txt" };
    QTest::newRow("several dots") << "unit.1.mp3"
                                  << QStringList { "unit.1_0.mp3", "unit.1_0.txt",
                                         "unit.1_0@T.txt" };
}

void TestImporter::importsCopiesAndLists()
{
    QFETCH(QString, sourceName);
    QFETCH(QStringList, expected);
    const QByteArray audio(60000, 'a');
    openImporter();
    QVERIFY(m_importer->isVisible());
    QSignalSpy imported(m_importer, &Importer::sigImport);
    fill("My talk", source(sourceName, audio), source("orig.txt", "the transcript"),
        source("tran.txt", "the translation"));
    QVERIFY(button("btnImport")->isEnabled());
    QTest::mouseClick(button("btnImport"), Qt::LeftButton);

    QCOMPARE(imported.size(), 1);
    QCOMPARE(imported.first(), (QList<QVariant> { "My talk", expected.at(0) }));
    QCOMPARE(readBytes("workspace/" + expected.at(0)), audio);
    QCOMPARE(readBytes("workspace/" + expected.at(1)), QByteArray("the transcript"));
    QCOMPARE(readBytes("workspace/" + expected.at(2)), QByteArray("the translation"));
    QVERIFY(!m_importer->isVisible());
    for (const char *name : { "matName", "mp3Name", "origTxt", "TranTxt" })
        QVERIFY2(edit(name)->text().isEmpty(), name);
    QVERIFY(!button("btnImport")->isEnabled());

    auto *imports = m_panel->findChild<QTreeWidget *>("imports");
    QCOMPARE(imports->topLevelItemCount(), 2);
    QTreeWidgetItem *category = imports->topLevelItem(1);
    QCOMPARE(category->text(0), mater("_TEXT_IMPORTED_"));
    QCOMPARE(category->data(0, Qt::UserRole).toString(), QStringLiteral("train"));
    QTreeWidgetItem *entry = category->child(0);
    QCOMPARE(entry->text(1), mater("_TEXT_STUDY_"));
    QCOMPARE(entry->text(3), expected.at(0));
    QCOMPARE(entry->text(4), expected.at(0));
    const QByteArray saved = readBytes("import.xml");
    QVERIFY2(saved.contains(
                 QStringLiteral("<case learned=\"%1\" url=\"%1\">").arg(expected.at(0)).toUtf8()),
        saved);

    // The imported material studies from where it was copied to.
    QSignalSpy study(m_panel.get(), &Mater::switchSig);
    imports->scrollToItem(entry);
    const QRect row = imports->visualItemRect(entry);
    const int x
        = imports->header()->sectionViewportPosition(1) + imports->header()->sectionSize(1) / 2;
    QTest::mouseClick(imports->viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
    QCOMPARE(study.size(), 1);
    QCOMPARE(study.first().first().toString(), "./workspace/" + expected.at(0));
}

void TestImporter::sameSourceTwiceKeepsBoth()
{
    openImporter();
    const QString audio = source("talk.mp3", QByteArray(60000, '1'));
    fill("First", audio, source("o1.txt", "first transcript"),
        source("t1.txt", "first translation"));
    QTest::mouseClick(button("btnImport"), Qt::LeftButton);
    writeBytes(audio, QByteArray(60000, '2'));
    fill("Second", audio, source("o2.txt", "second transcript"),
        source("t2.txt", "second translation"));
    QTest::mouseClick(button("btnImport"), Qt::LeftButton);

    QCOMPARE(readBytes("workspace/talk_0.mp3"), QByteArray(60000, '1'));
    QCOMPARE(readBytes("workspace/talk_1.mp3"), QByteArray(60000, '2'));
    QCOMPARE(readBytes("workspace/talk_0.txt"), QByteArray("first transcript"));
    QCOMPARE(readBytes("workspace/talk_1@T.txt"), QByteArray("second translation"));
    auto *imports = m_panel->findChild<QTreeWidget *>("imports");
    QCOMPARE(imports->topLevelItemCount(), 2);
    QCOMPARE(childTitles(imports->topLevelItem(1)), (QStringList { "First", "Second" }));
    QCOMPARE(imports->topLevelItem(1)->child(1)->text(3), QStringLiteral("talk_1.mp3"));
}

void TestImporter::failedCopyListsNothing()
{
    openImporter();
    QSignalSpy imported(m_importer, &Importer::sigImport);
    const QString transcript = source("orig.txt", "transcript");
    fill("Talk", source("talk.mp3", QByteArray(60000, 'a')), transcript,
        source("tran.txt", "translation"));
    QVERIFY(button("btnImport")->isEnabled());
    // The transcript vanishes after the form was checked: the audio is copied first, then
    // the second copy fails.
    QVERIFY(QFile::remove(transcript));
    ModalCatcher catcher;
    QTest::mouseClick(button("btnImport"), Qt::LeftButton);

    QCOMPARE(catcher.boxTexts.size(), 1);
    QVERIFY2(catcher.boxTexts.first().contains("orig.txt"), qPrintable(catcher.boxTexts.first()));
    QCOMPARE(imported.size(), 0);
    QCOMPARE(QDir("workspace").entryList(QDir::Files), QStringList());
    QCOMPARE(m_panel->findChild<QTreeWidget *>("imports")->topLevelItemCount(), 1);
    QVERIFY(!QFile::exists("import.xml"));
    // The learner's entries stay for another try.
    QVERIFY(m_importer->isVisible());
    QCOMPARE(edit("matName")->text(), QStringLiteral("Talk"));
}

void TestImporter::categoryFoundByTranslatedTitle_data()
{
    QTest::addColumn<QString>("storedTitle");
    QTest::addColumn<int>("categories");
    QTest::newRow("current wording") << mater("_TEXT_IMPORTED_") << 1;
    QTest::newRow("wording of another language") << "用户导入的材料" << 2;
}

void TestImporter::categoryFoundByTranslatedTitle()
{
    QFETCH(QString, storedTitle);
    QFETCH(int, categories);
    writeBytes("workspace/old_0.mp3", QByteArray(60000, 'o'));
    writeBytes("import.xml",
        ("<vornask version=\"1.0\"><train folded=\"no\"><title>" + storedTitle
            + "</title><case learned=\"old_0.mp3\" url=\"old_0.mp3\"><title>Old</title></case>"
              "</train></vornask>")
            .toUtf8());
    openImporter();
    fill("New", source("talk.mp3", "audio"), source("o.txt", "o"), source("t.txt", "t"));
    QTest::mouseClick(button("btnImport"), Qt::LeftButton);
    auto *imports = m_panel->findChild<QTreeWidget *>("imports");
    QCOMPARE(imports->topLevelItemCount(), 1 + categories);
    QTreeWidgetItem *last = imports->topLevelItem(categories);
    QCOMPARE(last->text(0), mater("_TEXT_IMPORTED_"));
    QCOMPARE(childTitles(last).last(), QStringLiteral("New"));
    QCOMPARE(childTitles(imports->topLevelItem(1)).first(), QStringLiteral("Old"));
}

QTEST_MAIN(TestImporter)
#include "tst_importer.moc"
