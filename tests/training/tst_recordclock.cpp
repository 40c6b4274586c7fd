#include "recordclock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class RecordClockTest : public QObject
{
    Q_OBJECT
private slots:
    void clockText_data();
    void clockText();
    void unlockedRepeats_data();
    void unlockedRepeats();
    void folderListing_data();
    void folderListing();
};

void RecordClockTest::clockText_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("countdown start") << 3 << "00:03";
    QTest::newRow("minute and seconds") << 65 << "01:05";
    QTest::newRow("an hour stays in minutes") << 3600 << "60:00";
    QTest::newRow("three-digit minutes widen") << 6000 << "100:00";
}

void RecordClockTest::clockText()
{
    QFETCH(int, seconds);
    QTEST(recordClockText(seconds), "text");
}

void RecordClockTest::unlockedRepeats_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("unlocked");
    QTest::newRow("nothing recorded") << QStringList() << 0;
    QTest::newRow("last file 3.txt") << QStringList{"11.mp3", "12.mp3", "3.txt"} << 3;
    QTest::newRow("last 52.mp3") << QStringList{"11.mp3", "35.mp3", "52.mp3"} << 5;
    // The first character counts, not the number: 12 is repeat 1, sentence 2.
    QTest::newRow("only repeat one") << QStringList{"10.mp3", "11.mp3", "12.mp3"} << 1;
    QTest::newRow("digit above five") << QStringList{"11.mp3", "61.mp3"} << 0;
    QTest::newRow("full-width digit") << QStringList{QStringLiteral("\uFF13.mp3")} << 0;
    QTest::newRow("empty name") << QStringList{QString()} << 0;
}

void RecordClockTest::unlockedRepeats()
{
    QFETCH(QStringList, names);
    QTEST(unlockedRepeatCount(names), "unlocked");
}

void RecordClockTest::folderListing_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listing");
    // Name order ignoring case, so "B" sorts between "a" and "c".
    QTest::newRow("case ignored") << QStringList{"c.txt", "B.mp3", "a.mp3"}
                                  << QStringList{"a.mp3", "B.mp3", "c.txt"};
    QTest::newRow("by name, not by number") << QStringList{"3.txt", "12.mp3", "11.mp3"}
                                            << QStringList{"11.mp3", "12.mp3", "3.txt"};
}

void RecordClockTest::folderListing()
{
    QFETCH(QStringList, files);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString &name : files)
        QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    // A folder sorting last must not be taken for the last recording.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("zz")));
    QTEST(folderFileNamesByName(dir.path()), "listing");
    QVERIFY(folderFileNamesByName(dir.filePath(QStringLiteral("missing"))).isEmpty());
    // An empty path is no folder, not the working directory.
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(folderFileNamesByName(QString()).isEmpty());
}

QTEST_GUILESS_MAIN(RecordClockTest)
#include "tst_recordclock.moc"
