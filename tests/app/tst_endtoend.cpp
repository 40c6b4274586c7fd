// One whole training as a learner goes through it, on the test display with real playback and
// speech fed into the virtual microphone, driven only by clicks on the real buttons: a sample
// material chosen in the library, the six steps with five sentence recordings, the practice
// set, learning again, and after a restart the review of the first repeat and the
// demonstration recordings.
#include "zorva.h"

#include "audiofixtures.h"
#include "installationcopy.h"
#include "mater.h"
#include "qtextview.h"
#include "testpaths.h"
#include "tscontrol.h"
#include "vkbutton.h"
#include "zorvaresources.h"

#include <QtTest>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QTranslator>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <phonon/MediaObject>

#include <memory>

// The bar grants this name access to its buttons, so the test presses the real ones.
class TsControlTest
{
public:
    enum Button { Start, Record, Play, Next, Expand, Back, LearnAgain, Repeat1, Demonstration };
    static VkButton *button(TsControl *bar, Button which)
    {
        switch (which) {
        case Start: return bar->btnStart;
        case Record: return bar->btnRecord;
        case Play: return bar->btnPlay;
        case Next: return bar->btnNext;
        case Expand: return bar->btnExpand;
        case Back: return bar->btnBack;
        case LearnAgain: return bar->btnLearnAgain;
        case Repeat1: return bar->btnRepeat1;
        case Demonstration: return bar->btnDemonstration;
        }
        return nullptr;
    }
    static VkButton *practice(TsControl *bar, int sentence)
    {
        return bar->practiceButtons()[static_cast<std::size_t>(sentence - 1)];
    }
    static QString clockText(TsControl *bar) { return bar->lblCountdown->text(); }
};

namespace {

using Bar = TsControlTest;

const QString material = QStringLiteral("lesson01.mp3");
const QString trainDir = QStringLiteral("workspace/train/lesson01.mp3/");
const QString demoDir = QStringLiteral("workspace/demo/lesson01.mp3/");
constexpr int countdownAndSlackMs = 3000 + 10000;
constexpr int playbackStartMs = 15000;
// Two ticks of the bar's clock: at least two seconds of voice in the sentence file.
const QString recordedLongEnough = QStringLiteral("00:02");

bool click(QAbstractButton *button)
{
    // A learner cannot press what is hidden or disabled.
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

bool isPlaying(const Phonon::MediaObject *player)
{
    return player->state() == Phonon::PlayingState;
}

QString playingFile(const Phonon::MediaObject *player)
{
    return player->currentSource().url().toLocalFile();
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void trainOnceAndLearnAgain();
    void reviewAfterRestart();

private:
    void startTrainer();
    TsControl *bar() const { return m_window->findChild<TsControl *>(); }
    Mater *library() const { return m_window->findChild<Mater *>(); }
    Phonon::MediaObject *voice() const
    {
        return m_window->findChild<Phonon::MediaObject *>(QStringLiteral("voiceObject"));
    }
    bool press(Bar::Button which) { return click(Bar::button(bar(), which)); }
    void showLibrary();
    void clickMaterial(int column);
    void recordSentence(const QString &file);
    void playBack(const QString &file);
    void screenshot(const QString &name, bool withLibrary);

    QTemporaryDir m_fixtures;
    QString m_speechWav;
    QTemporaryDir m_installation;
    QString m_previousDir;
    QTranslator m_translator;
    std::unique_ptr<Zorva> m_window;
    std::unique_ptr<QProcess> m_feed;
};

void TestEndToEnd::initTestCase()
{
    zorvaInitResources();
    QApplication::setQuitOnLastWindowClosed(false);
    qputenv("ZORVA_UPDATE_URL", "http://127.0.0.1:9");

    QVERIFY(m_fixtures.isValid());
    m_speechWav = m_fixtures.filePath(QStringLiteral("speech.wav"));
    QVERIFY(AudioFixtures::makeSpeechWav(m_speechWav, QStringLiteral(
        "The old stone bridge will be closed for repairs from Monday. "
        "Buses will take the new road along the river until the work is done.")));

    QVERIFY(m_installation.isValid());
    QVERIFY2(QFileInfo(TestPaths::stageDir() + QStringLiteral("/workspace/") + material).isFile(),
             qPrintable(TestPaths::stageDir()));
    QVERIFY(copyInstallation(TestPaths::stageDir(), m_installation.path(), {QStringLiteral("ZORVA"), QStringLiteral("update")}));
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_installation.path()));
    // As the program does: the catalogue for the system's language, else the fallback.
    QVERIFY(m_translator.load(QStringLiteral("./translations/app_") + QLocale::system().name()));
    QApplication::installTranslator(&m_translator);
}

