// The guided training as the main window runs it: real sentence recordings in a temporary
// workspace, real playback of the model and of the learner's voice, and the real text views.
#include "zorva.h"

#include "audiofixtures.h"
#include "qtextview.h"
#include "editor.h"
#include "installationcopy.h"
#include "testpaths.h"
#include "zorvaresources.h"

#include <QtTest>
#include <QApplication>
#include <QTextEdit>
#include <phonon/MediaObject>

#include <memory>
#include <vector>

namespace {

constexpr int playTimeoutMs = 15000;
const QString lessonPath = QStringLiteral("./workspace/lesson01.mp3");
const QString lessonTrainDir = QStringLiteral("./workspace/train/lesson01.mp3/");
const QString lessonDemoDir = QStringLiteral("./workspace/demo/lesson01.mp3/");
const QString transcriptText = QStringLiteral("Good morning, ladies and gentlemen.");
const QString translationText = QStringLiteral("女士们，先生们，早上好。");

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    return file.write(text.toUtf8()) > 0;
}

// Which of the five "sentence missing" signals a call sends: 'x' sent, '-' not, per sentence.
class MissingSpies
{
public:
    explicit MissingSpies(Zorva *window)
    {
        for (auto signal : {&Zorva::noneFileOne, &Zorva::noneFileTwo, &Zorva::noneFileThree,
                            &Zorva::noneFileFour, &Zorva::noneFileFive})
            m_spies.push_back(std::make_unique<QSignalSpy>(window, signal));
    }
    QString reported() const
    {
        QString seen;
        for (const auto &spy : m_spies)
            seen += QLatin1Char(spy->isEmpty() ? '-' : spy->count() == 1 ? 'x' : '+');
        return seen;
    }

private:
    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
};

} // namespace

class TestTraining : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void switchPreparesStudy_data();
    void switchPreparesStudy();
    void repeatChoice_data();
    void repeatChoice();
    void practiceStepDisablesMissingSentences();
    void beyondPracticeOnlyCounts();
    void previousFromFirstStepStaysThere();
    void listeningStepRecordStopsModel();
    void simultaneousStepRecordKeepsModelAndRestarts();
    void pausedSentenceResumes();
    void seekWithinSentence();
    void demonstrationPlaysDemoRecordings();
    void reviewShowsTextsSideBySide();
    void textButtonsSwapViews();

private:
    Phonon::MediaObject *media() const;
    Phonon::MediaObject *voice() const;
    QTextView *view(const char *name) const;
    QWidget *screen() const;
    QString shownText(const char *name) const;
    QString playingVoiceFile() const;
    bool placeRecording(const QString &path, const QDateTime &modified = QDateTime());
    bool playsSentence(const QString &path);
    bool waitModelPlayingPast(qint64 ms);
    void steps(int count);

    QTemporaryDir m_fixtures;
    QString m_modelMp3;
    QString m_sentenceMp3;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<Zorva> m_window;
};

void TestTraining::initTestCase()
{
    zorvaInitResources();
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(m_fixtures.isValid());
    m_modelMp3 = m_fixtures.filePath(QStringLiteral("model.mp3"));
    m_sentenceMp3 = m_fixtures.filePath(QStringLiteral("sentence.mp3"));
    QVERIFY(AudioFixtures::makeToneMp3(m_modelMp3, 8.0, 330));
    QVERIFY(AudioFixtures::makeToneMp3(m_sentenceMp3, 4.0, 440));
}

