#include "importer.h"
#include "librarytest.h"
#include "modalcatcher.h"
#include "octimgbtn.h"
#include "testpaths.h"
#include "zorvaresources.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTranslator>
#include <optional>

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
    void failedCopyListsNothing();
    void categoryFoundByTranslatedTitle_data();
    void categoryFoundByTranslatedTitle();

private:
    void openImporter();
    QLineEdit *edit(const char *name) const { return m_importer->findChild<QLineEdit *>(name); }
    OctImgBtn *button(const char *name) const { return m_importer->findChild<OctImgBtn *>(name); }
    void fill(const QStringList &fields); // name, audio, transcript, translation
    void importAs(const QString &name, const QString &audio);
    QTreeWidget *imports() const { return m_panel->findChild<QTreeWidget *>("imports"); }

    QTranslator m_translator;
    std::optional<WorkingDir> m_work;
    std::unique_ptr<Mater> m_panel;
    Importer *m_importer = nullptr;
};

namespace {
// A file the learner picks from elsewhere; returns its absolute path.
QString source(const QString &name, const QByteArray &bytes = "content")
{
    QDir().mkpath("sources");
    writeBytes("sources/" + name, bytes);
    return QDir::current().absoluteFilePath("sources/" + name);
}
} // namespace

void TestImporter::initTestCase()
{
    zorvaInitResources();
    QVERIFY(m_translator.load("app", TestPaths::stageDir() + "/translations"));
    QCoreApplication::installTranslator(&m_translator);
    QVERIFY(mater("_TEXT_IMPORTED_") != QLatin1String("_TEXT_IMPORTED_"));
    qputenv("ZORVA_CONTENT_URL", "http://127.0.0.1:1"); // no catalogue wanted here
}

void TestImporter::init()
{
    m_work.emplace();
}

void TestImporter::cleanup()
{
    m_importer = nullptr;
    m_panel.reset();
    m_work.reset();
}

// Opened the learner's way: a click on the import entry of the imports tab.
void TestImporter::openImporter()
{
    m_panel = openPanel();
    QTreeWidget *tree = showTree(m_panel.get(), "imports");
    clickCell(tree, tree->topLevelItem(0), 0);
    m_importer = m_panel->findChild<Importer *>();
    QTRY_VERIFY(m_importer->isVisible());
}

void TestImporter::fill(const QStringList &fields)
{
    edit("matName")->setText(fields.value(0));
    edit("mp3Name")->setText(fields.value(1));
    edit("origTxt")->setText(fields.value(2));
    edit("TranTxt")->setText(fields.value(3));
}

void TestImporter::importAs(const QString &name, const QString &audio)
{
    fill({ name, audio, source("o.txt", name.toUtf8() + " transcript"),
        source("t.txt", name.toUtf8() + " translation") });
    QVERIFY(button("btnImport")->isEnabled());
    QTest::mouseClick(button("btnImport"), Qt::LeftButton);
}

void TestImporter::uniqueImportName_data()
{
    QTest::addColumn<QString>("sourcePath");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first import") << "/music/talk.mp3" << QStringList() << "talk_0.mp3";
    QTest::newRow("second import") << "talk.mp3" << QStringList { "talk_0.mp3" } << "talk_1.mp3";
    // A count of matching files would give talk_1 here and overwrite that material.
    QTest::newRow("first one removed") << "talk.mp3" << QStringList { "talk_1.mp3" } << "talk_0.mp3";
    QTest::newRow("leftover translation")
        << "talk.mp3" << QStringList { "talk_0@T.txt" } << "talk_1.mp3";
    QTest::newRow("other stems do not count")
        << "talk.mp3" << QStringList { "talkative_0.mp3", "talk.mp3" } << "talk_0.mp3";
    QTest::newRow("several dots") << "/m/unit.1.mp3" << QStringList() << "unit.1_0.mp3";
    QTest::newRow("no suffix") << "/m/talk" << QStringList() << "talk_0";
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
    QTest::addColumn<QStringList>("fields"); // name, audio, transcript, translation
    QTest::addColumn<bool>("enabled");
    QTest::newRow("complete") << QStringList { "Talk", "a.mp3", "a.txt", "b.txt" } << true;
    QTest::newRow("empty name") << QStringList { "", "a.mp3", "a.txt", "b.txt" } << false;
    QTest::newRow("audio is a folder") << QStringList { "Talk", "dir", "a.txt", "b.txt" } << false;
    QTest::newRow("transcript missing") << QStringList { "Talk", "a.mp3", "no.txt", "b.txt" } << false;
    QTest::newRow("translation empty") << QStringList { "Talk", "a.mp3", "a.txt", "" } << false;
}

void TestImporter::importNeedsNameAndThreeFiles()
{
    QFETCH(QStringList, fields);
    QFETCH(bool, enabled);
    for (const char *file : { "a.mp3", "a.txt", "b.txt" })
        source(file);
    QVERIFY(QDir().mkpath("sources/dir"));
    for (int i = 1; i < fields.size(); ++i) {
        if (!fields[i].isEmpty())
            fields[i] = QDir::current().absoluteFilePath("sources/" + fields[i]);
    }
    Importer importer(nullptr);
    m_importer = &importer;
    QVERIFY(!button("btnImport")->isEnabled());
    fill(fields);
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
    QTest::newRow("audio") << "btnGetMp3" << "mp3Name" << "定位音频文件" << "mp3 File ( *.mp3 )" << true;
    QTest::newRow("transcript")
        << "btnGetOrig" << "origTxt" << "定位原文文件" << "txt File ( *.txt )" << true;
    QTest::newRow("translation, cancelled")
        << "btnGetTrans" << "TranTxt" << "定位译文文件" << "txt File ( *.txt )" << false;
}

