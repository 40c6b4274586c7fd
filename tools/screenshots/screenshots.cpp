// Draws the pictures of docs/ that the README shows, from the trainer's real windows driven by
// clicks as a learner would drive them. scripts/make-screenshots.sh runs it from a copy of the
// installation inside the headless test desktop; neither the test suite nor CI runs it.
//   zorva_screenshots <docs folder>
#include "importer.h"
#include "mater.h"
#include "playctrl.h"
#include "tscontrol.h"
#include "zorva.h"
#include "zorvaresources.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <cstdio>
#include <memory>
#include <phonon/MediaObject>

namespace {

constexpr int waitMs = 15000;
const QString material = QStringLiteral("lesson01.mp3");

class Shooter
{
public:
    explicit Shooter(const QString &folder)
        : m_folder(folder)
    {
    }

    bool run();

private:
    TsControl *bar() const { return m_window->findChild<TsControl *>(); }
    Mater *library() const { return m_window->findChild<Mater *>(); }

    bool press(QWidget *root, const char *name) const;
    bool openMaterial();
    bool setLoop();
    bool placeSentences() const;
    bool stepsToPractice();
    bool showReview();
    bool fillImporter();
    bool saveScreen(const QRect &area, const char *name) const;
    bool saveWidget(QWidget *widget, const char *name) const;
    bool save(const QPixmap &picture, const char *name) const;

    QDir m_folder;
    std::unique_ptr<Zorva> m_window;
};

bool Shooter::run()
{
    // A training folder from an earlier session: the library offers the material's review too.
    if (!QDir().mkpath(QStringLiteral("workspace/train/") + material))
        return false;
    m_window = std::make_unique<Zorva>();
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()) || !QTest::qWaitFor([this] { return m_window->isStarted(); })
        || !QTest::qWaitForWindowExposed(bar())
        || !QTest::qWaitForWindowExposed(library()))
        return false;
    // The trainer as it opens, with its bar and library.
    const QRect desktop = m_window->frameGeometry()
                              .united(bar()->frameGeometry())
                              .united(library()->frameGeometry());
    if (!saveScreen(desktop, "zorva-desktop.png"))
        return false;
    if (!openMaterial() || !setLoop()
        || !saveWidget(m_window->findChild<PlayCtrl *>(), "control-panel.png"))
        return false;
    if (!placeSentences() || !press(bar(), "btnStart") || !press(bar(), "btnNext")
        || !saveWidget(bar(), "bar-step.png"))
        return false;
    if (!stepsToPractice() || !saveWidget(bar(), "bar-practice.png"))
        return false;
    if (!showReview() || !saveWidget(m_window.get(), "review.png"))
        return false;
    return saveScreen(library()->frameGeometry(), "library.png") && fillImporter()
        && saveScreen(library()->findChild<Importer *>()->frameGeometry(), "importer.png");
}

// A learner cannot press what is hidden or disabled.
bool Shooter::press(QWidget *root, const char *name) const
{
    auto *button = root->findChild<QAbstractButton *>(QLatin1String(name));
    if (!button || !button->isVisible() || !button->isEnabled()) {
        std::fprintf(stderr, "cannot press %s\n", name);
        return false;
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

// The study mark of the sample material in the selections tab.
bool Shooter::openMaterial()
{
    auto *tree = library()->findChild<QTreeWidget *>(QStringLiteral("local"));
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (!(*it)->text(4).endsWith(material))
            continue;
        const int x
            = tree->header()->sectionViewportPosition(1) + tree->header()->sectionSize(1) / 2;
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
            QPoint(x, tree->visualItemRect(*it).center().y()));
        return QTest::qWaitFor(
            [this] { return bar()->findChild<QWidget *>("btnStart")->isVisible(); }, waitMs);
    }
    return false;
}

// Plays the material, marks a loop from the third to the ninth second and pauses.
bool Shooter::setLoop()
{
    auto *media = m_window->findChild<Phonon::MediaObject *>(QStringLiteral("mediaObject"));
    const auto reach = [media](qint64 ms) {
        return QTest::qWaitFor([media, ms] { return media->currentTime() >= ms; }, waitMs);
    };
    return press(m_window.get(), "btnPlayPause") && reach(3000)
        && press(m_window.get(), "btnMarkInSet") && reach(9000)
        && press(m_window.get(), "btnMarkOutSet") && press(m_window.get(), "btnPlayPause");
}

// The five sentences of the first repeat, in place before the steps begin: the play button
// and the practice set offer them.
bool Shooter::placeSentences() const
{
    for (int sentence = 1; sentence <= 5; ++sentence) {
        const QString file
            = QStringLiteral("workspace/train/%1/1%2.mp3").arg(material).arg(sentence);
        if (!QFile::copy(QStringLiteral("workspace/lesson02.mp3"), file))
            return false;
    }
    return true;
}

bool Shooter::stepsToPractice()
{
    for (int step = 2; step <= 6; ++step) {
        if (!press(bar(), "btnNext"))
            return false;
    }
    return QTest::qWaitFor(
        [this] { return bar()->findChild<QWidget *>("btnPractice5")->isEnabled(); }, waitMs);
}

// The study area's waveform with the loop, the simultaneous take of this pass below it, kept.
bool Shooter::showReview()
{
    if (!press(bar(), "btnPractice5"))
        return false;
    m_window->sltTextHide();
    QTest::qWait(1500); // the waveforms are read in the background
    return press(m_window.get(), "btnStar");
}

// The import dialog as a learner leaves it before pressing import.
bool Shooter::fillImporter()
{
    auto *tabs = library()->findChild<QTabWidget *>(QStringLiteral("tabs"));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(3).center());
    auto *imports = library()->findChild<QTreeWidget *>(QStringLiteral("imports"));
    QTest::mouseClick(imports->viewport(), Qt::LeftButton, {},
        imports->visualItemRect(imports->topLevelItem(0)).center());
    auto *importer = library()->findChild<Importer *>();
    if (!QTest::qWaitForWindowExposed(importer))
        return false;
    const auto fill = [importer](const char *field, const char *text) {
        importer->findChild<QLineEdit *>(QLatin1String(field))->setText(QString::fromUtf8(text));
    };
    fill("matName", "城市与气候 Cities and climate");
    fill("mp3Name", "/home/learner/Music/city_climate.mp3");
    fill("origTxt", "/home/learner/Documents/city_climate.txt");
    return true;
}

// From the screen, so that the skins' shaped outlines show as the learner sees them.
bool Shooter::saveScreen(const QRect &area, const char *name) const
{
    QTest::qWait(500); // the X server shows what the windows painted a moment later
    QScreen *screen = QGuiApplication::primaryScreen();
    return save(screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()), name);
}

bool Shooter::saveWidget(QWidget *widget, const char *name) const
{
    QTest::qWait(300);
    return widget && save(widget->grab(), name);
}

bool Shooter::save(const QPixmap &picture, const char *name) const
{
    const QString path = m_folder.filePath(QLatin1String(name));
    const bool saved = picture.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    // No update server and no content server: nothing may ask a question over the windows.
    qputenv("ZORVA_UPDATE_URL", "http://127.0.0.1:9");
    qputenv("ZORVA_CONTENT_URL", "http://127.0.0.1:9");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorva_screenshots <docs folder>\n");
        return 2;
    }
    zorvaInitResources();
    // The README shows the trainer as its learners see it, in Chinese.
    QTranslator translator;
    if (translator.load(QStringLiteral("./translations/app_zh")))
        QApplication::installTranslator(&translator);
    Shooter shooter(QString::fromLocal8Bit(argv[1]));
    return shooter.run() ? 0 : 1;
}
