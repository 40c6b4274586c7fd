#include "updaterfunctions.h"

#include <QTest>

using namespace UpdaterFunctions;

class TestUpdaterFunctions : public QObject
{
    Q_OBJECT
private slots:
    void archiveUrls_data();
    void archiveUrls();
    void partRange_data();
    void partRange();
    void safeEntryPath_data();
    void safeEntryPath();
};

// The versions come in as the updater's two arguments.
void TestUpdaterFunctions::archiveUrls_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("versions");
    QTest::newRow("three newer") << "1306" << "1309" << QStringList{"1307", "1308", "1309"};
    QTest::newRow("trailing newline") << "1306" << "1307\n" << QStringList{"1307"};
    QTest::newRow("same") << "1306" << "1306" << QStringList();
    QTest::newRow("older target") << "1306" << "1305" << QStringList();
    QTest::newRow("target not a number") << "1306" << "0x51B" << QStringList();
    QTest::newRow("no overflow at the top") << "2147483646" << "2147483647" << QStringList{"2147483647"};
    QStringList hundred;
    for (int version = 1307; version <= 1406; ++version)
        hundred << QString::number(version);
    // A bogus version file must not build millions of addresses (it used to exhaust memory).
    QTest::newRow("bounded span") << "1306" << "2147483647" << hundred;
}

void TestUpdaterFunctions::archiveUrls()
{
    QFETCH(QString, current);
    QFETCH(QString, target);
    QFETCH(QStringList, versions);
    QStringList urls;
    for (const QString &version : versions)
        urls << QStringLiteral("http://h:1/software/ZORVA/upgrade/%1.zip").arg(version);
    QCOMPARE(UpdaterFunctions::archiveUrls(QStringLiteral("http://h:1"), parseVersionNumber(current),
                                           parseVersionNumber(target)),
             urls);
}

void TestUpdaterFunctions::partRange_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("parts");
    QTest::addColumn<qint64>("lastStart");
    QTest::newRow("two over 100") << qint64(100) << 2 << qint64(49);
    QTest::newRow("three over 101") << qint64(101) << 3 << qint64(66);
    QTest::newRow("more parts than bytes") << qint64(5) << 9 << qint64(3);
    // 32-bit arithmetic would overflow here and request negative offsets.
    QTest::newRow("3 GB in two") << qint64(3000000000) << 2 << qint64(1499999999);
    QTest::newRow("1.5 GB in eight") << qint64(1500000000) << 8 << qint64(1312499999);
}

// Neighbouring parts overlap by a byte and never leave a gap; the last ends at the size.
void TestUpdaterFunctions::partRange()
{
    QFETCH(qint64, size);
    QFETCH(int, parts);
    QFETCH(qint64, lastStart);
    qint64 covered = 0; // bytes 0 .. covered-1 are requested
    for (int i = 0; i < parts; ++i) {
        const auto range = UpdaterFunctions::partRange(size, i, parts);
        QVERIFY(range.first >= 0 && range.first <= covered && range.second >= range.first);
        covered = range.second + 1;
    }
    QCOMPARE(UpdaterFunctions::partRange(size, parts - 1, parts), qMakePair(lastStart, size));
}

void TestUpdaterFunctions::safeEntryPath_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("path");
    QTest::newRow("nested file") << "skin/default/x.png" << "skin/default/x.png";
    QTest::newRow("folder") << "skin/new/" << "skin/new/";
    QTest::newRow("dot component") << "./a/./b.txt" << "a/b.txt";
    QTest::newRow("backslashes") << "skin\\x.svg" << "skin/x.svg";
    QTest::newRow("parent") << "../x" << "";
    QTest::newRow("parent inside") << "a/../../x" << "";
    QTest::newRow("parent with backslash") << "..\\x" << "";
    QTest::newRow("absolute") << "/etc/x" << "";
    QTest::newRow("drive letter") << "C:/x" << "";
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
