// The pure parts of take feedback: the ear-voice span's pairing of phrase onsets and the take
// log's care for a file it cannot read. Real takes are measured in tst_recorder and tst_zorva.
#include "takefigures.h"
#include "takelog.h"

#include <QtTest>

class TestTakes : public QObject
{
    Q_OBJECT

private slots:
    void earVoiceSpan_data();
    void earVoiceSpan();
    void damagedLogIsKeptAside();
};

void TestTakes::earVoiceSpan_data()
{
    QTest::addColumn<QVector<double>>("model"); // phrase onsets, seconds of the model
    QTest::addColumn<QVector<double>>("take"); // seconds of the take
    QTest::addColumn<double>("takeStart"); // where the model was when the take began
    QTest::addColumn<double>("median");
    QTest::addColumn<double>("p90");
    QTest::newRow("phrases further apart than the lag") << QVector<double>{0, 4, 8, 12} << QVector<double>{2, 6, 10, 14} << 0.0 << 2.0 << 2.0;
    // Pairing each learner phrase with the model phrase just before it would give 0.5 s.
    QTest::newRow("lag longer than the phrases") << QVector<double>{0, 1.5, 3.1, 4.5, 6, 7.4, 9} << QVector<double>{2, 3.5, 5, 6.5, 8, 9.5, 11}
                                                 << 0.0 << 2.0 << 2.1;
    QTest::newRow("take begun late in the model") << QVector<double>{30, 34, 38} << QVector<double>{2.5, 6.5, 10.7} << 30.0 << 2.5 << 2.7;
    QTest::newRow("nothing said after the model") << QVector<double>{10} << QVector<double>{1, 5} << 0.0 << -1.0 << -1.0;
}

void TestTakes::earVoiceSpan()
{
    QFETCH(QVector<double>, model);
    QFETCH(QVector<double>, take);
    QFETCH(double, takeStart);
    const TakeMeasure::EarVoiceSpan span = TakeMeasure::earVoiceSpan({model.begin(), model.end()}, {take.begin(), take.end()}, takeStart);
    QFETCH(double, median);
    QFETCH(double, p90);
    QCOMPARE(qRound(span.median * 1000), qRound(median * 1000));
    QCOMPARE(qRound(span.p90 * 1000), qRound(p90 * 1000));
}

// A log that cannot be read is not written over: the next save puts it aside.
void TestTakes::damagedLogIsKeptAside()
{
    QTemporaryDir dir;
    QFile damaged(dir.filePath(TakeLog::fileName()));
    QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("{\"passes\": {\"1\"") > 0);
    damaged.close();
    TakeLog log(dir.path());
    QVERIFY(!log.load());
    log.setFigures(1, 2, TakeFigures{});
    QVERIFY(log.save() && log.load() && log.figures(1, 2));
    QFile kept(damaged.fileName() + QStringLiteral(".damaged"));
    QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == "{\"passes\": {\"1\"");
}

QTEST_GUILESS_MAIN(TestTakes)
#include "tst_takes.moc"
