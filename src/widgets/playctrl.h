#pragma once

#include <QLabel>

#include <memory>

class QAction;
class QToolButton;

namespace Phonon {
class MediaObject;
class VolumeSlider;
} // namespace Phonon

namespace Ui {
class PlayCtrl;
}

// The strip under the text views: times, the seek slider with the loop range, the
// transport and loop-mark buttons and the volume. It holds no playback logic; the
// main window binds its slots to the buttons by object name and pushes state in.
class PlayCtrl : public QLabel
{
    Q_OBJECT
public:
    explicit PlayCtrl(QWidget *parent = nullptr);
    ~PlayCtrl() override;

    void setCurrentTime(QString time);
    void setTotalTime(QString time);
    void setMarkIn(double markIn);
    void setMarkOut(double markOut);
    void setMediaObject(Phonon::MediaObject *mediaObject);
    Phonon::VolumeSlider *volumeSlider() const;
    // The speeds offered in the speed button's menu.
    void setSpeedActions(const QList<QAction *> &actions);
    // The chosen speed, and how much of its copy is made while it is being made (below 1).
    void showSpeed(double speed, double madeFraction);

public slots:
    void sltMediaPaused(bool paused);

private:
    std::unique_ptr<Ui::PlayCtrl> ui;
    QToolButton *m_speedButton = nullptr;
};

// "0.5×", "1.0×", "1.25×".
QString speedText(double speed);

// The button sheet for the play/pause look: the play picture while paused, the
// pause picture while playing.
QString playPauseStyleSheet(bool paused);
