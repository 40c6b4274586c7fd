// The main window with real Phonon playback of a real spoken MP3 under a real X server:
// construction, context menu, help clips, and the model player driven by the panel's buttons.
#include "zorva.h"

#include "installationcopy.h"
#include "testpaths.h"
#include "zorvaresources.h"

#include <QtTest>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <phonon/MediaObject>
#include <phonon/VideoWidget>

#include <functional>
#include <memory>

namespace {

constexpr int loadTimeoutMs = 15000;
// A seek lands within one 300 ms tick; a loaded 2-core machine gets a generous margin.
constexpr int seekTimeoutMs = 5000;
constexpr qint64 positionTolerance = 60;

// Runs `handle` on the next modal dialog once it is shown (message boxes and file dialogs run
// their own event loop, so the test cannot act on them after the call that opens them).
void onNextModal(const std::function<void(QWidget *)> &handle)
{
    auto *poll = new QTimer(qApp);
    poll->setObjectName(QStringLiteral("modalWatch"));
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, handle] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        handle(modal);
    });
    poll->start();
}

void stopWatchingModals()
{
    for (QTimer *poll : qApp->findChildren<QTimer *>(QStringLiteral("modalWatch"), Qt::FindDirectChildrenOnly)) {
        poll->stop();
        poll->deleteLater();
    }
}

QString sourcePath(const Phonon::MediaSource &source)
{
    const QString path = source.type() == Phonon::MediaSource::LocalFile ? source.fileName()
                                                                          : source.url().toLocalFile();
    return QFileInfo(path).canonicalFilePath();
}

Phonon::MediaSource localSource(const QString &path)
{
    return Phonon::MediaSource(QUrl::fromLocalFile(QDir::current().absoluteFilePath(path)));
}

} // namespace

class TestZorva : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensCentredWithBlackStudyArea();
    void createsWorkspaceFolders();
    void contextMenuOffersOpenAndExit();
    void helpClipWithoutCatalogueEntryPlaysNothing();
    void helpClipFromCataloguePlays();
    void openFileLoadsWithoutPlaying();
    void showsTotalTimeWhenLoaded();
    void playPauseStopButtons();
    void loopJumps_data();
    void loopJumps();
    void loopRunsInRealTime();
    void equalMarksPlayThrough();
    void loopWrapsAtEndOfMedia();
    void markInNudgeStopsAtZero();
    void markOutNudgeStopsAtTotal();
    void markInNudgeStopsAtMarkOut();
    void markInSetWhileStoppedKeepsValue();
    void backwardJumpStopsAtZero();
    void forwardJumpStopsAtTotal();
    void marksWithNothingLoaded();
    void lookWithMaterialLoaded();

private:
    Phonon::MediaObject *media() const;
    QPushButton *button(const char *name) const;
    QAction *action(const char *name) const;
    QString labelText(const char *name) const;
    void click(const char *name) const;
    bool loadLesson();
    bool pauseAt(qint64 ms);
    qint64 positionAfterTick(qint64 tickAt);
    void setLoop(qint64 in, qint64 out);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<Zorva> m_window;
};

