// The main window with its companions on the test display: the training bar and the library
// follow it around, the bar's expand button shows and hides the library, and one record press
// reaches the window's slots in the order the window wired them.
#include "zorva.h"

#include "mater.h"
#include "installationcopy.h"
#include "testpaths.h"
#include "tscontrol.h"
#include "vkbutton.h"
#include "zorvaresources.h"

#include <QtTest>
#include <QApplication>

#include <memory>

// The bar grants this name access to its buttons, so tests press the real ones.
class TsControlTest
{
public:
    static VkButton *start(TsControl *bar) { return bar->btnStart; }
    static VkButton *record(TsControl *bar) { return bar->btnRecord; }
    static VkButton *play(TsControl *bar) { return bar->btnPlay; }
    static VkButton *expand(TsControl *bar) { return bar->btnExpand; }
};

namespace {

const QString lessonPath = QStringLiteral("./workspace/lesson01.mp3");
const QString firstSentence = QStringLiteral("./workspace/train/lesson01.mp3/11.mp3");
constexpr int countdownMs = 3000;

bool click(QAbstractButton *button)
{
    // A learner cannot press what is hidden or disabled.
    if (!button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

} // namespace

class TestCompanions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsGluedToWindow();
    void followsMoves_data();
    void followsMoves();
    void tallerWindowMakesTallerLibrary();
    void expandButtonTogglesLibrary();
    void recordPressReachesSlotsInOrder();

private:
    TsControl *bar() const { return m_window->findChild<TsControl *>(); }
    Mater *library() const { return m_window->findChild<Mater *>(); }
    void verifyGlued();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<Zorva> m_window;
};

void TestCompanions::initTestCase()
{
    zorvaInitResources();
    QApplication::setQuitOnLastWindowClosed(false);
    // Nobody listens there: the version check fails quietly.
    qputenv("ZORVA_UPDATE_URL", "http://127.0.0.1:9");
}

void TestCompanions::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(copyInstallation(TestPaths::stageDir(), m_dir->path(), {QStringLiteral("ZORVA"), QStringLiteral("update")}));
    m_window = std::make_unique<Zorva>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(bar());
    QVERIFY(library());
}

void TestCompanions::cleanup()
{
    m_window.reset();
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestCompanions::verifyGlued()
{
    const auto barSpot = [this] { return QRect(bar()->pos(), QSize(bar()->width(), 0)); };
    const auto wantedBar = [this] {
        return QRect(QPoint(m_window->x(), m_window->y() + m_window->height()), QSize(m_window->width(), 0));
    };
    const auto librarySpot = [this] { return QRect(library()->pos(), QSize(0, library()->height())); };
    const auto wantedLibrary = [this] {
        return QRect(QPoint(m_window->x() + m_window->width(), m_window->y()),
                     QSize(0, m_window->height() + bar()->height()));
    };
    QTRY_COMPARE(barSpot(), wantedBar());
    QTRY_COMPARE(librarySpot(), wantedLibrary());
}

void TestCompanions::startsGluedToWindow()
{
    QVERIFY(bar()->isVisible());
    QVERIFY(bar()->isWindow());
    QVERIFY(bar()->windowFlags() & Qt::FramelessWindowHint);
    // The library's skin shows it with the window, ready to pick a material from.
    QVERIFY(library()->isVisible());
    verifyGlued();
}

void TestCompanions::followsMoves_data()
{
    QTest::addColumn<QPoint>("delta");
    QTest::newRow("right and down") << QPoint(37, 21);
    QTest::newRow("left and up") << QPoint(-53, -40);
    QTest::newRow("down only") << QPoint(0, 65);
}

void TestCompanions::followsMoves()
{
    QFETCH(QPoint, delta);
    const QPoint barBefore = bar()->pos();
    const QPoint libraryBefore = library()->pos();
    const QSize libraryBeforeSize = library()->size();

    m_window->move(m_window->pos() + delta);

    QTRY_COMPARE(bar()->pos(), barBefore + delta);
    QTRY_COMPARE(library()->pos(), libraryBefore + delta);
    QCOMPARE(library()->size(), libraryBeforeSize);
    verifyGlued();
}

void TestCompanions::tallerWindowMakesTallerLibrary()
{
    const int barHeight = bar()->height();
    const int libraryHeight = library()->height();
    const int libraryWidth = library()->width();

    m_window->resize(m_window->width(), m_window->height() + 100);

    QTRY_COMPARE(library()->height(), libraryHeight + 100);
    QCOMPARE(library()->width(), libraryWidth);
    QCOMPARE(bar()->height(), barHeight);
    verifyGlued();

    // A wider window widens the bar with it and pushes the library to the right.
    m_window->resize(m_window->width() + 80, m_window->height());
    QTRY_COMPARE(bar()->width(), m_window->width());
    verifyGlued();
}

void TestCompanions::expandButtonTogglesLibrary()
{
    QVERIFY(library()->isVisible());
    QVERIFY(click(TsControlTest::expand(bar())));
    QTRY_VERIFY(library()->isHidden());

    // Hidden, it still keeps its place beside the window and shows there again.
    m_window->move(m_window->pos() + QPoint(25, 30));
    verifyGlued();
    QVERIFY(click(TsControlTest::expand(bar())));
    QTRY_VERIFY(library()->isVisible());
    verifyGlued();
}

void TestCompanions::recordPressReachesSlotsInOrder()
{
    QVERIFY(QFileInfo(lessonPath).isFile());
    m_window->sltSwitchWorkspace(lessonPath);
    // An earlier recording of the sentence makes the play button usable before recording.
    QVERIFY(QFile::copy(lessonPath, firstSentence));
    QVERIFY(click(TsControlTest::start(bar())));
    QVERIFY(TsControlTest::play(bar())->isEnabled());

    // Seen when the voice playback is asked to stop: by then the recording has opened its
    // sentence file afresh, and the play button is still to be disabled.
    QStringList events;
    connect(m_window.get(), &Zorva::isAudioPlay, this, [&](bool playing) {
        events << QStringLiteral("voice stop %1, file %2, play %3")
                      .arg(playing ? QStringLiteral("no") : QStringLiteral("yes"))
                      .arg(QFileInfo(firstSentence).size() == 0 ? QStringLiteral("open") : QStringLiteral("old"))
                      .arg(TsControlTest::play(bar())->isEnabled() ? QStringLiteral("enabled")
                                                                   : QStringLiteral("disabled"));
    });
    // Connected after the window's own connections, so it runs after all three.
    connect(bar(), &TsControl::recordBeginEnd, this, [&](bool begin) {
        events << QStringLiteral("after %1, play %2")
                      .arg(begin ? QStringLiteral("begin") : QStringLiteral("end"))
                      .arg(TsControlTest::play(bar())->isEnabled() ? QStringLiteral("enabled")
                                                                   : QStringLiteral("disabled"));
    });
    QSignalSpy recordSpy(bar(), &TsControl::recordBeginEnd);

    QVERIFY(click(TsControlTest::record(bar())));
    QVERIFY(recordSpy.wait(countdownMs + 5000));
    QCOMPARE(events, QStringList({QStringLiteral("voice stop yes, file open, play enabled"),
                                  QStringLiteral("after begin, play disabled")}));

    QVERIFY(click(TsControlTest::record(bar())));
    QVERIFY(recordSpy.wait(5000));
    QCOMPARE(recordSpy.last().at(0).toBool(), false);
    QCOMPARE(events.last(), QStringLiteral("after end, play enabled"));
}

QTEST_MAIN(TestCompanions)
#include "tst_companions.moc"
