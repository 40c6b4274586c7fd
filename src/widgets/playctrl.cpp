#include "playctrl.h"

#include "ui_playctrl.h"

PlayCtrl::PlayCtrl(QWidget *parent)
    : QLabel(parent)
    , ui(std::make_unique<Ui::PlayCtrl>())
{
    ui->setupUi(this);
}

PlayCtrl::~PlayCtrl() = default;

void PlayCtrl::setCurrentTime(QString time)
{
    ui->curTimeLabel->setText(time);
}

void PlayCtrl::setTotalTime(QString time)
{
    ui->totTimeLabel->setText(time);
}

void PlayCtrl::setMarkIn(double markIn)
{
    ui->seekSlider->setMarkInFlag(markIn);
}

void PlayCtrl::setMarkOut(double markOut)
{
    ui->seekSlider->setMarkOutFlag(markOut);
}

void PlayCtrl::setMediaObject(Phonon::MediaObject *mediaObject)
{
    ui->seekSlider->setMediaObject(mediaObject);
}

Phonon::VolumeSlider *PlayCtrl::volumeSlider() const
{
    return ui->volSlider;
}

void PlayCtrl::sltMediaPaused(bool paused)
{
    ui->btnPlayPause->setStyleSheet(playPauseStyleSheet(paused));
}

QString playPauseStyleSheet(bool paused)
{
    const QString normal = paused ? QStringLiteral(":/images/play.png")
                                  : QStringLiteral(":/images/suspend.png");
    const QString hover = paused ? QStringLiteral(":/images/play02.png")
                                 : QStringLiteral(":/images/suspend02.png");
    return QStringLiteral("#btnPlayPause {margin: 7px;border-image: url(") + normal
        + QStringLiteral(");}#btnPlayPause:hover {margin: 7px;border-image: url(") + hover
        + QStringLiteral(");}#btnPlayPause:pressed {margin: 7px;border-image: url(") + normal
        + QStringLiteral(");}");
}