void TestZorva::initTestCase()
{
    zorvaInitResources();
    QVERIFY(QFileInfo::exists(TestPaths::stageDir() + QStringLiteral("/workspace/lesson01.mp3")));
    // Closing the window must not end the test program; lastWindowClosed still shows it would
    // end the trainer.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestZorva::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    // The window's library reads the installation's lists at start; the player tests use its
    // sample material.
    QVERIFY(copyInstallation(TestPaths::stageDir(), m_dir->path(),
                             {QStringLiteral("ZORVA"), QStringLiteral("translations"), QStringLiteral("zorva.log")}));
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QFileInfo::exists(QStringLiteral("workspace/lesson01.mp3")));

    // A box raised while the window is built would block the test: close it, then fail.
    QString unexpectedBox;
    onNextModal([&unexpectedBox](QWidget *modal) {
        unexpectedBox = modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            unexpectedBox += QStringLiteral(": ") + box->text();
        modal->close();
    });
    m_window = std::make_unique<Zorva>();
    stopWatchingModals();
    QVERIFY2(unexpectedBox.isEmpty(), qPrintable(unexpectedBox));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestZorva::cleanup()
{
    m_window.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

Phonon::MediaObject *TestZorva::media() const
{
    return m_window->findChild<Phonon::MediaObject *>(QStringLiteral("mediaObject"));
}

QPushButton *TestZorva::button(const char *name) const
{
    return m_window->findChild<QWidget *>(QStringLiteral("ctrlbar"))->findChild<QPushButton *>(QLatin1String(name));
}

// The window's own actions; the companion windows among its children carry actions of their own.
QAction *TestZorva::action(const char *name) const
{
    return m_window->findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

QString TestZorva::labelText(const char *name) const
{
    const auto *label =
        m_window->findChild<QWidget *>(QStringLiteral("ctrlbar"))->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QString();
}

void TestZorva::click(const char *name) const
{
    QPushButton *target = button(name);
    QVERIFY2(target, name);
    QTest::mouseClick(target, Qt::LeftButton);
}

// Loads the sample material and pauses it at the start: the backend learns the length only
// once it has prerolled the stream, which a stopped source has not.
bool TestZorva::loadLesson()
{
    media()->setCurrentSource(localSource(QStringLiteral("workspace/lesson01.mp3")));
    if (!QTest::qWaitFor([this] { return media()->state() == Phonon::StoppedState; }, loadTimeoutMs))
        return false;
    return pauseAt(0) && media()->totalTime() > 20000;
}

// Paused playback holds its position, so marks set and jumps made there can be read exactly.
bool TestZorva::pauseAt(qint64 ms)
{
    if (media()->state() != Phonon::PausedState) {
        media()->play();
        if (!QTest::qWaitFor([this] { return media()->state() == Phonon::PlayingState; }, loadTimeoutMs))
            return false;
        media()->pause();
        if (!QTest::qWaitFor([this] { return media()->state() == Phonon::PausedState; }, loadTimeoutMs))
            return false;
    }
    media()->seek(ms);
    return QTest::qWaitFor([this, ms] { return qAbs(media()->currentTime() - ms) <= positionTolerance; },
                           seekTimeoutMs);
}

// Where the player stands after a tick at `tickAt` while paused at 22 000 ms, beyond every
// mark the tests set: 22 000 when the tick left it alone, else the mark it jumped to.
qint64 TestZorva::positionAfterTick(qint64 tickAt)
{
    if (!pauseAt(22000))
        return -1;
    m_window->tick(tickAt);
    // A flushing seek may report 0 for a moment: wait until the paused position holds still.
    qint64 last = media()->currentTime();
    int stableReads = 0;
    QElapsedTimer clock;
    clock.start();
    while (stableReads < 10 && clock.elapsed() < seekTimeoutMs) {
        QTest::qWait(50);
        const qint64 now = media()->currentTime();
        stableReads = now == last ? stableReads + 1 : 0;
        last = now;
    }
    return last;
}

void TestZorva::setLoop(qint64 in, qint64 out)
{
    click("btnMarkReset");
    QVERIFY(pauseAt(out));
    click("btnMarkOutSet");
    QVERIFY(pauseAt(in));
    click("btnMarkInSet");
}

void TestZorva::opensCentredWithBlackStudyArea()
{
    QCOMPARE(m_window->size(), QSize(640, 480));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("ZORVA v1306"));
    const QRect desktop = m_window->screen()->geometry();
    QCOMPARE(m_window->pos(), QPoint(desktop.width() / 2 - 320, desktop.height() / 2 - 240));

    QVERIFY(m_window->findChild<Phonon::VideoWidget *>(QStringLiteral("video"))->isHidden());
    QVERIFY(m_window->findChild<QWidget *>(QStringLiteral("textView"))->isHidden());
    QVERIFY(m_window->findChild<QWidget *>(QStringLiteral("tranView"))->isHidden());
    auto *screen = m_window->findChild<QWidget *>(QStringLiteral("screen"));
    QVERIFY(screen->isVisible());
    QVERIFY(screen->width() > 400 && screen->height() > 300);

    const QImage shot = m_window->grab().toImage();
    const QPoint centre = screen->mapTo(m_window.get(), screen->rect().center());
    QCOMPARE(QColor(shot.pixel(centre)), QColor(Qt::black));
    QCOMPARE(labelText("curTimeLabel"), QStringLiteral("00:00:00"));
    QCOMPARE(labelText("totTimeLabel"), QStringLiteral("00:00:00"));
}

void TestZorva::createsWorkspaceFolders()
{
    QVERIFY(QFileInfo(QStringLiteral("workspace/train")).isDir());
    QVERIFY(QFileInfo(QStringLiteral("workspace/demo")).isDir());
    // What was there stays.
    QVERIFY(QFileInfo::exists(QStringLiteral("workspace/lesson01.mp3")));
}

void TestZorva::contextMenuOffersOpenAndExit()
{
    QStringList offered;
    auto *poll = new QTimer(this);
    poll->setInterval(50);
    connect(poll, &QTimer::timeout, this, [&offered, poll] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll->stop();
        QAction *exit = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            offered << action->text();
            if (action->text() == QStringLiteral("E&xit"))
                exit = action;
        }
        if (exit)
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(exit).center());
        else
            menu->close();
    });
    poll->start();

    // The program's own event loop, as main runs it: Exit must end it.
    QApplication::setQuitOnLastWindowClosed(true);
    QTimer::singleShot(0, m_window.get(), [this] {
        const QPoint inside(200, 150);
        QContextMenuEvent event(QContextMenuEvent::Mouse, inside, m_window->mapToGlobal(inside));
        QApplication::sendEvent(m_window.get(), &event);
    });
    QTimer::singleShot(30000, qApp, [] { QCoreApplication::exit(1); });
    const int exitCode = QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(false);

    QCOMPARE(offered, QStringList({QStringLiteral("Open"), QStringLiteral("E&xit")}));
    QCOMPARE(exitCode, 0);
    QVERIFY(!m_window->isVisible());
}

