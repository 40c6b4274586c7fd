#include "materialpaths.h"

#include <QTest>

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
    void onlineListUrl_data();
    void onlineListUrl();
};

void TestMaterialPaths::fileNameOf_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("url with query") << "http://h/m/a.mp3?sig=1#x" << "a.mp3";
    QTest::newRow("url escaped") << "http://h/m/my%20talk.mp3" << "my talk.mp3";
    QTest::newRow("windows path") << "C:\\music\\talk.mp3" << "talk.mp3";
    QTest::newRow("windows drive, not a scheme") << "C:/music/talk.mp3" << "talk.mp3";
    QTest::newRow("trailing slash") << "http://h/m/" << "";
    // "." and ".." would lead a material's folders out of the workspace.
    QTest::newRow("traversal stripped") << "../../etc/passwd" << "passwd";
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
    QTest::newRow("translation keeps @T") << "lesson01@T.txt" << "lesson01@T";
    // An imported unit.1.mp3 becomes unit.1_0.mp3; its texts are unit.1_0.txt, not unit.txt.
    QTest::newRow("several dots") << "unit.1_0.mp3" << "unit.1_0";
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
    QTest::newRow("free") << QStringList {} << "list.broken";
    QTest::newRow("gap is reused") << QStringList { "list.broken", "list.broken.2" }
                                   << "list.broken.1";
    QTest::newRow("several") << QStringList { "list.broken", "list.broken.1" } << "list.broken.2";
}

void TestMaterialPaths::firstFreeName()
{
    QFETCH(QStringList, taken);
    QFETCH(QString, expected);
    QCOMPARE(MaterialPaths::firstFreeName(
                 "list.broken", [&](const QString &name) { return taken.contains(name); }),
        expected);
}

void TestMaterialPaths::onlineListUrl_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("expected");
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
