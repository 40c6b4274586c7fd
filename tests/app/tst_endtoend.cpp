// One whole training as a learner goes through it, driven only by clicks on the real buttons,
// with real playback and speech fed into the virtual microphone: a sample material chosen in the
// library, the six steps with five sentence recordings, the practice set, learning again, and
// after a restart the review of the first repeat and the demonstration recordings.
#include "zorva.h"

#include "audiofixtures.h"
#include "clicks.h"
#include "installationcopy.h"
#include "mater.h"
#include "testpaths.h"
#include "tscontrol.h"
#include "zorvaresources.h"

#include <QtTest>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <phonon/MediaObject>

#include <memory>

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void trainReviewAndDemonstration();

private:
    void startTrainerAndClick(int column); // column 1 studies the sample material, column 2 reviews it
    bool press(const char *name) const { return Clicks::clickNamed(m_window->findChild<TsControl *>(), name); }
    void recordSentence(int repeat, int sentence);
    void plays(const QString &file);

    QString m_speech;
    std::unique_ptr<QProcess> m_feed;
    std::unique_ptr<Zorva> m_window;
};

void TestEndToEnd::startTrainerAndClick(int column)
{
    m_window.reset();
    m_window = std::make_unique<Zorva>();
    m_window->show();
    QTRY_VERIFY(m_window->isStarted());
    auto *tree = m_window->findChild<Mater *>()->findChild<QTreeWidget *>(QStringLiteral("local"));
    QVERIFY(QTest::qWaitForWindowExposed(tree->window())); // the library opens beside the window on its selections tab
    QTreeWidgetItem *item = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        item = (*it)->text(4).endsWith(QLatin1String("lesson01.mp3")) ? *it : item;
    QVERIFY2(item, "the sample material is not in the selections");
    tree->scrollToItem(item);
    const int x = tree->header()->sectionViewportPosition(column) + tree->header()->sectionSize(column) / 2;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(x, tree->visualItemRect(item).center().y()));
}

void TestEndToEnd::recordSentence(int repeat, int sentence)
{
    QSignalSpy record(m_window->findChild<TsControl *>(), &TsControl::recordBeginEnd);
    QVERIFY(press("btnRecord"));
    QVERIFY(record.wait(15000));
    m_feed.reset(AudioFixtures::playIntoMicrophone(m_speech));
    // Two ticks of the bar's clock: at least two seconds of voice.
    QTRY_COMPARE_WITH_TIMEOUT(Clicks::named<QLabel>(m_window->findChild<TsControl *>(), "lblCountdown")->text(), QStringLiteral("00:02"), 15000);
    QVERIFY(press("btnRecord"));
    QTRY_COMPARE_WITH_TIMEOUT(record.count(), 2, 5000);
    m_feed->kill();
    m_feed->waitForFinished();
    const QString file = QStringLiteral("workspace/train/lesson01.mp3/%1%2.mp3").arg(repeat).arg(sentence);
    QVERIFY2(AudioFixtures::decodedSeconds(file) > 1.5, qPrintable(file));
}

void TestEndToEnd::plays(const QString &file)
{
    QVERIFY(press("btnPlay"));
    auto *voice = m_window->findChild<Phonon::MediaObject *>(QStringLiteral("voiceObject"));
    QTRY_COMPARE_WITH_TIMEOUT(voice->state(), Phonon::PlayingState, 15000);
    QCOMPARE(QFileInfo(voice->currentSource().url().toLocalFile()).canonicalFilePath(), QFileInfo(file).canonicalFilePath());
}

void TestEndToEnd::trainReviewAndDemonstration()
{
    zorvaInitResources();
    QApplication::setQuitOnLastWindowClosed(false);
    qputenv("ZORVA_UPDATE_URL", "http://127.0.0.1:9");
    QTemporaryDir installation;
    QVERIFY(copyInstallation(TestPaths::stageDir(), installation.path(), {QStringLiteral("ZORVA"), QStringLiteral("update")}));
    QVERIFY(QDir::setCurrent(installation.path()));
    m_speech = installation.filePath(QStringLiteral("speech.wav"));
    QVERIFY(AudioFixtures::makeSpeechWav(m_speech, QStringLiteral("The old stone bridge will be closed from Monday.")));
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral("./translations/app_") + QLocale::system().name()));
    QApplication::installTranslator(&translator);

    startTrainerAndClick(1);
    QTRY_VERIFY(Clicks::named(m_window->findChild<TsControl *>(), "btnStart")->isVisible());
    QVERIFY(press("btnStart"));
    for (int step = 1; step <= 6; ++step) {
        if (step != 3) // listening: nothing to record
            recordSentence(1, step < 3 ? step : step - 1);
        if (step == 1)
            plays(QStringLiteral("workspace/train/lesson01.mp3/11.mp3"));
        QVERIFY(press("btnNext"));
    }
    for (const char *name : {"btnPractice1", "btnPractice2", "btnPractice4", "btnPractice5", "btnPractice3"})
        QVERIFY2(Clicks::named(m_window->findChild<TsControl *>(), name)->isEnabled(), name);
    QVERIFY(press("btnPractice3"));
    plays(QStringLiteral("workspace/train/lesson01.mp3/13.mp3"));
    QVERIFY(press("btnLearnAgain") && press("btnStart"));
    recordSentence(2, 1); // the next repeat

    startTrainerAndClick(2);
    QTRY_VERIFY(Clicks::named(m_window->findChild<TsControl *>(), "btnRepeat1")->isEnabled());
    QVERIFY(press("btnRepeat1"));
    QVERIFY(press("btnPractice1"));
    plays(QStringLiteral("workspace/train/lesson01.mp3/11.mp3"));
    QVERIFY(press("btnBack") && press("btnDemonstration") && press("btnPractice2"));
    plays(QStringLiteral("workspace/demo/lesson01.mp3/2.mp3"));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