void TestEndToEnd::cleanupTestCase()
{
    if (m_feed) {
        m_feed->kill();
        m_feed->waitForFinished(5000);
    }
    m_window.reset();
    QApplication::removeTranslator(&m_translator);
    QDir::setCurrent(m_previousDir);
}

void TestEndToEnd::startTrainer()
{
    m_window = std::make_unique<Zorva>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(bar() && library() && voice());
    QVERIFY(QTest::qWaitForWindowExposed(bar()));
}

void TestEndToEnd::showLibrary()
{
    // The library opens with the window; the expand button brings it back when hidden.
    if (library()->isHidden())
        QVERIFY(press(Bar::Expand));
    QTRY_VERIFY(library()->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(library()));
    auto *tabs = library()->findChild<QTabWidget *>(QStringLiteral("tabs"));
    QVERIFY(tabs);
    // The selections tab comes first; the learner picks it by its tab.
    const QRect tab = tabs->tabBar()->tabRect(0);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tab.center());
    QCOMPARE(tabs->currentIndex(), 0);
}

void TestEndToEnd::clickMaterial(int column)
{
    auto *tree = library()->findChild<QTreeWidget *>(QStringLiteral("local"));
    QVERIFY(tree);
    QTreeWidgetItem *item = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(4).endsWith(material))
            item = *it;
    }
    QVERIFY2(item, "the sample material is not in the selections");
    tree->scrollToItem(item);
    const QRect row = tree->visualItemRect(item);
    const int x = tree->header()->sectionViewportPosition(column) + tree->header()->sectionSize(column) / 2;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
}

void TestEndToEnd::recordSentence(const QString &file)
{
    QSignalSpy record(bar(), &TsControl::recordBeginEnd);
    QVERIFY(press(Bar::Record));
    QVERIFY(record.wait(countdownAndSlackMs));
    QCOMPARE(record.last().at(0).toBool(), true);

    if (m_feed) {
        m_feed->kill();
        m_feed->waitForFinished(5000);
    }
    m_feed.reset(AudioFixtures::playIntoMicrophone(m_speechWav));
    QVERIFY(m_feed);
    QTRY_COMPARE_WITH_TIMEOUT(Bar::clockText(bar()), recordedLongEnough, 15000);

    QVERIFY(press(Bar::Record));
    QTRY_COMPARE_WITH_TIMEOUT(record.count(), 2, 5000);
    QCOMPARE(record.last().at(0).toBool(), false);
    QVERIFY2(QFileInfo(file).size() > 0, qPrintable(file));
}

void TestEndToEnd::playBack(const QString &file)
{
    QVERIFY(press(Bar::Play));
    QTRY_VERIFY_WITH_TIMEOUT(isPlaying(voice()), playbackStartMs);
    QCOMPARE(QFileInfo(playingFile(voice())).canonicalFilePath(), QFileInfo(file).canonicalFilePath());
}

// Saved only when asked for, into the folder named by ZORVA_SCREENSHOT_DIR.
void TestEndToEnd::screenshot(const QString &name, bool withLibrary)
{
    const QString folder = QString::fromLocal8Bit(qgetenv("ZORVA_SCREENSHOT_DIR"));
    if (folder.isEmpty())
        return;
    QRect area = m_window->frameGeometry().united(bar()->frameGeometry());
    if (withLibrary)
        area = area.united(library()->frameGeometry());
    QApplication::processEvents();
    const QPixmap shot = m_window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    QVERIFY(shot.save(folder + QLatin1Char('/') + name));
}