void TestZorva::helpClipWithoutCatalogueEntryPlaysNothing()
{
    QSignalSpy isPlay(m_window.get(), &Zorva::isPlay);
    m_window->sltLeftPlay();
    QVERIFY(m_window->findChild<Phonon::VideoWidget *>(QStringLiteral("video"))->isVisible());
    QVERIFY(m_window->findChild<QWidget *>(QStringLiteral("screen"))->isHidden());
    QCOMPARE(isPlay.count(), 0);
    QVERIFY(media()->state() != Phonon::PlayingState);
}

void TestZorva::helpClipFromCataloguePlays()
{
    // The installation's own catalogue and clips, as the built program lays them out.
    const QString stage = TestPaths::stageDir();
    QVERIFY(QFileInfo::exists(QStringLiteral("help/intro.mp3")));
    QTranslator catalogue;
    QVERIFY(catalogue.load(QStringLiteral("app_C"), stage + QStringLiteral("/translations")));
    QVERIFY(QApplication::installTranslator(&catalogue));

    QSignalSpy isPlay(m_window.get(), &Zorva::isPlay);
    m_window->sltRightPlay();
    QApplication::removeTranslator(&catalogue);

    QCOMPARE(isPlay.count(), 1);
    QCOMPARE(isPlay.at(0).at(0).toBool(), true);
    QCOMPARE(sourcePath(media()->currentSource()), QFileInfo(QStringLiteral("help/intro.mp3")).canonicalFilePath());
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::PlayingState, loadTimeoutMs);
}

