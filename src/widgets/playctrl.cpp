#include "playctrl.h"

#include "focusring.h"
#include "ui_playctrl.h"

#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include <cmath>

PlayCtrl::PlayCtrl(QWidget *parent)
    : QLabel(parent)
    , ui(std::make_unique<Ui::PlayCtrl>())
{
    ui->setupUi(this);
    for (QPushButton *button : findChildren<QPushButton *>())
        showKeyboardFocus(button);
    // Beside the volume, where the row has room; wide enough for a copy's progress too.
    m_speedButton = new QToolButton(this);
    m_speedButton->setObjectName(QStringLiteral("btnSpeed"));
    m_speedButton->setPopupMode(QToolButton::InstantPopup);
    m_speedButton->setMenu(new QMenu(m_speedButton));
    m_speedButton->setStyleSheet(QStringLiteral(
        "QToolButton#btnSpeed {color: #fff; border: none; background: transparent;}"
        "QToolButton#btnSpeed::menu-indicator {image: none;}"));
    m_speedButton->setFixedSize(m_speedButton->fontMetrics().horizontalAdvance(QStringLiteral("1.25× 100%")) + 8, 24);
    ui->HLO_lower->insertWidget(ui->HLO_lower->indexOf(ui->btnVolumeLabel), m_speedButton);
    m_speedButton->setAccessibleName(tr("Playback speed"));
    // The volume slider's own mute button has a picture only.
    for (QToolButton *mute : ui->volSlider->findChildren<QToolButton *>()) {
        mute->setAccessibleName(tr("Mute"));
        mute->setAccessibleDescription(tr("Sound on or off"));
    }
    showSpeed(1.0, 1.0);
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

void PlayCtrl::setSpeedActions(const QList<QAction *> &actions)
{
    m_speedButton->menu()->clear();
    m_speedButton->menu()->addActions(actions);
}

void PlayCtrl::showSpeed(double speed, double madeFraction)
{
    if (madeFraction < 1.0) {
        const int percent = int(madeFraction * 100);
        m_speedButton->setText(speedText(speed) + QStringLiteral(" %1%").arg(percent));
        m_speedButton->setToolTip(tr("Making the copy at %1 (the pitch is kept): %2 % done").arg(speedText(speed)).arg(percent));
        m_speedButton->setAccessibleDescription(m_speedButton->toolTip());
    } else {
        m_speedButton->setText(speedText(speed));
        m_speedButton->setToolTip(tr("Playback speed (the pitch is kept)"));
        m_speedButton->setAccessibleDescription(speedText(speed));
    }
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

QString speedText(double speed)
{
    const bool tenths = std::fabs(speed * 10 - std::round(speed * 10)) < 1e-6;
    return QString::number(speed, 'f', tenths ? 1 : 2) + QStringLiteral("×");
}
