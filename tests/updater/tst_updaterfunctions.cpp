#include "updaterfunctions.h"

#include <QTest>
#include <QUrl>

using namespace UpdaterFunctions;

class TestUpdaterFunctions : public QObject
{
    Q_OBJECT
private slots:
    void parseVersionNumber_data();
    void parseVersionNumber();
    void archiveUrls_data();
    void archiveUrls();
    void downloadFileName_data();
    void downloadFileName();
    void partRange_data();
    void partRange();
    void partsCoverWholeFile_data();
    void partsCoverWholeFile();
    void safeEntryPath_data();
    void safeEntryPath();
};

void TestUpdaterFunctions::parseVersionNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("version");
    QTest::newRow("plain") << "1306" << 1306;
    QTest::newRow("trailing newline") << "1308\n" << 1308;
    QTest::newRow("missing") << QString() << 0;
    QTest::newRow("words") << "latest" << 0;
    QTest::newRow("hexadecimal") << "0x51A" << 0;
    QTest::newRow("dotted") << "1.306" << 0;
}

void TestUpdaterFunctions::parseVersionNumber()
{
    QFETCH(QString, text);
    QFETCH(int, version);
    QCOMPARE(UpdaterFunctions::parseVersionNumber(text), version);
}

void TestUpdaterFunctions::archiveUrls_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("urls");
    const QString base = QStringLiteral("http://h:1/software/ZORVA/upgrade/");
    QTest::newRow("three newer") << 1306 << 1309
                                 << QStringList{base + "1307.zip", base + "1308.zip", base + "1309.zip"};
    QTest::newRow("one newer") << 1306 << 1307 << QStringList{base + "1307.zip"};
    QTest::newRow("same") << 1306 << 1306 << QStringList();
    QTest::newRow("older target") << 1306 << 1305 << QStringList();
    QTest::newRow("target unparsable") << 1306 << 0 << QStringList();
    QTest::newRow("no overflow at the top") << 2147483646 << 2147483647
                                            << QStringList{base + "2147483647.zip"};
}

void TestUpdaterFunctions::archiveUrls()
{
    QFETCH(int, current);
    QFETCH(int, target);
    QFETCH(QStringList, urls);
    QCOMPARE(UpdaterFunctions::archiveUrls(QStringLiteral("http://h:1"), current, target), urls);
}

void TestUpdaterFunctions::downloadFileName_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lastComponent");
    QTest::newRow("archive") << "http://h/software/ZORVA/upgrade/1307.zip" << "1307.zip" << "1307.zip";
    QTest::newRow("query ignored") << "http://h/a/b.zip?x=1" << "b.zip" << "b.zip";
    QTest::newRow("folder") << "http://h/a/" << "index.html" << "";
    QTest::newRow("host only") << "http://h" << "index.html" << "";
}

void TestUpdaterFunctions::downloadFileName()
{
    QFETCH(QString, url);
    QFETCH(QString, name);
    QFETCH(QString, lastComponent);
    QCOMPARE(UpdaterFunctions::downloadFileName(QUrl(url)), name);
    QCOMPARE(lastPathComponent(QUrl(url)), lastComponent);
}

void TestUpdaterFunctions::partRange_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("parts");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");
    QTest::newRow("single part") << qint64(1000) << 0 << 1 << qint64(0) << qint64(1000);
    QTest::newRow("first of two") << qint64(100) << 0 << 2 << qint64(0) << qint64(50);
    QTest::newRow("second of two") << qint64(100) << 1 << 2 << qint64(49) << qint64(100);
    QTest::newRow("uneven third") << qint64(10) << 2 << 3 << qint64(5) << qint64(10);
    // 32-bit arithmetic would overflow here and request negative offsets.
    QTest::newRow("3 GB in two") << qint64(3000000000) << 1 << 2 << qint64(1499999999) << qint64(3000000000);
    QTest::newRow("1.5 GB in eight") << qint64(1500000000) << 7 << 8 << qint64(1312499999) << qint64(1500000000);
}

void TestUpdaterFunctions::partRange()
{
    QFETCH(qint64, size);
    QFETCH(int, index);
    QFETCH(int, parts);
    QFETCH(qint64, start);
    QFETCH(qint64, end);
    const auto range = UpdaterFunctions::partRange(size, index, parts);
    QCOMPARE(range.first, start);
    QCOMPARE(range.second, end);
}

void TestUpdaterFunctions::partsCoverWholeFile_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("parts");
    QTest::newRow("7 over 1000") << qint64(1000) << 7;
    QTest::newRow("more parts than bytes") << qint64(5) << 9;
    QTest::newRow("3 over 101") << qint64(101) << 3;
}

// Each part must start no later than the byte after its predecessor's last byte.
void TestUpdaterFunctions::partsCoverWholeFile()
{
    QFETCH(qint64, size);
    QFETCH(int, parts);
    qint64 covered = 0; // bytes 0 .. covered-1 are requested
    for (int i = 0; i < parts; ++i) {
        const auto range = UpdaterFunctions::partRange(size, i, parts);
        QVERIFY(range.first >= 0);
        QVERIFY2(range.first <= covered, qPrintable(QStringLiteral("gap before part %1").arg(i)));
        covered = qMax(covered, range.second + 1);
    }
    QVERIFY(covered >= size);
}

void TestUpdaterFunctions::safeEntryPath_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("path");
    QTest::newRow("file") << "ZORVA" << "ZORVA";
    QTest::newRow("nested file") << "skin/default/x.png" << "skin/default/x.png";
    QTest::newRow("folder") << "skin/new/" << "skin/new/";
    QTest::newRow("dot component") << "./a/./b.txt" << "a/b.txt";
    QTest::newRow("backslashes") << "skin\\x.svg" << "skin/x.svg";
    QTest::newRow("parent") << "../x" << "";
    QTest::newRow("parent inside") << "a/../../x" << "";
    QTest::newRow("parent with backslash") << "..\\x" << "";
    QTest::newRow("absolute") << "/etc/x" << "";
    QTest::newRow("drive letter") << "C:/x" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("only slashes") << "//" << "";
}

void TestUpdaterFunctions::safeEntryPath()
{
    QFETCH(QString, entry);
    QFETCH(QString, path);
    QCOMPARE(UpdaterFunctions::safeEntryPath(entry), path);
}

QTEST_GUILESS_MAIN(TestUpdaterFunctions)
#include "tst_updaterfunctions.moc"
