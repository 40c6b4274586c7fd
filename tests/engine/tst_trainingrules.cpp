// Naming rules of the guided training: base names, sentence files and the repeat choice.
// (The main cases of the repeat choice run with real files in the training tests.)
#include "trainingrules.h"

#include <QtTest>

using namespace TrainingRules;

namespace {

const QDateTime start(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);

// "name@minutes" entries: a recording last modified `minutes` after the start.
QVector<RecordingFile> listing(const QStringList &entries)
{
    QVector<RecordingFile> files;
    for (const QString &entry : entries)
        files.append({ entry.section(QLatin1Char('@'), 0, 0),
            start.addSecs(60 * entry.section(QLatin1Char('@'), 1).toInt()) });
    return files;
}

} // namespace

class TestTrainingRules : public QObject
{
    Q_OBJECT

private slots:
    void baseName_data();
    void baseName();
    void sentenceOfStep();
    void sentencePresence_data();
    void sentencePresence();
    void chooseRepeat_data();
    void chooseRepeat();
    void repeatsCycleWhenRecordedOverInPlace();
};

void TestTrainingRules::baseName_data()
{
    QTest::addColumn<bool>("trainFolder");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("baseName");
    // Removing every ".mp3" would give "ab" and miss the transcript a.mp3b.txt.
    QTest::newRow("extension inside the name") << false << "./workspace/a.mp3b.mp3" << "a.mp3b";
    QTest::newRow("no extension") << false << "./workspace/talk" << "talk";
    QTest::newRow("parent folder") << false << "./workspace/.." << "";
    QTest::newRow("folder, extension inside") << true << "./workspace/train/a.mp3b.mp3/" << "a.mp3b";
    QTest::newRow("folder without the slash") << true << "./workspace/demo/l1.mp3" << "l1";
}

void TestTrainingRules::baseName()
{
    QFETCH(bool, trainFolder);
    QFETCH(QString, path);
    QFETCH(QString, baseName);
    QCOMPARE(trainFolder ? baseNameFromTrainFolder(path) : baseNameFromAudioPath(path), baseName);
}

void TestTrainingRules::sentenceOfStep()
{
    // Listening (3) and the practice set (7) record nothing; sentence 3 belongs to step 4.
    QVector<int> sentences;
    for (int step = -1; step <= 8; ++step)
        sentences << TrainingRules::sentenceOfStep(step);
    QCOMPARE(sentences, (QVector<int> { 0, 0, 1, 2, 0, 3, 4, 5, 0, 0 }));
}

void TestTrainingRules::sentencePresence_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("repeat");
    QTest::addColumn<QString>("present"); // one character per sentence, 'x' where it exists
    QTest::newRow("empty folder") << QStringList() << "1" << "-----";
    QTest::newRow("11 and 13") << QStringList { "11.mp3", "13.mp3" } << "1" << "x-x--";
    QTest::newRow("other repeats ignored")
        << QStringList { "11.mp3", "12.mp3", "23.mp3", "31.mp3" } << "2" << "--x--";
    QTest::newRow("demonstration 1 to 3")
        << QStringList { "1.mp3", "2.mp3", "3.mp3", "notes.txt" } << "" << "xxx--";
    // With an empty repeat, the learner's 12.mp3 is no demonstration of sentence 2.
    QTest::newRow("demonstration ignores recordings") << QStringList { "12.mp3" } << "" << "-----";
    QTest::newRow("no sentence")
        << QStringList { "10.mp3", "16.mp3", "11.wav", "12.mp3.part" } << "1" << "-----";
}

void TestTrainingRules::sentencePresence()
{
    QFETCH(QStringList, files);
    QFETCH(QString, repeat);
    QFETCH(QString, present);
    QString seen;
    for (bool exists : existingSentences(files, repeat))
        seen += exists ? QLatin1Char('x') : QLatin1Char('-');
    QCOMPARE(seen, present);
}

void TestTrainingRules::chooseRepeat_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("repeat");
    // Listings need not come in name order; the highest repeat counts, not the last entry.
    QTest::newRow("unsorted listing") << QStringList { "34.mp3", "11.mp3", "21.mp3" } << "4";
    QTest::newRow("foreign file sorts last") << QStringList { "21.mp3", "zz.mp3", "readme" } << "3";
    QTest::newRow("not a sentence") << QStringList { "11.mp3", "61.mp3", "17.mp3" } << "2";
    QTest::newRow("all used, equal times take the lowest")
        << QStringList { "21.mp3@7", "11.mp3@7", "31.mp3@7", "41.mp3@7", "51.mp3@7" } << "1";
    // A repeat without any file was never practised: it comes before every used one.
    QTest::newRow("all used, one repeat emptied")
        << QStringList { "11.mp3@1", "21.mp3@2", "41.mp3@4", "52.mp3@5" } << "3";
}

void TestTrainingRules::chooseRepeat()
{
    QFETCH(QStringList, files);
    QFETCH(QString, repeat);
    QCOMPARE(TrainingRules::chooseRepeat(listing(files)), repeat);
}

// Recording over a file keeps its creation time. Judged by the newest recording of each
// repeat, a repeat practised again moves to the back instead of being chosen forever.
void TestTrainingRules::repeatsCycleWhenRecordedOverInPlace()
{
    QVector<RecordingFile> files
        = listing({ "11.mp3@1", "12.mp3@1", "21.mp3@2", "31.mp3@3", "41.mp3@4", "51.mp3@5" });
    QStringList chosen;
    for (int pass = 1; pass <= 6; ++pass) {
        chosen << TrainingRules::chooseRepeat(files);
        // Only sentence 1 is recorded again; 12.mp3 stays from the first pass.
        for (RecordingFile &file : files) {
            if (file.name == chosen.last() + QStringLiteral("1.mp3"))
                file.modified = start.addSecs(3600 * pass);
        }
    }
    QCOMPARE(chosen, (QStringList { "1", "2", "3", "4", "5", "1" }));
}

QTEST_APPLESS_MAIN(TestTrainingRules)
#include "tst_trainingrules.moc"