void TestImporter::browseFillsItsField()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, editName);
    QFETCH(QString, caption);
    QFETCH(QString, filter);
    QFETCH(bool, accept);
    const QString chosen = source("pick.any");
    Importer importer(nullptr);
    m_importer = &importer;
    importer.show();
    edit(qPrintable(editName))->setText("before");

    QStringList seen; // caption, then filters; anything else modal is reported and closed
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog && modal) {
            seen << modal->metaObject()->className();
            modal->close();
        }
        if (!dialog)
            return;
        seen << dialog->windowTitle() << dialog->nameFilters();
        // Typed into the name field: selecting through the dialog's folder model would race
        // with the model filling in the background.
        if (accept)
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(chosen);
        static_cast<QDialog *>(dialog)->done(accept ? QDialog::Accepted : QDialog::Rejected);
    });
    poll.start(20);
    QTest::mouseClick(button(qPrintable(buttonName)), Qt::LeftButton);
    QCOMPARE(seen, (QStringList { caption, filter }));
    QCOMPARE(edit(qPrintable(editName))->text(), accept ? chosen : QStringLiteral("before"));
    // An action button: a click never leaves it checked (which would hide its caption).
    QVERIFY(!button(qPrintable(buttonName))->isChecked());
    m_importer = nullptr;
}

void TestImporter::importsCopiesAndLists_data()
{
    QTest::addColumn<QString>("sourceName");
    QTest::addColumn<QString>("stem"); // of the copies in ./workspace, before _0 and _1
    QTest::newRow("plain") << "talk.mp3" << "talk";
    QTest::newRow("several dots") << "unit.1.mp3" << "unit.1";
}

// The same file imported twice: two materials, each with its own texts.
void TestImporter::importsCopiesAndLists()
{
    QFETCH(QString, sourceName);
    QFETCH(QString, stem);
    openImporter();
    QSignalSpy imported(m_importer, &Importer::sigImport);
    const QString audio = source(sourceName, QByteArray(60000, '0'));
    importAs("First", audio);
    QVERIFY(!m_importer->isVisible());
    QVERIFY(edit("matName")->text().isEmpty() && edit("mp3Name")->text().isEmpty());
    writeBytes(audio, QByteArray(60000, '1'));
    importAs("Second", audio);

    const QStringList names { "First", "Second" };
    for (int i = 0; i < 2; ++i) {
        const QString base = QStringLiteral("workspace/%1_%2").arg(stem).arg(i);
        QCOMPARE(imported.value(i), (QList<QVariant> { names[i], base.mid(10) + ".mp3" }));
        QCOMPARE(readBytes(base + ".mp3"), QByteArray(60000, static_cast<char>('0' + i)));
        QCOMPARE(readBytes(base + ".txt"), names[i].toUtf8() + " transcript");
        QCOMPARE(readBytes(base + "@T.txt"), names[i].toUtf8() + " translation");
    }
    QCOMPARE(titles(imports()), (QStringList { mater("_TEXT_IMPORT_"), mater("_TEXT_IMPORTED_") }));
    QCOMPARE(titles(imports(), imports()->topLevelItem(1)), names);
    QTreeWidgetItem *entry = imports()->topLevelItem(1)->child(1);
    QCOMPARE(entry->text(3), stem + "_1.mp3");
    QVERIFY(readBytes("import.xml")
                .contains(QStringLiteral("<case learned=\"%1_1.mp3\" url=\"%1_1.mp3\">")
                              .arg(stem)
                              .toUtf8()));

    // The imported material studies from where it was copied to.
    QSignalSpy study(m_panel.get(), &Mater::switchSig);
    clickCell(imports(), entry, 1);
    QCOMPARE(study.value(0).value(0).toString(), "./workspace/" + stem + "_1.mp3");
}

void TestImporter::failedCopyListsNothing()
{
    openImporter();
    QSignalSpy imported(m_importer, &Importer::sigImport);
    const QString transcript = source("orig.txt");
    fill({ "Talk", source("talk.mp3", QByteArray(60000, 'a')), transcript, source("tran.txt") });
    // The transcript vanishes after the form was checked: the audio is copied first, then
    // the second copy fails.
    QVERIFY(QFile::remove(transcript));
    ModalCatcher catcher;
    QTest::mouseClick(button("btnImport"), Qt::LeftButton);

    QCOMPARE(catcher.boxTexts.size(), 1);
    QVERIFY2(catcher.boxTexts.first().contains("orig.txt"), qPrintable(catcher.boxTexts.first()));
    QCOMPARE(imported.size(), 0);
    QCOMPARE(QDir("workspace").entryList(QDir::Files), QStringList());
    QCOMPARE(imports()->topLevelItemCount(), 1);
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
    writeBytes("import.xml", listOf(storedTitle, { caseOf("Old", "old_0.mp3", "old_0.mp3") }));
    openImporter();
    importAs("New", source("talk.mp3"));
    QCOMPARE(imports()->topLevelItemCount(), 1 + categories);
    QTreeWidgetItem *last = imports()->topLevelItem(categories);
    QCOMPARE(last->text(0), mater("_TEXT_IMPORTED_"));
    QCOMPARE(titles(imports(), last).last(), QStringLiteral("New"));
    QCOMPARE(titles(imports(), imports()->topLevelItem(1)).first(), QStringLiteral("Old"));
}

QTEST_MAIN(TestImporter)
#include "tst_importer.moc"