void TestZorva::openFileLoadsWithoutPlaying()
{
    const QString chosen = QDir::current().absoluteFilePath(QStringLiteral("workspace/lesson01.mp3"));
    QString title;
    onNextModal([chosen, &title](QWidget *modal) {
        title = modal->windowTitle();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            // Typed as a learner would type it: the dialog's folder listing is asynchronous.
            auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(nameEdit);
            nameEdit->setText(chosen);
            static_cast<QDialog *>(dialog)->accept();
        } else {
            modal->close();
        }
    });
    action("openAction")->trigger();
    QCOMPARE(title, QStringLiteral("Open Music File"));

    const QString canonical = QFileInfo(chosen).canonicalFilePath();
    QCOMPARE(sourcePath(media()->currentSource()), canonical);
    auto *resolver = m_window->findChild<Phonon::MediaObject *>(QStringLiteral("metaResolver"));
    QCOMPARE(sourcePath(resolver->currentSource()), canonical);
    // Loaded, not started.
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::StoppedState, loadTimeoutMs);
    QVERIFY(!QTest::qWaitFor([this] { return media()->state() == Phonon::PlayingState; }, 1500));
}

void TestZorva::showsTotalTimeWhenLoaded()
{
    QVERIFY(loadLesson());
    QTRY_COMPARE(labelText("totTimeLabel"), QStringLiteral("00:00:24"));
    click("btnStop");
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::StoppedState, loadTimeoutMs);
    QTRY_VERIFY(!action("stopAction")->isEnabled());
    QCOMPARE(labelText("totTimeLabel"), QStringLiteral("00:00:24"));
    QCOMPARE(labelText("curTimeLabel"), QStringLiteral("00:00:00"));
    QVERIFY(action("playAction")->isEnabled());
    QVERIFY(!action("stopAction")->isEnabled());
}

void TestZorva::playPauseStopButtons()
{
    QVERIFY(loadLesson());
    auto *pauseAction = action("pauseAction");
    auto *playAction = action("playAction");

    click("btnPlayPause");
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::PlayingState, loadTimeoutMs);
    // The state reads "playing" a moment before its change is signalled.
    QTRY_VERIFY(pauseAction->isEnabled());
    QVERIFY(!playAction->isEnabled());
    // The clock follows the ticks.
    QTRY_VERIFY_WITH_TIMEOUT(labelText("curTimeLabel") == QStringLiteral("00:00:01"), 5000);

    click("btnPlayPause");
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::PausedState, loadTimeoutMs);
    QTRY_VERIFY(!pauseAction->isEnabled());
    QVERIFY(playAction->isEnabled());

    click("btnStop");
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::StoppedState, loadTimeoutMs);
    QTRY_COMPARE(labelText("curTimeLabel"), QStringLiteral("00:00:00"));
}

void TestZorva::loopJumps_data()
{
    QTest::addColumn<qint64>("tickAt");
    QTest::addColumn<qint64>("landing");
    QTest::newRow("before mark-in") << qint64(5000) << qint64(10000);
    QTest::newRow("after mark-out") << qint64(20100) << qint64(10000);
    QTest::newRow("inside the loop") << qint64(15000) << qint64(-1);
}

void TestZorva::loopJumps()
{
    QFETCH(qint64, tickAt);
    QFETCH(qint64, landing);
    QVERIFY(loadLesson());
    setLoop(10000, 20000);

    const qint64 position = positionAfterTick(tickAt);
    if (landing < 0)
        QVERIFY2(position > 20000, qPrintable(QString::number(position)));
    else
        QVERIFY2(qAbs(position - landing) <= positionTolerance, qPrintable(QString::number(position)));
}

