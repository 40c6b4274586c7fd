#pragma once

#include <QWidget>

#include <functional>

class QTimer;

// The input level of a take: fractions of full scale (1.0 is where the recording clips).
struct LevelReading
{
    float peak = 0.0f;
    float rms = 0.0f;
};

// A small horizontal meter, -60 to 0 dB of full scale: the RMS as a bar that turns yellow
// and then red towards full scale, the peak as a tick that holds a moment and then falls, and
// a red end while the input has lately reached full scale. While shown it asks its source
// for the level kUpdatesPerSecond times a second; hidden, it asks nothing.
class LevelMeter : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kUpdatesPerSecond = 30;

    explicit LevelMeter(QWidget *parent = nullptr);

    // Called on the widget's thread; must not block (a lock-free read of the capture).
    void setSource(std::function<LevelReading()> source);
    LevelReading lastReading() const { return m_last; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void poll();
    int xOf(double decibels) const;

    QTimer *m_timer = nullptr;
    std::function<LevelReading()> m_source;
    LevelReading m_last;
    double m_rmsDb = -120.0;
    double m_peakDb = -120.0;
    int m_holdTicks = 0;
    int m_clipTicks = 0;
};