void TestTraining::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY2(QFileInfo(TestPaths::stageDir() + QStringLiteral("/skin")).isDir(),
             qPrintable(TestPaths::stageDir()));
    // The sample materials stay out: each test lays out its own workspace.
    QVERIFY(copyInstallation(TestPaths::stageDir(), m_dir->path(),
                             {QStringLiteral("workspace"), QStringLiteral("ZORVA"), QStringLiteral("update")}));
    QVERIFY(QDir().mkpath(QStringLiteral("workspace")));
    QVERIFY(QFile::copy(m_modelMp3, lessonPath));
    QVERIFY(writeText(QStringLiteral("workspace/lesson01.txt"), transcriptText));
    QVERIFY(writeText(QStringLiteral("workspace/lesson01@T.txt"), translationText));
    m_window = std::make_unique<Zorva>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestTraining::cleanup()
{
    m_window.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

Phonon::MediaObject *TestTraining::media() const
{
    return m_window->findChild<Phonon::MediaObject *>(QStringLiteral("mediaObject"));
}

Phonon::MediaObject *TestTraining::voice() const
{
    return m_window->findChild<Phonon::MediaObject *>(QStringLiteral("voiceObject"));
}

QTextView *TestTraining::view(const char *name) const
{
    return m_window->findChild<QTextView *>(QLatin1String(name));
}

QWidget *TestTraining::screen() const
{
    return m_window->findChild<QWidget *>(QStringLiteral("screen"));
}

QString TestTraining::shownText(const char *name) const
{
    return view(name)->editor()->textArea()->toPlainText();
}

QString TestTraining::playingVoiceFile() const
{
    if (voice()->state() != Phonon::PlayingState)
        return QString();
    return QFileInfo(voice()->currentSource().url().toLocalFile()).canonicalFilePath();
}

bool TestTraining::placeRecording(const QString &path, const QDateTime &modified)
{
    if (!QDir().mkpath(QFileInfo(path).path()) || !QFile::copy(m_sentenceMp3, path))
        return false;
    if (!modified.isValid())
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime);
}

// Presses the bar's play button for the current sentence and waits for `path` to sound.
bool TestTraining::playsSentence(const QString &path)
{
    m_window->sltRecordPlayPause(true);
    const QString expected = QFileInfo(path).canonicalFilePath();
    return !expected.isEmpty()
           && QTest::qWaitFor([&] { return playingVoiceFile() == expected; }, playTimeoutMs);
}

bool TestTraining::waitModelPlayingPast(qint64 ms)
{
    return QTest::qWaitFor([&] { return media()->state() == Phonon::PlayingState && media()->currentTime() > ms; },
                           playTimeoutMs);
}

void TestTraining::steps(int count)
{
    for (int step = 0; step < count; ++step)
        m_window->sltNextState();
}

void TestTraining::switchPreparesStudy_data()
{
    QTest::addColumn<QString>("audioName");
    QTest::addColumn<QString>("transcriptName");
    QTest::newRow("lesson") << "lesson01.mp3" << "lesson01.txt";
    // Stripping every ".mp3" would look for ab.txt.
    QTest::newRow("extension inside the name") << "a.mp3b.mp3" << "a.mp3b.txt";
}

void TestTraining::switchPreparesStudy()
{
    QFETCH(QString, audioName);
    QFETCH(QString, transcriptName);
    const QString audio = QStringLiteral("./workspace/") + audioName;
    if (!QFileInfo::exists(audio))
        QVERIFY(QFile::copy(m_modelMp3, audio));
    const QString ownText = QStringLiteral("Transcript of ") + audioName;
    QVERIFY(writeText(QStringLiteral("workspace/") + transcriptName, ownText));
    m_window->sltTranscripTextShow(false);
    QVERIFY(view("textView")->isVisible());

    QSignalSpy voiceStops(m_window.get(), &Zorva::isAudioPlay);
    m_window->sltSwitchWorkspace(audio);

    QCOMPARE(voiceStops.count(), 1);
    QCOMPARE(voiceStops.at(0).at(0).toBool(), false);
    QVERIFY(QFileInfo(QStringLiteral("workspace/train/") + audioName).isDir());
    QCOMPARE(QFileInfo(media()->currentSource().url().toLocalFile()).canonicalFilePath(),
             QFileInfo(audio).canonicalFilePath());
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::StoppedState, playTimeoutMs);
    QVERIFY(view("textView")->isHidden());
    QVERIFY(view("tranView")->isHidden());
    QVERIFY(screen()->isVisible());

    // Step 0: the start button leads to step 1, whose sentence is repeat 1's first.
    const QString trainDir = QStringLiteral("./workspace/train/") + audioName + QLatin1Char('/');
    QVERIFY(placeRecording(trainDir + QStringLiteral("11.mp3")));
    m_window->sltNextState();
    QVERIFY(playsSentence(trainDir + QStringLiteral("11.mp3")));

    steps(3);
    QVERIFY(view("textView")->isVisible());
    QCOMPARE(shownText("textView"), ownText);
    QCOMPARE(view("textView")->editor()->frameRect().size(), QSize(620, 350));

    // Opening a material again stops the learner's voice through isAudioPlay(false).
    connect(m_window.get(), &Zorva::isAudioPlay, m_window.get(), &Zorva::sltAudioStopBool,
            Qt::UniqueConnection);
    m_window->sltFiveClick();
    QVERIFY(placeRecording(trainDir + QStringLiteral("15.mp3")));
    QVERIFY(playsSentence(trainDir + QStringLiteral("15.mp3")));
    m_window->sltSwitchWorkspace(audio);
    QTRY_COMPARE_WITH_TIMEOUT(voice()->state(), Phonon::StoppedState, playTimeoutMs);
}

