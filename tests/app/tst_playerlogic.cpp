#include "playerlogic.h"

#include <QtTest>

using namespace PlayerLogic;

Q_DECLARE_METATYPE(PlayerLogic::Marks)

namespace QTest {
template <>
char *toString(const PlayerLogic::Marks &marks)
{
    return qstrdup(QByteArray("in=" + QByteArray::number(marks.in) + " out=" + QByteArray::number(marks.out)));
}
} // namespace QTest

class TestPlayerLogic : public QObject
{
    Q_OBJECT

private slots:
    void timeText_data();
    void timeText();
    void jumps_data();
    void jumps();
    void markFraction_data();
    void markFraction();
    void setMarks_data();
    void setMarks();
    void nudges_data();
    void nudges();
    void loop_data();
    void loop();
};

void TestPlayerLogic::timeText_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "00:00:00";
    QTest::newRow("below a second") << qint64(999) << "00:00:00";
    QTest::newRow("seconds") << qint64(59999) << "00:00:59";
    QTest::newRow("one minute") << qint64(60000) << "00:01:00";
    QTest::newRow("last minute of the hour") << qint64(3599999) << "00:59:59";
    // The hour field always reads 00 and the minutes wrap: 62 min 5 s.
    QTest::newRow("past an hour") << qint64(3725000) << "00:02:05";
    QTest::newRow("unknown length") << qint64(-1) << "00:00:00";
}

void TestPlayerLogic::timeText()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(PlayerLogic::timeText(ms), text);
}

void TestPlayerLogic::jumps_data()
{
    QTest::addColumn<qint64>("current");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("backward");
    QTest::addColumn<qint64>("forward");
    QTest::newRow("near the start") << qint64(12000) << qint64(100000) << qint64(0) << qint64(42000);
    QTest::newRow("exactly one jump in") << qint64(30000) << qint64(100000) << qint64(0) << qint64(60000);
    QTest::newRow("near the end") << qint64(90000) << qint64(100000) << qint64(60000) << qint64(100000);
    QTest::newRow("landing on the end") << qint64(70000) << qint64(100000) << qint64(40000) << qint64(100000);
    QTest::newRow("nothing loaded") << qint64(0) << qint64(0) << qint64(0) << qint64(0);
}

void TestPlayerLogic::jumps()
{
    QFETCH(qint64, current);
    QFETCH(qint64, total);
    QFETCH(qint64, backward);
    QFETCH(qint64, forward);
    QCOMPARE(backwardTarget(current), backward);
    QCOMPARE(forwardTarget(current, total), forward);
}

void TestPlayerLogic::markFraction_data()
{
    QTest::addColumn<qint64>("mark");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<double>("fraction");
    QTest::newRow("start") << qint64(0) << qint64(40000) << 0.0;
    QTest::newRow("quarter") << qint64(10000) << qint64(40000) << 0.25;
    QTest::newRow("end") << qint64(40000) << qint64(40000) << 1.0;
    // Nothing loaded: would divide by zero.
    QTest::newRow("no media") << qint64(5000) << qint64(0) << 0.0;
    QTest::newRow("unknown length") << qint64(5000) << qint64(-1) << 0.0;
    // Marks survive a switch to a shorter material.
    QTest::newRow("beyond a shorter material") << qint64(50000) << qint64(40000) << 1.0;
}

void TestPlayerLogic::markFraction()
{
    QFETCH(qint64, mark);
    QFETCH(qint64, total);
    QFETCH(double, fraction);
    const double result = PlayerLogic::markFraction(mark, total);
    QVERIFY(qIsFinite(result));
    QCOMPARE(result, fraction);
}

void TestPlayerLogic::setMarks_data()
{
    QTest::addColumn<bool>("markIn");
    QTest::addColumn<Marks>("before");
    QTest::addColumn<bool>("positioned");
    QTest::addColumn<qint64>("current");
    QTest::addColumn<Marks>("after");
    QTest::newRow("in while playing") << true << Marks{0, 20000} << true << qint64(10000) << Marks{10000, 20000};
    QTest::newRow("in beyond out pushes out") << true << Marks{0, 5000} << true << qint64(9000) << Marks{9000, 9000};
    QTest::newRow("in while stopped keeps in") << true << Marks{3000, 8000} << false << qint64(0) << Marks{3000, 8000};
    QTest::newRow("in while stopped still raises out") << true << Marks{3000, 1000} << false << qint64(0)
                                                       << Marks{3000, 3000};
    QTest::newRow("out while playing") << false << Marks{10000, 0} << true << qint64(20000) << Marks{10000, 20000};
    QTest::newRow("out before in pulls in") << false << Marks{9000, 20000} << true << qint64(7000)
                                            << Marks{7000, 7000};
    QTest::newRow("out while stopped keeps out") << false << Marks{1000, 8000} << false << qint64(0)
                                                 << Marks{1000, 8000};
}