void TestEndToEnd::trainOnceAndLearnAgain()
{
    startTrainer();
    showLibrary();
    clickMaterial(1);
    QTRY_VERIFY(Bar::button(bar(), Bar::Start)->isVisible());
    QVERIFY(QFileInfo(trainDir).isDir());

    QVERIFY(press(Bar::Start));
    recordSentence(trainDir + QStringLiteral("11.mp3"));
    playBack(trainDir + QStringLiteral("11.mp3"));

    QVERIFY(press(Bar::Next)); // step 2: consecutive interpreting
    QTRY_VERIFY(!isPlaying(voice()));
    recordSentence(trainDir + QStringLiteral("12.mp3"));
    QVERIFY(press(Bar::Next)); // step 3: listening, nothing to record
    QVERIFY(!Bar::button(bar(), Bar::Record)->isVisible());
    QVERIFY(press(Bar::Next)); // step 4: sight translation of the transcript
    auto *transcript = m_window->findChild<QTextView *>(QStringLiteral("textView"));
    auto *translation = m_window->findChild<QTextView *>(QStringLiteral("tranView"));
    QVERIFY(transcript && translation);
    QTRY_VERIFY(transcript->isVisible());
    recordSentence(trainDir + QStringLiteral("13.mp3"));
    screenshot(QStringLiteral("training-step.png"), false);
    QVERIFY(press(Bar::Next)); // step 5
    recordSentence(trainDir + QStringLiteral("14.mp3"));
    QVERIFY(press(Bar::Next)); // step 6: simultaneous interpreting over the model
    recordSentence(trainDir + QStringLiteral("15.mp3"));

    QVERIFY(press(Bar::Next)); // the practice set
    QTRY_VERIFY(transcript->isVisible() && translation->isVisible());
    for (int sentence = 1; sentence <= 5; ++sentence) {
        QVERIFY2(Bar::practice(bar(), sentence)->isVisible(), qPrintable(QString::number(sentence)));
        QVERIFY2(Bar::practice(bar(), sentence)->isEnabled(), qPrintable(QString::number(sentence)));
    }
    QVERIFY(click(Bar::practice(bar(), 3)));
    playBack(trainDir + QStringLiteral("13.mp3"));
    screenshot(QStringLiteral("training-practice.png"), false);

    // Learning again starts the next repeat: its first sentence is 21.mp3.
    QVERIFY(press(Bar::LearnAgain));
    QTRY_VERIFY(Bar::button(bar(), Bar::Start)->isVisible());
    QVERIFY(press(Bar::Start));
    recordSentence(trainDir + QStringLiteral("21.mp3"));
    QVERIFY(QFileInfo(trainDir + QStringLiteral("11.mp3")).size() > 0);
}

void TestEndToEnd::reviewAfterRestart()
{
    if (m_feed) {
        m_feed->kill();
        m_feed->waitForFinished(5000);
        m_feed.reset();
    }
    m_window.reset();
    startTrainer();
    showLibrary();
    screenshot(QStringLiteral("main-with-library.png"), true);

    clickMaterial(2); // the review mark
    QTRY_VERIFY(Bar::button(bar(), Bar::Repeat1)->isVisible());
    QVERIFY(press(Bar::Repeat1));
    for (int sentence = 1; sentence <= 5; ++sentence)
        QTRY_VERIFY(Bar::practice(bar(), sentence)->isEnabled());
    QVERIFY(click(Bar::practice(bar(), 1)));
    playBack(trainDir + QStringLiteral("11.mp3"));

    QVERIFY(press(Bar::Back));
    QVERIFY(press(Bar::Demonstration));
    QVERIFY(click(Bar::practice(bar(), 2)));
    playBack(demoDir + QStringLiteral("2.mp3"));

    for (int sentence = 1; sentence <= 5; ++sentence) {
        const QString file = trainDir + QStringLiteral("1%1.mp3").arg(sentence);
        QVERIFY2(AudioFixtures::decodedSeconds(file) > 0.5, qPrintable(file));
    }
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
