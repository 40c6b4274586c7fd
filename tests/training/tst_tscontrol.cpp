// The training bar, clicked; its countdown and clock tick when a case fires them. Trainings in
// real time run in tests/app.
#include "tscontrol.h"
#include "vkbutton.h"
#include "zorvaresources.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TsControlTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { delete m_bar; }
    void recording_data();
    void recording();
    void chooserUnlocksPasses_data();
    void chooserUnlocksPasses();
    void practiceSetHidesTheStepHint();

private:
    TsControl *m_bar = nullptr;
};

void TsControlTest::init()
{
    zorvaInitResources();
    m_bar = new TsControl;
    m_bar->show();
    m_bar->recordDownTimer->setInterval(3600 * 1000);
    m_bar->recordUpTimer->setInterval(3600 * 1000);
    m_bar->zeroShow();
    QTest::mouseClick(m_bar->btnStart, Qt::LeftButton); // step 1
}

// One begin too many records over the last take; one end missing leaves the recorder running.
void TsControlTest::recording_data()
{
    // r: record pressed, d and u: a tick of the running countdown or clock, n: next pressed,
    // z: the entry set shown; + and - are recordBeginEnd(true) and (false) as they come.
    QTest::addColumn<QString>("trace");
    QTest::newRow("stopped in the countdown: counts three again") << "rdrdrddd+";
    QTest::newRow("stop taken back within a second") << "rddd+rrddduru-";
    QTest::newRow("next ends the recording") << "rddd+nu-";
    QTest::newRow("entry set while recording") << "rddd+z-";
}

void TsControlTest::recording()
{
    QFETCH(QString, trace);
    QString seen;
    connect(m_bar, &TsControl::recordBeginEnd, this, [&](bool on) { seen += on ? '+' : '-'; });
    QString actions = trace;
    for (const QChar action : actions.remove('+').remove('-')) {
        seen += action;
        QTimer *timer = action == 'd' ? m_bar->recordDownTimer : m_bar->recordUpTimer;
        if (action == 'r' || action == 'n')
            QTest::mouseClick(action == 'r' ? m_bar->btnRecord : m_bar->btnNext, Qt::LeftButton);
        else if (action == 'z')
            m_bar->zeroShow();
        else if (timer->isActive())
            QMetaObject::invokeMethod(timer, "timeout");
    }
    QCOMPARE(seen, trace);
}

void TsControlTest::chooserUnlocksPasses_data()
{
    QTest::addColumn<QString>("folder"); // in the working folder
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("unlocked");
    // An empty path is no folder, not the working folder with its recordings.
    QTest::newRow("no folder") << "" << QStringList{"51.mp3"} << 0;
    // The take log sorts after every recording and is none.
    QTest::newRow("take log beside the recordings") << "train" << QStringList{"train/11.mp3", "train/21.mp3", "train/takes.json"} << 2;
}

void TsControlTest::chooserUnlocksPasses()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QFETCH(int, unlocked);
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()) && QDir().mkpath(QStringLiteral("train")));
    for (const QString &file : files)
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
    m_bar->choiceTrigger(folder);
    QDir::setCurrent(previous);
    for (int pass = 1; pass <= 5; ++pass)
        QCOMPARE(m_bar->repeatButtons()[size_t(pass - 1)]->isEnabled(), pass <= unlocked);
}

// Called from within a step, the practice set once left the hint across its captions.
void TsControlTest::practiceSetHidesTheStepHint()
{
    QVERIFY(m_bar->lblStepHint->isVisible());
    m_bar->endShow();
    QVERIFY(!m_bar->lblStepHint->isVisible());
}

QTEST_MAIN(TsControlTest)
#include "tst_tscontrol.moc"