void TestPlayerLogic::setMarks()
{
    QFETCH(bool, markIn);
    QFETCH(Marks, before);
    QFETCH(bool, positioned);
    QFETCH(qint64, current);
    QFETCH(Marks, after);
    const Marks result = markIn ? setMarkIn(before, positioned, current) : setMarkOut(before, positioned, current);
    QCOMPARE(result, after);
}

void TestPlayerLogic::nudges_data()
{
    QTest::addColumn<bool>("markIn");
    QTest::addColumn<Marks>("before");
    QTest::addColumn<qint64>("delta");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<Marks>("after");
    QTest::newRow("in left") << true << Marks{1000, 5000} << -markStep << qint64(9000) << Marks{900, 5000};
    QTest::newRow("in left clamps at 0") << true << Marks{50, 5000} << -markStep << qint64(9000) << Marks{0, 5000};
    QTest::newRow("in right") << true << Marks{1000, 5000} << markStep << qint64(9000) << Marks{1100, 5000};
    QTest::newRow("in right stops at out") << true << Marks{4950, 5000} << markStep << qint64(9000)
                                           << Marks{5000, 5000};
    QTest::newRow("out left") << false << Marks{1000, 5000} << -markStep << qint64(9000) << Marks{1000, 4900};
    QTest::newRow("out left stops at in") << false << Marks{4950, 5000} << -markStep << qint64(9000)
                                          << Marks{4950, 4950};
    QTest::newRow("out right") << false << Marks{1000, 5000} << markStep << qint64(9000) << Marks{1000, 5100};
    QTest::newRow("out right clamps at total") << false << Marks{1000, 8950} << markStep << qint64(9000)
                                               << Marks{1000, 9000};
    QTest::newRow("out right with nothing loaded") << false << Marks{0, 0} << markStep << qint64(0) << Marks{0, 0};
}

void TestPlayerLogic::nudges()
{
    QFETCH(bool, markIn);
    QFETCH(Marks, before);
    QFETCH(qint64, delta);
    QFETCH(qint64, total);
    QFETCH(Marks, after);
    const Marks result = markIn ? nudgeMarkIn(before, delta) : nudgeMarkOut(before, delta, total);
    QCOMPARE(result, after);
}

void TestPlayerLogic::loop_data()
{
    QTest::addColumn<Marks>("marks");
    QTest::addColumn<qint64>("time");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<bool>("seek");
    QTest::addColumn<bool>("play");
    QTest::newRow("before the loop") << Marks{10000, 20000} << qint64(5000) << qint64(60000) << true << false;
    QTest::newRow("past mark-out") << Marks{10000, 20000} << qint64(20100) << qint64(60000) << true << false;
    QTest::newRow("inside") << Marks{10000, 20000} << qint64(15000) << qint64(60000) << false << false;
    QTest::newRow("on mark-out") << Marks{10000, 20000} << qint64(20000) << qint64(60000) << false << false;
    QTest::newRow("end of media inside the loop") << Marks{10000, 60000} << qint64(60000) << qint64(60000) << true
                                                  << true;
    QTest::newRow("equal marks: no loop") << Marks{7000, 7000} << qint64(30000) << qint64(60000) << false << false;
    QTest::newRow("reset marks: no loop") << Marks{0, 0} << qint64(60000) << qint64(60000) << false << false;
}

void TestPlayerLogic::loop()
{
    QFETCH(Marks, marks);
    QFETCH(qint64, time);
    QFETCH(qint64, total);
    QFETCH(bool, seek);
    QFETCH(bool, play);
    const LoopDecision decision = loopDecision(time, marks, total);
    QCOMPARE(decision.seekToMarkIn, seek);
    QCOMPARE(decision.play, play);
}

QTEST_GUILESS_MAIN(TestPlayerLogic)
#include "tst_playerlogic.moc"