void TestTraining::repeatChoice_data()
{
    QTest::addColumn<QStringList>("present"); // "name@minutes ago"
    QTest::addColumn<QString>("repeat");
    QTest::newRow("empty folder") << QStringList() << "1";
    QTest::newRow("last file 34") << QStringList{"11.mp3@50", "21.mp3@40", "31.mp3@30", "34.mp3@30"}
                                  << "4";
    QTest::newRow("last file 52, repeat 3 oldest")
        << QStringList{"11.mp3@50", "21.mp3@40", "31.mp3@90", "41.mp3@30", "52.mp3@20"} << "3";
    QTest::newRow("last file 52, repeat 1 oldest")
        << QStringList{"11.mp3@90", "21.mp3@40", "31.mp3@30", "41.mp3@20", "52.mp3@10"} << "1";
}

// The repeat shows in the file the first practice button plays.
void TestTraining::repeatChoice()
{
    QFETCH(QStringList, present);
    QFETCH(QString, repeat);
    const QDateTime now = QDateTime::currentDateTime();
    for (const QString &entry : present) {
        const QStringList parts = entry.split(QLatin1Char('@'));
        QVERIFY(placeRecording(lessonTrainDir + parts.at(0), now.addSecs(-60 * parts.at(1).toInt())));
    }
    m_window->sltSwitchWorkspace(lessonPath);

    for (int r = 1; r <= 5; ++r) {
        const QString name = lessonTrainDir + QString::number(r) + QStringLiteral("1.mp3");
        if (!QFileInfo::exists(name))
            QVERIFY(placeRecording(name));
    }
    m_window->sltOneClick();
    QVERIFY(playsSentence(lessonTrainDir + repeat + QStringLiteral("1.mp3")));
}

void TestTraining::practiceStepDisablesMissingSentences()
{
    m_window->sltSwitchWorkspace(lessonPath);
    QVERIFY(placeRecording(lessonTrainDir + QStringLiteral("11.mp3")));
    QVERIFY(placeRecording(lessonTrainDir + QStringLiteral("13.mp3")));
    steps(6);
    QVERIFY(waitModelPlayingPast(0));

    MissingSpies missing(m_window.get());
    QSignalSpy modelPlays(m_window.get(), &Zorva::isPlay);
    m_window->sltNextState();

    QCOMPARE(missing.reported(), QStringLiteral("-x-xx"));
    QCOMPARE(modelPlays.count(), 1);
    QCOMPARE(modelPlays.at(0).at(0).toBool(), false);
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::StoppedState, playTimeoutMs);
    QVERIFY(view("textView")->isVisible());
    QVERIFY(view("tranView")->isVisible());
    QVERIFY(screen()->isHidden());
    QCOMPARE(shownText("textView"), transcriptText);
    QCOMPARE(shownText("tranView"), translationText);
    QCOMPARE(view("textView")->editor()->frameRect().size(), QSize(300, 350));
    QCOMPARE(view("tranView")->editor()->frameRect().size(), QSize(300, 350));

    m_window->sltThreeClick();
    QVERIFY(playsSentence(lessonTrainDir + QStringLiteral("13.mp3")));
}

