#include "materialpaths.h"

#include <QTest>
#include <QTreeWidgetItem>

using namespace MaterialPaths;

class TestMaterialPaths : public QObject
{
    Q_OBJECT
private slots:
    void fileNameOf_data();
    void fileNameOf();
    void materialBaseName_data();
    void materialBaseName();
    void firstFreeName_data();
    void firstFreeName();
    void damagedAudioSize_data();
    void damagedAudioSize();
    void isMaterial_data();
    void isMaterial();
    void onlineListUrl_data();
    void onlineListUrl();
};

void TestMaterialPaths::fileNameOf_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bare") << "lesson01.mp3" << "lesson01.mp3";
    QTest::newRow("url") << "http://h:8471/m/lesson01.mp3" << "lesson01.mp3";
    QTest::newRow("url with query") << "http://h/m/a.mp3?sig=1#x" << "a.mp3";
    QTest::newRow("url escaped") << "http://h/m/my%20talk.mp3" << "my talk.mp3";
    QTest::newRow("relative path") << "./workspace/a@T.txt" << "a@T.txt";
    QTest::newRow("windows path") << "C:\\music\\talk.mp3" << "talk.mp3";
    QTest::newRow("windows drive url-like") << "C:/music/talk.mp3" << "talk.mp3";
    QTest::newRow("trailing slash") << "http://h/m/" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("traversal stripped") << "../../etc/passwd" << "passwd";
    QTest::newRow("dot dot") << ".." << "";
    QTest::newRow("dot dot at end") << "http://h/a/.." << "";
}

void TestMaterialPaths::fileNameOf()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(MaterialPaths::fileNameOf(input), expected);
}

void TestMaterialPaths::materialBaseName_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("audio") << "lesson01.mp3" << "lesson01";
    QTest::newRow("translation keeps @T") << "lesson01@T.txt" << "lesson01@T";
    // An imported unit.1.mp3 becomes unit.1_0.mp3; its texts are unit.1_0.txt, not unit.txt.
    QTest::newRow("several dots") << "unit.1_0.mp3" << "unit.1_0";
    QTest::newRow("no extension") << "README" << "README";
    QTest::newRow("url") << "http://h/a/b.c.mp3" << "b.c";
}

void TestMaterialPaths::materialBaseName()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(MaterialPaths::materialBaseName(input), expected);
}

void TestMaterialPaths::firstFreeName_data()
{
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QString>("expected");
    QTest::newRow("free") << QStringList{} << "custom.xml.broken";
    QTest::newRow("taken once") << QStringList{"custom.xml.broken"} << "custom.xml.broken.1";
    QTest::newRow("gap is reused") << QStringList{"custom.xml.broken", "custom.xml.broken.2"}
                                   << "custom.xml.broken.1";
    QTest::newRow("several") << QStringList{"custom.xml.broken", "custom.xml.broken.1", "custom.xml.broken.2"}
                             << "custom.xml.broken.3";
}

void TestMaterialPaths::firstFreeName()
{
    QFETCH(QStringList, taken);
    QFETCH(QString, expected);
    const QString name = MaterialPaths::firstFreeName(
        "custom.xml.broken", [&](const QString &candidate) { return taken.contains(candidate); });
    QCOMPARE(name, expected);
}

void TestMaterialPaths::damagedAudioSize_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("damaged");
    QTest::newRow("missing") << qint64(0) << true;
    QTest::newRow("one below") << qint64(51199) << true;
    QTest::newRow("exactly the limit") << qint64(51200) << false;
    QTest::newRow("large") << qint64(5000000) << false;
}

void TestMaterialPaths::damagedAudioSize()
{
    QFETCH(qint64, size);
    QFETCH(bool, damaged);
    QCOMPARE(isDamagedAudioSize(size), damaged);
}

void TestMaterialPaths::isMaterial_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<bool>("material");
    QTest::newRow("folder") << QStringList{"title", "", ""} << false;
    QTest::newRow("key") << QStringList{"t", "", "", "a.mp3"} << true;
    QTest::newRow("url") << QStringList{"t", "", "", "", "a.mp3"} << true;
    QTest::newRow("online audio only") << QStringList{"t", "", "http://h/a.mp3"} << false;
}

void TestMaterialPaths::isMaterial()
{
    QFETCH(QStringList, columns);
    QFETCH(bool, material);
    const QTreeWidgetItem item(columns);
    QCOMPARE(MaterialPaths::isMaterial(&item), material);
    QVERIFY(!MaterialPaths::isMaterial(nullptr));
}

void TestMaterialPaths::onlineListUrl_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "http://127.0.0.1:8471" << "http://127.0.0.1:8471/inter/data.php";
    QTest::newRow("trailing slash") << "http://h:1/" << "http://h:1/inter/data.php";
    QTest::newRow("below a path") << "http://h/content" << "http://h/content/inter/data.php";
}

void TestMaterialPaths::onlineListUrl()
{
    QFETCH(QString, base);
    QFETCH(QString, expected);
    QCOMPARE(MaterialPaths::onlineListUrl(base).toString(), expected);
}

QTEST_APPLESS_MAIN(TestMaterialPaths)
#include "tst_materialpaths.moc"