void TestZorva::loopRunsInRealTime()
{
    QVERIFY(loadLesson());
    setLoop(2000, 4000);
    QSignalSpy ticks(media(), &Phonon::MediaObject::tick);
    media()->seek(1000);
    click("btnPlayPause");
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::PlayingState, loadTimeoutMs);

    // Ten seconds of playback over a two-second loop: the position never strays more than a
    // tick and a seek past mark-out, and it comes round to mark-in again and again.
    int wraps = 0;
    qint64 previous = -1;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        QTRY_VERIFY_WITH_TIMEOUT(ticks.count() > 0, 5000);
        const qint64 at = ticks.takeLast().at(0).toLongLong();
        ticks.clear();
        if (previous > 3000 && at < previous)
            ++wraps;
        previous = at;
        if (clock.elapsed() > 2000)
            QVERIFY2(at >= 2000 - positionTolerance && at <= 4000 + 2 * 300 + 1000, qPrintable(QString::number(at)));
    }
    QVERIFY2(wraps >= 3, qPrintable(QString::number(wraps)));
}

void TestZorva::equalMarksPlayThrough()
{
    QVERIFY(loadLesson());
    click("btnMarkReset");
    // Mark-out set before mark-in pulls mark-in along: both 7 000, no loop.
    QVERIFY(pauseAt(9000));
    click("btnMarkInSet");
    QVERIFY(pauseAt(7000));
    click("btnMarkOutSet");
    QVERIFY(positionAfterTick(5000) > 20000);
    QVERIFY(positionAfterTick(9000) > 20000);

    click("btnMarkReset");
    QVERIFY(positionAfterTick(5000) > 20000);
}

void TestZorva::loopWrapsAtEndOfMedia()
{
    QVERIFY(loadLesson());
    const qint64 total = media()->totalTime();
    click("btnMarkReset");
    QVERIFY(pauseAt(total - 4000));
    click("btnMarkInSet");
    click("btnMarkOutReset");
    QSignalSpy finished(media(), &Phonon::MediaObject::finished);

    media()->seek(total - 1500);
    click("btnPlayPause");
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::PlayingState, loadTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() > 0, 10000);
    // Past the end playback goes on from mark-in instead of stopping.
    const qint64 markIn = total - 4000;
    QTRY_VERIFY_WITH_TIMEOUT(media()->state() == Phonon::PlayingState
                                 && media()->currentTime() >= markIn - positionTolerance
                                 && media()->currentTime() < markIn + 1000,
                             10000);
    QTRY_VERIFY_WITH_TIMEOUT(media()->currentTime() > markIn + 1500, 5000);
    QCOMPARE(media()->state(), Phonon::PlayingState);
}

void TestZorva::markInNudgeStopsAtZero()
{
    QVERIFY(loadLesson());
    setLoop(50, 8000);
    click("btnMarkInSharpL"); // 50 → 0, not −50
    click("btnMarkInSharpL");
    for (int i = 0; i < 10; ++i)
        click("btnMarkInSharpR"); // 0 → 1 000
    const qint64 position = positionAfterTick(9000);
    QVERIFY2(qAbs(position - 1000) <= positionTolerance, qPrintable(QString::number(position)));
}

void TestZorva::markOutNudgeStopsAtTotal()
{
    QVERIFY(loadLesson());
    const qint64 total = media()->totalTime();
    setLoop(10000, 12000);
    click("btnMarkOutReset");   // total
    click("btnMarkOutSharpR");  // stays at total, not total + 100
    click("btnMarkOutSharpR");
    click("btnMarkOutSharpL");  // total − 100
    click("btnMarkOutSharpL");  // total − 200
    // Past the nudged mark-out the loop jumps back; had the clamp failed it would sit at total.
    qint64 position = positionAfterTick(total - 150);
    QVERIFY2(qAbs(position - 10000) <= positionTolerance, qPrintable(QString::number(position)));
    position = positionAfterTick(total - 250);
    QVERIFY2(position > 20000, qPrintable(QString::number(position)));
}

