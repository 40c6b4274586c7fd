// One whole training as a learner goes through it, with real playback and speech fed into the
// virtual microphone, driven once by clicks on the real buttons and once by keys alone (the
// recording key a pedal's, given in the settings file): a sample material chosen in the
// library, the six steps with five sentence recordings (steps 1 and 2 start the model from the
// bar), the practice set and back to step 6, learning again, and after a restart the review of
// the first repeat and the demonstration recordings.
#include "zorva.h"

#include "audiofixtures.h"
#include "clicks.h"
#include "installationcopy.h"
#include "mater.h"
#include "testpaths.h"
#include "tscontrol.h"
#include "usersettings.h"
#include "zorvaresources.h"

#include <QtTest>
#include <QAction>
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
    void trainReviewAndDemonstration_data();
    void trainReviewAndDemonstration();

private:
    void startTrainerAndChoose(int column); // column 1 studies the sample material, column 2 reviews it
    bool press(const char *name) const;
    void recordSentence(int repeat, int sentence);
    void plays(const QString &file, bool pressPlay = true);

    bool m_keys = false;
    QString m_speech;
    std::unique_ptr<QProcess> m_feed;
    std::unique_ptr<Zorva> m_window;
};

// A button, or its key sent to whichever window has the keyboard; either only while it is shown.
bool TestEndToEnd::press(const char *name) const
{
    auto *button = Clicks::named(m_window.get(), name);
    if (!m_keys || !button || !button->isVisible())
        return Clicks::click(button);
    QAction *action = button->actions().value(0);
    if (!action || !action->isEnabled() || !QApplication::focusWidget())
        return false;
    QTest::keySequence(QApplication::focusWidget(), action->shortcut());
    return true;
}

void TestEndToEnd::startTrainerAndChoose(int column)
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
    if (!m_keys) {
        tree->scrollToItem(item);
        const int x = tree->header()->sectionViewportPosition(column) + tree->header()->sectionSize(column) / 2;
        return QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(x, tree->visualItemRect(item).center().y()));
    }
    m_window->activateWindow(); // no window manager gives it the keys
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keySequence(m_window.get(), m_window->findChild<QAction *>(QStringLiteral("libraryAction"))->shortcut());
    QTRY_VERIFY(tree->hasFocus() && tree->currentItem());
    for (int key = 0; key < 20 && tree->currentItem() != item; ++key) // categories open with Right
        QTest::keyClick(tree, tree->currentItem()->isExpanded() || !tree->currentItem()->childCount() ? Qt::Key_Down : Qt::Key_Right);
    QCOMPARE(tree->currentItem(), item);
    QTest::keyClick(tree, Qt::Key_Return, column == 2 ? Qt::ShiftModifier : Qt::NoModifier);
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

void TestEndToEnd::plays(const QString &file, bool pressPlay)
{
    QVERIFY(!pressPlay || press("btnPlay"));
    auto *voice = m_window->findChild<Phonon::MediaObject *>(QStringLiteral("voiceObject"));
    QTRY_COMPARE_WITH_TIMEOUT(voice->state(), Phonon::PlayingState, 15000);
    QCOMPARE(QFileInfo(voice->currentSource().url().toLocalFile()).canonicalFilePath(), QFileInfo(file).canonicalFilePath());
}

void TestEndToEnd::trainReviewAndDemonstration_data()
{
    QTest::addColumn<bool>("keys");
    QTest::newRow("clicks") << false;
    QTest::newRow("keys alone") << true;
}

void TestEndToEnd::trainReviewAndDemonstration()
{
    QFETCH(bool, keys);
    m_keys = keys;
    zorvaInitResources();
    QApplication::setQuitOnLastWindowClosed(false);
    qputenv("ZORVA_UPDATE_URL", "http://127.0.0.1:9");
    QTemporaryDir installation;
    QVERIFY(copyInstallation(TestPaths::stageDir(), installation.path(), {QStringLiteral("ZORVA"), QStringLiteral("update")}));
    QVERIFY(QDir::setCurrent(installation.path()));
    m_speech = installation.filePath(QStringLiteral("speech.wav"));
    // At a speaking level: the recording gain would clip espeak's full-scale voice, and the
    // warning box that says so would take the keys.
    QVERIFY(AudioFixtures::makeSpeechWav(QStringLiteral("loud.wav"), QStringLiteral("The old stone bridge will be closed from Monday."))
            && AudioFixtures::sox(QStringLiteral("loud.wav ") + m_speech + QStringLiteral(" vol 0.3")));
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral("./translations/app_") + QLocale::system().name()));
    QApplication::installTranslator(&translator);

    UserSettings().setValue(QStringLiteral("keys/recordAction"), keys ? "F13" : "F5"); // F13: a pedal
    startTrainerAndChoose(1);
    QCOMPARE(m_window->findChild<QAction *>(QStringLiteral("recordAction"))->shortcut() == QKeySequence(Qt::Key_F13), keys);
    QTRY_VERIFY(Clicks::named(m_window.get(), "btnStart")->isVisible());
    QVERIFY(press("btnStart"));
    auto *model = m_window->findChild<Phonon::MediaObject *>(QStringLiteral("mediaObject"));
    auto *voice = m_window->findChild<Phonon::MediaObject *>(QStringLiteral("voiceObject"));
    for (int step = 1; step <= 6; ++step) {
        if (step == 1) { // listening first, from the step itself
            QVERIFY(press("btnListen"));
            QTRY_COMPARE_WITH_TIMEOUT(model->state(), Phonon::PlayingState, 15000);
        }
        if (step != 3) // listening: nothing to record
            recordSentence(1, step < 3 ? step : step - 1);
        if (step == 1) { // played to its end, the sentence plays again with one press
            plays(QStringLiteral("workspace/train/lesson01.mp3/11.mp3"));
            QVERIFY(QSignalSpy(voice, &Phonon::MediaObject::finished).wait(15000));
            plays(QStringLiteral("workspace/train/lesson01.mp3/11.mp3"));
        }
        QVERIFY(press("btnNext"));
    }
    QVERIFY(press("btnPrevious") && Clicks::named(m_window.get(), "btnRecord")->isVisible()); // back to step 6
    QVERIFY(press("btnNext"));
    for (const char *name : {"btnPractice1", "btnPractice2", "btnPractice4", "btnPractice5", "btnPractice3"})
        QVERIFY2(Clicks::named(m_window.get(), name)->isEnabled(), name);
    QVERIFY(press("btnPractice3"));
    plays(QStringLiteral("workspace/train/lesson01.mp3/13.mp3"), false); // at once
    QVERIFY(press("btnLearnAgain") && press("btnStart"));
    recordSentence(2, 1); // the next repeat

    startTrainerAndChoose(2);
    QTRY_VERIFY(Clicks::named(m_window.get(), "btnRepeat1")->isEnabled());
    QVERIFY(press("btnRepeat1"));
    QVERIFY(press("btnPractice1"));
    plays(QStringLiteral("workspace/train/lesson01.mp3/11.mp3"), false);
    QVERIFY(press("btnBack") && press("btnDemonstration") && press("btnPractice2"));
    plays(QStringLiteral("workspace/demo/lesson01.mp3/2.mp3"), false);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
