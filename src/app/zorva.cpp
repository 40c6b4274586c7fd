#include "zorva.h"
#include "ui_zorva.h"

#include "appupdate.h"
#include "gaplesswait.h"
#include "keymap.h"
#include "languagemenu.h"
#include "modelplayer.h"
#include "mater.h"
#include "parecthread.h"
#include "qskinobject.h"
#include "tscontrol.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/VideoWidget>
#include <phonon/VolumeSlider>

namespace {

constexpr int zorvaVersion = 1306;
constexpr int tickIntervalMs = 300;

} // namespace

Zorva::Zorva(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::Zorva)
    , skin(new QSkinObject(this, 1))
    , contextMenu(new QMenu(this))
{
    createWorkspaceFolders();
    ui->setupUi(this);
    // The skin shows the window; the study area's hidden parts must not be shown with it.
    ui->video->hide();
    ui->textView->hide();
    ui->tranView->hide();
    skin->setSkinFile(QStringLiteral("skin/skin.ini"));
    skin->startSkinning();

    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0, 0, 0, 255));
    colours.setColor(QPalette::WindowText, QColor(255, 255, 255, 255));
    setPalette(colours);
    centreOnDesktop();
    setWindowTitle(QStringLiteral("ZORVA v%1").arg(zorvaVersion));
}

bool Zorva::isStarted() const
{
    return m_started;
}

// Loading the media backend, decoding the bar's pictures, reading the library's lists and
// asking the servers take several times longer than the window's first frame; the learner
// sees the window first and the rest follows within a blink.
void Zorva::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!isStarted() && windowHandle())
        windowHandle()->installEventFilter(this);
}

