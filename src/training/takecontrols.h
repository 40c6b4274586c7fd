#pragma once

#include <QWidget>

class LevelMeter;
class QAction;
class QCheckBox;
class QLabel;
class QToolButton;

// The bar's controls around a take, beside its clock: the input level while a take runs,
// and in step 2 the choice of consecutive by segments with its Continue button and where
// the pass is. The bar tells it the step and whether a take runs; the window tells it about
// the pass and gives it the Continue action.
class TakeControls : public QWidget
{
    Q_OBJECT

public:
    explicit TakeControls(QWidget *parent = nullptr);

    LevelMeter *meter() const { return m_meter; }
    void setContinueAction(QAction *action);
    bool segmentsChosen() const;

    void setStep(int step);
    void setRecording(bool recording);
    // running: a pass by segments is under way (the choice cannot change meanwhile).
    void setPassState(bool running, const QString &text);

signals:
    void segmentsChosenChanged(bool chosen);

private:
    void updateVisibility();

    LevelMeter *m_meter = nullptr;
    QCheckBox *m_segments = nullptr;
    QToolButton *m_continue = nullptr;
    QLabel *m_status = nullptr;
    int m_step = 0;
    bool m_recording = false;
    bool m_passRunning = false;
};
