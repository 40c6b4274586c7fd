// The trainer's logic that needs no window: log records, the model player's arithmetic and the
// training's naming rules.
#include "logmessagehandler.h"
#include "playerlogic.h"
#include "trainingrules.h"

#include <QtTest>

using namespace PlayerLogic;
using namespace TrainingRules;

namespace {

QByteArray loggedWithoutStamps()
{
    QFile file(QStringLiteral("zorva.log"));
    const QString log = QString::fromLatin1(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    return QString(log).replace(QRegularExpression(QStringLiteral("\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\]")), QStringLiteral("[]")).toLatin1();
}

void log(QtMsgType type, const QString &text)
{
    logMessageHandler(type, QMessageLogContext(), text);
}

// "name@minutes" entries: a recording last modified `minutes` after nine o'clock.
QString chosenRepeat(const QStringList &entries)
{
    QVector<RecordingFile> files;
    for (const QString &entry : entries)
        files.append({entry.section(QLatin1Char('@'), 0, 0),
                      QDateTime(QDate(2026, 3, 1), QTime(9, 0)).addSecs(60 * entry.section(QLatin1Char('@'), 1).toInt())});
    return chooseRepeat(files);
}

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void logRecords();
    void logThreadsNeverInterleave();
    void playerArithmetic();
    void names();
    void repeatChoice();
};

void TestRules::logRecords()
{
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
    log(QtDebugMsg, QStringLiteral("hello"));
    log(QtInfoMsg, QStringLiteral("i"));
    log(QtWarningMsg, QStringLiteral("%1 of %2")); // placeholders in a message stay as they are
    log(QtCriticalMsg, QStringLiteral("源语")); // UTF-8 even where the locale cannot carry it
    QCOMPARE(loggedWithoutStamps(), QByteArray("\r\nDebug[]: hello\n\n\r\nInfo[]: i\n\n\r\nWarning[]: %1 of %2\n\n"
                                               "\r\nCritical[]: \xe6\xba\x90\xe8\xaf\xad\n\n"));
}

void TestRules::logThreadsNeverInterleave()
{
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()));
    // Long texts make a torn record likely if two appends overlap.
    QScopedPointer<QThread> recorder(QThread::create([] {
        for (int i = 0; i < 400; ++i)
            log(QtDebugMsg, QString(300, QLatin1Char('r')));
    }));
    recorder->start();
    for (int i = 0; i < 400; ++i)
        log(QtDebugMsg, QString(300, QLatin1Char('g')));
    QVERIFY(recorder->wait(60000));
    QCOMPARE(loggedWithoutStamps().count("\r\nDebug[]: " + QByteArray(300, 'g') + "\n\n"), 400);
    QCOMPARE(loggedWithoutStamps().count("\r\nDebug[]: " + QByteArray(300, 'r') + "\n\n"), 400);
}

void TestRules::playerArithmetic()
{
    QCOMPARE(markFraction(5000, 0), 0.0); // nothing loaded: no division by zero
    QCOMPARE(markFraction(50000, 40000), 1.0); // marks outlive a longer material
    QVERIFY(setMarkIn({0, 5000}, true, 9000) == (Marks{9000, 9000})); // pushes mark-out along
    QVERIFY(setMarkOut({9000, 20000}, true, 7000) == (Marks{7000, 7000}));
    QVERIFY(setMarkIn({3000, 1000}, false, 0) == (Marks{3000, 3000})); // stopped: mark-in stays
    QVERIFY(nudgeMarkIn({50, 5000}, -markStep) == (Marks{0, 5000}));
    QVERIFY(nudgeMarkIn({4950, 5000}, markStep) == (Marks{5000, 5000}));
    QVERIFY(nudgeMarkOut({4950, 5000}, -markStep, 9000) == (Marks{4950, 4950}));
    QVERIFY(nudgeMarkOut({1000, 8950}, markStep, 9000) == (Marks{1000, 9000}));
    QVERIFY(nudgeMarkOut({1000, 5000}, markStep, 0) == (Marks{1000, 5000})); // length not known yet: the loop stays
    QVERIFY(resetMarkOut({1000, 5000}, 0) == (Marks{1000, 5000}));
    QVERIFY(resetMarkOut({8000, 5000}, 7000) == (Marks{7000, 7000}));
    QVERIFY(loopDecision(5000, {10000, 20000}, 60000).seekToMarkIn);
    QVERIFY(loopDecision(20100, {10000, 20000}, 60000).seekToMarkIn);
    QVERIFY(!loopDecision(15000, {10000, 20000}, 60000).seekToMarkIn);
    QVERIFY(!loopDecision(30000, {7000, 7000}, 60000).seekToMarkIn); // equal marks: no loop
}

void TestRules::names()
{
    // Removing every ".mp3" would give "ab" and miss the transcript a.mp3b.txt.
    QCOMPARE(baseNameFromAudioPath(QStringLiteral("./workspace/a.mp3b.mp3")), QStringLiteral("a.mp3b"));
    // "." and ".." would lead a material's folders out of the workspace.
    QCOMPARE(fileNameOf(QStringLiteral("./workspace/..")), QString());
}

void TestRules::repeatChoice()
{
    QCOMPARE(chosenRepeat({}), QStringLiteral("1"));
    // Listings need not come in name order; the highest repeat counts, not the last entry.
    QCOMPARE(chosenRepeat({"34.mp3", "11.mp3", "21.mp3", "61.mp3", "zz.mp3"}), QStringLiteral("4"));
    QCOMPARE(chosenRepeat({"11.mp3@5", "21.mp3@4", "31.mp3@1", "41.mp3@3", "52.mp3@2"}), QStringLiteral("3"));
    // A repeat without any file was never practised: it comes before every used one.
    QCOMPARE(chosenRepeat({"11.mp3@1", "21.mp3@2", "41.mp3@4", "52.mp3@5"}), QStringLiteral("3"));
    // Judged by the newest recording of each repeat, a repeat practised again moves to the back
    // instead of being chosen for ever (recording over a file keeps its creation time).
    QStringList files{"11.mp3@1", "12.mp3@1", "21.mp3@2", "31.mp3@3", "41.mp3@4", "51.mp3@5"};
    QStringList chosen;
    for (int pass = 1; pass <= 6; ++pass) {
        chosen << chosenRepeat(files);
        files.replaceInStrings(QRegularExpression(QStringLiteral("^") + chosen.last() + QStringLiteral("1\\.mp3@.*")),
                               chosen.last() + QStringLiteral("1.mp3@%1").arg(60 * pass));
    }
    QCOMPARE(chosen, (QStringList{"1", "2", "3", "4", "5", "1"}));
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