bool Zorva::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        // Queued, so that the expose is painted and flushed to the screen first.
        QMetaObject::invokeMethod(this, &Zorva::finishStart, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void Zorva::finishStart()
{
    if (isStarted())
        return;
    // An icon file is read at once, through every image plugin the toolkit has.
    setWindowIcon(QIcon(QStringLiteral(":/images/tapeplayer.ico")));
    tsControl = new TsControl(this);
    mater = new Mater(this);
    createMediaObjects();
    setupActions();
    setupCompanions();
    setupReview();
    setupTakes();
    // Last: the keys take in every action the parts above have made.
    new Keymap(this);
    QAction *separator = contextMenu->actions().value(1);
    contextMenu->insertAction(separator, findChild<QAction *>(QStringLiteral("keySheetAction")));
    contextMenu->insertMenu(separator, makeLanguageMenu(this));
    m_started = true;
}

Zorva::~Zorva()
{
    // A take still running is kept: closed and moved into place before its thread goes.
    m_take.end();
    delete ui;
    if (recThread) {
        recThread->stop();
        recThread->wait();
        delete recThread;
    }
    // The skin object has no parent; it draws this window and must go before it.
    delete skin;
    // The version check lives as long as the program; the window is the last to go.
    delete appUpdate;
}

// The program runs from its installation folder and everything it keeps lies below it; a fresh
// or hand-copied installation may lack the folders the library and the training write into.
void Zorva::createWorkspaceFolders()
{
    QDir current;
    for (const char *folder : {"./workspace/", "./workspace/train/", "./workspace/demo/"}) {
        if (!current.mkpath(QString::fromLatin1(folder)))
            qWarning("Cannot create the folder %s", folder);
    }
}

void Zorva::createMediaObjects()
{
    // The form holds a plain frame: a video widget made with the form would load the media
    // backend before the window's first frame.
    videoWidget = new Phonon::VideoWidget(ui->video);
    auto *videoLayout = new QVBoxLayout(ui->video);
    videoLayout->setContentsMargins(0, 0, 0, 0);
    videoLayout->addWidget(videoWidget);
    audioOutput = new Phonon::AudioOutput(Phonon::VideoCategory, this);
    voiceOutput = new Phonon::AudioOutput(Phonon::MusicCategory, this);
    mediaObject = new ModelPlayer(this);
    voiceObject = new Phonon::MediaObject(this);
    metaResolver = new Phonon::MediaObject(this);
    // Named so that the players can be told apart from outside (tests, debugging).
    audioOutput->setObjectName(QStringLiteral("audioOutput"));
    voiceOutput->setObjectName(QStringLiteral("voiceOutput"));
    voiceObject->setObjectName(QStringLiteral("voiceObject"));
    metaResolver->setObjectName(QStringLiteral("metaResolver"));

    voiceObject->setTickInterval(tickIntervalMs);

    connect(mediaObject, &ModelPlayer::tick, this, &Zorva::tick);
    connect(mediaObject, &ModelPlayer::stateChanged, this, &Zorva::stateChanged);
    connect(metaResolver, &Phonon::MediaObject::stateChanged, this, &Zorva::metaStateChanged);
    connect(mediaObject->media(), &Phonon::MediaObject::currentSourceChanged, this, &Zorva::sourceChanged);
    connect(mediaObject->media(), &Phonon::MediaObject::aboutToFinish, this, &Zorva::aboutToFinish);
    connect(mediaObject, &ModelPlayer::totalTimeChanged, this, &Zorva::showTotalTimeIfKnown);

    Phonon::createPath(mediaObject->media(), audioOutput);
    Phonon::createPath(mediaObject->media(), videoWidget);
    Phonon::createPath(voiceObject, voiceOutput);
    for (Phonon::MediaObject *player : {mediaObject->media(), voiceObject}) {
        if (!cutGaplessWait(player))
            qWarning("Phonon backend unknown: stopping %s may wait for the end of its file", qPrintable(player->objectName()));
    }

    ui->ctrlbar->volumeSlider()->setAudioOutput(audioOutput);
    // Its copies play in proportion to the material, so the slider's fractions are the
    // material's own.
    ui->ctrlbar->setMediaObject(mediaObject->media());
    tsControl->setMediaObject(voiceObject);
    setupSpeeds();
}

void Zorva::setupActions()
{
    ui->playAction->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    ui->pauseAction->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    ui->stopAction->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    ui->nextAction->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    ui->previousAction->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    ui->playAction->setDisabled(true);
    ui->pauseAction->setDisabled(true);
    ui->stopAction->setDisabled(true);
    ui->exitAction->setShortcuts(QKeySequence::Quit);

    connect(ui->playAction, &QAction::triggered, voiceObject, &Phonon::MediaObject::play);
    connect(ui->pauseAction, &QAction::triggered, voiceObject, &Phonon::MediaObject::pause);
    connect(ui->stopAction, &QAction::triggered, voiceObject, &Phonon::MediaObject::stop);
    connect(ui->aboutQtAction, &QAction::triggered, qApp, &QApplication::aboutQt);

    contextMenu->addAction(ui->openAction);
    contextMenu->addSeparator();
    contextMenu->addAction(ui->exitAction);
}

void Zorva::centreOnDesktop()
{
    const QScreen *desktop = screen();
    if (!desktop)
        desktop = QGuiApplication::primaryScreen();
    if (!desktop)
        return;
    const QRect area = desktop->geometry();
    move(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height() / 2);
}

void Zorva::moveEvent(QMoveEvent *event)
{
    placeCompanions();
    QWidget::moveEvent(event);
}

void Zorva::resizeEvent(QResizeEvent *event)
{
    placeCompanions();
    QWidget::resizeEvent(event);
}

void Zorva::contextMenuEvent(QContextMenuEvent *event)
{
    contextMenu->exec(event->globalPos());
}

void Zorva::about()
{
    showMessage(QMessageBox::Information, tr("About Music Player"),
                tr("The Music Player example shows how to use Phonon - the multimedia framework "
                   "that comes with Qt - to create a simple music player."));
}

// Every box of the window is made here, in the application's colours: the window's own palette
// is black for its study area and must never reach a box. Boxes do not block the window.
void Zorva::showMessage(QMessageBox::Icon icon, const QString &title, const QString &text)
{
    auto *box = new QMessageBox(icon, title, text, QMessageBox::Ok, this);
    box->setPalette(QApplication::palette(box));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void Zorva::sltLeftPlay()
{
    playHelpVideo(tr("_HELPFILE_METHOD_"));
}

void Zorva::sltRightPlay()
{
    playHelpVideo(tr("_HELPFILE_INTRO_"));
}

// The help clips' paths are translations, so each catalogue can ship clips in its language;
// an untranslated key is no file and nothing plays.
void Zorva::playHelpVideo(const QString &path)
{
    ui->video->show();
    ui->screen->hide();
    m_mediaPath = path;
    if (m_mediaPath.isEmpty() || !QFileInfo(m_mediaPath).isFile())
        return;
    mediaObject->setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(QFileInfo(m_mediaPath).absoluteFilePath())));
    mediaObject->play();
    emit isPlay(true);
}

void Zorva::sourceChanged(const Phonon::MediaSource &source)
{
    Q_UNUSED(source)
}

void Zorva::aboutToFinish() {}