void TestTraining::beyondPracticeOnlyCounts()
{
    m_window->sltSwitchWorkspace(lessonPath);
    steps(7);
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::StoppedState, playTimeoutMs);

    MissingSpies missing(m_window.get());
    QSignalSpy modelPlays(m_window.get(), &Zorva::isPlay);
    m_window->sltNextState(); // 8
    m_window->sltPrevState(); // 7
    m_window->sltPrevState(); // 6: texts stay, nothing plays
    QCOMPARE(missing.reported(), QStringLiteral("-----"));
    QCOMPARE(modelPlays.count(), 0);
    QVERIFY(view("textView")->isVisible());
    QVERIFY(view("tranView")->isVisible());
    QCOMPARE(media()->state(), Phonon::StoppedState);

    // Had next or previous done more than count, this would not be step 5 yet.
    m_window->sltPrevState();
    QCOMPARE(modelPlays.count(), 1);
    QVERIFY(view("textView")->isHidden());
    QVERIFY(screen()->isVisible());
    QVERIFY(placeRecording(lessonTrainDir + QStringLiteral("14.mp3")));
    QVERIFY(playsSentence(lessonTrainDir + QStringLiteral("14.mp3")));
}

void TestTraining::previousFromFirstStepStaysThere()
{
    m_window->sltSwitchWorkspace(lessonPath);
    m_window->sltNextState();
    QSignalSpy modelPlays(m_window.get(), &Zorva::isPlay);
    m_window->sltPrevState();
    QCOMPARE(modelPlays.count(), 1); // step 1 ran again
    QVERIFY(placeRecording(lessonTrainDir + QStringLiteral("11.mp3")));
    QVERIFY(placeRecording(lessonTrainDir + QStringLiteral("12.mp3")));
    QVERIFY(playsSentence(lessonTrainDir + QStringLiteral("11.mp3")));
    m_window->sltNextState();
    QTRY_COMPARE_WITH_TIMEOUT(voice()->state(), Phonon::PausedState, playTimeoutMs);
    QVERIFY(playsSentence(lessonTrainDir + QStringLiteral("12.mp3")));
}

void TestTraining::listeningStepRecordStopsModel()
{
    m_window->sltSwitchWorkspace(lessonPath);
    steps(3);
    QVERIFY(waitModelPlayingPast(300));
    QSignalSpy modelPlays(m_window.get(), &Zorva::isPlay);
    m_window->sltRecordPrepare();
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::StoppedState, playTimeoutMs);
    QCOMPARE(modelPlays.count(), 1);
    QCOMPARE(modelPlays.at(0).at(0).toBool(), false);
}

void TestTraining::simultaneousStepRecordKeepsModelAndRestarts()
{
    m_window->sltSwitchWorkspace(lessonPath);
    steps(6);
    QVERIFY(waitModelPlayingPast(2000));

    QSignalSpy modelPlays(m_window.get(), &Zorva::isPlay);
    m_window->sltRecordPrepare();
    // Still playing on, through a later tick.
    const qint64 before = media()->currentTime();
    QVERIFY(waitModelPlayingPast(before + 500));
    QCOMPARE(modelPlays.count(), 0);

    // The recording begins: the model starts over and keeps playing.
    m_window->sltSixStepSpec();
    QTRY_VERIFY_WITH_TIMEOUT(media()->state() == Phonon::PlayingState && media()->currentTime() < 1500,
                             playTimeoutMs);
    QVERIFY(waitModelPlayingPast(1600));
}

// Pause then play goes on from where the sentence stopped rather than starting it again.
void TestTraining::pausedSentenceResumes()
{
    m_window->sltSwitchWorkspace(lessonPath);
    QVERIFY(placeRecording(lessonTrainDir + QStringLiteral("11.mp3")));
    m_window->sltNextState();
    QVERIFY(playsSentence(lessonTrainDir + QStringLiteral("11.mp3")));
    QTRY_VERIFY_WITH_TIMEOUT(voice()->currentTime() > 1500, playTimeoutMs);

    m_window->sltRecordPlayPause(false);
    QTRY_COMPARE_WITH_TIMEOUT(voice()->state(), Phonon::PausedState, playTimeoutMs);
    const qint64 pausedAt = voice()->currentTime();
    QVERIFY(playsSentence(lessonTrainDir + QStringLiteral("11.mp3")));
    QSignalSpy ticks(voice(), &Phonon::MediaObject::tick);
    QVERIFY(ticks.wait(playTimeoutMs));
    QVERIFY2(ticks.first().first().toLongLong() >= pausedAt - 300,
             qPrintable(QStringLiteral("paused at %1, went on at %2").arg(pausedAt).arg(ticks.first().first().toLongLong())));
}