void TestZorva::markInNudgeStopsAtMarkOut()
{
    QVERIFY(loadLesson());
    setLoop(10000, 10150);
    click("btnMarkInSharpR"); // 10 100
    click("btnMarkInSharpR"); // 10 150, not 10 200
    click("btnMarkOutSharpR"); // 10 250: a loop again
    const qint64 position = positionAfterTick(5000);
    QVERIFY2(qAbs(position - 10150) <= positionTolerance, qPrintable(QString::number(position)));
}

void TestZorva::markInSetWhileStoppedKeepsValue()
{
    QVERIFY(loadLesson());
    setLoop(10000, 20000);
    click("btnStop");
    QTRY_COMPARE_WITH_TIMEOUT(media()->state(), Phonon::StoppedState, loadTimeoutMs);
    click("btnMarkInSet");
    click("btnMarkOutSet");
    const qint64 position = positionAfterTick(5000);
    QVERIFY2(qAbs(position - 10000) <= positionTolerance, qPrintable(QString::number(position)));
}

void TestZorva::backwardJumpStopsAtZero()
{
    QVERIFY(loadLesson());
    QVERIFY(pauseAt(12000));
    click("btnBackward");
    QTRY_VERIFY_WITH_TIMEOUT(media()->currentTime() <= positionTolerance, seekTimeoutMs);
    QVERIFY(pauseAt(20000));
    click("btnBackward");
    click("btnForward");
    click("btnForward");
    // 20 000 − 30 000 is clamped to 0, then two forward jumps of 30 000 end at the total.
    QTRY_VERIFY_WITH_TIMEOUT(media()->currentTime() >= media()->totalTime() - 500
                                 || media()->state() == Phonon::StoppedState,
                             seekTimeoutMs);
}

void TestZorva::forwardJumpStopsAtTotal()
{
    QVERIFY(loadLesson());
    const qint64 total = media()->totalTime();
    QSignalSpy finished(media(), &Phonon::MediaObject::finished);
    QVERIFY(pauseAt(total - 10000));
    click("btnForward");
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(media()->currentTime() - total) <= positionTolerance, seekTimeoutMs);
    QElapsedTimer clock;
    clock.start();
    click("btnPlayPause");
    // At the end at once, not 10 s later.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 8000);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

void TestZorva::marksWithNothingLoaded()
{
    // Nothing loaded: the total is 0. None of the mark buttons may divide by it or leave the
    // marks crossed; the panel keeps showing no loop range.
    for (const char *name : {"btnMarkOutReset", "btnMarkOutSharpR", "btnMarkInSharpR", "btnMarkInSet",
                             "btnMarkOutSet", "btnMarkInSharpL", "btnMarkOutSharpL", "btnMarkReset",
                             "btnBackward", "btnForward"})
        click(name);
    QCOMPARE(labelText("totTimeLabel"), QStringLiteral("00:00:00"));
    // Loading afterwards finds no stale loop: playback is not pulled anywhere.
    QVERIFY(loadLesson());
    QVERIFY(positionAfterTick(5000) > 20000);
}

// The window as the learner sees it with a material open, a loop set and playback paused inside
// it. ZORVA_SCREENSHOT names a PNG file to keep the picture in.
void TestZorva::lookWithMaterialLoaded()
{
    m_window->sltSwitchWorkspace(QStringLiteral("./workspace/lesson01.mp3"));
    QVERIFY(pauseAt(0));
    setLoop(6000, 15000);
    QVERIFY(pauseAt(9000));
    m_window->tick(media()->currentTime());
    QTRY_COMPARE(labelText("totTimeLabel"), QStringLiteral("00:00:24"));
    QCOMPARE(labelText("curTimeLabel"), QStringLiteral("00:00:09"));

    const QImage shot = m_window->grab().toImage();
    QCOMPARE(shot.size(), QSize(640, 480));
    const QString path = qEnvironmentVariable("ZORVA_SCREENSHOT");
    if (!path.isEmpty())
        QVERIFY(shot.save(path));
}

QTEST_MAIN(TestZorva)
#include "tst_zorva.moc"