void TestTraining::seekWithinSentence()
{
    m_window->sltSwitchWorkspace(lessonPath);
    QVERIFY(placeRecording(lessonTrainDir + QStringLiteral("11.mp3")));
    m_window->sltNextState();
    QVERIFY(playsSentence(lessonTrainDir + QStringLiteral("11.mp3")));
    QTRY_VERIFY_WITH_TIMEOUT(voice()->totalTime() > 3000, playTimeoutMs);
    m_window->sltAudioSeek(0.75);
    QTRY_VERIFY_WITH_TIMEOUT(voice()->currentTime() >= 2800, playTimeoutMs);
    // A slider value out of range is clamped, never sent as a negative position.
    m_window->sltAudioSeek(-2.0);
    QTRY_VERIFY_WITH_TIMEOUT(voice()->currentTime() < 1000, playTimeoutMs);
}

void TestTraining::demonstrationPlaysDemoRecordings()
{
    for (const char *name : {"1.mp3", "2.mp3", "3.mp3"})
        QVERIFY(placeRecording(lessonDemoDir + QLatin1String(name)));
    m_window->sltSwitchWorkspace(lessonPath);
    m_window->sltAudioStop(lessonTrainDir);
    m_window->demoPathSet(lessonDemoDir);

    MissingSpies missing(m_window.get());
    m_window->sltDemonstrate();
    QCOMPARE(missing.reported(), QStringLiteral("---xx"));
    QVERIFY(view("textView")->isHidden());
    QVERIFY(view("tranView")->isHidden());
    QVERIFY(screen()->isVisible());

    m_window->sltTwoClick();
    QVERIFY(playsSentence(lessonDemoDir + QStringLiteral("2.mp3")));
}

void TestTraining::reviewShowsTextsSideBySide()
{
    QSignalSpy voiceStops(m_window.get(), &Zorva::isAudioPlay);
    m_window->sltAudioStop(lessonTrainDir);

    QCOMPARE(voiceStops.count(), 1);
    QVERIFY(view("textView")->isVisible());
    QVERIFY(view("tranView")->isVisible());
    QVERIFY(screen()->isHidden());
    QCOMPARE(shownText("textView"), transcriptText);
    QCOMPARE(shownText("tranView"), translationText);
    QTRY_VERIFY(view("textView")->geometry().right() < view("tranView")->geometry().left());

    // Choosing repeat 2 of that folder points the practice buttons at its files.
    QVERIFY(placeRecording(lessonTrainDir + QStringLiteral("21.mp3")));
    QVERIFY(placeRecording(lessonTrainDir + QStringLiteral("24.mp3")));
    MissingSpies missing(m_window.get());
    m_window->sltRepeatTwo(lessonTrainDir);
    QCOMPARE(missing.reported(), QStringLiteral("-xx-x"));
    m_window->sltFourClick();
    QVERIFY(playsSentence(lessonTrainDir + QStringLiteral("24.mp3")));
}

void TestTraining::textButtonsSwapViews()
{
    m_window->sltSwitchWorkspace(lessonPath);
    m_window->sltTranscripTextShow(true);
    QVERIFY(view("textView")->isVisible());
    QCOMPARE(shownText("textView"), transcriptText);

    m_window->sltTranslationTextShow(true);
    QVERIFY(view("textView")->isHidden());
    QVERIFY(view("tranView")->isVisible());
    QCOMPARE(shownText("tranView"), translationText);
    QCOMPARE(view("tranView")->editor()->frameRect().size(), QSize(620, 350));
    QVERIFY(screen()->isHidden());

    m_window->sltTextHide();
    QVERIFY(view("textView")->isHidden());
    QVERIFY(view("tranView")->isHidden());
    QVERIFY(screen()->isVisible());
}

QTEST_MAIN(TestTraining)
#include "tst_training.moc"
